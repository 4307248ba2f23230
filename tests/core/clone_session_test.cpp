#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <deque>
#include <functional>
#include <optional>

#include "core/clone/clone_failure.h"
#include "core/clone/clone_session.h"
#include "core/clone/radio_simulator.h"
#include "helpers.h"

using namespace norvik;
using norvik::test::Bytes;
using norvik::test::randomImage;

namespace {

enum class Delivery { Whole, ByteByByte, Paced };
const char* const kDeliveryNames[] = {"whole", "byte_by_byte", "paced"};
const auto kDeliveryName = [](const auto& info) { return kDeliveryNames[int(info.param)]; };
const auto kAllDeliveries = ::testing::Values(Delivery::Whole, Delivery::ByteByByte, Delivery::Paced);

constexpr long long kMs = 1'000'000; // fake clock in nanoseconds

// Hosts a CloneSession against a RadioSimulator on a fake clock: timers, pauses and line time
// are events in simulated time, so nothing here waits for real.
class Bench : public CloneHost {
public:
    // A completed read is taken into image, as the program's hosts do; nothing else touches it.
    Bench(RadioImage& image, RadioSimulator& radio, Delivery delivery, Language lang = Language::English)
        : session(*this, lang), m_image(image), m_radio(radio), m_delivery(delivery) {}

    CloneSession session;
    std::vector<Bytes> sent;
    std::vector<long long> sentAt, questionAt;
    std::vector<std::string> logLines, statuses;
    std::vector<std::pair<int, int>> progress;
    std::vector<CloneQuestion> questions;
    std::deque<bool> answers; // given in order; a question with no answer left is cancelled
    std::optional<CloneOutcome> outcome;
    long long now = 0;
    bool radioOff = false;
    std::function<void()> onQuestion;    // called when a question comes, before it is answered
    std::optional<int> cancelAtProgress; // the user's Cancel once the progress reaches this value

    CloneOutcome run(CloneMode mode, bool verify = false) {
        session.start(mode, m_image, verify);
        finish();
        if (mode == CloneMode::Read && outcome == CloneOutcome::Completed)
            m_image = session.image();
        return outcome.value_or(CloneOutcome::Failed);
    }
    // The service link on the image; a completed link read brings its bytes into it.
    CloneOutcome runLink(CloneMode mode, bool verify = false) {
        session.startLink(mode, m_image, verify);
        finish();
        if (mode == CloneMode::Read && outcome == CloneOutcome::Completed)
            takeLinkRead(session.image(), m_image);
        return outcome.value_or(CloneOutcome::Failed);
    }
    void finish() {
        while (!outcome) {
            if (now > 600'000 * kMs) {
                ADD_FAILURE() << "transfer never ended";
                break;
            }
            step();
        }
    }

    // Commands of one kind in the order sent.
    std::vector<Bytes> commands(std::uint8_t op) const {
        std::vector<Bytes> out;
        std::copy_if(sent.begin(), sent.end(), std::back_inserter(out),
                     [op](const Bytes& c) { return (c.size() == 4 || c.size() == 20) && c[0] == op; });
        return out;
    }

