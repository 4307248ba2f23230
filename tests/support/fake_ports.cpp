#include "support/fake_ports.h"

#include <QTimer>

namespace norvik::test {

QList<AvailablePort> FakeEnumerator::availablePorts() const {
    QList<AvailablePort> out;
    for (const QString& d : m_devices)
        out.append({d, QStringLiteral("fake port")});
    return out;
}

void FakeChecker::start(const QVector<NumberedPort>& ports) {
    m_pending = static_cast<int>(ports.size());
    for (const NumberedPort& p : ports) {
        const bool ok = !p.device.isEmpty() && m_openable.contains(p.device);
        const int number = p.number;
        QTimer::singleShot(m_delayMs, this, [this, number, ok] {
            emit portChecked(number, ok);
            if (--m_pending == 0)
                emit finished();
        });
    }
}

} // namespace norvik::test
