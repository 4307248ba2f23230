#pragma once

#include <QSet>
#include <QStringList>

#include "app/transfer/transfer_ports.h"

namespace norvik::test {

// A fixed list of serial devices instead of the machine's.
class FakeEnumerator : public PortEnumerator {
public:
    explicit FakeEnumerator(QStringList devices) : m_devices(std::move(devices)) {}
    QList<AvailablePort> availablePorts() const override;

private:
    QStringList m_devices;
};

// Answers each probe after delayMs on a timer: ok for the devices in `openable`.
class FakeChecker : public PortChecker {
    Q_OBJECT
public:
    FakeChecker(QSet<QString> openable, int delayMs) : m_openable(std::move(openable)), m_delayMs(delayMs) {}
    void start(const QVector<NumberedPort>& ports) override;

private:
    QSet<QString> m_openable;
    int m_delayMs;
    int m_pending = 0;
};

} // namespace norvik::test