    // CloneHost
    void send(std::span<const std::uint8_t> bytes) override {
        sent.emplace_back(bytes.begin(), bytes.end());
        sentAt.push_back(now);
        if (radioOff)
            return;
        const bool paced = m_delivery == Delivery::Paced;
        long long t = std::max(now, m_txFree) + (paced ? RadioSimulator::lineTimeNs(std::ssize(bytes)) : 0);
        m_txFree = t;
        for (std::uint8_t b : m_radio.receive(bytes)) {
            t = m_rxFree = paced ? std::max(t, m_rxFree) + RadioSimulator::byteTimeNs() : t;
            if (m_delivery == Delivery::Whole && !m_arrivals.empty() && m_arrivals.back().first == t)
                m_arrivals.back().second.push_back(b);
            else
                m_arrivals.push_back({t, {b}});
        }
    }
    void clearLineBuffers() override {}
    void setSendTimer(bool enabled) override { m_tick = enabled ? std::optional(now + kMs) : std::nullopt; }
    void startReplyTimer(int ms) override { m_reply = now + ms * kMs; }
    void stopReplyTimer() override { m_reply.reset(); }
    void startPause(int ms) override { m_pause = now + ms * kMs; }
    void logCleared() override { logLines.clear(); }
    void logLineAppended(const std::string& line) override { logLines.push_back(line); }
    void progressChanged(int value, int maximum) override { progress.push_back({value, maximum}); }
    void statusChanged(const std::string& text) override { statuses.push_back(text); }
    void questionAsked(CloneQuestion q, const std::string&) override {
        questions.push_back(q);
        questionAt.push_back(now);
        m_questionPending = true;
    }
    void finished(CloneOutcome o) override { outcome = o; }

private:
    void step() {
        if (cancelAtProgress && !progress.empty() && progress.back().first >= *cancelAtProgress) {
            cancelAtProgress.reset();
            session.cancel();
            return;
        }
        if (m_questionPending) {
            m_questionPending = false;
            if (onQuestion)
                onQuestion();
            const bool a = !answers.empty() && answers.front();
            if (!answers.empty())
                answers.pop_front();
            session.answer(a);
            return;
        }
        long long next = m_arrivals.empty() ? LLONG_MAX : m_arrivals.front().first;
        for (const auto& t : {m_pause, m_reply, m_tick})
            next = std::min(next, t.value_or(LLONG_MAX));
        if (next == LLONG_MAX) {
            ADD_FAILURE() << "nothing left to happen";
            outcome = CloneOutcome::Failed;
            return;
        }
        now = std::max(now, next);
        if (!m_arrivals.empty() && m_arrivals.front().first <= now) {
            auto bytes = std::move(m_arrivals.front().second);
            m_arrivals.pop_front();
            session.bytesReceived(bytes);
        } else if (m_pause && *m_pause <= now) {
            m_pause.reset();
            session.pauseElapsed();
        } else if (m_reply && *m_reply <= now) {
            m_reply.reset();
            session.replyTimerExpired();
        } else if (m_tick && *m_tick <= now) {
            m_tick = now + kMs;
            session.sendTick();
        }
    }

    RadioImage& m_image;
    RadioSimulator& m_radio;
    Delivery m_delivery;
    long long m_txFree = 0, m_rxFree = 0;
    std::deque<std::pair<long long, Bytes>> m_arrivals;
    std::optional<long long> m_tick, m_reply, m_pause;
    bool m_questionPending = false;
};

// The log of a transfer that went through; `done` is the line before "Port Closed.".
std::vector<std::string> goodLog(const char* done) {
    std::vector<std::string> out = {"Opening Port...", "Transfering data blocks..."};
    for (int p = 0; p <= 100; p += 10)
        out.push_back("Completion percentage" + std::to_string(p) + "%");
    out.insert(out.end(), {done, "Port Closed."});
    return out;
}

// A radio whose identification row matches the image, so a write asks nothing.
RadioImage radioMatching(const RadioImage& image, unsigned seed) {
    RadioImage radio = randomImage(seed);
    radio.setRow(clone::kIdentRow, image.row(clone::kIdentRow));
    return radio;
}

class CloneExchange : public ::testing::TestWithParam<Delivery> {};

} // namespace

TEST(ClonePercent, RoundsHalvesToEven) {
    struct Case {
        int value, maximum, percent;
    } cases[] = {{1, 256, 0},    {32, 256, 12}, {96, 256, 38}, {160, 256, 62},
                 {224, 256, 88}, {23, 240, 10}, {25, 240, 10}, {239, 240, 100}};
    for (const auto& c : cases)
        EXPECT_EQ(clonePercent(c.value, c.maximum), c.percent) << c.value << "/" << c.maximum;
}

TEST_P(CloneExchange, ReadCopiesTheWholeMemoryInOrder) {
    RadioSimulator radio(randomImage(1));
    RadioImage image = randomImage(2);
    Bench bench(image, radio, GetParam());
    ASSERT_EQ(bench.run(CloneMode::Read), CloneOutcome::Completed);

    EXPECT_EQ(image, radio.memory());
    EXPECT_TRUE(bench.session.rowsReceived().all());
    const auto reads = bench.commands(clone::kRead);
    ASSERT_EQ(reads.size(), 256u);
    for (int r = 0; r < 256; ++r)
        ASSERT_EQ(reads[r], (Bytes{0x52, std::uint8_t(r >> 4), std::uint8_t((r & 15) << 4), 0x10}));
    EXPECT_TRUE(bench.commands(clone::kWrite).empty());
    // The handshake comes first, and the exit byte goes out twice: at the end and on closing.
    EXPECT_EQ(bench.sent.front(), (Bytes{'P', 'R', 'O', 'G', 'N', 'R', 'V'}));
    EXPECT_EQ(radio.exitBytes(), 2);
    EXPECT_EQ(bench.progress.back(), std::make_pair(256, 256));

    EXPECT_EQ(bench.logLines, goodLog("Reading completed!"));
    EXPECT_TRUE(bench.session.log().ends_with("Reading completed!\r\nPort Closed.\r\n"));
    EXPECT_EQ(bench.session.status(), "Complete.");
    EXPECT_EQ(bench.statuses.front(), "Transfering...");
}

