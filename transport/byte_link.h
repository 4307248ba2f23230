#pragma once

#include <QObject>

namespace norvik {

// Placeholder until the transport layer lands.
class ByteLink : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
};

} // namespace norvik
