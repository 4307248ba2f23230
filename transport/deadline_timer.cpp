#include "transport/deadline_timer.h"

#include <QElapsedTimer>
#include <QSocketNotifier>
#include <chrono>

#ifdef Q_OS_LINUX
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>
#endif

namespace norvik {

qint64 monotonicNs() {
#ifdef Q_OS_LINUX
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
#else
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
#endif
}

DeadlineTimer::DeadlineTimer(QObject* parent) : QObject(parent) {
    m_fallback.setSingleShot(true);
    m_fallback.setTimerType(Qt::PreciseTimer);
    connect(&m_fallback, &QTimer::timeout, this, &DeadlineTimer::fire);
#ifdef Q_OS_LINUX
    m_fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd >= 0) {
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] {
            quint64 expirations = 0;
            if (::read(m_fd, &expirations, sizeof expirations) > 0)
                fire();
        });
    }
#endif
}

DeadlineTimer::~DeadlineTimer() {
#ifdef Q_OS_LINUX
    if (m_fd >= 0) {
        delete m_notifier;
        ::close(m_fd);
    }
#endif
}

void DeadlineTimer::startAt(qint64 deadlineNs) {
    m_active = true;
#ifdef Q_OS_LINUX
    if (m_fd >= 0) {
        itimerspec spec{};
        const qint64 at = std::max<qint64>(deadlineNs, 1);
        spec.it_value.tv_sec = at / 1'000'000'000;
        spec.it_value.tv_nsec = at % 1'000'000'000;
        timerfd_settime(m_fd, TFD_TIMER_ABSTIME, &spec, nullptr);
        return;
    }
#endif
    const qint64 delay = std::max<qint64>(0, deadlineNs - monotonicNs());
    m_fallback.start(int((delay + 999'999) / 1'000'000));
}

void DeadlineTimer::stop() {
    m_active = false;
    m_fallback.stop();
#ifdef Q_OS_LINUX
    if (m_fd >= 0) {
        itimerspec spec{};
        timerfd_settime(m_fd, 0, &spec, nullptr);
    }
#endif
}

void DeadlineTimer::fire() {
    if (!m_active)
        return;
    m_active = false;
    emit timeout();
}

} // namespace norvik
