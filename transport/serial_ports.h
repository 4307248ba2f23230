#pragma once

#include <QList>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>
#include <QVector>
#include <memory>

namespace norvik {

inline constexpr int kPortCount = 20; // the user picks a port by number, 1..20

struct AvailablePort {
    QString device;      // what QSerialPort opens: "COM3", "/dev/ttyUSB0"
    QString description; // the system's description, may be empty
};

// Where the serial ports come from; tests give a fixed list instead of the machine's.
class PortEnumerator {
public:
    virtual ~PortEnumerator() = default;
    virtual QList<AvailablePort> availablePorts() const = 0;
};

class SystemPortEnumerator : public PortEnumerator {
public:
    QList<AvailablePort> availablePorts() const override;
};

struct NumberedPort {
    int number = 0;
    QString device; // empty: nothing behind this number
    QString description;
};

// Port numbers 1..20. On Windows number n is COMn. Elsewhere the machine's ports are numbered
// in order, USB adapters (ttyUSB*, ttyACM*) first since a programming cable is one of them.
QVector<NumberedPort> numberedPorts(const PortEnumerator& ports);

// A number 1..20 gives its device; anything else is taken as a device path. Empty when the
// number has no device behind it.
QString resolvePort(const QString& portArgument, const PortEnumerator& ports);

// CheckPort: opens the device at 19200,N,8,1, sends "ATI1" and CR, waits 200 ms on a timer and
// closes. ok is true when the port opened and took the bytes.
class CheckPort : public QObject {
    Q_OBJECT
public:
    explicit CheckPort(QString device, QObject* parent = nullptr);
    void start();
    bool result() const { return m_ok; }

signals:
    void finished(bool ok);

private:
    void finish(bool ok);

    QString m_device;
    QSerialPort m_port;
    QTimer m_wait;
    bool m_ok = false;
    bool m_done = false;
};

// Probes all 20 numbered ports at once; the event loop keeps running meanwhile.
class PortProbe : public QObject {
    Q_OBJECT
public:
    explicit PortProbe(const PortEnumerator& ports, QObject* parent = nullptr);
    void start();
    const QVector<NumberedPort>& ports() const { return m_ports; }
    // usable[i] is the result for port i + 1.
    const QVector<bool>& usable() const { return m_usable; }

signals:
    void finished();

private:
    QVector<NumberedPort> m_ports;
    QVector<bool> m_usable;
    std::vector<std::unique_ptr<CheckPort>> m_checks;
    int m_pending = 0;
};

} // namespace norvik
