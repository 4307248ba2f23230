#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <deque>
#include <functional>
#include <optional>
#include <random>
#include <sstream>

#include "clone/clone_session.h"
#include "clone/radio_simulator.h"
#include "image/band_limits.h"

using namespace norvik;

namespace {

enum class Delivery { Whole, ByteByByte, Paced };

std::string deliveryName(Delivery d) {
    switch (d) {
    case Delivery::Whole:
        return "whole";
    case Delivery::ByteByByte:
        return "byte_by_byte";
    case Delivery::Paced:
        return "paced";
    }
    return "?";
}

RadioImage randomImage(unsigned seed) {
    std::mt19937 rng(seed);
    RadioImage img;
    for (auto& b : img.bytes())
        b = static_cast<std::uint8_t>(rng());
    return img;
}

constexpr long long kMs = 1'000'000; // fake clock in nanoseconds

// Hosts a CloneSession against a RadioSimulator on a fake clock: timers, pauses and line time
// are events in simulated time, so nothing here waits for real.
class Bench : public CloneHost {
public:
    Bench(RadioImage& image, RadioSimulator& radio, Delivery delivery, Language lang = Language::English)
        : session(*this, image, lang), m_radio(radio), m_delivery(delivery) {}

    CloneSession session;
    std::vector<std::vector<std::uint8_t>> sent;
    std::vector<long long> sentAt;
    std::vector<std::string> logLines;
    std::vector<std::pair<int, int>> progress;
    std::vector<std::string> statuses;
    std::vector<CloneQuestion> questions;
    std::vector<long long> questionAt;
    std::deque<bool> answers; // given in order; a question with no answer left is cancelled
    std::optional<CloneOutcome> outcome;
    long long now = 0;
    bool radioOff = false;
    // Called when a question comes, before it is answered (to look at the state then).
    std::function<void()> onQuestion;
    // The user's Cancel, given from the event loop once the progress reaches this value.
    std::optional<int> cancelAtProgress;
    bool cancelGiven = false;

    CloneOutcome run(CloneMode mode) {
        session.start(mode);
        while (!outcome) {
            if (now > 600'000 * kMs) {
                ADD_FAILURE() << "transfer never ended";
                break;
            }
            step();
        }
        return outcome.value_or(CloneOutcome::Failed);
    }

    // Commands of one kind in the order sent.
    std::vector<std::vector<std::uint8_t>> commands(std::uint8_t op) const {
        std::vector<std::vector<std::uint8_t>> out;
        for (const auto& c : sent)
            if ((c.size() == 4 || c.size() == 20) && c[0] == op)
                out.push_back(c);
        return out;
    }

