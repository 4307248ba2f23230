// The clone exchange driven by a script of line bytes and timer events, in the five ways it runs
// (read, write, write read back, and the service link's read and write), against the simulated radio with a line
// that can lose, corrupt and invent bytes. The host delivers only what a real host could: a timer
// fires only while armed, a pause ends only while one is pending, an answer only to a question.
//
// It must never send a command outside its rows (0..255 to read, up to 0x0EF0 to write, 240..255
// on the link, only reads of rows 0..239 while a write is read back), never change the image it
// sends, never claim a completed read without every row, never call a write verified unless what
// came back is what was sent, never finish twice, never leave a running exchange waiting on nothing, and never crash.

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <span>
#include <vector>

#include "core/clone/clone_session.h"
#include "core/clone/radio_simulator.h"

namespace {

using namespace norvik;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "clone session fault: %s\n", what);
    std::abort();
}

void require(bool ok, const char* what) {
    if (!ok)
        fail(what);
}

// Reads the script; past its end every read gives 0.
class Script {
public:
    Script(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool done() const { return m_pos >= m_size; }
    std::uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

class Host : public CloneHost {
public:
    Host(bool link, CloneMode mode, const RadioImage& image) : session(*this, Language::English), radio(image) {
        m_link = link;
        m_mode = mode;
        m_first = link ? clone::kLinkFirstRow : 0;
        m_end =
            link ? clone::kLinkFirstRow + clone::kLinkRows : (mode == CloneMode::Read ? kRowCount : clone::kWriteRows);
    }

    CloneSession session;
    RadioSimulator radio;
    std::deque<std::uint8_t> line; // the radio's bytes on their way to the program
    bool radioOn = true;
    bool sendTimer = false;
    bool replyArmed = false;
    bool pausePending = false;
    bool asking = false;
    int finishes = 0;

    void send(std::span<const std::uint8_t> bytes) override {
        require(!bytes.empty(), "empty send");
        const std::uint8_t op = bytes[0];
        if ((op == clone::kRead && bytes.size() == 4) || (op == clone::kWrite && bytes.size() == 20)) {
            const int address = (bytes[1] << 8) | bytes[2];
            require(address % kRowSize == 0 && bytes[3] == clone::kBlockLength, "malformed block command");
            const int row = address / kRowSize;
            require(row >= m_first && row < m_end, "block command outside the rows of this exchange");
            if (session.verifying()) {
                require(op == clone::kRead && row < clone::kWriteRows, "read-back command outside rows 0..239");
            } else if (op == clone::kWrite) {
                require(m_mode == CloneMode::Write, "write command in a read");
                require(m_link || address <= 0x0EF0, "write command above 0x0EF0");
                m_written.set(static_cast<std::size_t>(row));
            } else {
                require(m_mode == CloneMode::Read, "read command in a write");
            }
        }
        if (radioOn) {
            for (std::uint8_t b : radio.receive(bytes))
                line.push_back(b);
        }
    }
    void clearLineBuffers() override { line.clear(); }
    void setSendTimer(bool enabled) override { sendTimer = enabled; }
    void startReplyTimer(int ms) override {
        require(ms > 0, "reply timer of no time");
        replyArmed = true;
    }
    void stopReplyTimer() override { replyArmed = false; }
    void startPause(int ms) override {
        require(ms > 0, "pause of no time");
        pausePending = true;
    }
    void logCleared() override { m_written.reset(); } // a start or a retry: everything again
    void logLineAppended(const std::string&) override {}
    void progressChanged(int value, int maximum) override {
        require(value >= 0 && value <= maximum, "progress beyond its maximum");
    }
    void statusChanged(const std::string&) override {}
    void questionAsked(CloneQuestion question, const std::string&) override {
        require(!asking, "a second question before the first was answered");
        if (question == CloneQuestion::RetryOrCancel)
            require(session.lastFailure().step >= 0, "Retry asked with no failure to tell");
        asking = true;
    }
    void finished(CloneOutcome outcome) override {
        ++finishes;
        require(finishes == 1, "finished twice");
        require(!session.isRunning(), "finished while running");
        if (outcome != CloneOutcome::Completed)
            return;
        for (int r = m_first; r < m_end; ++r) {
            if (m_mode == CloneMode::Read)
                require(session.rowsReceived().test(static_cast<std::size_t>(r)), "read completed without a row");
            else
                require(m_written.test(static_cast<std::size_t>(r)), "write completed without a row");
        }
        // A read-back that failed leaves its own progress where it stopped; the write is complete.
        if (session.verification() != Verification::NotChecked)
            require(session.progressValue() == session.progressMaximum(), "completed short of the progress maximum");
        const RadioImage& sent = session.image();
        const RadioImage& back = session.readBack();
        bool same = true;
        for (int a = 0; a < clone::kWriteRows * kRowSize; ++a)
            same = same && sent.at(a) == back.at(a);
        if (session.verification() == Verification::Verified)
            require(same, "verified a write the radio does not hold");
        if (session.verification() == Verification::Differs)
            require(!same && !session.differences().empty(), "differences found in what came back the same");
    }

    // After every input: a running exchange is waiting for something a host delivers.
    void checkAlive() const {
        if (session.isRunning())
            require(sendTimer || replyArmed || pausePending || asking, "running exchange waiting on nothing");
    }

    // The rows a link read may change, plus its one identification byte; a write changes nothing.
    void checkImage(const RadioImage& start) const {
        const RadioImage& now = session.image();
        if (m_mode == CloneMode::Write) {
            require(now == start, "a write changed the image it sends");
            return;
        }
        if (!m_link)
            return;
        for (int a = 0; a < kImageSize; ++a) {
            const int row = a / kRowSize;
            const bool mayChange =
                (row >= m_first && row < m_end) || a == clone::kIdentRow * kRowSize + clone::kLinkIdentByte;
            require(mayChange || now.at(a) == start.at(a), "a link read changed a byte outside its rows");
        }
    }

private:
    bool m_link = false;
    CloneMode m_mode = CloneMode::Read;
    int m_first = 0;
    int m_end = 0;
    std::bitset<kRowCount> m_written;
};

void deliver(Host& h, std::size_t count) {
    std::vector<std::uint8_t> bytes;
    while (count-- > 0 && !h.line.empty()) {
        bytes.push_back(h.line.front());
        h.line.pop_front();
    }
    if (!bytes.empty())
        h.session.bytesReceived(bytes);
}

// One event the host could deliver now, in the order a quiet event loop would.
bool naturalEvent(Host& h, Script& s) {
    if (h.pausePending) {
        h.pausePending = false;
        h.session.pauseElapsed();
    } else if (!h.line.empty()) {
        deliver(h, h.line.size());
    } else if (h.sendTimer) {
        h.session.sendTick();
    } else if (h.asking) {
        h.asking = false;
        h.session.answer(s.byte() & 1);
    } else if (h.replyArmed) {
        h.replyArmed = false;
        h.session.replyTimerExpired();
    } else {
        return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Script s(data, size);
    const std::uint8_t setup = s.byte();
    const bool link = setup & 1;
    const CloneMode mode = (setup & 2) ? CloneMode::Write : CloneMode::Read;
    RadioImage image;
    for (int a = 0; a < kImageSize; ++a)
        image.set(a, static_cast<std::uint8_t>(a * 7 + (a >> 8)));
    Host h(link, mode, image);
    if (setup & 4) // the radio's identification differs: a write asks first
        h.radio.memory().set(clone::kIdentRow * kRowSize + 3, 0x5A);
    if (setup & 16) { // a row the radio acknowledges without storing, holding something else
        const int address = (setup >> 5) * 0x70;
        h.radio.faults().dropWriteAt = address;
        h.radio.memory().set(address, static_cast<std::uint8_t>(~image.at(address)));
    }
    if (link)
        h.session.startLink(mode, image);
    else
        h.session.start(mode, image, (setup & 8) != 0);
    h.checkAlive();

    // Bounded, so a script of "run on" events still ends; a full read takes about 1,300, so there is
    // room for a retry.
    int budget = 4000;
    while (!s.done() && budget > 0) {
        const std::uint8_t op = s.byte();
        switch (op % 12) {
        case 0: // part of what the radio sent
            deliver(h, 1 + s.byte() % 24);
            break;
        case 1: { // noise on the line
            std::vector<std::uint8_t> noise(s.byte() % 24);
            for (std::uint8_t& b : noise)
                b = s.byte();
            h.session.bytesReceived(noise);
            break;
        }
        case 2:
            if (h.sendTimer)
                h.session.sendTick();
            break;
        case 3:
            if (h.replyArmed) {
                h.replyArmed = false;
                h.session.replyTimerExpired();
            }
            break;
        case 4:
            if (h.pausePending) {
                h.pausePending = false;
                h.session.pauseElapsed();
            }
            break;
        case 5:
            if (h.asking) {
                h.asking = false;
                h.session.answer(s.byte() & 1);
            }
            break;
        case 6:
            h.asking = false;
            h.session.cancel();
            break;
        case 7: // bytes lost on the line
            h.line.clear();
            break;
        case 8: // one byte corrupted on the line
            if (!h.line.empty())
                h.line[s.byte() % h.line.size()] ^= static_cast<std::uint8_t>(1 + s.byte() % 255);
            break;
        case 9: // the cable is pulled or put back
            h.radioOn = !h.radioOn;
            break;
        default: // the event loop runs on for a while
            for (int n = 1 + s.byte() * 8; n > 0 && budget > 0 && naturalEvent(h, s); --n)
                --budget;
            break;
        }
        --budget;
        h.checkAlive();
    }
    // Nothing puts a byte back, so a stray write is still there at the end.
    h.checkImage(image);
    return 0;
}
