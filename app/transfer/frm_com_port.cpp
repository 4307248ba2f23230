#include "transfer/frm_com_port.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "common/texts.h"
#include "strings/string_ids.h"

namespace norvik {
namespace {
constexpr int kColumns = 4;
}

frmComPort::frmComPort(Language lang, const QVector<NumberedPort>& ports, std::unique_ptr<PortChecker> checker,
                       PortChoice current, QWidget* parent)
    : QDialog(parent), m_choice(current), m_checker(std::move(checker)) {
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
#ifndef Q_OS_WIN
        // Without COM names the user needs to see which device a number stands for.
        if (i < ports.size() && !ports[i].device.isEmpty()) {
            caption += QStringLiteral("  ") + ports[i].device;
            b->setToolTip(ports[i].description);
        }
#endif
        b->setText(caption);
        b->setEnabled(false); // until its probe says the port opens
        grid->addWidget(b, i / kColumns, i % kColumns);
        OptComPort.append(b);
    }

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
    layout->addWidget(OptSimulated);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdOk);
    buttons->addWidget(CmdCancel);
    layout->addLayout(buttons);

    // One group for all 21 choices, the simulated radio sits outside the frame.
    for (QRadioButton* b : OptComPort)
        b->setAutoExclusive(false);
    OptSimulated->setAutoExclusive(false);
    auto exclusive = [this](QRadioButton* on) {
        connect(on, &QRadioButton::toggled, this, [this, on](bool checked) {
            if (!checked)
                return;
            for (QRadioButton* b : OptComPort)
                if (b != on)
                    b->setChecked(false);
            if (OptSimulated != on)
                OptSimulated->setChecked(false);
        });
    };
    for (QRadioButton* b : OptComPort)
        exclusive(b);
    exclusive(OptSimulated);

    if (m_choice.simulated)
        OptSimulated->setChecked(true);
    else if (m_choice.number >= 1 && m_choice.number <= kPortCount)
        OptComPort[m_choice.number - 1]->setChecked(true);

    connect(m_checker.get(), &PortChecker::portChecked, this, [this](int number, bool ok) {
        if (number >= 1 && number <= kPortCount)
            OptComPort[number - 1]->setEnabled(ok);
    });
    connect(m_checker.get(), &PortChecker::finished, this, [this] {
        m_probing = false;
        emit probeFinished();
    });
    QVector<NumberedPort> probed = ports;
    probed.resize(kPortCount);
    for (int i = 0; i < kPortCount; ++i)
        probed[i].number = i + 1;
    m_checker->start(probed);
}

frmComPort::~frmComPort() = default;

void frmComPort::CmdOk_Click() {
    for (int i = 0; i < kPortCount; ++i) {
        if (OptComPort[i]->isChecked()) {
            m_choice = {i + 1, false};
            accept();
            return;
        }
    }
    if (OptSimulated->isChecked())
        m_choice.simulated = true;
    accept();
}

} // namespace norvik
