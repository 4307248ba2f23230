#include "transport/simulator_link.h"

namespace norvik {

SimulatorLink::SimulatorLink(RadioSimulator& radio, bool paced, QObject* parent)
    : ByteLink(parent), m_line(radio, paced) {
    connect(&m_line, &SimulatedLine::toProgram, this, [this](const QByteArray& bytes) {
        if (m_open)
            emit bytesReceived(bytes);
    });
}

LinkOpenResult SimulatorLink::open() {
    m_open = true;
    return {};
}

void SimulatorLink::close() {
    m_open = false;
}

void SimulatorLink::write(const QByteArray& bytes) {
    if (m_open)
        m_line.fromProgram(bytes);
}

QString SimulatorLink::name() const {
    return QStringLiteral("simulated radio");
}

} // namespace norvik