TEST_P(CloneExchange, WriteSendsRowsUpTo239Only) {
    RadioImage image = randomImage(3);
    const RadioImage original = radioMatching(image, 4);
    RadioSimulator radio(original);
    Bench bench(image, radio, GetParam());
    ASSERT_EQ(bench.run(CloneMode::Write), CloneOutcome::Completed);

    const auto writes = bench.commands(clone::kWrite);
    ASSERT_EQ(writes.size(), 240u);
    EXPECT_EQ(radio.writeCommands(), 240);
    EXPECT_EQ(radio.readCommands(), 0);
    Bytes last = {0x57, 0x0E, 0xF0, 0x10};
    const Row row239 = image.row(239);
    last.insert(last.end(), row239.begin(), row239.end());
    EXPECT_EQ(writes.back(), last);
    for (int a = 0; a < kImageSize; ++a)
        ASSERT_EQ(radio.memory().at(a), a < 0xF00 ? image.at(a) : original.at(a)) << "address " << a;
    EXPECT_TRUE(bench.questions.empty());
    EXPECT_EQ(bench.logLines, goodLog("Writing completed!"));
    // The 100% caption comes with the acknowledge of the last write.
    EXPECT_EQ(bench.progress.back(), std::make_pair(240, 240));
}

INSTANTIATE_TEST_SUITE_P(AllDeliveries, CloneExchange, kAllDeliveries, kDeliveryName);

TEST(CloneExchange, ChineseTextsInTheLog) {
    RadioSimulator radio(randomImage(5));
    RadioImage image;
    Bench bench(image, radio, Delivery::Whole, Language::Chinese);
    ASSERT_EQ(bench.run(CloneMode::Read), CloneOutcome::Completed);
    ASSERT_EQ(bench.logLines.size(), 15u);
    EXPECT_EQ(bench.logLines[0], "打开端口");
    EXPECT_EQ(bench.logLines[6], "完成进度40%");
    EXPECT_EQ(bench.logLines[13], "成功读完！");
    EXPECT_EQ(bench.session.status(), "连机完成。");
}

namespace {

struct FaultCase {
    const char* name;
    CloneMode mode;
    std::deque<bool> answers;
    CloneOutcome outcome;
    bool timesOut;         // the failure waits out the 800 ms reply timer
    int progressAtFailure; // blocks accepted before the first failure (-1: no failure)
    std::function<void(SimulatorFaults&)> fault;
};

constexpr auto Read = CloneMode::Read, Write = CloneMode::Write;
constexpr auto Ok = CloneOutcome::Completed, Fail = CloneOutcome::Failed;

// The radio's answer to the handshake with line noise before its acknowledge.
const Bytes kNoisyAck = {'P', 'R', 'O', 'G', 'N', 'R', 'V', 0x00, 0xFF, 0x15};

const FaultCase kFaultCases[] = {
    {"junk_before_ack_still_connects", Read, {}, Ok, false, -1, [](auto& f) { f.junkBeforeHandshakeAck = kNoisyAck; }},
    {"silence_times_out", Read, {false}, Fail, true, 0x50, [](auto& f) { f.silentAt = 0x500; }},
    {"reply_of_19_bytes_times_out", Read, {false}, Fail, true, 0x0A, [](auto& f) { f.shortReplyAt = 0x0A0; }},
    // The block is taken whole; the 21st byte is then read as the acknowledge and rejected.
    {"reply_of_21_bytes_leaves_a_byte", Read, {false}, Fail, false, 0x0B, [](auto& f) { f.longReplyAt = 0x0A0; }},
    {"refused_write_aborts", Write, {false}, Fail, false, 0x30, [](auto& f) { f.refuseWriteAt = 0x300; }},
    {"dead_line_fails_every_retry", Read, {true, false}, Fail, true, 0x80, [](auto& f) { f.deadFrom = 0x800; }},
    {"retry_after_silence_completes", Read, {true}, Ok, true, 0x7F, [](auto& f) { f.silentAt = 0x7F0, f.once = true; }},
    {"refusal_retried", Write, {true}, Ok, false, 0x10, [](auto& f) { f.refuseWriteAt = 0x100, f.once = true; }},
};

class CloneFaults : public ::testing::TestWithParam<std::tuple<FaultCase, Delivery>> {};

bool isHandshake(const Bytes& c) {
    return c.size() == 7 && c[0] == 'P';
}

} // namespace

