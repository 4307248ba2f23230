#include "datafile/frm_csv_import.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "channels/channel_edits.h"
#include "channels/channel_table.h"
#include "common/screen_fit.h"
#include "common/texts.h"
#include "strings/string_ids.h"

namespace norvik {
namespace {

// The columns of a channel's row: the grid's, then the single-channel panel's signalling.
QStringList rowTexts(const ChannelTable& table, int channel) {
    QStringList out;
    if (table.isEmpty(channel)) {
        for (int c = 1; c <= col::Duplex + 2; ++c)
            out << QString();
        return out;
    }
    for (int c = 1; c <= col::Duplex; ++c)
        out << qstr(table.text(channel, c));
    const RadioImage& img = table.document().image();
    out << qstr(fieldText(img, channel, RecordField::SignalType, table.language()));
    out << (isFiveTone(signalTypeEntry(img, channel))
                ? qstr(fieldText(img, channel, RecordField::AutoResponse, table.language()))
                : QString());
    return out;
}

} // namespace

frmCsvImport::frmCsvImport(RadioDocument& document, std::string bytes, Language lang, char decimalSeparator,
                           QWidget* parent)
    : QDialog(parent), m_document(document), m_bytes(std::move(bytes)), m_base(document.image()), m_lang(lang),
      m_sep(decimalSeparator) {
    setObjectName(QStringLiteral("frmCsvImport"));

    chkReplaceAll = new QCheckBox(qtext(ids::ReplaceAllChannels, lang), this);
    chkReplaceAll->setObjectName(QStringLiteral("chkReplaceAll"));
    lblChanges = new QLabel(this);
    lblChanges->setObjectName(QStringLiteral("lblChanges"));
    grdChanges = new QTableWidget(this);
    grdChanges->setObjectName(QStringLiteral("grdChanges"));
    grdChanges->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdChanges->setSelectionMode(QAbstractItemView::NoSelection);
    grdChanges->verticalHeader()->hide();
    lblRefused = new QLabel(this);
    lblRefused->setObjectName(QStringLiteral("lblRefused"));
    lstRefused = new QListWidget(this);
    lstRefused->setObjectName(QStringLiteral("lstRefused"));
    lstRefused->setWordWrap(true);
    CmdApply = new QPushButton(qtext(ids::ServiceApply, lang), this);
    CmdApply->setObjectName(QStringLiteral("CmdApply"));
    CmdCancel = new QPushButton(qtext(ids::Cancel, lang), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkReplaceAll);
    buttons->addStretch(1);
    buttons->addWidget(CmdApply);
    buttons->addWidget(CmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblChanges);
    layout->addWidget(grdChanges, 3);
    layout->addWidget(lblRefused);
    layout->addWidget(lstRefused, 1);
    layout->addLayout(buttons);
    resizeWithinScreen(this, QSize(1100, 620));

    connect(chkReplaceAll, &QCheckBox::clicked, this, &frmCsvImport::chkReplaceAll_Click);
    connect(CmdApply, &QPushButton::clicked, this, &frmCsvImport::CmdApply_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    preview();
}

void frmCsvImport::chkReplaceAll_Click() {
    preview();
}

void frmCsvImport::preview() {
    m_result =
        importChannelsCsv(m_bytes, m_base, chkReplaceAll->isChecked() ? CsvBase::ReplaceAll : CsvBase::KeepOthers);
    RadioDocument before, after;
    before.replace(m_base, 0, RadioDocument::SavedImage::Take);
    after.replace(m_result.image, 0, RadioDocument::SavedImage::Take);
    const ChannelTable now(before, m_lang, m_sep), then(after, m_lang, m_sep);

    QStringList headers{qstr(now.text(0, col::Channel)), QString()};
    for (int c = 1; c <= col::Duplex; ++c)
        headers << qstr(now.text(0, c));
    headers << qtext(ids::OptionSignal, m_lang) << qtext(ids::AutoResponse, m_lang);
    grdChanges->clear();
    grdChanges->setColumnCount(static_cast<int>(headers.size()));
    grdChanges->setHorizontalHeaderLabels(headers);
    grdChanges->setRowCount(2 * m_result.changedCount());
    int row = 0;
    for (int n = 1; n <= kChannelCount; ++n) {
        if (!m_result.changed.test(static_cast<std::size_t>(n)))
            continue;
        const QStringList old = rowTexts(now, n), fresh = rowTexts(then, n);
        const QString labels[] = {qtext(ids::PreviewNow, m_lang), qtext(ids::PreviewAfterImport, m_lang)};
        for (int side = 0; side < 2; ++side, ++row) {
            grdChanges->setItem(row, 0, new QTableWidgetItem(side == 0 ? QString::number(n) : QString()));
            grdChanges->setItem(row, 1, new QTableWidgetItem(labels[side]));
            const QStringList& texts = side == 0 ? old : fresh;
            for (qsizetype c = 0; c < texts.size(); ++c) {
                auto* item = new QTableWidgetItem(texts[c]);
                item->setTextAlignment(Qt::AlignCenter);
                if (side == 1 && texts[c] != old[c]) {
                    QFont bold = item->font();
                    bold.setBold(true);
                    item->setFont(bold);
                }
                grdChanges->setItem(row, static_cast<int>(c) + 2, item);
            }
        }
    }
    grdChanges->resizeColumnsToContents();
    lblChanges->setText(qtext(ids::ChannelsThatChange, m_lang).arg(m_result.changedCount()));

    lstRefused->clear();
    for (const CsvProblem& p : m_result.problems)
        lstRefused->addItem(qtext(ids::CsvLine, m_lang).arg(QString::number(p.line), qstr(csvProblemText(p, m_lang))));
    const auto refused = std::count_if(m_result.problems.begin(), m_result.problems.end(),
                                       [](const CsvProblem& p) { return p.refused(); });
    lblRefused->setText(qtext(ids::LinesNotImported, m_lang).arg(refused));
    CmdApply->setEnabled(m_result.changedCount() > 0);
}

void frmCsvImport::CmdApply_Click() {
    const CsvImport& r = m_result;
    // Only the channels that change are written, record and name entry; one step to undo.
    m_document.edit(ids::ChangeCsvImport, [&r](RadioImage& img) {
        for (int n = 1; n <= kChannelCount; ++n) {
            if (!r.changed.test(static_cast<std::size_t>(n)))
                continue;
            for (int i = 0; i < kRowSize; ++i)
                img.set(channelAddress(n) + i, r.image.at(channelAddress(n) + i));
            for (int i = 0; i < kNameLength; ++i)
                img.set(nameAddress(n) + i, r.image.at(nameAddress(n) + i));
        }
    });
    accept();
}

} // namespace norvik
