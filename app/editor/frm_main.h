#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/editor/main_window_help.h"
#include "app/transfer/transfer_host.h"
#include "core/channels/channel_edits.h"
#include "core/channels/channel_ranges.h"
#include "core/channels/channel_table.h"
#include "core/clone/clone_session.h"
#include "core/image/radio_document.h"
#include "core/strings/strings.h"
#include "io/byte_sink.h"
#include "io/files.h"

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSettings;
class QSplitter;
class QStatusBar;
class QTimer;
class QToolBar;

namespace norvik {

class Prompter;
class ChannelGrid;
class AlternatePanel;
class TransferCommands;
class TransferPorts;
class frmClone;
class frmComPort;

// The main window: menus, toolbar, button column, the channel grid's pane, the status window
// and the status bar around the one Radio Image. Menus and toolbar are built from one table of
// actions; every command first commits an open editor. The views follow the document's notices,
// whoever changed it. Every window of a command is made by that command's handler and opened
// through openWindow(), so a test's window has the same windows as the program's.
class frmMain : public QMainWindow, public TransferHost {
    Q_OBJECT
public:
    // `settings` holds the stored language; null means the program's own store.
    frmMain(RadioDocument& document, Prompter& prompter, QWidget* parent = nullptr);
    frmMain(RadioDocument& document, Prompter& prompter, QSettings* settings, QWidget* parent = nullptr);
    ~frmMain() override;

    RadioDocument& document() { return m_document; }
    Prompter& prompter() { return m_prompter; }

    Language language() const { return m_language; }
    void setLanguage(Language lang);

    ChannelTable& channelTable() { return *m_table; }
    ChannelGrid* channelGrid() const { return m_channelGrid; }
    // The single-channel panel shown over the work area by mnuSet_GUI.
    void setAlternatePanel(QWidget* panel);

    // Runs before every command so a half-typed cell is not lost (the grid's commit by default).
    void setCommitEditor(std::function<void()> commit) { m_commitEditor = std::move(commit); }

    // The document's file, empty while it is "Untitled"; the title shows its name. Kept as the
    // bytes it came as, so a name that is not valid UTF-8 is saved back to the same file.
    void setFilePath(const std::filesystem::path& path);
    const std::filesystem::path& filePath() const { return m_filePath; }
    void updateTitle();

    bool singleClickEdit() const { return m_singleClick; }

    // Paste follows the copy buffer: enabled by the first copy, disabled by New and Open.
    void setPasteAvailable(bool available);
    bool alternatePanelShown() const;

    void appendStatus(const QString& line);

    // Opens a window of a command: window-modal and returning at once, deleted when closed; the
    // grid takes the focus back once it has gone. Every command's window opens through this.
    void openWindow(QDialog* window);

    // Help for a context id: the help file beside the program when there is one, else the
    // bundled pages.
    void showHelp(int contextId) { m_help->showHelp(contextId); }
    QString helpFilePath() const { return m_help->helpFilePath(); }

    // Named controls, for tests.
    QAction* action(const char* objectName) const;
    QAction* toolButton(const QString& key) const;
    QPushButton* cmdButton(int index) const { return CmdButtons.at(static_cast<std::size_t>(index)); }

    static constexpr int kButtonCount = 5;
    // F1 opens the topic named by this int property of the focused widget or its parents; the
    // grid sets it to 7007..7012 as its current column changes.
    static constexpr const char* kHelpContextProperty = MainWindowHelp::kProperty;

