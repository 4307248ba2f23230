#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/image/radio_image.h"

namespace norvik {

// Ways the simulated radio can misbehave. Addresses are block addresses (row x 16).
struct SimulatorFaults {
    std::vector<std::uint8_t> junkBeforeHandshakeAck; // sent just before the 0x06 to "PROGNRV"
    std::optional<int> silentAt;                      // no answer to the read/write command there
    std::optional<int> shortReplyAt;                  // 19-byte read reply there
    std::optional<int> longReplyAt;                   // 21-byte read reply there
    std::optional<int> refuseWriteAt;                 // answers a write there with 0x15
    std::optional<int> dropWriteAt;                   // acknowledges a write there but keeps the old row
    std::optional<Row> identification;                // sent instead of the memory's row 208
    std::optional<int> deadFrom;                      // from the command at this address on, nothing more
    bool once = false;                                // each address fault fires only the first time
};

// The radio's side of the clone exchange over its own 4096-byte memory. It is fed the bytes the
// program sends and returns the bytes it answers; timing is the host's business (see lineTime).
class RadioSimulator {
public:
    explicit RadioSimulator(const RadioImage& memory = RadioImage(), SimulatorFaults faults = {});

    // Bytes from the program; returns the radio's answer (often empty).
    std::vector<std::uint8_t> receive(std::span<const std::uint8_t> bytes);

    const RadioImage& memory() const { return m_memory; }
    RadioImage& memory() { return m_memory; }
    SimulatorFaults& faults() { return m_faults; }

    bool inProgrammingMode() const { return m_state != State::Idle; }
    int readCommands() const { return m_readCommands; }
    int writeCommands() const { return m_writeCommands; }
    int exitBytes() const { return m_exitBytes; }
    int handshakes() const { return m_handshakes; }
    // Every block address commanded, in order (reads and writes).
    const std::vector<int>& commandedAddresses() const { return m_addresses; }

    // Line timing: each byte is a start bit, 8 data bits and a stop bit.
    static constexpr int kBitsPerByte = 10;
    static constexpr int kBitRate = 9600;
    static constexpr long long byteTimeNs() { return 1'000'000'000LL * kBitsPerByte / kBitRate; }
    static constexpr long long lineTimeNs(long long bytes) { return bytes * 1'000'000'000LL * kBitsPerByte / kBitRate; }

private:
    enum class State { Idle, Command, Frame };

    void handleByte(std::uint8_t b, std::vector<std::uint8_t>& out);
    void handleFrame(std::vector<std::uint8_t>& out);
    bool fires(const std::optional<int>& at, int address, int index);

    RadioImage m_memory;
    SimulatorFaults m_faults;
    State m_state = State::Idle;
    std::vector<std::uint8_t> m_frame;
    std::vector<std::uint8_t> m_hunt; // last bytes seen while looking for "PROGNRV"
    bool m_dead = false;
    bool m_fired[5] = {};
    int m_readCommands = 0;
    int m_writeCommands = 0;
    int m_exitBytes = 0;
    int m_handshakes = 0;
    std::vector<int> m_addresses;
};

} // namespace norvik
