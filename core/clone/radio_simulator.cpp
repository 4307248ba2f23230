#include "core/clone/radio_simulator.h"

#include <algorithm>
#include <cstring>

#include "core/clone/clone_session.h"

namespace norvik {
namespace {
constexpr std::uint8_t kRefused = 0x15;
constexpr int kWriteFrame = 20;
constexpr int kReadFrame = 4;
} // namespace

RadioSimulator::RadioSimulator(const RadioImage& memory, SimulatorFaults faults)
    : m_memory(memory), m_faults(std::move(faults)) {}

std::vector<std::uint8_t> RadioSimulator::receive(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> out;
    for (std::uint8_t b : bytes)
        handleByte(b, out);
    return out;
}

bool RadioSimulator::fires(const std::optional<int>& at, int address, int index) {
    if (!at || *at != address)
        return false;
    if (m_faults.once && m_fired[index])
        return false;
    m_fired[index] = true;
    return true;
}

void RadioSimulator::handleByte(std::uint8_t b, std::vector<std::uint8_t>& out) {
    if (m_dead)
        return;
    if (m_state == State::Frame) {
        m_frame.push_back(b);
        const std::size_t need = m_frame[0] == clone::kWrite ? kWriteFrame : kReadFrame;
        if (m_frame.size() == need) {
            m_state = State::Command;
            handleFrame(out);
        }
        return;
    }
    if (m_state == State::Command) {
        switch (b) {
        case clone::kIdentRequest: {
            const Row ident = m_faults.identification ? *m_faults.identification : m_memory.row(clone::kIdentRow);
            out.insert(out.end(), ident.begin(), ident.end());
            return;
        }
        case clone::kAck:
            out.push_back(clone::kAck);
            return;
        case clone::kRead:
        case clone::kWrite:
            m_frame.assign(1, b);
            m_state = State::Frame;
            return;
        case clone::kExit:
            ++m_exitBytes;
            m_state = State::Idle;
            m_hunt.clear();
            return;
        default:
            // Anything else drops out of programming mode and listens for a new handshake.
            m_state = State::Idle;
            m_hunt.clear();
            break;
        }
    } else if (b == clone::kExit) {
        ++m_exitBytes;
    }
    m_hunt.push_back(b);
    if (m_hunt.size() > static_cast<std::size_t>(clone::kHandshakeLength))
        m_hunt.erase(m_hunt.begin());
    if (m_hunt.size() == static_cast<std::size_t>(clone::kHandshakeLength) &&
        std::memcmp(m_hunt.data(), clone::kHandshake, clone::kHandshakeLength) == 0) {
        m_hunt.clear();
        ++m_handshakes;
        m_state = State::Command;
        out.insert(out.end(), m_faults.junkBeforeHandshakeAck.begin(), m_faults.junkBeforeHandshakeAck.end());
        out.push_back(clone::kAck);
    }
}

void RadioSimulator::handleFrame(std::vector<std::uint8_t>& out) {
    const int address = (m_frame[1] << 8) | m_frame[2];
    m_addresses.push_back(address);
    const bool write = m_frame[0] == clone::kWrite;
    write ? ++m_writeCommands : ++m_readCommands;
    if (m_faults.deadFrom && *m_faults.deadFrom == address) {
        m_dead = true;
        return;
    }
    // Addresses beyond the memory or not on a row boundary get no answer, as from a confused radio.
    if (address % kRowSize != 0 || address + kRowSize > kImageSize || m_frame[3] != clone::kBlockLength)
        return;
    if (fires(m_faults.silentAt, address, 0))
        return;
    if (write) {
        if (fires(m_faults.refuseWriteAt, address, 3)) {
            out.push_back(kRefused);
            return;
        }
        if (!fires(m_faults.dropWriteAt, address, 4))
            m_memory.setRow(address / kRowSize, std::span<const std::uint8_t, kRowSize>(m_frame.data() + 4, kRowSize));
        out.push_back(clone::kAck);
        return;
    }
    out.insert(out.end(), {clone::kWrite, m_frame[1], m_frame[2], clone::kBlockLength});
    const Row row = m_memory.row(address / kRowSize);
    out.insert(out.end(), row.begin(), row.end());
    if (fires(m_faults.shortReplyAt, address, 1))
        out.pop_back();
    else if (fires(m_faults.longReplyAt, address, 2))
        out.push_back(0x00);
}

} // namespace norvik