    // TransferHost
    QWidget* transferWindow() override { return this; }
    void showTransferLog(const QString& text) override;
    void appendTransferLogLine(const QString& line) override;
    QString transferDataFile() const override;
    void showComStatus(const QString& text) override;
    void holdImage(bool held) override;

signals:
    void languageChanged(norvik::Language lang);
    // Last step of closing, after the language has been stored: close the serial port.
    void unloading();

public slots:
    void mnuFile_New_Click();
    void mnuFile_Open_Click();
    void mnuFile_Save_Click();
    void mnuFile_SaveAs_Click();
    void mnuFile_Compare_Click();
    void mnuFile_ImportCsv_Click();
    void mnuFile_ExportCsv_Click();
    void mnuFile_Print_Click();
    void mnuFile_ExportPdf_Click();
    void mnuFile_Exit_Click();
    void mnuEdit_Undo_Click();
    void mnuEdit_Redo_Click();
    void mnuEdit_Cut_Click();
    void mnuEdit_Copy_Click();
    void mnuEdit_Paste_Click();
    void mnuEdit_Clear_Click();
    void mnuEdit_Delete_Click();
    void mnuEdit_Insert_Click();
    void mnuEdit_SelectAll_Click();
    void mnuEdit_Fill_Click();
    void mnuEdit_SortRx_Click();
    void mnuEdit_SortName_Click();
    void mnuEdit_Find_Click();
    void mnuEdit_FindNext_Click();
    void mnuProgram_OPSign_Click();
    void mnuProgram_Advanced_Click();
    void mnuProgram_ANI_Click();
    void mnuProgram_EmbMsg_Click();
    void mnuTransfer_Read_Click();
    void mnuTransfer_Write_Click();
    void mnuTransfer_WriteSeveral_Click();
    void mnuTransfer_ReadSeveral_Click();
    void mnuTransfer_History_Click();
    // The checkable items act on their check as it stands (a trigger has already flipped it).
    void mnuSet_GUI_Click();
    void mnuSet_SingleClick_Click();
    void mnuSet_Manual_Click();
    void mnuSet_COM_Click();
    // Whether a write is read back; remembered in the settings, which the write reads.
    void mnuSet_Verify_Click();
    void mnuSet_Backup_Click();
    void mnuFile_Backups_Click();
    void mnuSet_LanE_Click();
    void mnuSet_LanC_Click();
    void mnuView_Status_Click();
    void mnuView_Buttons_Click();
    void mnuView_Columns_Click();
    void mnuHelp_About_Click();
    // The help's first page; F1 itself stays with the topic of the focused control.
    void mnuHelp_Contents_Click();
    void CmdButtons_Click(int index);
    void tlbActions_ButtonClick(const QString& key);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // A data file dropped on the window opens as Open would; a channel list (.csv) goes to the
    // import preview.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildActions();
    void buildToolBar();
    void buildPanes();
    void buildStatusBar();
    void recaption();
    void layOutStartPanes();
    void placeAlternatePanel();
    void updateClock();
    void commitOpenEditor();
    // Runs a command as every menu item, tool button and button does: the open editor is
    // committed first, and the grid has the focus once it is done (unless the panel covers it).
    void runCommand(const std::function<void()>& command);
    void focusGrid();
    void documentChanged(const DocumentChange& change);
    void syncManualCheck();
    void updateUndoActions();
    // The edit items are off while the single-channel panel covers the grid, and every command
    // that would change the image is off while it is held.
    void enableEditActions();
    bool changesOff() const;
    // The toolbar gesture opens the memory map, or closes it when it is up.
    void toggleMemoryMap();
    // Ctrl+A and Ctrl+X belong to the menu even while a text field has the focus.
    void giveMenuKeysToTheMenu(QWidget* field);
    int twipsToPixelsX(int twips) const;
    int twipsToPixelsY(int twips) const;

    RadioDocument& m_document;
    Prompter& m_prompter;
    std::unique_ptr<QSettings> m_ownSettings;
    QSettings* m_settings = nullptr;
    Language m_language = Language::English;
    // As read at start: what the next start gets should the write at exit fail.
    Language m_storedLanguage = Language::English;
    std::filesystem::path m_filePath;
    bool m_singleClick = true;
    bool m_holdsCopy = false;
    bool m_startLaidOut = false;
    std::function<void()> m_commitEditor;
    MainWindowHelp* m_help = nullptr;
    TransferCommands* m_transfers = nullptr;

    // Actions with their caption (menu) and tooltip (toolbar) ids, re-captioned on every
    // language switch.
    struct Captioned {
        QAction* action;
        int captionId;
        int tipId;
    };
    std::vector<Captioned> m_captions;

    QMenu* mnuEdit = nullptr;
    QToolBar* tlbActions = nullptr;

    QWidget* Picture1 = nullptr;
    QSplitter* ImgSplit0 = nullptr; // button column | grid and status
    QSplitter* ImgSplit1 = nullptr; // grid over status window
    QWidget* PicButtons = nullptr;
    std::array<QPushButton*, kButtonCount> CmdButtons{};
    QWidget* picMain = nullptr;
    std::unique_ptr<ChannelTable> m_table;
    ChannelGrid* m_channelGrid = nullptr;
    QWidget* PicStatus = nullptr;
    QPlainTextEdit* TxtStatus = nullptr;
    QPointer<QWidget> PicGUI;

    QStatusBar* staDateTime = nullptr;
    QLabel* m_datePanel = nullptr;
    QLabel* m_timePanel = nullptr;
    QLabel* m_comStatus = nullptr;
    QLabel* m_heldNotice = nullptr;
    QTimer* m_clock = nullptr;
    // The windows of commands that were open when the image was held, off until it is let go.
    std::vector<QPointer<QWidget>> m_heldWindows;

    RadioDocument::Subscription m_subscription;

    // Edit operations
public:
    // The one copy buffer of the window; it outlives Open, New and reads.
    const CopyBuffer& copyBuffer() const { return m_copy; }
    AlternatePanel* alternatePanel() const;

private:
    void setUpEditOperations();
    bool editMenuOff() const;
    void afterButtonOperation(const EditResult& result);
    // The edit operations on a selection of several channels.
    bool severalSelected() const;
    bool copySelection();
    void putOnClipboard(const ChannelSet& channels);
    void pasteClip(const ChannelClip& clip);
    bool pasteText(const QString& text);
    void runOnSelection(ChannelButton button);
    void commitToSelection(int column, const QString& text);
    void showSelectionCount();
    bool askYesNo(const QString& question);
    void tell(const QString& message);
    void sortSelection(SortKey key);
    void showAlternatePanel(bool shown);
    CopyBuffer m_copy;
    QPointer<AlternatePanel> m_altPanel;

