#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include "core/strings/strings.h"

namespace norvik {

// Why a link could not be opened; turned into the user's language by linkErrorText().
enum class LinkError { None, NotFound, PermissionDenied, Busy, NameTooLong, NotSerialDevice, Other };

struct LinkOpenResult {
    LinkError error = LinkError::None;
    QString detail; // the system's own words, for LinkError::Other
    bool ok() const { return error == LinkError::None; }
};

// A message for the user that names the port and says what to do.
QString linkErrorText(const LinkOpenResult& result, const QString& portName, Language lang);

// A byte pipe to the radio. Received bytes arrive through bytesReceived() from the event loop,
// never from inside write().
class ByteLink : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual LinkOpenResult open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual void write(const QByteArray& bytes) = 0;
    // Empties the send and receive buffers.
    virtual void clear() = 0;
    virtual QString name() const = 0;

signals:
    void bytesReceived(const QByteArray& bytes);
    // The line failed while open (the cable was pulled, the device vanished); reported once.
    void errorOccurred(const QString& message);
};

} // namespace norvik
