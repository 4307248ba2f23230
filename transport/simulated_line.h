#pragma once

#include <QByteArray>
#include <QObject>
#include <deque>

#include "core/clone/radio_simulator.h"
#include "transport/deadline_timer.h"

namespace norvik {

// The wire between the program and a RadioSimulator. Paced, every byte takes its line time at
// 9600 bit/s in each direction: the radio hears a command when its last byte has crossed, and
// its answer comes back byte by byte. Unpaced, the answer comes back whole on the next turn of
// the event loop. Either way nothing is delivered from inside fromProgram().
class SimulatedLine : public QObject {
    Q_OBJECT
public:
    SimulatedLine(RadioSimulator& radio, bool paced, QObject* parent = nullptr);

    void fromProgram(const QByteArray& bytes);
    // Forgets everything still on the wire (the line was closed).
    void reset();

    bool paced() const { return m_paced; }
    qint64 bytesFromProgram() const { return m_fromProgram; }
    qint64 bytesFromRadio() const { return m_fromRadio; }

signals:
    void toProgram(const QByteArray& bytes);
    // Every byte that crossed, for a traffic log: fromRadio false is the program's side.
    void traffic(bool fromRadio, const QByteArray& bytes);

private:
    struct Event {
        qint64 at;
        bool toRadio;
        QByteArray bytes;
    };
    void schedule();
    void onTimer();

    RadioSimulator& m_radio;
    bool m_paced;
    DeadlineTimer m_timer;
    std::deque<Event> m_toRadio;
    std::deque<Event> m_toProgram;
    qint64 m_txFree = 0;
    qint64 m_rxFree = 0;
    qint64 m_fromProgram = 0;
    qint64 m_fromRadio = 0;
};

} // namespace norvik
