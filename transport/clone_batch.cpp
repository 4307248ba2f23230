#include "transport/clone_batch.h"

#include <QElapsedTimer>

#include "core/clone/clone_failure.h"
#include "core/strings/string_ids.h"
#include "transport/clone_runner.h"
#include "transport/transfer_record.h"

namespace norvik {

struct CloneBatch::Port {
    int index = 0;
    std::unique_ptr<ByteLink> link;
    RadioImage image; // what a write sends
    std::unique_ptr<CloneRunner> runner;
    QElapsedTimer clock;
    int retriesLeft = 0;
    QString linkError; // the line failed while open: that, not the time-out after it, is the reason
    enum class State { Waiting, Running, Ended } state = State::Waiting;
    bool failed = false;    // the latest outcome
    bool cancelled = false; // cancel() reached it while it ran
    bool verifying = false; // the Verifying phase has been announced
};

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
    m_started = true;
    if (m_ports.empty()) {
        QMetaObject::invokeMethod(this, &CloneBatch::finished, Qt::QueuedConnection);
        return;
    }
    startNext();
}

void CloneBatch::startNext() {
    const auto freeJob = [this] { return m_settings.jobs <= 0 || m_running < m_settings.jobs; };
    while (!m_retries.empty() && freeJob()) {
        Port& port = *m_ports[std::size_t(m_retries.front())];
        m_retries.erase(m_retries.begin());
        run(port);
    }
    while (m_next < m_ports.size() && freeJob()) {
        Port& port = *m_ports[m_next++];
        if (port.state == Port::State::Waiting)
            run(port);
    }
}

void CloneBatch::run(Port& port) {
    const auto text = [lang = m_settings.language](int id) { return QString::fromStdString(textString(id, lang)); };
    ++m_running;
    port.state = Port::State::Running;
    port.cancelled = false;
    port.verifying = false;
    port.linkError.clear();
    port.retriesLeft = m_settings.retries;
    // A runner of an earlier run may still be on the stack of its last signal: it goes later.
    if (port.runner)
        port.runner.release()->deleteLater();
    port.runner = std::make_unique<CloneRunner>(*port.link, m_settings.language);
    CloneRunner* runner = port.runner.get();
    // Ended from the event loop, never from inside this loop.
    connect(runner, &CloneRunner::openFailed, this, [this, &port, runner](const QString& message) {
        QMetaObject::invokeMethod(
            this,
            [this, &port, runner, message] {
                if (port.runner.get() == runner && port.state == Port::State::Running)
                    end(port, PortOutcome::failed(message));
            },
            Qt::QueuedConnection);
    });
    connect(runner, &CloneRunner::progress, this, [this, &port, runner](int value, int maximum) {
        if (runner->session().verifying() && !port.verifying) {
            port.verifying = true;
            emit phaseChanged(port.index, PortPhase::Verifying);
        }
        emit progress(port.index, value, maximum);
    });
    connect(runner, &CloneRunner::linkError, this, [&port](const QString& message) {
        if (port.linkError.isEmpty())
            port.linkError = message;
    });
    connect(runner, &CloneRunner::question, this, [this, &port, runner](CloneQuestion q, const QString&) {
        runner->answer(q == CloneQuestion::IdentificationChanged ? m_settings.acceptRangeChange && !port.cancelled
                                                                 : port.retriesLeft-- > 0 && !port.cancelled);
    });
    connect(runner, &CloneRunner::done, this, [this, &port, runner, text](CloneOutcome outcome) {
        PortOutcome result = sessionOutcome(runner->session(), outcome, port.image, port.clock.nsecsElapsed() / 1e9,
                                            port.linkError, m_settings.language);
        // Nobody is asked in a batch: a declined range warning is the settings' refusal, not a cancel.
        if (outcome == CloneOutcome::Cancelled && !port.cancelled) {
            result.cancelled = false;
            result.reason = text(m_settings.rangeDiffersText);
        }
        // A backup that could not be kept is why the write never started, whatever the session says.
        result.backupPath = runner->backupPath();
        if (runner->backupFailed()) {
            result.ok = false;
            result.cancelled = false;
            result.reason = runner->backupFailure();
        }
        end(port, result);
    });
    port.clock.start();
    if (m_settings.mode == CloneMode::Write && !m_settings.backupFolder.empty()) {
        connect(runner, &CloneRunner::backedUp, this,
                [this, &port](const QString&) { emit phaseChanged(port.index, PortPhase::Writing); });
        emit phaseChanged(port.index, PortPhase::BackingUp);
        runner->startBackedUpWrite(port.image, m_settings.verify, {m_settings.backupFolder, port.link->name()});
        return;
    }
    emit phaseChanged(port.index, m_settings.mode == CloneMode::Read ? PortPhase::Reading : PortPhase::Writing);
    runner->start(m_settings.mode, port.image, m_settings.verify);
}

void CloneBatch::cancel(int index) {
    Port& port = *m_ports.at(std::size_t(index));
    if (port.state == Port::State::Running) {
        port.cancelled = true;
        port.runner->cancel();
    } else if (port.state == Port::State::Waiting) {
        // Never started: it ends now, from the event loop like every other end.
        port.state = Port::State::Running;
        ++m_running;
        std::erase(m_retries, index);
        QMetaObject::invokeMethod(
            this,
            [this, &port] {
                PortOutcome outcome =
                    PortOutcome::failed(QString::fromStdString(textString(ids::ResultCancelled, m_settings.language)));
                outcome.cancelled = true;
                end(port, outcome);
            },
            Qt::QueuedConnection);
    }
}

void CloneBatch::cancelAll() {
    for (int i = 0; i < size(); ++i)
        cancel(i);
}

bool CloneBatch::retry(int index) {
    Port& port = *m_ports.at(std::size_t(index));
    if (port.state != Port::State::Ended)
        return false;
    if (port.failed)
        --m_failures;
    port.failed = false;
    port.state = Port::State::Waiting;
    m_retries.push_back(index);
    startNext();
    return true;
}

bool CloneBatch::isRunning(int index) const {
    return m_ports.at(std::size_t(index))->state != Port::State::Ended;
}

void CloneBatch::end(Port& port, PortOutcome outcome) {
    --m_running;
    port.state = Port::State::Ended;
    port.failed = !outcome.ok;
    if (!outcome.ok)
        ++m_failures;
    outcome.reason.replace(QLatin1Char('\n'), QLatin1Char(' '));
    outcome.verifyDetail.replace(QLatin1Char('\n'), QLatin1Char(' '));
    emit portEnded(port.index, outcome);
    startNext();
    if (!isRunning())
        emit finished();
}

} // namespace norvik