    // CloneHost
    void send(std::span<const std::uint8_t> bytes) override {
        sent.emplace_back(bytes.begin(), bytes.end());
        sentAt.push_back(now);
        if (radioOff)
            return;
        const bool paced = m_delivery == Delivery::Paced;
        long long t = std::max(now, m_txFree);
        if (paced)
            t += RadioSimulator::lineTimeNs(static_cast<long long>(bytes.size()));
        m_txFree = t;
        const auto reply = m_radio.receive(bytes);
        for (std::size_t i = 0; i < reply.size(); ++i) {
            const long long at = paced ? std::max(t, m_rxFree) + RadioSimulator::byteTimeNs() : t;
            m_rxFree = at;
            t = at;
            if (m_delivery == Delivery::Whole && !m_arrivals.empty() && m_arrivals.back().first == at)
                m_arrivals.back().second.push_back(reply[i]);
            else
                m_arrivals.push_back({at, {reply[i]}});
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
        if (cancelAtProgress && !cancelGiven && !progress.empty() && progress.back().first >= *cancelAtProgress) {
            cancelGiven = true;
            session.cancel();
            return;
        }
        if (m_questionPending) {
            m_questionPending = false;
            if (onQuestion)
                onQuestion();
            bool a = false;
            if (!answers.empty()) {
                a = answers.front();
                answers.pop_front();
            }
            session.answer(a);
            return;
        }
        long long next = LLONG_MAX;
        if (!m_arrivals.empty())
            next = std::min(next, m_arrivals.front().first);
        for (const auto& t : {m_pause, m_reply, m_tick})
            if (t)
                next = std::min(next, *t);
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

    RadioSimulator& m_radio;
    Delivery m_delivery;
    long long m_txFree = 0;
    long long m_rxFree = 0;
    std::deque<std::pair<long long, std::vector<std::uint8_t>>> m_arrivals;
    std::optional<long long> m_tick, m_reply, m_pause;
    bool m_questionPending = false;
};

std::vector<std::string> progressLines(const std::string& stem) {
    std::vector<std::string> out;
    for (int p = 0; p <= 100; p += 10)
        out.push_back(stem + std::to_string(p) + "%");
    return out;
}

class CloneExchange : public ::testing::TestWithParam<Delivery> {};

} // namespace

TEST(ClonePercent, RoundsHalvesToEven) {
    struct Case {
        int value, maximum, percent;
    } cases[] = {{0, 256, 0},    {1, 256, 0},   {32, 256, 12}, {96, 256, 38},   {160, 256, 62},
                 {224, 256, 88}, {23, 240, 10}, {25, 240, 10}, {239, 240, 100}, {256, 256, 100}};
    for (const auto& c : cases)
        EXPECT_EQ(clonePercent(c.value, c.maximum), c.percent) << c.value << "/" << c.maximum;
}

TEST_P(CloneExchange, ReadCopiesTheWholeMemoryInOrder) {
    RadioSimulator radio(randomImage(1));
    RadioImage image = randomImage(2);
    Bench bench(image, radio, GetParam());
    ASSERT_EQ(bench.run(CloneMode::Read), CloneOutcome::Completed);

    EXPECT_EQ(image, radio.memory());
    const auto reads = bench.commands(clone::kRead);
    ASSERT_EQ(reads.size(), 256u);
    for (int r = 0; r < 256; ++r)
        ASSERT_EQ(reads[r], (std::vector<std::uint8_t>{0x52, std::uint8_t(r >> 4), std::uint8_t((r & 15) << 4), 0x10}));
    EXPECT_EQ(reads.back(), (std::vector<std::uint8_t>{0x52, 0x0F, 0xF0, 0x10}));
    EXPECT_TRUE(bench.commands(clone::kWrite).empty());
    // The handshake comes first, and the exit byte goes out twice: at the end and on closing.
    EXPECT_EQ(bench.sent.front(), (std::vector<std::uint8_t>{'P', 'R', 'O', 'G', 'N', 'R', 'V'}));
    EXPECT_EQ(radio.exitBytes(), 2);
    EXPECT_EQ(bench.progress.back(), std::make_pair(256, 256));

    std::vector<std::string> expected = {"Opening Port...", "Transfering data blocks..."};
    for (const auto& l : progressLines("Completion percentage"))
        expected.push_back(l);
    expected.push_back("Reading completed!");
    expected.push_back("Port Closed.");
    EXPECT_EQ(bench.logLines, expected);
    std::string joined;
    for (const auto& l : expected)
        joined += l + "\r\n";
    EXPECT_EQ(bench.session.log(), joined);
    EXPECT_EQ(bench.session.status(), "Complete.");
    EXPECT_EQ(bench.statuses.front(), "Transfering...");
}

TEST_P(CloneExchange, WriteSendsRowsUpTo239Only) {
    RadioImage image = randomImage(3);
    RadioImage original = randomImage(4);
    original.setRow(clone::kIdentRow, image.row(clone::kIdentRow));
    RadioSimulator radio(original);
    Bench bench(image, radio, GetParam());
    ASSERT_EQ(bench.run(CloneMode::Write), CloneOutcome::Completed);

    const auto writes = bench.commands(clone::kWrite);
    ASSERT_EQ(writes.size(), 240u);
    EXPECT_EQ(radio.writeCommands(), 240);
    EXPECT_EQ(radio.readCommands(), 0);
    std::vector<std::uint8_t> last = {0x57, 0x0E, 0xF0, 0x10};
    const Row row239 = image.row(239);
    last.insert(last.end(), row239.begin(), row239.end());
    EXPECT_EQ(writes.back(), last);
    for (int a = 0; a < kImageSize; ++a)
        ASSERT_EQ(radio.memory().at(a), a < 0xF00 ? image.at(a) : original.at(a)) << "address " << a;
    EXPECT_TRUE(bench.questions.empty());

    std::vector<std::string> expected = {"Opening Port...", "Transfering data blocks..."};
    for (const auto& l : progressLines("Completion percentage"))
        expected.push_back(l);
    expected.push_back("Writing completed!");
    expected.push_back("Port Closed.");
    EXPECT_EQ(bench.logLines, expected);
    // The 100% caption comes with the acknowledge of the last write.
    EXPECT_EQ(bench.progress.back(), std::make_pair(240, 240));
}

TEST_P(CloneExchange, ChineseTextsInTheLog) {
    RadioSimulator radio(randomImage(5));
    RadioImage image;
    Bench bench(image, radio, GetParam(), Language::Chinese);
    ASSERT_EQ(bench.run(CloneMode::Read), CloneOutcome::Completed);
    ASSERT_EQ(bench.logLines.size(), 15u);
    EXPECT_EQ(bench.logLines[0], "打开端口");
    EXPECT_EQ(bench.logLines[2], "完成进度0%");
    EXPECT_EQ(bench.logLines[6], "完成进度40%");
    EXPECT_EQ(bench.logLines[13], "成功读完！");
    EXPECT_EQ(bench.session.status(), "连机完成。");
}

namespace {

struct FaultCase {
    const char* name;
    CloneMode mode;
    SimulatorFaults faults;
    std::deque<bool> answers;
    CloneOutcome outcome;
    bool timesOut;         // the failure waits out the 800 ms reply timer
    int progressAtFailure; // blocks accepted before the first failure (-1: no failure)
};

std::vector<FaultCase> faultCases() {
    std::vector<FaultCase> c;
    {
        SimulatorFaults f;
        f.junkBeforeHandshakeAck = {'P', 'R', 'O', 'G', 'N', 'R', 'V', 0x00, 0xFF, 0x15};
        c.push_back(
            {"junk_before_handshake_ack_still_connects", CloneMode::Read, f, {}, CloneOutcome::Completed, false, -1});
    }
    {
        SimulatorFaults f;
        f.silentAt = 0x500;
        c.push_back({"silence_times_out", CloneMode::Read, f, {false}, CloneOutcome::Failed, true, 0x50});
    }
    {
        SimulatorFaults f;
        f.shortReplyAt = 0x0A0;
        c.push_back({"reply_of_19_bytes_times_out", CloneMode::Read, f, {false}, CloneOutcome::Failed, true, 0x0A});
    }
    {
        SimulatorFaults f;
        f.longReplyAt = 0x0A0;
        // The block is taken whole; the 21st byte is then read as the acknowledge and rejected.
        c.push_back(
            {"reply_of_21_bytes_leaves_a_byte", CloneMode::Read, f, {false}, CloneOutcome::Failed, false, 0x0B});
    }
    {
        SimulatorFaults f;
        f.refuseWriteAt = 0x300;
        c.push_back({"refused_write_aborts", CloneMode::Write, f, {false}, CloneOutcome::Failed, false, 0x30});
    }
    {
        SimulatorFaults f;
        f.deadFrom = 0x800;
        c.push_back(
            {"dead_line_fails_every_retry", CloneMode::Read, f, {true, false}, CloneOutcome::Failed, true, 0x80});
    }
    {
        SimulatorFaults f;
        f.silentAt = 0x7F0;
        f.once = true;
        c.push_back({"retry_after_silence_completes", CloneMode::Read, f, {true}, CloneOutcome::Completed, true, 0x7F});
    }
    {
        SimulatorFaults f;
        f.refuseWriteAt = 0x100;
        f.once = true;
        c.push_back(
            {"retry_after_refused_write_completes", CloneMode::Write, f, {true}, CloneOutcome::Completed, false, 0x10});
    }
    return c;
}

class CloneFaults : public ::testing::TestWithParam<std::tuple<FaultCase, Delivery>> {};

} // namespace

TEST_P(CloneFaults, OutcomeAndImage) {
    const auto& [fc, delivery] = GetParam();
    const RadioImage radioStart = randomImage(10);
    RadioImage image = randomImage(11);
    image.setRow(clone::kIdentRow, radioStart.row(clone::kIdentRow));
    const RadioImage imageStart = image;
    RadioSimulator radio(radioStart, fc.faults);
    Bench bench(image, radio, delivery);
    bench.answers = fc.answers;
    int progressAtQuestion = -1;
    std::string logAtQuestion;
    bench.onQuestion = [&] {
        if (progressAtQuestion < 0)
            progressAtQuestion = bench.session.progressValue();
        if (logAtQuestion.empty())
            logAtQuestion = bench.session.log();
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
        if (fc.timesOut)
            EXPECT_GE(waited, 800 * kMs);
        else
            EXPECT_LT(waited, 100 * kMs);
    }

    const bool read = fc.mode == CloneMode::Read;
    if (fc.outcome == CloneOutcome::Completed) {
        if (read) {
            EXPECT_EQ(image, radio.memory());
        } else {
            for (int a = 0; a < 0xF00; ++a)
                ASSERT_EQ(radio.memory().at(a), image.at(a));
        }
        EXPECT_EQ(bench.session.status(), "Complete.");
    } else {
        // A failed read puts the image back as it was before the read.
        EXPECT_EQ(image, imageStart);
        EXPECT_EQ(bench.session.status(), "Error!");
        if (read) {
            EXPECT_EQ(bench.logLines.back(), "Reading cancelled: the data held before the read has been put back.");
        }
    }

    if (std::count(fc.answers.begin(), fc.answers.end(), true) > 0) {
        // A retry starts over from the handshake at address 0 with the progress from 0.
        const auto handshakes = std::count_if(bench.sent.begin(), bench.sent.end(),
                                              [](const auto& c) { return c.size() == 7 && c[0] == 'P'; });
        EXPECT_EQ(handshakes, 1 + std::count(fc.answers.begin(), fc.answers.end(), true));
        std::size_t retryAt = 1;
        while (!(bench.sent[retryAt].size() == 7 && bench.sent[retryAt][0] == 'P'))
            ++retryAt;
        for (std::size_t i = retryAt; i < bench.sent.size(); ++i) {
            if (bench.sent[i].size() >= 4 && (bench.sent[i][0] == 0x52 || bench.sent[i][0] == 0x57)) {
                EXPECT_EQ(bench.sent[i][1], 0);
                EXPECT_EQ(bench.sent[i][2], 0);
                break;
            }
        }
        const auto zero = std::find(bench.progress.begin() + 1, bench.progress.end(),
                                    std::make_pair(0, bench.session.progressMaximum()));
        EXPECT_NE(zero, bench.progress.end());
        if (fc.outcome == CloneOutcome::Completed) {
            EXPECT_EQ(bench.logLines.front(), "Opening Port...") << "the log is cleared on retry";
            EXPECT_EQ(bench.logLines.size(), 15u);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllDeliveries, CloneExchange,
                         ::testing::Values(Delivery::Whole, Delivery::ByteByByte, Delivery::Paced),
                         [](const auto& info) { return deliveryName(info.param); });

INSTANTIATE_TEST_SUITE_P(AllDeliveries, CloneFaults,
                         ::testing::Combine(::testing::ValuesIn(faultCases()),
                                            ::testing::Values(Delivery::Whole, Delivery::ByteByByte, Delivery::Paced)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    deliveryName(std::get<1>(info.param));
                         });

TEST(CloneIdentification, DecliningTheWarningWritesNothingAndSaysCancelled) {
    for (Delivery d : {Delivery::Whole, Delivery::ByteByByte}) {
        RadioImage image = randomImage(20);
        SimulatorFaults f;
        Row other{};
        other.fill(0x11);
        f.identification = other;
        const RadioImage radioStart = randomImage(21);
        RadioSimulator radio(radioStart, f);
        Bench bench(image, radio, d);
        bench.answers = {false};
        EXPECT_EQ(bench.run(CloneMode::Write), CloneOutcome::Cancelled);
        ASSERT_EQ(bench.questions, std::vector<CloneQuestion>{CloneQuestion::IdentificationChanged});
        EXPECT_EQ(radio.writeCommands(), 0);
        EXPECT_EQ(radio.memory(), radioStart);
        EXPECT_EQ(bench.logLines.end()[-2], "Writing cancelled: nothing was written to the radio.");
        EXPECT_EQ(bench.logLines.back(), "Port Closed.");
        EXPECT_EQ(bench.session.status(), "Cancelled.");
        EXPECT_EQ(std::find(bench.logLines.begin(), bench.logLines.end(), "Writing completed!"), bench.logLines.end());
    }
}

TEST(CloneIdentification, AcceptingTheWarningWritesEverything) {
    RadioImage image = randomImage(22);
    SimulatorFaults f;
    Row other = image.row(clone::kIdentRow);
    other[15] ^= 0xFF; // only the last byte differs: every byte is compared up to the first difference
    f.identification = other;
    RadioSimulator radio(randomImage(23), f);
    Bench bench(image, radio, Delivery::ByteByByte);
    bench.answers = {true};
    EXPECT_EQ(bench.run(CloneMode::Write), CloneOutcome::Completed);
    EXPECT_EQ(bench.questions.size(), 1u);
    EXPECT_EQ(radio.writeCommands(), 240);
    EXPECT_EQ(bench.logLines.end()[-2], "Writing completed!");
}

TEST(CloneHandshake, NoRadioTimesOutAfter800msAndCancelKeepsTheImage) {
    RadioImage image = randomImage(30);
    const RadioImage before = image;
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
    EXPECT_EQ(image, before);
    // Closing still tells the radio to leave programming mode.
    EXPECT_EQ(bench.sent.back(), std::vector<std::uint8_t>{0x45});
}

TEST(CloneCancel, StopsAtOnceAndSaysWhatTheRadioHolds) {
    struct Case {
        CloneMode mode;
        int cancelAt;
        const char* logLine;
    };
    const Case cases[] = {
        {CloneMode::Read, 100, "Reading cancelled: the data held before the read has been put back."},
        {CloneMode::Read, 0, "Reading cancelled: the data held before the read has been put back."},
        {CloneMode::Write, 50,
         "Writing stopped: the radio holds only the rows written so far. Write again before using it."},
        {CloneMode::Write, 0, "Writing cancelled: nothing was written to the radio."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.cancelAt));
        RadioImage image = randomImage(40);
        const RadioImage before = image;
        const RadioImage radioStart = randomImage(41);
        Row ident = image.row(clone::kIdentRow);
        RadioImage radioMemory = radioStart;
        radioMemory.setRow(clone::kIdentRow, ident); // no identification warning on the write
        RadioSimulator radio(radioMemory);
        Bench bench(image, radio, Delivery::Paced);
        bench.cancelAtProgress = c.cancelAt;
        EXPECT_EQ(bench.run(c.mode), CloneOutcome::Cancelled);
        EXPECT_TRUE(bench.questions.empty());
        EXPECT_EQ(bench.logLines.end()[-2], c.logLine);
        EXPECT_EQ(bench.logLines.back(), "Port Closed.");
        EXPECT_EQ(bench.session.status(), "Cancelled.");
        EXPECT_EQ(bench.sent.back(), std::vector<std::uint8_t>{clone::kExit});
        EXPECT_FALSE(bench.session.isRunning());
        if (c.mode == CloneMode::Read) {
            EXPECT_EQ(image, before);
            EXPECT_LE(radio.readCommands(), c.cancelAt + 1);
        } else {
            EXPECT_EQ(radio.writeCommands(), c.cancelAt);
            for (int r = 0; r < 240; ++r)
                EXPECT_EQ(radio.memory().row(r),
                          r < c.cancelAt || r == clone::kIdentRow ? image.row(r) : radioMemory.row(r))
                    << "row " << r;
        }
    }
}
