#include "transport/clone_runner.h"

namespace norvik {

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
    if (!openLink())
        return false;
    m_session.start(mode, image, verify);
    return true;
}

bool CloneRunner::startLink(CloneMode mode, const RadioImage& image, bool verify) {
    if (!openLink())
        return false;
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
    m_pauses = 0;
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
        this, [this, outcome] { emit done(outcome); }, Qt::QueuedConnection);
}

} // namespace norvik
