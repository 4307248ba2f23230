#include "app/transfer/frm_clone.h"

#include "app/common/texts.h"
#include "app/dialogs/prompt.h"
#include "app/transfer/transfer_host.h"
#include "app/transfer/transfer_progress.h"
#include "core/clone/clone_failure.h"
#include "core/strings/string_ids.h"
#include "transport/byte_link.h"
#include "transport/clone_runner.h"
#include "transport/transfer_record.h"

namespace norvik {

frmClone::frmClone(TransferHost& host, Prompter& prompter, std::unique_ptr<ByteLink> link, Language lang,
                   QObject* parent)
    : QObject(parent), m_host(host), m_prompter(prompter), m_language(lang), m_link(std::move(link)) {
    setObjectName(QStringLiteral("frmClone"));
    m_runner = std::make_unique<CloneRunner>(*m_link, m_language, localeDecimalSeparator());

    connect(m_runner.get(), &CloneRunner::logReset, this, [this] {
        m_log.clear();
        m_linkError.clear();
        m_lineFailure.clear();
        showLog();
    });
    connect(m_runner.get(), &CloneRunner::logLine, this, [this](const QString& line) {
        m_log.append(line);
        showLog();
        // A new caption is echoed into the log just after the progress that moved it.
        if (m_panel)
            showPercentCaption();
    });
    connect(m_runner.get(), &CloneRunner::status, this, [this](const QString& text) { m_host.showComStatus(text); });
    connect(m_runner.get(), &CloneRunner::progress, this, [this](int value, int maximum) {
        if (m_runner->isBackingUp())
            m_panel->setPhaseText(qtext(ids::BackupReadAhead, m_language));
        else if (m_runner->session().verifying())
            m_panel->setPhaseText(qtext(ids::LogVerifyStart, m_language));
        m_panel->setProgress(value, maximum);
        showPercentCaption();
    });
    connect(m_runner.get(), &CloneRunner::question, this, &frmClone::onQuestion);
    connect(m_runner.get(), &CloneRunner::linkError, this, [this](const QString& message) {
        // The cable was pulled or the adapter vanished: say so now; the reply time-out that
        // follows asks whether to retry.
        m_linkError = qtext(ids::ConnectionLost, m_language).arg(message);
        if (m_lineFailure.isEmpty())
            m_lineFailure = message;
        m_log.append(m_linkError);
        showLog();
    });
    connect(m_runner.get(), &CloneRunner::done, this, &frmClone::onDone);
}

frmClone::~frmClone() {
    if (m_running)
        m_host.transferWindow()->setEnabled(true);
}

const RadioImage& frmClone::receivedImage() const {
    return m_runner->session().image();
}

bool frmClone::TransferDatas(CloneMode mode, const RadioImage& image, bool verify,
                             const std::filesystem::path& backupFolder) {
    m_mode = mode;
    const QString caption =
        qtext(mode == CloneMode::Read ? ids::ReadFromRadioCaption : ids::WriteToRadioCaption, m_language);
    m_panel = std::make_unique<TransferProgress>(m_language, caption);
    connect(m_panel.get(), &TransferProgress::cancelRequested, this, [this] { m_runner->cancel(); });

    QWidget* window = m_host.transferWindow();
    window->setEnabled(false);
    QString openError;
    const auto failedOpen =
        connect(m_runner.get(), &CloneRunner::openFailed, this, [&openError](const QString& m) { openError = m; });
    m_sent = image;
    m_clock.start();
    const bool backup = mode == CloneMode::Write && !backupFolder.empty();
    if (backup) {
        // The write's own progress starts again from 0 once the radio is kept.
        connect(m_runner.get(), &CloneRunner::backedUp, this, [this, verify] {
            m_panel->setPhaseText(verify ? qtext(ids::VerifyAhead, m_language) : QString());
            m_panel->setProgress(0, clone::kWriteRows);
        });
    }
    const bool started = backup ? m_runner->startBackedUpWrite(image, verify, {backupFolder, m_link->name()})
                                : m_runner->start(mode, image, verify);
    disconnect(failedOpen);
    m_openError = openError;
    if (!started) {
        window->setEnabled(true);
        m_prompter.message(window, QMessageBox::Warning, QString::fromLatin1(kProductName),
                           qtext(ids::CannotOpenPort, m_language) + QLatin1Char('\n') + openError, QMessageBox::Ok);
        return false;
    }
    m_running = true;
    const int maximum = mode == CloneMode::Read || backup ? clone::kReadRows : clone::kWriteRows;
    m_panel->setProgress(0, maximum);
    showPercentCaption();
    if (backup)
        m_panel->setPhaseText(qtext(ids::BackupReadAhead, m_language));
    else if (verify && mode == CloneMode::Write)
        m_panel->setPhaseText(qtext(ids::VerifyAhead, m_language));
    m_panel->showOver(window);
    return true;
}

PortOutcome frmClone::outcome(CloneOutcome outcome, const QString& backupPath) const {
    PortOutcome result = sessionOutcome(m_runner->session(), outcome, m_sent, m_clock.nsecsElapsed() / 1e9,
                                        m_lineFailure, m_language, backupPath);
    // A backup that could not be kept is why the write never started.
    if (m_runner->backupFailed()) {
        result.ok = false;
        result.cancelled = false;
        result.reason = m_runner->backupFailure();
    }
    return result;
}

// The caption reads exactly as the session words it ("Completion percentage:  0%" at the start,
// "Completion percentage40%" on the way).
void frmClone::showPercentCaption() {
    m_panel->setPercentCaption(QString::fromStdString(m_runner->session().percentCaption()));
}

void frmClone::showLog() {
    m_host.showTransferLog(m_log.join(QLatin1Char('\n')));
}

void frmClone::onQuestion(CloneQuestion question, const QString& text) {
    if (question == CloneQuestion::IdentificationChanged) {
        const auto answer =
            m_prompter.message(m_host.transferWindow(), QMessageBox::Critical, qtext(ids::WarningTitle, m_language),
                               text, QMessageBox::Ok | QMessageBox::Cancel);
        m_runner->answer(answer == QMessageBox::Ok);
        return;
    }
    QString questionText = text;
    const CloneSession::Failure& failure = m_runner->session().lastFailure();
    if (!m_linkError.isEmpty())
        questionText = m_linkError + QLatin1Char('\n') + text;
    else if (failure.rejected && failure.step >= 2) // the radio answered: the connection is not what failed
        questionText =
            QString::fromStdString(cloneFailureMessage(
                m_runner->session().verifying() ? CloneMode::Read : m_runner->session().mode(), failure, m_language)) +
            QLatin1Char('\n') + text;
    const auto answer =
        m_prompter.message(m_host.transferWindow(), QMessageBox::Critical, qtext(ids::ErrorTitle, m_language),
                           questionText, QMessageBox::Retry | QMessageBox::Cancel);
    m_runner->answer(answer == QMessageBox::Retry);
}

void frmClone::onDone(CloneOutcome outcome) {
    m_running = false;
    m_panel->hide();
    m_host.transferWindow()->setEnabled(true);
    if (m_runner->backupFailed()) {
        m_prompter.message(m_host.transferWindow(), QMessageBox::Warning, QString::fromLatin1(kProductName),
                           m_runner->backupFailure(), QMessageBox::Ok);
        emit finished(outcome);
        return;
    }
    reportVerification();
    emit finished(outcome);
}

// The log already lists what differs; a message makes sure it is not missed.
void frmClone::reportVerification() {
    const CloneSession& session = m_runner->session();
    QString text;
    if (session.verification() == Verification::Differs)
        text = qtext(ids::VerifyDiffers, m_language).arg(session.differences().size());
    else if (session.verification() == Verification::NotChecked)
        text = qtext(ids::VerifyNotChecked, m_language);
    if (!text.isEmpty())
        m_prompter.message(m_host.transferWindow(), QMessageBox::Warning, QString::fromLatin1(kProductName), text,
                           QMessageBox::Ok);
}

} // namespace norvik
