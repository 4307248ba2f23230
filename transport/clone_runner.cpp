#include "transport/clone_runner.h"

#include "core/backups/backup_rules.h"
#include "core/clone/clone_failure.h"
#include "core/strings/string_ids.h"
#include "io/backups.h"
#include "io/files.h"
#include "io/image_files.h"

namespace norvik {
namespace {

QString pathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return QString::fromUtf8(reinterpret_cast<const char*>(text.data()), qsizetype(text.size()));
}

} // namespace

CloneRunner::CloneRunner(ByteLink& link, Language language, char decimalSeparator, QObject* parent)
    : QObject(parent), m_link(link), m_language(language), m_session(*this, language, decimalSeparator) {
    tmrSend.setObjectName(QStringLiteral("tmrSend"));
    tmrOvertime.setObjectName(QStringLiteral("tmrOvertime"));
    for (QTimer* t : {&tmrSend, &tmrOvertime})
        t->setTimerType(Qt::PreciseTimer);
    tmrSend.setSingleShot(true);
    tmrOvertime.setSingleShot(true);
    connect(&tmrSend, &QTimer::timeout, this, &CloneRunner::sendNow);
    connect(&tmrOvertime, &QTimer::timeout, this, [this] { m_session.replyTimerExpired(); });
    connect(&m_pause, &DeadlineTimer::timeout, this, [this] {
        m_session.pauseElapsed();
        sendNow();
    });
    connect(&m_link, &ByteLink::bytesReceived, this, [this](const QByteArray& bytes) {
        m_session.bytesReceived(
            std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size()));
    });
    connect(&m_link, &ByteLink::errorOccurred, this, &CloneRunner::linkError);
}

bool CloneRunner::start(CloneMode mode, const RadioImage& image, bool verify) {
    m_backupPath.clear();
    m_backupFailure.clear();
    if (!openLink())
        return false;
    m_pauses = 0;
    m_session.start(mode, image, verify);
    return true;
}

bool CloneRunner::startBackedUpWrite(const RadioImage& image, bool verify, const RadioBackup& backup) {
    if (isRunning())
        return false;
    m_backupPath.clear();
    m_backupFailure.clear();
    m_backup = backup;
    m_toWrite = image;
    m_verifyWrite = verify;
    // A folder that cannot take the backup is found before the radio is read in vain.
    const BackupTime now = io::backupTimeNow();
    const std::filesystem::path day = backup.folder / backupDayFolder(now);
    std::error_code error;
    std::filesystem::create_directories(day, error);
    io::FileProblem problem = error ? io::FileProblem::system(error) : io::FileProblem{};
    if (!problem)
        problem = io::checkSaveTarget(day / "backup-check.dat", 2 * std::size_t(kImageSize)); // any data file fits
    if (problem) {
        const QString where = pathText(backup.folder);
        m_backupFailure = QString::fromStdString(textString(ids::BackupNotWritten, m_language))
                              .arg(QString::fromStdString(textString(ids::BackupFolderUnusable, m_language))
                                       .arg(where, QString::fromStdString(io::reasonText(problem, m_language))));
        QMetaObject::invokeMethod(
            this, [this] { emit done(CloneOutcome::Failed); }, Qt::QueuedConnection);
        return true;
    }
    if (!openLink())
        return false;
    m_pauses = 0; // counted on through the write and its read-back
    m_backingUp = true;
    emit backingUp();
    m_session.start(CloneMode::Read, RadioImage());
    logLineAppended(textString(ids::BackupReadAhead, m_language));
    return true;
}

void CloneRunner::failBackup(const QString& why) {
    m_backupFailure = QString::fromStdString(textString(ids::BackupNotWritten, m_language)).arg(why);
    emit done(CloneOutcome::Failed);
}

