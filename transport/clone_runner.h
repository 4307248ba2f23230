#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <filesystem>
#include <optional>

#include "core/clone/clone_session.h"
#include "transport/byte_link.h"
#include "transport/deadline_timer.h"

namespace norvik {

// Runs one CloneSession over a ByteLink on this thread's event loop: the send tick, the
// 800 ms reply timer and the 20 ms pauses are timers, so nothing ever blocks. Widget-free:
// whoever shows the transfer (the clone window, the command line) listens to the signals and
// answers questions with answer().
class CloneRunner : public QObject, private CloneHost {
    Q_OBJECT
public:
    // Where a write keeps the radio before anything is written to it: the backups folder and the
    // port's name for the backup's name. No folder: no backup.
    struct RadioBackup {
        std::filesystem::path folder;
        QString port;
    };

    // The decimal separator is the one the differences a read-back finds are shown with.
    CloneRunner(ByteLink& link, Language language, char decimalSeparator = '.', QObject* parent = nullptr);

    // Opens the link and starts on a copy of image (see CloneSession::start; `verify` reads a
    // write back). False when a transfer is already running, or (with openFailed) when the link
    // cannot be opened; no byte is sent then.
    bool start(CloneMode mode, const RadioImage& image, bool verify = false);
    // A write that first reads the whole radio (rows 0..255) and keeps it as a data file under
    // backup.folder. Only once the backup is on the disk does the write start, on the same line;
    // a backup that cannot be read or kept ends the transfer (done(Failed), backupFailed()) before
    // a single write command. A folder that cannot take the backup is found before the read.
    bool startBackedUpWrite(const RadioImage& image, bool verify, const RadioBackup& backup);
    // The same for the service link (see CloneSession::startLink).
    bool startLink(CloneMode mode, const RadioImage& image, bool verify = false);
    void answer(bool okOrRetry);
    // Stops a running transfer (see CloneSession::cancel); done(Cancelled) follows.
    void cancel();

    bool isRunning() const { return m_session.isRunning() || m_backingUp; }
    bool isBackingUp() const { return m_backingUp; }
    // The latest backed-up write: where the radio was kept (empty when it was not), and whether
    // the transfer ended before its write began (the backup could not be read or kept, or the
    // line would not open again), with why in the user's language.
    const QString& backupPath() const { return m_backupPath; }
    bool backupFailed() const { return !m_backupFailure.isEmpty(); }
    const QString& backupFailure() const { return m_backupFailure; }
    const CloneSession& session() const { return m_session; }
    // The pauses since the latest start (a backed-up write's read, write and read-back together).
    int pausesTaken() const { return m_pauses; }

signals:
    void openFailed(const QString& message);
    void logReset();
    void logLine(const QString& line);
    void progress(int value, int maximum);
    void status(const QString& text);
    void question(norvik::CloneQuestion question, const QString& text);
    void linkError(const QString& message);
    void done(norvik::CloneOutcome outcome);
    // A backed-up write: the backup read starts, and the backup has been kept (the write starts).
    void backingUp();
    void backedUp(const QString& path);

private:
    // CloneHost
    void send(std::span<const std::uint8_t> bytes) override;
    void clearLineBuffers() override;
    void setSendTimer(bool enabled) override;
    void startReplyTimer(int ms) override;
    void stopReplyTimer() override;
    void startPause(int ms) override;
    void logCleared() override;
    void logLineAppended(const std::string& line) override;
    void progressChanged(int value, int maximum) override;
    void statusChanged(const std::string& text) override;
    void questionAsked(CloneQuestion question, const std::string& text) override;
    void finished(CloneOutcome outcome) override;
    bool openLink();
    void afterBackupRead(CloneOutcome outcome);
    void failBackup(const QString& why);

    ByteLink& m_link;
    Language m_language;
    CloneSession m_session;
    // A command only becomes due at a start or a retry (when the session turns the send timer on),
    // when a pause ends or when a question is answered. So instead of ticking every millisecond the
    // host ticks the session right after each of those: tmrSend fires once, as soon as the event
    // loop comes round, when the send timer is turned on, and the command leaves the moment the
    // pause is over rather than on the next tick.
    void sendNow();
    QTimer tmrSend;
    bool m_sendEnabled = false;
    QTimer tmrOvertime;
    DeadlineTimer m_pause; // 20 ms to the microsecond; a QTimer adds up to a millisecond each time
    int m_pauses = 0;

    bool m_backingUp = false;
    RadioBackup m_backup;
    RadioImage m_toWrite;
    bool m_verifyWrite = false;
    QString m_backupPath;
    QString m_backupFailure;
};

} // namespace norvik
