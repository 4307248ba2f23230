#include "app/transfer/frm_com_port.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/common/accessible_names.h"
#include "app/common/texts.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {
constexpr int kColumns = 4;
constexpr int kTypingPauseMs = 300;
} // namespace

frmComPort::frmComPort(Language lang, const QVector<NumberedPort>& ports, TransferPorts::CheckerFactory checkers,
                       PortChoice current, const QString& otherDevice, QWidget* parent)
    : QDialog(parent), m_choice(current), m_checkers(std::move(checkers)), m_checker(m_checkers()) {
    setObjectName(QStringLiteral("frmComPort"));
    setWindowTitle(qtext(ids::ComPortCaption, lang));
    setWindowIcon(QApplication::windowIcon());

    fraComPort = new QGroupBox(this);
    fraComPort->setObjectName(QStringLiteral("fraComPort"));
    auto* grid = new QGridLayout(fraComPort);
    const QString stem = qtext(ids::ComPortStem, lang);
    for (int i = 0; i < kPortCount; ++i) {
        auto* b = new QRadioButton(fraComPort);
        b->setObjectName(QStringLiteral("OptComPort"));
        b->setProperty("index", i);
        QString caption = stem + QString::number(i + 1);
        if (i < ports.size()) {
#ifndef Q_OS_WIN
            // Without COM names the user needs to see which device a number stands for.
            if (!ports[i].device.isEmpty())
                caption += QStringLiteral("  ") + ports[i].device;
#endif
            if (!ports[i].description.isEmpty())
                caption += QStringLiteral(" (%1)").arg(ports[i].description);
            b->setToolTip(ports[i].description);
        }
        b->setText(caption);
        b->setEnabled(false); // until its probe says the port opens
        grid->addWidget(b, i / kColumns, i % kColumns);
        OptComPort.append(b);
    }

    OptOtherDevice = new QRadioButton(qtext(ids::OtherDevice, lang), this);
    OptOtherDevice->setObjectName(QStringLiteral("OptOtherDevice"));
    OptOtherDevice->setEnabled(false); // until its probe says the device opens
    txtOtherDevice = new QLineEdit(current.device.isEmpty() ? otherDevice : current.device, this);
    txtOtherDevice->setObjectName(QStringLiteral("txtOtherDevice"));
    txtOtherDevice->setPlaceholderText(qtext(ids::OtherDevicePlaceholder, lang));
    txtOtherDevice->setAccessibleName(nameFromCaption(qtext(ids::OtherDevice, lang)).remove(QChar(0x2026)));
    txtOtherDevice->setMinimumWidth(txtOtherDevice->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 32);
    connect(txtOtherDevice, &QLineEdit::textEdited, this, &frmComPort::txtOtherDevice_Change);
    m_otherDelay.setSingleShot(true);
    m_otherDelay.setInterval(kTypingPauseMs);
    connect(&m_otherDelay, &QTimer::timeout, this, &frmComPort::probeOtherDevice);

    OptSimulated = new QRadioButton(qtext(ids::SimulatedRadio, lang), this);
    OptSimulated->setObjectName(QStringLiteral("OptSimulated"));

    CmdOk = new QPushButton(qtext(ids::Ok, lang), this);
    CmdOk->setObjectName(QStringLiteral("CmdOk"));
    CmdOk->setDefault(true);
    CmdCancel = new QPushButton(qtext(ids::Cancel, lang), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    connect(CmdOk, &QPushButton::clicked, this, &frmComPort::CmdOk_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraComPort);
    auto* other = new QHBoxLayout;
    other->addWidget(OptOtherDevice);
    other->addWidget(txtOtherDevice, 1);
    layout->addLayout(other);
    layout->addWidget(OptSimulated);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdOk);
    buttons->addWidget(CmdCancel);
    layout->addLayout(buttons);

    // One group for all 22 choices; the other device and the simulated radio sit outside the frame.
    QVector<QRadioButton*> all = OptComPort;
    all << OptOtherDevice << OptSimulated;
    for (QRadioButton* b : all)
        b->setAutoExclusive(false);
    for (QRadioButton* on : all) {
        connect(on, &QRadioButton::toggled, this, [all, on](bool checked) {
            if (!checked)
                return;
            for (QRadioButton* b : all)
                if (b != on)
                    b->setChecked(false);
        });
    }

    if (m_choice.simulated)
        OptSimulated->setChecked(true);
    else if (!m_choice.device.isEmpty())
        OptOtherDevice->setChecked(true);
    else if (m_choice.number >= 1 && m_choice.number <= kPortCount)
        OptComPort[m_choice.number - 1]->setChecked(true);

    connect(m_checker.get(), &PortChecker::portChecked, this, [this](int number, bool ok) {
        if (number >= 1 && number <= kPortCount)
            OptComPort[number - 1]->setEnabled(ok);
    });
    connect(m_checker.get(), &PortChecker::finished, this, [this] {
        m_probing = false;
        if (m_otherDue)
            probeOtherDevice();
        emit probeFinished();
    });
    m_otherDue = !otherDevicePath().isEmpty();
    QVector<NumberedPort> probed = ports;
    probed.resize(kPortCount);
    for (int i = 0; i < kPortCount; ++i)
        probed[i].number = i + 1;
    m_checker->start(probed);
}

frmComPort::~frmComPort() = default;

QString frmComPort::otherDevicePath() const {
    return txtOtherDevice->text().trimmed();
}

void frmComPort::CmdOk_Click() {
    for (int i = 0; i < kPortCount; ++i) {
        if (OptComPort[i]->isChecked()) {
            m_choice = {i + 1, false, {}};
            accept();
            return;
        }
    }
    if (OptOtherDevice->isChecked() && !otherDevicePath().isEmpty()) {
        m_choice = {m_choice.number, false, otherDevicePath()};
    } else if (OptSimulated->isChecked()) {
        m_choice.simulated = true;
        m_choice.device.clear();
    }
    accept();
}

void frmComPort::txtOtherDevice_Change(const QString& text) {
    m_otherChecker.reset(); // its answer would be about an earlier path
    OptOtherDevice->setEnabled(false);
    const bool typed = !text.trimmed().isEmpty();
    OptOtherDevice->setChecked(typed);
    m_otherDue = false;
    if (typed)
        m_otherDelay.start();
    else
        m_otherDelay.stop();
}

void frmComPort::probeOtherDevice() {
    const QString path = otherDevicePath();
    if (path.isEmpty())
        return;
    if (m_probing) {
        m_otherDue = true;
        return;
    }
    m_otherDue = false;
    m_otherChecker = m_checkers();
    connect(m_otherChecker.get(), &PortChecker::portChecked, this, [this](int, bool ok) {
        OptOtherDevice->setEnabled(ok);
        emit otherDeviceChecked(ok);
    });
    m_otherChecker->start({NumberedPort{0, path, {}}});
}

} // namespace norvik
