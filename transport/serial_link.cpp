#include "transport/serial_link.h"

#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace norvik {

SerialLink::SerialLink(QString device, qint32 baudRate, QObject* parent)
    : ByteLink(parent), m_device(std::move(device)), m_baudRate(baudRate) {
    connect(&m_port, &QSerialPort::readyRead, this, [this] {
        const QByteArray bytes = m_port.readAll();
        if (!bytes.isEmpty())
            emit bytesReceived(bytes);
    });
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialLink::onError);
}

namespace {

// The file QSerialPort opens for a name: a path as given, a bare name in /dev.
QByteArray devicePath(const QString& device) {
    const bool path = device.startsWith(QLatin1Char('/')) || device.startsWith(QLatin1String("./")) ||
                      device.startsWith(QLatin1String("../"));
    return path ? device.toLocal8Bit() : ("/dev/" + device).toLocal8Bit();
}

} // namespace

LinkOpenResult checkSerialDevice(const QString& device) {
#ifdef Q_OS_UNIX
    const QByteArray path = devicePath(device);
    struct stat st {};
    if (::stat(path.constData(), &st) == 0)
        return S_ISCHR(st.st_mode) ? LinkOpenResult{} : LinkOpenResult{LinkError::NotSerialDevice, {}};
    const int error = errno;
    if (error == ENAMETOOLONG)
        return {LinkError::NameTooLong, {}};
    // A bare name that is no device in /dev but a file here ("--port radio.dat") was meant as that file.
    if (path != device.toLocal8Bit() && ::stat(device.toLocal8Bit().constData(), &st) == 0)
        return {LinkError::NotSerialDevice, {}};
    if (error == ENOENT || error == ENOTDIR)
        return {LinkError::NotFound, {}};
#else
    Q_UNUSED(device);
#endif
    return {};
}

int deviceAccessError(const QByteArray& path) {
#ifdef Q_OS_UNIX
    return ::access(path.constData(), R_OK | W_OK) == 0 ? 0 : errno;
#else
    Q_UNUSED(path);
    return 0;
#endif
}

LinkOpenResult classifyOpenError(QSerialPort::SerialPortError error, const QString& device, const QString& detail,
                                 AccessCheck access) {
    switch (error) {
    case QSerialPort::NoError:
        return {};
    case QSerialPort::DeviceNotFoundError:
        return {LinkError::NotFound, detail};
    case QSerialPort::PermissionError:
        switch (access(devicePath(device))) {
        case 0:
            return {LinkError::Busy, detail};
        case ENAMETOOLONG:
            return {LinkError::NameTooLong, detail};
        case EACCES:
        case EPERM:
        case EROFS:
            return {LinkError::PermissionDenied, detail};
        default:
            return {LinkError::Other, detail};
        }
    default:
        return {LinkError::Other, detail};
    }
}

LinkOpenResult SerialLink::open() {
    if (m_port.isOpen())
        return {};
    m_errorReported = false;
    // A file, a folder or a name too long for the system is no port: say so rather than what
    // QSerialPort would make of it.
    if (LinkOpenResult checked = checkSerialDevice(m_device); !checked.ok())
        return checked;
    m_port.setPortName(m_device);
    m_port.setBaudRate(m_baudRate);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setReadBufferSize(1024);
    // After a good open errorString() still reads "Unknown error": only error() counts.
    if (!m_port.open(QIODevice::ReadWrite) || m_port.error() != QSerialPort::NoError) {
        LinkOpenResult r = classifyOpenError(m_port.error(), m_device, m_port.errorString());
        if (r.ok())
            r = {LinkError::Other, m_port.errorString()};
        m_port.close();
        m_port.clearError();
        return r;
    }
    m_port.clear(QSerialPort::AllDirections);
    return {};
}

void SerialLink::close() {
    if (m_port.isOpen())
        m_port.close();
}

void SerialLink::write(const QByteArray& bytes) {
    if (!m_port.isOpen())
        return;
    m_port.write(bytes);
    // Straight to the driver rather than on the next turn of the event loop; flush() never waits.
    m_port.flush();
}

void SerialLink::clear() {
    if (m_port.isOpen())
        m_port.clear(QSerialPort::AllDirections);
}

void SerialLink::onError(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::NoError || !m_port.isOpen())
        return;
    // The ioctls a pseudo-terminal refuses are harmless: the transfer never asks for them.
    if (error == QSerialPort::UnsupportedOperationError) {
        m_port.clearError();
        return;
    }
    if (error == QSerialPort::ResourceError) {
        if (!m_errorReported) {
            m_errorReported = true;
            emit errorOccurred(m_port.errorString());
        }
        m_port.close();
        return;
    }
    if (!m_errorReported) {
        m_errorReported = true;
        emit errorOccurred(m_port.errorString());
    }
    m_port.clearError();
}

} // namespace norvik
