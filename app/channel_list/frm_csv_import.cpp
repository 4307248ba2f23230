#include "app/channel_list/frm_csv_import.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "app/common/screen_fit.h"
#include "app/common/texts.h"
#include "core/channels/channel_edits.h"
#include "core/channels/channel_rules.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

// The columns of a channel's row: the grid's, then the single-channel panel's signalling.
QStringList rowTexts(const RadioImage& img, const ChannelRow& row, int channel, Language lang) {
    QStringList out;
    if (row.texts[col::Rx].empty()) {
        for (int c = 1; c <= col::Duplex + 2; ++c)
            out << QString();
        return out;
    }
    for (int c = 1; c <= col::Duplex; ++c)
        out << qstr(row.texts[static_cast<std::size_t>(c)]);
    out << qstr(fieldText(img, channel, RecordField::SignalType, lang));
    out << (isFiveTone(signalTypeEntry(img, channel)) ? qstr(fieldText(img, channel, RecordField::AutoResponse, lang))
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
    // Both shown as loading shows an image (the import's result is normalised already).
    RadioImage base = m_base;
    normaliseChannels(base);
    const ChannelRows now = channelRows(base, m_lang, m_sep), then = channelRows(m_result.image, m_lang, m_sep);

    QStringList headers{qtext(columnHeaderId(col::Channel), m_lang), QString()};
    for (int c = 1; c <= col::Duplex; ++c)
        headers << qtext(columnHeaderId(c), m_lang);
    headers << qtext(ids::OptionSignal, m_lang) << qtext(ids::AutoResponse, m_lang);
    grdChanges->clear();
    grdChanges->setColumnCount(static_cast<int>(headers.size()));
    grdChanges->setHorizontalHeaderLabels(headers);
    grdChanges->setRowCount(2 * m_result.changedCount());
    int row = 0;
    std::map<int, int> rowOfChannel; // channel -> its "now" row
    for (int n = 1; n <= kChannelCount; ++n) {
        if (!m_result.changed.test(static_cast<std::size_t>(n)))
            continue;
        rowOfChannel[n] = row;
        const QStringList old = rowTexts(base, now[static_cast<std::size_t>(n)], n, m_lang),
                          fresh = rowTexts(m_result.image, then[static_cast<std::size_t>(n)], n, m_lang);
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
    // A frequency the raster moved shows what the file had beside what is taken.
    for (const CsvRounding& r : m_result.rounded) {
        const auto at = rowOfChannel.find(r.channel);
        if (at == rowOfChannel.end())
            continue;
        if (QTableWidgetItem* item = grdChanges->item(at->second + 1, r.column + 1)) {
            item->setText(qtext(ids::CsvRoundedCell, m_lang).arg(qstr(r.cell), qstr(r.taken)));
            item->setToolTip(qstr(csvRoundingText(r, m_lang)));
        }
    }
    grdChanges->resizeColumnsToContents();
    lblChanges->setText(qtext(ids::ChannelsThatChange, m_lang).arg(m_result.changedCount()));

    lstRefused->clear();
    // What was left out and what was rounded, line by line.
    std::vector<std::pair<int, std::string>> lines;
    for (const CsvProblem& p : m_result.problems)
        lines.emplace_back(p.line, csvProblemText(p, m_lang));
    for (const CsvRounding& r : m_result.rounded)
        lines.emplace_back(r.line, csvRoundingText(r, m_lang));
    std::stable_sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [line, text] : lines)
        lstRefused->addItem(qtext(ids::CsvLine, m_lang).arg(QString::number(line), qstr(text)));
    if (m_result.unlistedProblems > 0)
        lstRefused->addItem(qtext(ids::CsvMoreRefused, m_lang).arg(m_result.unlistedProblems));
    lblRefused->setText(qtext(ids::LinesNotImported, m_lang).arg(m_result.refusedCount()));
    CmdApply->setEnabled(m_result.changedCount() > 0);
}

void frmCsvImport::CmdApply_Click() {
    const CsvImport& r = m_result;
    // Only the channels that change are written, record and name entry; one step to undo.
    m_document.edit(ids::ChangeCsvImport, [&r](RadioImage& img) { r.applyTo(img); });
    accept();
}

} // namespace norvik
