#include "transport/simulated_line.h"

#include <algorithm>

namespace norvik {

SimulatedLine::SimulatedLine(RadioSimulator& radio, bool paced, QObject* parent)
    : QObject(parent), m_radio(radio), m_paced(paced) {
    connect(&m_timer, &DeadlineTimer::timeout, this, &SimulatedLine::onTimer);
}

void SimulatedLine::fromProgram(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return;
    m_fromProgram += bytes.size();
    emit traffic(false, bytes);
    const qint64 now = monotonicNs();
    qint64 at = now;
    if (m_paced) {
        at = std::max(now, m_txFree) + RadioSimulator::lineTimeNs(bytes.size());
        m_txFree = at;
    }
    m_toRadio.push_back({at, true, bytes});
    schedule();
}

void SimulatedLine::reset() {
    m_toRadio.clear();
    m_toProgram.clear();
    m_timer.stop();
}

void SimulatedLine::schedule() {
    qint64 next = -1;
    if (!m_toRadio.empty())
        next = m_toRadio.front().at;
    if (!m_toProgram.empty() && (next < 0 || m_toProgram.front().at < next))
        next = m_toProgram.front().at;
    if (next < 0)
        m_timer.stop();
    else
        m_timer.startAt(next);
}

void SimulatedLine::onTimer() {
    const qint64 now = monotonicNs();
    while (!m_toRadio.empty() && m_toRadio.front().at <= now) {
        const Event e = std::move(m_toRadio.front());
        m_toRadio.pop_front();
        const auto reply = m_radio.receive(
            std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(e.bytes.constData()), e.bytes.size()));
        if (reply.empty())
            continue;
        if (!m_paced) {
            m_toProgram.push_back({e.at, false, QByteArray(reinterpret_cast<const char*>(reply.data()), reply.size())});
            continue;
        }
        qint64 t = std::max(e.at, m_rxFree);
        for (std::uint8_t b : reply) {
            t += RadioSimulator::byteTimeNs();
            m_toProgram.push_back({t, false, QByteArray(1, char(b))});
        }
        m_rxFree = t;
    }
    QByteArray due;
    while (!m_toProgram.empty() && m_toProgram.front().at <= now) {
        due += m_toProgram.front().bytes;
        m_toProgram.pop_front();
    }
    schedule();
    if (!due.isEmpty()) {
        m_fromRadio += due.size();
        emit traffic(true, due);
        emit toProgram(due);
    }
}

} // namespace norvik
