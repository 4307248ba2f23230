#pragma once

#include <QSerialPort>

#include "transport/byte_link.h"

namespace norvik {

// The radio's programming cable on a serial port. Only speed and framing are set; flow control
// and the DTR/RTS lines are left as the port has them (a pseudo-terminal refuses those ioctls).
class SerialLink : public ByteLink {
    Q_OBJECT
public:
    explicit SerialLink(QString device, qint32 baudRate = 9600, QObject* parent = nullptr);

    LinkOpenResult open() override;
    void close() override;
    bool isOpen() const override { return m_port.isOpen(); }
    void write(const QByteArray& bytes) override;
    void clear() override;
    QString name() const override { return m_device; }

private:
    void onError(QSerialPort::SerialPortError error);

    QString m_device;
    qint32 m_baudRate;
    QSerialPort m_port;
    bool m_errorReported = false;
};

// What the device's name says before it is opened: not there, a name too long for the system, or
// no character device at all (a regular file, a folder). ok() when it may be a serial port.
LinkOpenResult checkSerialDevice(const QString& device);

// Why the file at `path` may not be read and written: 0 when it may, else the errno that says why.
using AccessCheck = int (*)(const QByteArray& path);
int deviceAccessError(const QByteArray& path);

// Classifies a failed open: a permission problem and a port held by someone else both come back
// from the serial layer as PermissionError, so the device's access rights tell them apart.
LinkOpenResult classifyOpenError(QSerialPort::SerialPortError error, const QString& device, const QString& detail,
                                 AccessCheck access = deviceAccessError);

} // namespace norvik
