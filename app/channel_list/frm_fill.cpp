#include "app/channel_list/frm_fill.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/common/texts.h"
#include "app/dialogs/prompt.h"
#include "core/strings/string_ids.h"

namespace norvik {

frmFill::frmFill(ChannelTable& table, Prompter& prompter, Language lang, QWidget* parent)
    : QDialog(parent), m_table(table), m_prompter(prompter), m_lang(lang), txtStart(new QLineEdit(this)),
      txtStep(new QLineEdit(this)), cboTransmit(new QComboBox(this)), txtOffsetOrTx(new QLineEdit(this)),
      spnCount(new QSpinBox(this)), lblPreview(new QLabel(this)) {
    setObjectName(QStringLiteral("frmFill"));
    setWindowTitle(withoutMnemonic(qtext(ids::MenuEditFill, lang)).remove(QChar(0x2026)));
    txtStart->setObjectName(QStringLiteral("txtStart"));
    txtStep->setObjectName(QStringLiteral("txtStep"));
    cboTransmit->setObjectName(QStringLiteral("cboTransmit"));
    txtOffsetOrTx->setObjectName(QStringLiteral("txtOffsetOrTx"));
    spnCount->setObjectName(QStringLiteral("spnCount"));
    lblPreview->setObjectName(QStringLiteral("lblPreview"));
    for (const int id : {ids::FillTxOff, ids::FillTxPlus, ids::FillTxMinus, ids::FillTxFixed})
        cboTransmit->addItem(qtext(id, lang));

    const CurrentCell& cell = table.current();
    if (cell.selectedCount() > 1) {
        for (int n = 1; n <= kChannelCount; ++n) {
            if (cell.selected().test(static_cast<std::size_t>(n)))
                m_selected.push_back(n);
        }
    }
    const int current = std::max(cell.channel(), 1);
    spnCount->setRange(1, kChannelCount - current + 1);
    spnCount->setValue(m_selected.empty() ? 1 : static_cast<int>(m_selected.size()));
    spnCount->setEnabled(m_selected.empty());
    if (!table.isEmpty(current))
        txtStart->setText(qstr(table.text(current, col::Rx)));
    txtStep->setText(QStringLiteral("0.025"));

    auto* form = new QFormLayout;
    form->addRow(qtext(ids::FillStart, lang), txtStart);
    form->addRow(qtext(ids::FillStep, lang), txtStep);
    form->addRow(qtext(ids::FillTransmit, lang), cboTransmit);
    form->addRow(qtext(ids::FillOffsetOrTx, lang), txtOffsetOrTx);
    form->addRow(qtext(ids::FillCount, lang), spnCount);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    CmdOk = buttons->button(QDialogButtonBox::Ok);
    CmdOk->setObjectName(QStringLiteral("CmdOk"));
    CmdOk->setText(qtext(ids::Ok, lang));
    buttons->button(QDialogButtonBox::Cancel)->setText(qtext(ids::Cancel, lang));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(lblPreview);
    layout->addWidget(buttons);

    for (QLineEdit* e : {txtStart, txtStep, txtOffsetOrTx})
        connect(e, &QLineEdit::textChanged, this, &frmFill::preview);
    connect(cboTransmit, &QComboBox::currentIndexChanged, this, &frmFill::preview);
    connect(spnCount, &QSpinBox::valueChanged, this, &frmFill::preview);
    connect(CmdOk, &QPushButton::clicked, this, &frmFill::CmdOk_Click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    preview();
}

FillPlan frmFill::plan() const {
    return {txtStart->text().trimmed().toStdString(), txtStep->text().trimmed().toStdString(),
            static_cast<FillPlan::Transmit>(cboTransmit->currentIndex()),
            txtOffsetOrTx->text().trimmed().toStdString()};
}

std::vector<int> frmFill::channels() const {
    if (!m_selected.empty())
        return m_selected;
    std::vector<int> out;
    const int first = std::max(m_table.currentChannel(), 1);
    for (int n = first; n < first + spnCount->value() && n <= kChannelCount; ++n)
        out.push_back(n);
    return out;
}

void frmFill::preview() {
    const std::vector<int> to = channels();
    ChannelRows rows;
    for (int n = 1; n <= kChannelCount; ++n)
        rows[static_cast<std::size_t>(n)] = m_table.row(n);
    const FillResult r = previewFill(m_table.document().image(), rows, to, plan(), m_table.style());
    if (!r.readable || to.empty()) {
        lblPreview->setText(qtext(ids::FillNotNumbers, m_lang));
        return;
    }
    QString text =
        qtext(ids::FillPreview, m_lang).arg(qstr(r.firstRx)).arg(to.front()).arg(qstr(r.lastRx)).arg(to.back());
    if (!r.refused.empty())
        text += QLatin1Char('\n') + qtext(ids::FillRefused, m_lang).arg(qstr(channelListText(r.refused)));
    lblPreview->setText(text);
}

void frmFill::CmdOk_Click() {
    const FillResult r = fillFrequencies(m_table, channels(), plan());
    QString problem;
    if (!r.readable)
        problem = qtext(ids::FillNotNumbers, m_lang);
    else if (!r.refused.empty())
        problem = qtext(ids::FillRefused, m_lang).arg(qstr(channelListText(r.refused)));
    if (problem.isEmpty()) {
        accept();
        return;
    }
    m_prompter.message(this, QMessageBox::Warning, QString::fromLatin1(kProductName), problem, QMessageBox::Ok,
                       QMessageBox::Ok);
}

frmFind::frmFind(ChannelTable& table, Prompter& prompter, Language lang, const QString& last, QWidget* parent)
    : QDialog(parent), m_table(table), m_prompter(prompter), m_lang(lang), txtFind(new QLineEdit(this)) {
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(withoutMnemonic(qtext(ids::MenuEditFind, lang)).remove(QChar(0x2026)));
    txtFind->setObjectName(QStringLiteral("txtFind"));
    txtFind->setText(last);
    txtFind->selectAll();
    auto* next = new QPushButton(withoutMnemonic(qtext(ids::MenuEditFindNext, lang)), this);
    next->setObjectName(QStringLiteral("CmdFindNext"));
    next->setDefault(true);
    auto* close = new QPushButton(qtext(ids::Cancel, lang), this);
    auto* layout = new QFormLayout(this);
    layout->addRow(qtext(ids::FindPrompt, lang), txtFind);
    layout->addRow(next, close);
    connect(next, &QPushButton::clicked, this, &frmFind::findNext);
    connect(new QShortcut(QKeySequence(Qt::Key_F3), this), &QShortcut::activated, this, &frmFind::findNext);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

bool frmFind::findNext() {
    emit searched(txtFind->text());
    const std::string wanted = txtFind->text().toStdString();
    const int found = findChannel(m_table, wanted, m_table.currentChannel());
    if (found != 0) {
        m_table.current().selectRows(found, found);
        return true;
    }
    if (!txtFind->text().trimmed().isEmpty())
        m_prompter.message(this, QMessageBox::Information, QString::fromLatin1(kProductName),
                           qtext(ids::FindNothing, m_lang).arg(txtFind->text()), QMessageBox::Ok, QMessageBox::Ok);
    return false;
}

} // namespace norvik
