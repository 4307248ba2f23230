#pragma once

#include <QObject>
#include <QPointer>
#include <filesystem>
#include <functional>
#include <memory>

#include "core/clone/clone_session.h"
#include "core/strings/strings.h"

class QSettings;

namespace norvik {

class Prompter;
class RadioDocument;
class TransferHost;
class TransferPorts;
class frmClone;
class frmComPort;
class frmHistory;
class frmSeveralRadios;
struct PortOutcome;

// The Transfer menu and the Communication Port item: each asks first, then runs one transfer
// for its host window. A read replaces the document's image in one change only when it
// completes (the Saved Image stays the image before the read, so the result counts as changed
// until it is saved); a read that fails or is cancelled leaves the document untouched.
class TransferCommands : public QObject {
    Q_OBJECT
public:
    // `settings` keeps the device typed under "Other device…" between runs, and whether a write
    // is read back.
    TransferCommands(TransferHost& host, RadioDocument& document, Prompter& prompter, QSettings& settings,
                     QObject* parent = nullptr);
    ~TransferCommands() override;

    void setLanguage(Language lang) { m_language = lang; }
    // The port state transfers use; the application owns it. Without one, the commands make
    // their own over the machine's ports. Either way a device chosen under "Other device…" last
    // time is chosen again.
    void setPorts(TransferPorts& ports);
    TransferPorts& ports();
    // The transfer running now, null between transfers.
    frmClone* clone() const;

    // Where a write keeps the radio first (Setup › Back Up Radio Before Write); the application
    // data's backups folder unless set.
    void setBackupFolder(const std::filesystem::path& folder) { m_backupFolder = folder; }
    const std::filesystem::path& backupFolder() const { return m_backupFolder; }

    // Asked after the read is confirmed and before the radio is touched: false keeps the image as
    // it is and the read does not start (its unsaved edits could not be kept).
    void setBeforeReadReplaces(std::function<bool()> keep) { m_beforeRead = std::move(keep); }

    void read();
    void write();
    void chooseComPort();
    // The several-radios window for a read or a write (one at a time), and the History window.
    void severalRadios(CloneMode mode);
    void history();
    frmSeveralRadios* severalRadiosWindow() const;
    // Whether the several-radios window has transfers running.
    bool busy() const;
    // Brings the several-radios window forward when it is busy (what a read or write of one radio,
    // or closing the main window, waits for); false when it is not.
    bool raiseBusyWindow();
    // Closes the windows of their own, as the main window closes.
    void closeWindows();
    frmHistory* historyWindow() const;

signals:
    void finished(norvik::CloneOutcome outcome);
    // The Communication Port dialog is on screen (it probes the ports while showing).
    void comPortDialogShown(norvik::frmComPort* dialog);

private:
    // The question, a note when there is one (noteId 0: none), then "Do you wish to continue?".
    bool confirm(int questionId, int noteId = 0);
    void start(CloneMode mode);
    void useRememberedDevice(TransferPorts& ports);
    // Appends the transfer to the history; a line that cannot be written goes to the status window.
    void record(CloneMode mode, const PortOutcome& outcome);

    TransferHost& m_host;
    RadioDocument& m_document;
    Prompter& m_prompter;
    QSettings& m_settings;
    Language m_language = Language::English;
    std::unique_ptr<TransferPorts> m_ownPorts;
    TransferPorts* m_ports = nullptr;
    QPointer<frmClone> m_clone;
    std::filesystem::path m_backupFolder;
    std::function<bool()> m_beforeRead;
    QPointer<frmSeveralRadios> m_several;
    QPointer<frmHistory> m_history;
};

} // namespace norvik
