#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <filesystem>
#include <memory>

#include "core/clone/clone_session.h"
#include "core/image/radio_image.h"
#include "core/strings/strings.h"
#include "transport/clone_batch.h"

namespace norvik {

class ByteLink;
class CloneRunner;
class Prompter;
class TransferHost;
class TransferProgress;

// Runs one read or write for a window: the window is disabled meanwhile, the Transfer Log and
// the one-word state go to it, the questions through the prompter, and a small panel shows the
// progress with a Cancel button. A read receives into an image of its own, which whoever
// started it takes only when the outcome is Completed. A write may be read back: a message then
// points to the log's list of whatever the radio holds differently.
class frmClone : public QObject {
    Q_OBJECT
public:
    frmClone(TransferHost& host, Prompter& prompter, std::unique_ptr<ByteLink> link, Language lang,
             QObject* parent = nullptr);
    ~frmClone() override;

    // Starts the transfer on a copy of image (what a write sends; `verify` reads it back). False
    // when the port cannot be opened: the user has been told why and nothing was sent.
    // A write with a backup folder first reads the radio and keeps it there (see
    // CloneRunner::startBackedUpWrite); a backup that fails is said and nothing is written.
    bool TransferDatas(CloneMode mode, const RadioImage& image, bool verify = false,
                       const std::filesystem::path& backupFolder = {});
    // What a read has received.
    const RadioImage& receivedImage() const;

    bool isRunning() const { return m_running; }
    CloneMode mode() const { return m_mode; }
    TransferProgress* progressPanel() const { return m_panel.get(); }
    const CloneRunner& runner() const { return *m_runner; }
    QString log() const { return m_log.join(QStringLiteral("\r\n")); }
    // How the transfer ended, as the history keeps it; `backupPath` is where the radio was kept
    // before a write.
    PortOutcome outcome(CloneOutcome outcome, const QString& backupPath = {}) const;
    // Why the port would not open, after TransferDatas returned false.
    const QString& openError() const { return m_openError; }

signals:
    void finished(norvik::CloneOutcome outcome);

private:
    void showLog();
    void showPercentCaption();
    void onQuestion(CloneQuestion question, const QString& text);
    void onDone(CloneOutcome outcome);
    void reportVerification();

    TransferHost& m_host;
    Prompter& m_prompter;
    Language m_language;
    std::unique_ptr<ByteLink> m_link;
    std::unique_ptr<CloneRunner> m_runner;
    std::unique_ptr<TransferProgress> m_panel;
    CloneMode m_mode = CloneMode::Read;
    bool m_running = false;
    QStringList m_log;
    QString m_linkError;   // why the line failed, shown with the Retry question
    QString m_lineFailure; // the system's own words for it
    QString m_openError;
    QElapsedTimer m_clock;
    RadioImage m_sent;
};

} // namespace norvik
