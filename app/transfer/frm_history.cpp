#include "app/transfer/frm_history.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>

#include "app/common/path_names.h"
#include "app/common/texts.h"
#include "app/dialogs/prompt.h"
#include "core/strings/string_ids.h"
#include "io/files.h"
#include "io/history_file.h"

namespace norvik {
namespace {

// A cell that sorts by a number rather than by its text.
class NumberItem : public QTableWidgetItem {
public:
    NumberItem(const QString& text, double value) : QTableWidgetItem(text), m_value(value) {}
    bool operator<(const QTableWidgetItem& other) const override {
        const auto* number = dynamic_cast<const NumberItem*>(&other);
        return number ? m_value < number->m_value : QTableWidgetItem::operator<(other);
    }

private:
    double m_value;
};

} // namespace

frmHistory::frmHistory(const std::filesystem::path& file, Prompter& prompter, Language lang, QWidget* parent)
    : QDialog(parent), m_file(file), m_prompter(prompter), m_language(lang) {
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(qtext(ids::HistoryTitle, lang));
    tblHistory = new QTableWidget(this);
    tblHistory->setObjectName(QStringLiteral("tblHistory"));
    tblHistory->setColumnCount(kColumnCount);
    tblHistory->setHorizontalHeaderLabels(
        {qtext(ids::ColumnTime, lang), qtext(ids::ColumnOperation, lang), qtext(ids::ColumnPort, lang),
         qtext(ids::ColumnResult, lang), qtext(ids::ColumnDuration, lang), qtext(ids::ColumnRadio, lang),
         qtext(ids::ColumnChecksum, lang), qtext(ids::ColumnDataFile, lang), qtext(ids::ColumnBackup, lang)});
    tblHistory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblHistory->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblHistory->verticalHeader()->hide();
    tblHistory->horizontalHeader()->setSectionsClickable(true);
    tblHistory->setWordWrap(false);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setWordWrap(true);
    cmdExport = new QPushButton(qtext(ids::HistoryExportCsv, lang), this);
    cmdExport->setObjectName(QStringLiteral("cmdExport"));
    cmdClose = new QPushButton(qtext(ids::SeveralClose, lang), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdExport);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tblHistory, 1);
    layout->addWidget(lblStatus);
    layout->addLayout(buttons);
    connect(cmdExport, &QPushButton::clicked, this, &frmHistory::cmdExport_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    reload();
    resize(fontMetrics().averageCharWidth() * 170, fontMetrics().height() * 30);
}

void frmHistory::reload() {
    io::FileProblem problem;
    m_entries = io::readHistory(m_file, problem);
    lblStatus->setText(problem
                           ? qtext(ids::HistoryNotRead, m_language)
                                 .arg(shownPath(m_file), QString::fromStdString(io::reasonText(problem, m_language)))
                           : QString());
    tblHistory->setSortingEnabled(false);
    tblHistory->setRowCount(int(m_entries.size()));
    for (int r = 0; r < int(m_entries.size()); ++r) {
        const HistoryEntry& e = m_entries[std::size_t(r)];
        const auto text = [](const std::string& s) { return QString::fromStdString(s); };
        QString cells[kColumnCount];
        cells[ColTime] = text(e.time).replace(QLatin1Char('T'), QLatin1Char(' '));
        cells[ColOperation] = text(historyOperationText(e.operation, m_language));
        cells[ColPort] = text(e.port);
        cells[ColResult] = text(historyResultText(e, m_language));
        cells[ColDuration] = qtext(ids::SecondsShort, m_language).arg(e.seconds, 0, 'f', 1);
        cells[ColRadio] = text(e.identification);
        cells[ColChecksum] = text(e.checksum);
        cells[ColDataFile] = text(e.dataFile);
        cells[ColBackup] = text(e.backupPath);
        for (int c = 0; c < kColumnCount; ++c) {
            // The file is in the order the transfers ended, so that order sorts the times, also
            // within one second; durations sort as numbers.
            QTableWidgetItem* item = c == ColTime       ? new NumberItem(cells[c], r)
                                     : c == ColDuration ? new NumberItem(cells[c], e.seconds)
                                                        : new QTableWidgetItem(cells[c]);
            item->setToolTip(cells[c]);
            tblHistory->setItem(r, c, item);
        }
    }
    tblHistory->setSortingEnabled(true);
    tblHistory->sortByColumn(ColTime, Qt::DescendingOrder);
    tblHistory->resizeColumnsToContents();
    const int widest = fontMetrics().averageCharWidth() * 40;
    for (int c = 0; c < kColumnCount; ++c)
        tblHistory->setColumnWidth(c, qMin(tblHistory->columnWidth(c), widest));
    tblHistory->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    if (tblHistory->rowCount() > 0)
        tblHistory->setCurrentCell(0, 0);
}

void frmHistory::cmdExport_Click() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString name =
        m_prompter.saveFileName(this, qtext(ids::HistoryExportCsv, m_language).remove(QLatin1Char('&')),
                                dir + QStringLiteral("/history.csv"), QStringLiteral("CSV (*.csv)"));
    if (name.isEmpty())
        return;
    const std::string csv = historyCsv(m_entries);
    const std::filesystem::path path = pathFromDialog(name);
    const io::FileProblem problem =
        io::saveFile(path, std::span(reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size()));
    if (problem) {
        m_prompter.message(this, QMessageBox::Warning, QString::fromLatin1(kProductName),
                           qtext(ids::CannotWriteFile, m_language).arg(shownPath(path)) + QLatin1Char('\n') +
                               QString::fromStdString(io::reasonText(problem, m_language)),
                           QMessageBox::Ok);
        return;
    }
    lblStatus->setText(qtext(ids::HistoryExported, m_language).arg(shownPath(path)));
}

} // namespace norvik