    // File commands and transfers
public:
    // The name the title shows until the document has a file.
    static constexpr const char* kUntitled = "Untitled";
    // Filter of the Open, Save and Save As dialogs, the same in both languages.
    static constexpr const char* kDataFileFilter = "NVK Data Files (*.dat)";
    // The answers to the question before Save writes over a file somebody else has changed.
    static constexpr QMessageBox::StandardButton kOverwriteAnswer = QMessageBox::Yes;
    static constexpr QMessageBox::StandardButton kSaveAsAnswer = QMessageBox::Save;

    // The port state transfers use; the application owns it. Without one the window makes its
    // own over the machine's ports. Either way a device chosen under "Other device…" last time is
    // chosen again.
    void setTransferPorts(TransferPorts& ports);
    TransferCommands& transferCommands() const { return *m_transfers; }
    TransferPorts& transferPorts();
    // The transfer running now, null between transfers.
    frmClone* clone() const;

signals:
    void transferFinished(norvik::CloneOutcome outcome);
    // The Communication Port dialog is on screen (it probes the ports while showing).
    void comPortDialogShown(norvik::frmComPort* dialog);

public:
    // Loads a data file as Open does after its dialog (the program also takes one on its command
    // line). A foreign file is refused with "Incorrect File Type." and the image stays.
    bool openDataFile(const std::filesystem::path& path);
    // Opens a backup as an untitled document (Save asks for a name: the file it came from is never
    // written over by mistake), through the same question as Open.
    void openBackup(const std::filesystem::path& path);
    // Lists what differs from the window's image to a data file's, in a window of its own.
    void compareWithDataFile(const std::filesystem::path& path);
    // The data files last opened or saved, newest first, as File › Open Recent lists them.
    const std::vector<std::filesystem::path>& recentFiles() const { return m_recentFiles; }
    // Opens one of them through the same question as Open; one that is gone leaves the list.
    void openRecentFile(const std::filesystem::path& path);
    // A confirmation on the status bar (a file saved), gone after a few seconds.
    void showNotice(const QString& text);
    // Where the backups go (the application data's backups folder unless set): a file's previous
    // content before a save replaces it, unsaved edits before a read or Open, the radio before a
    // write.
    void setBackupFolder(const std::filesystem::path& folder);
    const std::filesystem::path& backupFolder() const { return m_backupFolder; }
    // Keeps the file at `target` as a backup before a save replaces it with `replacement`. False,
    // after telling the user why, when it cannot be kept: the save must not go ahead.
    bool keepFileBeforeReplace(const std::filesystem::path& target, std::span<const std::uint8_t> replacement);
    // Keeps the image as a backup when it has unsaved changes, before a read or Open replaces it.
    // False, after telling the user why, when it cannot be kept: the image must stay.
    bool keepUnsavedEdits();
    // Puts a device between every save and its file (tests put one there that fails).
    void setSaveSinkWrapper(io::SinkWrapper wrap) { m_saveSinkWrapper = std::move(wrap); }

private:
    // Asks before a command replaces the image: true to go on (after saving when asked to).
    bool saveChangesBefore(int questionId);
    // Encodes the image and writes it through the program's one save routine; the old file
    // survives any failure. Asks first when that is the document's file and somebody else has
    // written it since this window read or wrote it.
    bool writeDataFile(const std::filesystem::path& path);
    // The document's file as this window last read or wrote it; none while it has no file, or
    // when the file could not be read to take it.
    std::optional<io::FileStamp> m_fileStamp;
    // A data file's image; none, after telling the user why, when it cannot be had.
    std::optional<RadioImage> readDataFile(const std::filesystem::path& path);
    io::SinkWrapper m_saveSinkWrapper;
    std::filesystem::path m_backupFolder;
    QString fileDialogTitle(int captionId) const;
    void rememberRecentFile(const std::filesystem::path& path);
    void setRecentFiles(std::vector<std::filesystem::path> files);
    void fillRecentMenu();
    std::vector<std::filesystem::path> m_recentFiles;
    QMenu* mnuFile_Recent = nullptr;
    QLabel* m_notice = nullptr;
    QLabel* m_selectionCount = nullptr;
    QString m_findText;        // what Find last looked for, for Find Next
    QByteArray m_clipboardPut; // the own format as this window last put it on the clipboard
    CurrentCell::Subscription m_selectionSubscription;
    QTimer* m_noticeTimer = nullptr;
};

} // namespace norvik
