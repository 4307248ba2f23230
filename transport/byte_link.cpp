#include "transport/byte_link.h"

#include "core/strings/string_ids.h"

namespace norvik {

QString linkErrorText(const LinkOpenResult& result, const QString& portName, Language lang) {
    const auto t = [lang](int id) { return QString::fromStdString(textString(id, lang)); };
    switch (result.error) {
    case LinkError::None:
        return {};
    case LinkError::NotFound:
        return t(ids::PortNotFound).arg(portName);
    case LinkError::PermissionDenied:
#ifdef Q_OS_LINUX
        return t(ids::PortPermissionDenied).arg(portName);
#else
        return t(ids::PortOpenFailed).arg(portName, result.detail);
#endif
    case LinkError::Busy:
        return t(ids::PortBusy).arg(portName);
    case LinkError::NameTooLong:
        // The name is shown for recognition only; thousands of characters of it would bury the advice.
        return t(ids::PortNameTooLong).arg(portName.size() > 60 ? portName.left(56) + QStringLiteral("…") : portName);
    case LinkError::NotSerialDevice:
        return t(ids::PortNotSerial).arg(portName);
    case LinkError::Other:
        break;
    }
    return t(ids::PortOpenFailed).arg(portName, result.detail);
}

} // namespace norvik