TEST_P(CloneFaults, OutcomeAndImage) {
    const auto& [fc, delivery] = GetParam();
    RadioImage image = randomImage(11);
    SimulatorFaults faults;
    fc.fault(faults);
    RadioSimulator radio(radioMatching(image, 10), faults);
    Bench bench(image, radio, delivery);
    bench.answers = fc.answers;
    int progressAtQuestion = -1;
    std::string logAtQuestion;
    bench.onQuestion = [&] {
        if (progressAtQuestion < 0) {
            progressAtQuestion = bench.session.progressValue();
            logAtQuestion = bench.session.log();
        }
    };
    EXPECT_EQ(bench.run(fc.mode), fc.outcome);
    EXPECT_EQ(progressAtQuestion, fc.progressAtFailure);

    if (fc.progressAtFailure >= 0) {
        ASSERT_FALSE(bench.questions.empty());
        EXPECT_EQ(bench.questions.front(), CloneQuestion::RetryOrCancel);
        EXPECT_NE(logAtQuestion.find("ERROR:Timeout while waiting for data blocks.\r\nPort Closed.\r\n"),
                  std::string::npos);
        // The last command before the question went out 800 ms earlier only on a time-out.
        long long lastCommand = 0;
        for (std::size_t i = 0; i < bench.sentAt.size() && bench.sentAt[i] < bench.questionAt.front(); ++i)
            lastCommand = bench.sentAt[i];
        const long long waited = bench.questionAt.front() - lastCommand;
        if (fc.timesOut) {
            EXPECT_GE(waited, 800 * kMs);
        } else
            EXPECT_LT(waited, 100 * kMs);
    }

    const bool read = fc.mode == CloneMode::Read;
    if (fc.outcome == CloneOutcome::Completed) {
        for (int a = 0; a < (read ? kImageSize : 0xF00); ++a)
            ASSERT_EQ(radio.memory().at(a), image.at(a)) << a;
        EXPECT_EQ(bench.session.status(), "Complete.");
    } else {
        EXPECT_EQ(bench.session.status(), "Error!");
        if (read) {
            EXPECT_EQ(bench.logLines.back(), "Reading cancelled: the data held before the read has been put back.");
        }
    }

    const auto retries = std::count(fc.answers.begin(), fc.answers.end(), true);
    if (retries > 0) {
        // A retry starts over from the handshake at address 0 with the progress from 0.
        EXPECT_EQ(std::count_if(bench.sent.begin(), bench.sent.end(), isHandshake), 1 + retries);
        const auto retryAt = std::find_if(bench.sent.begin() + 1, bench.sent.end(), isHandshake);
        const auto firstBlock = std::find_if(retryAt, bench.sent.end(), [](const Bytes& c) {
            return c.size() >= 4 && (c[0] == clone::kRead || c[0] == clone::kWrite);
        });
        if (firstBlock != bench.sent.end()) { // a dead line never gets past the handshake
            EXPECT_EQ((*firstBlock)[1], 0);
            EXPECT_EQ((*firstBlock)[2], 0);
        }
        EXPECT_NE(std::find(bench.progress.begin() + 1, bench.progress.end(),
                            std::make_pair(0, bench.session.progressMaximum())),
                  bench.progress.end());
        if (fc.outcome == CloneOutcome::Completed) {
            EXPECT_EQ(bench.logLines.size(), 15u) << "the log is cleared on retry";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllDeliveries, CloneFaults,
                         ::testing::Combine(::testing::ValuesIn(kFaultCases), kAllDeliveries), [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    kDeliveryNames[int(std::get<1>(info.param))];
                         });

namespace {

// A write read back: what the radio does, the user's answers to Retry/Cancel, what is found.
struct VerifyCase {
    const char* name;
    std::function<void(SimulatorFaults&)> fault;
    std::deque<bool> answers;
    Verification verification;
    int handshakes;      // the write's, then one per read-back
    const char* verdict; // the log line that says what was found
};

using V = Verification;
const char* const kDiffers = "Not verified: the radio holds something else than what was written:";
const char* const kUnread = "Not verified: the radio was written, but reading it back did not complete.";

const VerifyCase kVerifyCases[] = {
    {"verified", [](auto&) {}, {}, V::Verified, 2, "Verified."},
    {"row_acknowledged_but_not_stored", [](auto& f) { f.dropWriteAt = 0x050; }, {}, V::Differs, 2, kDiffers},
    {"read_back_fails", [](auto& f) { f.shortReplyAt = 0x100; }, {false}, V::NotChecked, 2, kUnread},
    // A retry reads back again; nothing is written twice.
    {"read_back_retried", [](auto& f) { f.shortReplyAt = 0x100, f.once = true; }, {true}, V::Verified, 3, "Verified."},
};

class CloneVerify : public ::testing::TestWithParam<VerifyCase> {};

} // namespace

TEST_P(CloneVerify, WriteIsReadBack) {
    const VerifyCase& c = GetParam();
    RadioImage image = randomImage(50);
    const RadioImage radioStart = radioMatching(image, 51);
    SimulatorFaults faults;
    c.fault(faults);
    RadioSimulator radio(radioStart, faults);
    Bench bench(image, radio, Delivery::Whole);
    bench.answers = c.answers;
    EXPECT_EQ(bench.run(CloneMode::Write, true), CloneOutcome::Completed);
    EXPECT_EQ(bench.session.verification(), c.verification);
    EXPECT_EQ(radio.writeCommands(), 240);
    EXPECT_EQ(radio.handshakes(), c.handshakes);
    // The verdict; what differs follows it, each by name, then the port is closed.
    const auto verdict = std::find(bench.logLines.begin(), bench.logLines.end(), c.verdict);
    ASSERT_NE(verdict, bench.logLines.end());
    const auto& differences = bench.session.differences();
    EXPECT_EQ(differences.empty(), c.verification != Verification::Differs);
    for (const ImageDifference& d : differences)
        EXPECT_EQ(d.channel, 5);
    if (c.verification != Verification::NotChecked) {
        EXPECT_EQ(bench.logLines.end() - verdict, std::ssize(differences) + 2);
        EXPECT_EQ(bench.logLines.back(), "Port Closed.");
    }
    // The write's lines stay in the log, through a retried read-back too.
    EXPECT_EQ(bench.logLines[13], "Writing completed!");
    EXPECT_EQ(bench.logLines[14], "Verifying: reading rows 0-239 back, one more read of 240 rows...");
    if (c.verification == Verification::NotChecked)
        return;
    // The read-back is a read that stops after row 239; what came back is the radio's rows 0..239
    // over what was sent.
    EXPECT_EQ(bench.commands(clone::kRead).back(), (Bytes{0x52, 0x0E, 0xF0, 0x10}));
    for (int r = 0; r < kRowCount; ++r)
        ASSERT_EQ(bench.session.readBack().row(r), r < 240 ? radio.memory().row(r) : image.row(r)) << "row " << r;
}

INSTANTIATE_TEST_SUITE_P(Cases, CloneVerify, ::testing::ValuesIn(kVerifyCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CloneIdentification, ChangedRowAsksBeforeWriting) {
    for (const bool accept : {false, true}) {
        SCOPED_TRACE(accept ? "accepted" : "declined");
        RadioImage image = randomImage(20);
        SimulatorFaults faults;
        faults.identification = image.row(clone::kIdentRow);
        faults.identification->back() ^= 0xFF; // only the last byte differs: every byte is compared
        const RadioImage radioStart = randomImage(21);
        RadioSimulator radio(radioStart, faults);
        Bench bench(image, radio, accept ? Delivery::ByteByByte : Delivery::Whole);
        bench.answers = {accept};
        EXPECT_EQ(bench.run(CloneMode::Write), accept ? CloneOutcome::Completed : CloneOutcome::Cancelled);
        ASSERT_EQ(bench.questions, std::vector<CloneQuestion>{CloneQuestion::IdentificationChanged});
        EXPECT_EQ(radio.writeCommands(), accept ? 240 : 0);
        if (!accept) {
            EXPECT_EQ(radio.memory(), radioStart);
            EXPECT_EQ(bench.logLines.end()[-2], "Writing cancelled: nothing was written to the radio.");
            EXPECT_EQ(bench.session.status(), "Cancelled.");
        }
    }
}

TEST(CloneHandshake, NoRadioTimesOutAfter800ms) {
    RadioImage image = randomImage(30);
    RadioSimulator radio;
    Bench bench(image, radio, Delivery::Whole);
    bench.radioOff = true;
    std::vector<std::string> logAtQuestion;
    bench.onQuestion = [&] { logAtQuestion = bench.logLines; };
    EXPECT_EQ(bench.run(CloneMode::Read), CloneOutcome::Failed);
    ASSERT_EQ(bench.questionAt.size(), 1u);
    EXPECT_EQ(bench.questionAt[0] - bench.sentAt[0], 800 * kMs);
    EXPECT_EQ(logAtQuestion,
              (std::vector<std::string>{"Opening Port...", "Transfering data blocks...",
                                        "ERROR:Timeout while waiting for data blocks.", "Port Closed."}));
    EXPECT_EQ(bench.sent.back(), Bytes{clone::kExit}); // closing still tells the radio to leave programming mode
}

TEST(CloneCancel, StopsAtOnceAndSaysWhatTheRadioHolds) {
    const char* const readCancelled = "Reading cancelled: the data held before the read has been put back.";
    const std::vector<std::tuple<CloneMode, int, const char*>> cases = {
        {CloneMode::Read, 100, readCancelled},
        {CloneMode::Read, 0, readCancelled},
        {CloneMode::Write, 50,
         "Writing stopped: the radio holds only the rows written so far. Write again before using it."},
        {CloneMode::Write, 0, "Writing cancelled: nothing was written to the radio."},
    };
    for (const auto& [mode, cancelAt, logLine] : cases) {
        SCOPED_TRACE(cancelAt);
        RadioImage image = randomImage(40);
        const RadioImage radioStart = radioMatching(image, 41);
        RadioSimulator radio(radioStart);
        Bench bench(image, radio, Delivery::Paced);
        bench.cancelAtProgress = cancelAt;
        EXPECT_EQ(bench.run(mode), CloneOutcome::Cancelled);
        EXPECT_TRUE(bench.questions.empty());
        EXPECT_EQ(bench.logLines.end()[-2], logLine);
        EXPECT_EQ(bench.logLines.back(), "Port Closed.");
        EXPECT_EQ(bench.session.status(), "Cancelled.");
        EXPECT_EQ(bench.sent.back(), Bytes{clone::kExit});
        EXPECT_FALSE(bench.session.isRunning());
        if (mode == CloneMode::Read) {
            EXPECT_EQ(bench.session.rowsReceived().count(), static_cast<std::size_t>(cancelAt));
            EXPECT_LE(radio.readCommands(), cancelAt + 1);
        } else {
            EXPECT_EQ(radio.writeCommands(), cancelAt);
            for (int r = 0; r < 240; ++r)
                EXPECT_EQ(radio.memory().row(r), r < cancelAt ? image.row(r) : radioStart.row(r)) << "row " << r;
        }
    }
}

// --- The service link: the same exchange on rows 240..255 ------------------------------------

namespace {

std::vector<int> serviceBlockAddresses() {
    std::vector<int> out;
    for (int a = 0x0F00; a < 0x1000; a += kRowSize)
        out.push_back(a);
    return out;
}

class ServiceLink : public ::testing::TestWithParam<Delivery> {};

// Line noise before the handshake's acknowledge, twice what the clone tests give: the link takes
// what a clone read takes.
Bytes twentyJunkBytes() {
    Bytes junk = kNoisyAck;
    junk.insert(junk.end(), kNoisyAck.begin(), kNoisyAck.end());
    return junk;
}

} // namespace

TEST_P(ServiceLink, ReadTakesRows240To255AndTheIdentificationByteOnly) {
    SimulatorFaults faults;
    faults.junkBeforeHandshakeAck = twentyJunkBytes();
    faults.identification = randomImage(52).row(clone::kIdentRow);
    RadioSimulator radio(randomImage(51), faults);
    const RadioImage document = randomImage(50);
    RadioImage image = document;
    Bench bench(image, radio, GetParam());
    ASSERT_EQ(bench.runLink(CloneMode::Read), CloneOutcome::Completed);

    for (int a = 0; a < kImageSize; ++a) {
        const int expected = a == 0x0D06  ? (*faults.identification)[6]
                             : a >= 0xF00 ? radio.memory().at(a)
                                          : document.at(a);
        ASSERT_EQ(image.at(a), expected) << std::hex << a;
    }
    EXPECT_EQ(radio.commandedAddresses(), serviceBlockAddresses());
    EXPECT_EQ(radio.writeCommands(), 0);
    EXPECT_EQ(radio.exitBytes(), 1);
    EXPECT_EQ(bench.progress.back(), std::make_pair(16, 16));
    EXPECT_TRUE(bench.logLines.end()[-2] == "Reading completed!");
}

TEST_P(ServiceLink, WriteSendsExactlySixteenBlocks) {
    const RadioImage document = randomImage(60);
    const RadioImage radioStart = radioMatching(document, 61);
    SimulatorFaults faults;
    faults.junkBeforeHandshakeAck = twentyJunkBytes();
    RadioSimulator radio(radioStart, faults);
    RadioImage image = document;
    Bench bench(image, radio, GetParam());
    ASSERT_EQ(bench.runLink(CloneMode::Write), CloneOutcome::Completed);

    const auto writes = bench.commands(clone::kWrite);
    ASSERT_EQ(writes.size(), 16u);
    EXPECT_EQ(radio.readCommands(), 0);
    EXPECT_EQ(radio.commandedAddresses(), serviceBlockAddresses());
    for (int a = 0; a < kImageSize; ++a)
        ASSERT_EQ(radio.memory().at(a), a >= 0xF00 ? document.at(a) : radioStart.at(a)) << std::hex << a;
    EXPECT_EQ(bench.progress.back(), std::make_pair(16, 16));
}

INSTANTIATE_TEST_SUITE_P(AllDeliveries, ServiceLink, kAllDeliveries, kDeliveryName);

TEST(ServiceLink, RefusedWriteIsRepeatedThenAsksRetryOrCancel) {
    struct Case {
        const char* name;
        bool refuseOnce;
        int commandsTo0F30;
        CloneOutcome outcome;
    };
    const Case cases[] = {
        {"refused once: sent again and completed", true, 2, CloneOutcome::Completed},
        {"always refused: sent again five times, then the question", false, 6, CloneOutcome::Failed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RadioImage document = randomImage(70);
        SimulatorFaults faults;
        faults.refuseWriteAt = 0x0F30;
        faults.once = c.refuseOnce;
        RadioSimulator radio(radioMatching(document, 71), faults);
        RadioImage image = document;
        Bench bench(image, radio, Delivery::Paced);
        bench.answers = {false};
        std::string logAtQuestion;
        bench.onQuestion = [&] { logAtQuestion = bench.session.log(); };
        EXPECT_EQ(bench.runLink(CloneMode::Write), c.outcome);
        const auto& addresses = radio.commandedAddresses();
        EXPECT_EQ(std::count(addresses.begin(), addresses.end(), 0x0F30), c.commandsTo0F30);
        if (c.outcome == CloneOutcome::Completed) {
            EXPECT_TRUE(bench.questions.empty());
            EXPECT_EQ(radio.writeCommands(), 17);
        } else {
            EXPECT_EQ(bench.questions, std::vector<CloneQuestion>{CloneQuestion::RetryOrCancel});
            EXPECT_EQ(addresses.back(), 0x0F30) << "nothing after the refused block";
            EXPECT_NE(logAtQuestion.find("The radio refused the same data block 6 times."), std::string::npos);
            EXPECT_EQ(bench.sent.back(), Bytes{clone::kExit});
        }
    }
}

TEST(ServiceLink, WriteIsReadBackAndEachRowThatDiffersNamed) {
    struct Case {
        const char* name;
        bool verify;
        std::function<void(SimulatorFaults&)> fault;
        Verification verification;
        int readCommands;
        std::vector<std::string> differenceLines;
    };
    const Case cases[] = {
        {"not asked", false, [](auto&) {}, V::NotAsked, 0, {}},
        {"verified", true, [](auto&) {}, V::Verified, 16, {}},
        {"rows acknowledged but not stored",
         true,
         [](auto& f) { f.dropWriteAt = 0x0F30; },
         V::Differs,
         16,
         {"row 243 (0x0F30–0x0F3F)"}},
        {"read-back fails", true, [](auto& f) { f.shortReplyAt = 0x0F80; }, V::NotChecked, 9, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RadioImage image = randomImage(90);
        SimulatorFaults faults;
        c.fault(faults);
        RadioSimulator radio(radioMatching(image, 91), faults);
        radio.memory().setRow(243, Row{}); // what a write that is not stored leaves
        Bench bench(image, radio, Delivery::Whole);
        EXPECT_EQ(bench.runLink(CloneMode::Write, c.verify), CloneOutcome::Completed);
        EXPECT_EQ(bench.session.verification(), c.verification);
        EXPECT_EQ(radio.writeCommands(), 16);
        EXPECT_EQ(radio.readCommands(), c.readCommands);
        EXPECT_EQ(bench.session.differenceLines(), c.differenceLines);
        EXPECT_EQ(bench.session.differences().size(), c.differenceLines.size());
        for (const std::string& line : c.differenceLines)
            EXPECT_NE(bench.session.log().find("  " + line + "\r\n"), std::string::npos);
    }
}

TEST(ServiceLink, SilenceFailsAfter500msAndRetryStartsAtTheHandshake) {
    const RadioImage document = randomImage(80);
    SimulatorFaults faults;
    faults.silentAt = 0x0F80;
    faults.once = true;
    RadioSimulator radio(randomImage(81), faults);
    RadioImage image = document;
    Bench bench(image, radio, Delivery::Whole);
    bench.answers = {true};
    EXPECT_EQ(bench.runLink(CloneMode::Read), CloneOutcome::Completed);
    ASSERT_EQ(bench.questionAt.size(), 1u);
    const auto silent = std::find(bench.sent.begin(), bench.sent.end(), Bytes{0x52, 0x0F, 0x80, 0x10});
    ASSERT_NE(silent, bench.sent.end());
    EXPECT_EQ(bench.questionAt[0] - bench.sentAt[silent - bench.sent.begin()], 500 * kMs);
    EXPECT_EQ(std::count_if(bench.sent.begin(), bench.sent.end(), isHandshake), 2);
    EXPECT_EQ(radio.readCommands(), 9 + 16);
    for (int a = 0xF00; a < kImageSize; ++a)
        ASSERT_EQ(image.at(a), radio.memory().at(a));
}

TEST(CloneFailureReport, SaysWhatWentWrongAndWhere) {
    struct Case {
        const char* name;
        CloneMode mode;
        Language lang;
        std::function<void(SimulatorFaults&)> fault; // none: the radio is switched off
        const char* text;
        const char* messageStart; // the message of its own begins so
    };
    const Case cases[] = {
        {"switched off", Read, Language::English, nullptr, "the radio did not answer", "The radio did not answer."},
        {"silent at a block", Read, Language::English, [](auto& f) { f.silentAt = 0x500; },
         "no answer from the radio at 0x0500", "The radio did not answer."},
        {"refused write", Write, Language::English, [](auto& f) { f.refuseWriteAt = 0x700; },
         "the radio refused the write at 0x0700", "The radio refused the write at 0x0700. Write again"},
        {"refused write, Chinese", Write, Language::Chinese, [](auto& f) { f.refuseWriteAt = 0x700; },
         "对讲机拒绝写入 0x0700", "对讲机拒绝写入 0x0700。"},
        {"extra byte taken as the acknowledge", Read, Language::English, [](auto& f) { f.longReplyAt = 0x0A0; },
         "the radio gave a wrong answer at 0x00A0", "The radio gave a wrong answer at 0x00A0."},
        {"completed", Write, Language::English, [](auto&) {}, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RadioImage image = randomImage(50);
        SimulatorFaults faults;
        if (c.fault)
            c.fault(faults);
        RadioSimulator radio(radioMatching(image, 51), faults);
        Bench bench(image, radio, Delivery::Whole, c.lang);
        bench.radioOff = !c.fault;
        bench.run(c.mode);
        EXPECT_EQ(cloneFailureText(c.mode, bench.session.lastFailure(), c.lang), c.text);
        const std::string message = cloneFailureMessage(c.mode, bench.session.lastFailure(), c.lang);
        EXPECT_EQ(message.substr(0, std::string_view(c.messageStart).size()), c.messageStart);
        EXPECT_EQ(message.empty(), !*c.messageStart);
    }
    EXPECT_EQ(cloneFailureText(Read, {false, 1}, Language::English), "the radio did not identify itself");
}
