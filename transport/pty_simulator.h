#pragma once

#include <QObject>
#include <QString>

#include "core/clone/radio_simulator.h"
#include "transport/simulated_line.h"

class QSocketNotifier;

namespace norvik {

// Serves a RadioSimulator on a pseudo-terminal, so that any serial client (this program's own
// serial link among them) can open devicePath() and talk to the simulated radio.
// Unix only; open() fails elsewhere.
class PtySimulatorHost : public QObject {
    Q_OBJECT
public:
    PtySimulatorHost(RadioSimulator& radio, bool paced, QObject* parent = nullptr);
    ~PtySimulatorHost() override;

    bool open(QString* error);
    QString devicePath() const { return m_path; }
    const SimulatedLine& line() const { return m_line; }
    SimulatedLine& line() { return m_line; }

private:
    void onReadable();
    void writeToClient(const QByteArray& bytes);

    SimulatedLine m_line;
    int m_master = -1;
    int m_slave = -1; // kept open so the master never sees a hang-up between clients
    QString m_path;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace norvik
