#pragma once

#include <QDialog>
#include <filesystem>
#include <vector>

#include "core/strings/strings.h"
#include "io/backups.h"

class QLabel;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace norvik {

// File › Backups…: the backups newest first (time, what each came from, size) and the folder's
// size. Open and Compare hand the chosen backup to the main window; Show in Folder opens its day
// folder in the file manager. The days a backup is kept are set here and removed at start.
class frmBackups : public QDialog {
    Q_OBJECT
public:
    frmBackups(const std::filesystem::path& folder, int keepDays, Language lang, QWidget* parent = nullptr);

    // Lists the folder again.
    void refresh();
    // The backup the list's current row shows; empty when there is none.
    std::filesystem::path currentBackup() const;
    const std::vector<io::BackupEntry>& entries() const { return m_entries; }

signals:
    void openRequested(const std::filesystem::path& backup);
    void compareRequested(const std::filesystem::path& backup);
    void keepDaysChanged(int days);

private:
    void updateButtons();

    std::filesystem::path m_folder;
    Language m_language;
    std::vector<io::BackupEntry> m_entries;
    QTreeWidget* lstBackups;
    QLabel* lblSummary;
    QLabel* lblKeepDays;
    QSpinBox* txtKeepDays;
    QPushButton* CmdOpen;
    QPushButton* CmdCompare;
    QPushButton* CmdShowFolder;
    QPushButton* CmdClose;
};

} // namespace norvik
