#include "transport/serial_ports.h"

#include <QSerialPortInfo>
#include <algorithm>

namespace norvik {

QList<AvailablePort> SystemPortEnumerator::availablePorts() const {
    QList<AvailablePort> out;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        out.append({info.systemLocation(), info.description()});
    return out;
}

namespace {

// Sort key: USB adapters first, then by name with the trailing number compared as a number.
std::tuple<int, QString, int> portOrder(const QString& device) {
    const bool usb = device.contains(QLatin1String("ttyUSB")) || device.contains(QLatin1String("ttyACM")) ||
                     device.contains(QLatin1String("usbserial")) || device.contains(QLatin1String("usbmodem"));
    int digits = int(device.size());
    while (digits > 0 && device.at(digits - 1).isDigit())
        --digits;
    const int number = digits < device.size() ? device.mid(digits).toInt() : -1;
    return {usb ? 0 : 1, device.left(digits), number};
}

} // namespace

QVector<NumberedPort> numberedPorts(const PortEnumerator& ports) {
    QVector<NumberedPort> out(kPortCount);
    const QList<AvailablePort> available = ports.availablePorts();
#ifdef Q_OS_WIN
    for (int n = 1; n <= kPortCount; ++n) {
        out[n - 1] = {n, QStringLiteral("COM%1").arg(n), {}};
        for (const AvailablePort& p : available) {
            if (p.device.endsWith(out[n - 1].device, Qt::CaseInsensitive))
                out[n - 1].description = p.description;
        }
    }
#else
    QList<AvailablePort> sorted = available;
    std::sort(sorted.begin(), sorted.end(),
              [](const AvailablePort& a, const AvailablePort& b) { return portOrder(a.device) < portOrder(b.device); });
    for (int n = 1; n <= kPortCount; ++n) {
        out[n - 1].number = n;
        if (n <= sorted.size()) {
            out[n - 1].device = sorted[n - 1].device;
            out[n - 1].description = sorted[n - 1].description;
        }
    }
#endif
    return out;
}

QString resolvePort(const QString& portArgument, const PortEnumerator& ports) {
    bool isNumber = false;
    const int n = portArgument.toInt(&isNumber);
    if (!isNumber)
        return portArgument;
    if (n < 1 || n > kPortCount)
        return {};
    return numberedPorts(ports)[n - 1].device;
}

CheckPort::CheckPort(QString device, QObject* parent) : QObject(parent), m_device(std::move(device)) {
    m_wait.setSingleShot(true);
    connect(&m_wait, &QTimer::timeout, this, [this] { finish(m_port.error() == QSerialPort::NoError); });
    connect(&m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::WriteError || e == QSerialPort::ResourceError)
            finish(false);
    });
}

void CheckPort::start() {
    if (m_device.isEmpty()) {
        QMetaObject::invokeMethod(
            this, [this] { finish(false); }, Qt::QueuedConnection);
        return;
    }
    m_port.setPortName(m_device);
    m_port.setBaudRate(19200);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    if (!m_port.open(QIODevice::ReadWrite) || m_port.error() != QSerialPort::NoError) {
        QMetaObject::invokeMethod(
            this, [this] { finish(false); }, Qt::QueuedConnection);
        return;
    }
    if (m_port.write("ATI1\r", 5) != 5) {
        QMetaObject::invokeMethod(
            this, [this] { finish(false); }, Qt::QueuedConnection);
        return;
    }
    m_wait.start(200);
}

void CheckPort::finish(bool ok) {
    if (m_done)
        return;
    m_done = true;
    m_wait.stop();
    if (m_port.isOpen()) {
        m_port.flush(); // hand the bytes to the driver before the port goes
        m_port.close();
    }
    m_ok = ok;
    emit finished(ok);
}

PortProbe::PortProbe(const PortEnumerator& ports, QObject* parent) : QObject(parent), m_ports(numberedPorts(ports)) {
    m_usable.fill(false, kPortCount);
}

void PortProbe::start() {
    m_checks.clear();
    m_usable.fill(false, kPortCount);
    m_pending = kPortCount;
    for (int i = 0; i < kPortCount; ++i) {
        auto check = std::make_unique<CheckPort>(m_ports[i].device);
        connect(check.get(), &CheckPort::finished, this, [this, i](bool ok) {
            m_usable[i] = ok;
            if (--m_pending == 0)
                emit finished();
        });
        m_checks.push_back(std::move(check));
    }
    for (auto& check : m_checks)
        check->start();
}

} // namespace norvik
