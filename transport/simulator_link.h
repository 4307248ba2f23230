#pragma once

#include "core/clone/radio_simulator.h"
#include "transport/byte_link.h"
#include "transport/simulated_line.h"

namespace norvik {

// A link to a simulated radio in this process: the GUI's demo port, the tests and the benchmark.
class SimulatorLink : public ByteLink {
    Q_OBJECT
public:
    SimulatorLink(RadioSimulator& radio, bool paced, QObject* parent = nullptr);

    LinkOpenResult open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    void write(const QByteArray& bytes) override;
    void clear() override {} // bytes reach the program as they arrive; nothing waits in a buffer
    QString name() const override;

    const SimulatedLine& line() const { return m_line; }

private:
    SimulatedLine m_line;
    bool m_open = false;
};

} // namespace norvik