void CloneRunner::afterBackupRead(CloneOutcome outcome) {
    m_backingUp = false;
    if (outcome == CloneOutcome::Cancelled) {
        emit done(CloneOutcome::Cancelled);
        return;
    }
    if (outcome != CloneOutcome::Completed) {
        failBackup(QString::fromStdString(cloneFailureText(CloneMode::Read, m_session.lastFailure(), m_language)));
        return;
    }
    const RadioImage& radio = m_session.image();
    BackupOrigin origin;
    origin.kind = BackupKind::Radio;
    origin.port = portNamePart(m_backup.port.toStdString());
    origin.identification = identificationHex(radio);
    const io::BackupSaved saved =
        io::saveBackup(m_backup.folder, io::backupTimeNow(), origin, io::encodeImage(radio, io::ImageFormat::DataFile));
    if (saved.problem) {
        failBackup(QString::fromStdString(io::reasonText(saved.problem, m_language)));
        return;
    }
    m_backupPath = pathText(saved.path);
    emit backedUp(m_backupPath);
    // Opened again here, not through openLink(): a line that will not open now ends the transfer
    // once, as done(), before any write command.
    if (const LinkOpenResult r = m_link.open(); !r.ok()) {
        m_backupFailure = linkErrorText(r, m_link.name(), m_language);
        emit done(CloneOutcome::Failed);
        return;
    }
    m_session.start(CloneMode::Write, m_toWrite, m_verifyWrite);
    logLineAppended(QString::fromStdString(textString(ids::BackupKept, m_language)).arg(m_backupPath).toStdString());
}

bool CloneRunner::startLink(CloneMode mode, const RadioImage& image, bool verify) {
    if (!openLink())
        return false;
    m_pauses = 0;
    m_session.startLink(mode, image, verify);
    return true;
}

bool CloneRunner::openLink() {
    if (m_session.isRunning())
        return false;
    const LinkOpenResult r = m_link.open();
    if (!r.ok()) {
        emit openFailed(linkErrorText(r, m_link.name(), m_language));
        return false;
    }
    return true;
}

void CloneRunner::answer(bool okOrRetry) {
    m_session.answer(okOrRetry);
    sendNow();
}

void CloneRunner::sendNow() {
    if (m_sendEnabled)
        m_session.sendTick();
}

void CloneRunner::cancel() {
    m_session.cancel();
}

void CloneRunner::send(std::span<const std::uint8_t> bytes) {
    m_link.write(QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
}

void CloneRunner::clearLineBuffers() {
    m_link.clear();
}

void CloneRunner::setSendTimer(bool enabled) {
    m_sendEnabled = enabled;
    if (enabled)
        tmrSend.start(0);
    else
        tmrSend.stop();
}

void CloneRunner::startReplyTimer(int ms) {
    tmrOvertime.start(ms);
}

void CloneRunner::stopReplyTimer() {
    tmrOvertime.stop();
}

void CloneRunner::startPause(int ms) {
    ++m_pauses;
    m_pause.startAt(monotonicNs() + qint64(ms) * 1'000'000);
}

void CloneRunner::logCleared() {
    emit logReset();
}

void CloneRunner::logLineAppended(const std::string& line) {
    emit logLine(QString::fromStdString(line));
}

void CloneRunner::progressChanged(int value, int maximum) {
    emit progress(value, maximum);
}

void CloneRunner::statusChanged(const std::string& text) {
    emit status(QString::fromStdString(text));
}

// Asked from the event loop, so that an answer given straight from the slot does not re-enter
// the session while it is still asking.
void CloneRunner::questionAsked(CloneQuestion question, const std::string& text) {
    const QString q = QString::fromStdString(text);
    QMetaObject::invokeMethod(
        this, [this, question, q] { emit this->question(question, q); }, Qt::QueuedConnection);
}

void CloneRunner::finished(CloneOutcome outcome) {
    m_sendEnabled = false;
    tmrSend.stop();
    tmrOvertime.stop();
    m_link.close();
    QMetaObject::invokeMethod(
        this,
        [this, outcome] {
            if (m_backingUp)
                afterBackupRead(outcome);
            else
                emit done(outcome);
        },
        Qt::QueuedConnection);
}

} // namespace norvik
