#pragma once

#include <QObject>
#include <QStringList>
#include <memory>

#include "clone/clone_session.h"
#include "image/radio_document.h"
#include "strings/strings.h"

namespace norvik {

class ByteLink;
class CloneRunner;
class Prompter;
class TransferProgress;
class frmMain;

// Runs one read or write for the main window: the main window is disabled meanwhile, the
// Transfer Log goes to its status window, the one-word state to its "ComStatus" panel, the
// questions through the prompter, and a small panel shows the progress with a Cancel button.
// After a good read the Band Limits are loaded and the Channel Table refilled; a read that fails
// or is cancelled leaves the document as it was before, Saved Image included.
class frmClone : public QObject {
    Q_OBJECT
public:
    frmClone(frmMain& main, RadioDocument& document, Prompter& prompter, std::unique_ptr<ByteLink> link, Language lang,
             QObject* parent = nullptr);
    ~frmClone() override;

    // Starts the transfer. False when the port cannot be opened: the user has been told why and
    // nothing was sent.
    bool TransferDatas(CloneMode mode);

    bool isRunning() const { return m_running; }
    CloneMode mode() const { return m_mode; }
    TransferProgress* progressPanel() const { return m_panel.get(); }
    const CloneRunner& runner() const { return *m_runner; }
    QString log() const { return m_log.join(QStringLiteral("\r\n")); }

signals:
    void finished(norvik::CloneOutcome outcome);

private:
    void showLog();
    void showPercentCaption();
    void onQuestion(CloneQuestion question, const QString& text);
    void onDone(CloneOutcome outcome);

    frmMain& m_main;
    RadioDocument& m_document;
    Prompter& m_prompter;
    Language m_language;
    std::unique_ptr<ByteLink> m_link;
    std::unique_ptr<CloneRunner> m_runner;
    std::unique_ptr<TransferProgress> m_panel;
    CloneMode m_mode = CloneMode::Read;
    bool m_running = false;
    QStringList m_log;
    QString m_linkError;      // why the line failed, shown with the Retry question
    RadioImage m_savedBefore; // the Saved Image when a read started
};

} // namespace norvik
