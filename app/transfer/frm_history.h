#pragma once

#include <QDialog>
#include <filesystem>
#include <vector>

#include "core/history/transfer_history.h"
#include "core/strings/strings.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace norvik {

class Prompter;

// The transfer history as a table, newest first and sortable by any column, with Export CSV.
class frmHistory : public QDialog {
    Q_OBJECT
public:
    enum Column {
        ColTime,
        ColOperation,
        ColPort,
        ColResult,
        ColDuration,
        ColRadio,
        ColChecksum,
        ColDataFile,
        ColBackup,
        kColumnCount
    };

    frmHistory(const std::filesystem::path& file, Prompter& prompter, Language lang, QWidget* parent = nullptr);

    const std::vector<HistoryEntry>& entries() const { return m_entries; }
    QTableWidget* table() const { return tblHistory; }
    void reload();
    void cmdExport_Click();

private:
    std::filesystem::path m_file;
    Prompter& m_prompter;
    Language m_language;
    std::vector<HistoryEntry> m_entries;

    QTableWidget* tblHistory;
    QLabel* lblStatus;
    QPushButton* cmdExport;
    QPushButton* cmdClose;
};

} // namespace norvik
