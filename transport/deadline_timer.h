#pragma once

#include <QObject>
#include <QTimer>

class QSocketNotifier;

namespace norvik {

// Monotonic time in nanoseconds, the clock DeadlineTimer counts in.
qint64 monotonicNs();

// A single-shot timer on the event loop that fires at an absolute time with sub-millisecond
// accuracy (a timerfd on Linux; elsewhere a precise QTimer rounded up to the millisecond).
// Used to pace the simulated line, where QTimer's whole milliseconds would add up.
class DeadlineTimer : public QObject {
    Q_OBJECT
public:
    explicit DeadlineTimer(QObject* parent = nullptr);
    ~DeadlineTimer() override;

    void startAt(qint64 deadlineNs);
    void stop();
    bool isActive() const { return m_active; }

signals:
    void timeout();

private:
    void fire();

    bool m_active = false;
    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QTimer m_fallback;
};

} // namespace norvik
