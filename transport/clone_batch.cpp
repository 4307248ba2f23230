#include "transport/clone_batch.h"

#include <QElapsedTimer>

#include "core/clone/clone_failure.h"
#include "core/strings/string_ids.h"
#include "transport/clone_runner.h"

namespace norvik {

struct CloneBatch::Port {
    int index = 0;
    std::unique_ptr<ByteLink> link;
    RadioImage image; // what a write sends
    std::unique_ptr<CloneRunner> runner;
    QElapsedTimer clock;
    int retriesLeft = 0;
    QString linkError; // the line failed while open: that, not the time-out after it, is the reason
};

namespace {

// The first difference a read-back found and how many more, for a one-line report.
QString differenceSummary(const CloneSession& session, Language lang) {
    const std::vector<ImageDifference>& differences = session.differences();
    if (differences.empty())
        return {};
    QString line = QString::fromStdString(differenceText(differences.front(), lang));
    if (differences.size() > 1)
        line += QStringLiteral("; ") +
                QString::fromStdString(textString(ids::DiffMore, lang)).arg(qsizetype(differences.size() - 1));
    return line;
}

} // namespace

CloneBatch::CloneBatch(const Settings& settings, QObject* parent) : QObject(parent), m_settings(settings) {}

CloneBatch::~CloneBatch() = default;

void CloneBatch::add(std::unique_ptr<ByteLink> link, const RadioImage& image) {
    auto port = std::make_unique<Port>();
    port->index = size();
    port->link = std::move(link);
    port->image = image;
    port->retriesLeft = m_settings.retries;
    m_ports.push_back(std::move(port));
}

const RadioImage& CloneBatch::image(int index) const {
    const Port& port = *m_ports.at(std::size_t(index));
    return port.runner ? port.runner->session().image() : port.image;
}

void CloneBatch::start() {
    if (m_ports.empty()) {
        QMetaObject::invokeMethod(this, &CloneBatch::finished, Qt::QueuedConnection);
        return;
    }
    startNext();
}

void CloneBatch::startNext() {
    const auto text = [lang = m_settings.language](int id) { return QString::fromStdString(textString(id, lang)); };
    while (m_next < m_ports.size() && (m_settings.jobs <= 0 || m_running < m_settings.jobs)) {
        Port& port = *m_ports[m_next++];
        ++m_running;
        port.runner = std::make_unique<CloneRunner>(*port.link, m_settings.language);
        CloneRunner* runner = port.runner.get();
        // Ended from the event loop, never from inside this loop.
        connect(runner, &CloneRunner::openFailed, this, [this, &port](const QString& message) {
            QMetaObject::invokeMethod(
                this, [this, &port, message] { end(port, PortOutcome::failed(message)); }, Qt::QueuedConnection);
        });
        connect(runner, &CloneRunner::progress, this,
                [this, &port](int value, int maximum) { emit progress(port.index, value, maximum); });
        connect(runner, &CloneRunner::linkError, this, [&port](const QString& message) {
            if (port.linkError.isEmpty())
                port.linkError = message;
        });
        connect(runner, &CloneRunner::question, this, [this, &port, runner](CloneQuestion q, const QString&) {
            runner->answer(q == CloneQuestion::IdentificationChanged ? m_settings.acceptRangeChange
                                                                     : port.retriesLeft-- > 0);
        });
        connect(runner, &CloneRunner::done, this, [this, &port, runner, text](CloneOutcome outcome) {
            const CloneSession& session = runner->session();
            PortOutcome result;
            result.ok = outcome == CloneOutcome::Completed;
            result.seconds = port.clock.nsecsElapsed() / 1e9;
            result.verification = session.verification();
            const auto failure = [&](CloneMode mode) {
                if (!port.linkError.isEmpty())
                    return text(ids::FailureConnectionLost).arg(port.linkError);
                return QString::fromStdString(cloneFailureText(mode, session.lastFailure(), m_settings.language));
            };
            result.backupPath = runner->backupPath();
            if (runner->backupFailed())
                result.reason = runner->backupFailure();
            else if (outcome == CloneOutcome::Cancelled)
                result.reason = text(ids::FailureRangeDiffers);
            else if (!result.ok)
                result.reason = failure(m_settings.mode);
            else if (result.verification == Verification::NotChecked)
                result.verifyDetail = text(ids::FailureReadBack).arg(failure(CloneMode::Read));
            else if (result.verification == Verification::Differs)
                result.verifyDetail = differenceSummary(session, m_settings.language);
            end(port, result);
        });
        port.clock.start();
        if (m_settings.mode == CloneMode::Write && !m_settings.backupFolder.empty()) {
            connect(runner, &CloneRunner::backedUp, this,
                    [this, &port](const QString&) { emit phaseChanged(port.index, PortPhase::Writing); });
            emit phaseChanged(port.index, PortPhase::BackingUp);
            runner->startBackedUpWrite(port.image, m_settings.verify, {m_settings.backupFolder, port.link->name()});
            continue;
        }
        emit phaseChanged(port.index, m_settings.mode == CloneMode::Read ? PortPhase::Reading : PortPhase::Writing);
        runner->start(m_settings.mode, port.image, m_settings.verify);
    }
}

void CloneBatch::end(Port& port, PortOutcome outcome) {
    --m_running;
    ++m_ended;
    if (!outcome.ok)
        ++m_failures;
    outcome.reason.replace(QLatin1Char('\n'), QLatin1Char(' '));
    outcome.verifyDetail.replace(QLatin1Char('\n'), QLatin1Char(' '));
    emit portEnded(port.index, outcome);
    startNext();
    if (m_ended == size())
        emit finished();
}

} // namespace norvik
