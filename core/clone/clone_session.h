#pragma once

#include <bitset>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/compare/image_compare.h"
#include "core/image/radio_image.h"
#include "core/strings/strings.h"

namespace norvik {

// Bytes of the clone exchange.
namespace clone {
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kIdentRequest = 0x02;
inline constexpr std::uint8_t kRead = 0x52;
inline constexpr std::uint8_t kWrite = 0x57;
inline constexpr std::uint8_t kBlockLength = 0x10;
inline constexpr std::uint8_t kExit = 0x45;
inline constexpr char kHandshake[] = "PROGNRV"; // sent without its terminator
inline constexpr int kHandshakeLength = 7;
inline constexpr int kReadRows = 256;
inline constexpr int kWriteRows = 240;
inline constexpr int kIdentRow = 208; // the identification block mirrors this row (0x0D00)

inline constexpr int kReplyTimeoutMs = 800;
inline constexpr int kPauseMs = 20;
inline constexpr int kSendTickMs = 1;
inline constexpr int kReceiveBufferSize = 1024;

// The service link: the same exchange on the tuning rows only.
inline constexpr int kLinkFirstStep = 240; // its handshake; rows 240..255 are Steps 242..257
inline constexpr int kLinkFirstRow = 240;
inline constexpr int kLinkRows = 16;
inline constexpr int kLinkIdentByte = 6; // the one identification byte a link read keeps (0x0D06)
inline constexpr int kLinkReplyTimeoutMs = 500;
inline constexpr int kLinkRepeatLimit = 5; // repeats of a refused command before the link gives up
} // namespace clone

enum class CloneMode { Read, Write };

enum class CloneQuestion {
    IdentificationChanged, // OK goes on, Cancel stops before any write command
    RetryOrCancel,         // after a failure: Retry starts over, Cancel ends
};

enum class CloneOutcome {
    Completed,
    Failed,   // a failure the user did not retry
    Cancelled // the identification warning was declined; nothing was written
};

// What reading a write back found.
enum class Verification {
    NotAsked,  // no read-back was asked for, or the write did not complete
    Verified,  // rows 0..239 came back as they were sent
    Differs,   // the radio holds something else: differences() names it, readBack() has it
    NotChecked // the write completed but reading it back failed or was cancelled
};

// What a CloneSession asks of its host. Inputs triggered by these requests (pauseElapsed,
// replyTimerExpired, sendTick, answer, bytesReceived) must reach the session later, from the
// host's event loop, never from inside one of these calls.
class CloneHost {
public:
    virtual ~CloneHost() = default;
    virtual void send(std::span<const std::uint8_t> bytes) = 0;
    virtual void clearLineBuffers() = 0;
    virtual void setSendTimer(bool enabled) = 0; // ticks every kSendTickMs while enabled
    virtual void startReplyTimer(int ms) = 0;    // single shot; starting again replaces it
    virtual void stopReplyTimer() = 0;
    virtual void startPause(int ms) = 0; // answer with pauseElapsed()
    virtual void logCleared() = 0;
    virtual void logLineAppended(const std::string& line) = 0;
    virtual void progressChanged(int value, int maximum) = 0;
    virtual void statusChanged(const std::string& text) = 0;
    virtual void questionAsked(CloneQuestion question, const std::string& text) = 0; // answer with answer()
    virtual void finished(CloneOutcome outcome) = 0;
};

/*
 * Theory of operation.
 *
 * The program is the master of a half-duplex exchange: it sends one command, waits for one
 * reply of a known length (1, 16 or 20 bytes), checks it, and only then moves on. `Step` names
 * the exchange in progress (0 handshake, 1 identification, 2.. the block of row Step - 2);
 * `AckExpected` says whether the next command is answered by a single 0x06 or by data.
 * `SentStep` is the Step whose command is on the wire; the send tick sends whenever it differs
 * from Step, so accepting a reply only has to move Step or reset SentStep.
 *
 * Received bytes collect in a buffer of our own. Once it holds the expected length the reply
 * timer stops and, after a 20 ms pause, exactly that many bytes are taken; extra bytes stay for
 * the next reply. Junk before the handshake's 0x06 is skipped one byte at a time. Any other
 * rejected reply aborts; an abort, a time-out and the normal end all meet in one place, the
 * reply timer's expiry, which logs the outcome and either asks Retry/Cancel or closes with the
 * exit byte. Pauses are requests to the host, so no call here ever blocks.
 *
 * The session works on an image of its own, copied at the start: a write sends its rows, a read
 * stores the blocks into it as they arrive. Whoever started a read takes the image only when the
 * outcome is Completed, so a failed or cancelled read leaves nothing to put back.
 *
 * A write may be checked by reading it back. Once the write has ended as any write does (its exit
 * byte, then the closing exit byte and pause), the same machine runs a read of rows 0..239 on the
 * same line, handshake and identification included, into an image of its own that starts as a
 * copy of what was sent. Neither exchange changes on the wire: the read-back is a read that stops
 * after row 239. It has its own Retry/Cancel; whatever becomes of it, the write has completed,
 * and verification() says what was found. What differs is logged by name, one line each.
 *
 * The service link is the same machine started at Step 240: handshake, identification, then
 * rows 240..255 only, and the exit. It waits 500 ms for a reply instead of 800, and a wrong
 * acknowledge sends the same command again rather than aborting, at most kLinkRepeatLimit
 * times, after which the link fails into the Retry/Cancel question like any other failure; junk
 * before the handshake's acknowledge is skipped as above. A link read also keeps the
 * identification byte 0x0D06; takeLinkRead() copies what it brought. A link write may be read
 * back the same way as a clone write: a link read of rows 240..255 after the write's exit, each
 * row that came back otherwise named by its number.
 */
class CloneSession {
public:
    // The decimal separator is the one the differences a read-back finds are shown with.
    CloneSession(CloneHost& host, Language language, char decimalSeparator = '.');

    // Starts the exchange (the host has opened the line) on a copy of image; a write with
    // `verify` reads rows 0..239 back when it has completed (see above).
    void start(CloneMode mode, const RadioImage& image, bool verify = false);
    // The same for the service link (see above); `verify` reads rows 240..255 back.
    void startLink(CloneMode mode, const RadioImage& image, bool verify = false);

    // Inputs from the host.
    void bytesReceived(std::span<const std::uint8_t> bytes);
    void sendTick();
    void replyTimerExpired();
    void pauseElapsed();
    void answer(bool okOrRetry);
    // The user stops the transfer: no further command, and the radio is told to leave programming
    // mode as at any other end. Outcome Cancelled.
    void cancel();

    CloneMode mode() const { return m_mode; }
    bool isRunning() const { return m_running; }
    int step() const { return Step; }
    int expectedLength() const { return m_expectedLength; }
    int progressValue() const { return m_progress; }
    int progressMaximum() const {
        if (m_link)
            return clone::kLinkRows;
        return m_mode == CloneMode::Read ? clone::kReadRows : clone::kWriteRows;
    }
    const std::string& percentCaption() const { return m_percentCaption; }
    const std::string& status() const { return m_status; }
    // The Transfer Log: lines each ended by CR LF.
    const std::string& log() const { return m_log; }
    std::size_t bufferedBytes() const { return m_buffer.size(); }
    // The session's image: what a write sends, what a read has received so far over the copy it
    // started from.
    const RadioImage& image() const { return m_image; }
    // The rows stored since the exchange last started (a retry starts over).
    const std::bitset<kRowCount>& rowsReceived() const { return m_rowsReceived; }
    // True from the start of a write's read-back until the next start.
    bool verifying() const { return m_verifying; }
    Verification verification() const { return m_verification; }
    // What the read-back brought: rows 0..239 as the radio sent them over a copy of image().
    const RadioImage& readBack() const { return m_readBack; }
    // From what was sent to what came back: by name for a clone write, one run of bytes per
    // service row for a link write.
    const std::vector<ImageDifference>& differences() const { return m_differences; }
    // The same, one line each in the user's language, as the log lists them.
    const std::vector<std::string>& differenceLines() const { return m_differenceLines; }
    bool isLink() const { return m_link; }
    // The identification block the radio last answered with; empty until it has.
    const std::vector<std::uint8_t>& radioIdentification() const { return m_identification; }

    // How the latest failure came about: a reply that failed its check, or none in time, and the
    // Step it happened at (-1: no failure since the start).
    struct Failure {
        bool rejected = false;
        int step = -1;
    };
    const Failure& lastFailure() const { return m_failure; }

private:
    enum class Pause { None, Receive, AfterExit, Close };

    void sendCommand();
    void afterSend();
    void handleReply();
    void advanceProgress();
    void abort();
    void end();
    void close();
    void appendLog(int id);
    void appendLogText(const std::string& line);
    void setPercentCaption(const std::string& caption);
    void setStatus(int id);
    void setSendTimer(bool on);
    void checkBuffer();
    bool lastRowHandled() const;
    void begin(CloneMode mode, const RadioImage& image);
    void restart(bool clearLog);
    void beginVerify();
    void compareReadBack();
    bool reading() const { return m_mode == CloneMode::Read || m_verifying; }
    std::string percentCaption(int percent) const;
    int firstStep() const { return m_link ? clone::kLinkFirstStep : 0; }
    // The Step that sends the exit byte.
    int exitStep() const {
        if (m_link)
            return clone::kLinkFirstStep + clone::kLinkRows + 2;
        return (m_mode == CloneMode::Read ? clone::kReadRows : clone::kWriteRows) + 2;
    }
    int replyTimeout() const { return m_link ? clone::kLinkReplyTimeoutMs : clone::kReplyTimeoutMs; }
    std::string tr(int id) const { return textString(id, m_language); }

    CloneHost& m_host;
    Language m_language;
    char m_decimalSeparator;
    CloneMode m_mode = CloneMode::Read;
    RadioImage m_image;
    std::bitset<kRowCount> m_rowsReceived;

    // Where the exchange stands: Step 0 is the handshake, 1 the identification, 2.. the rows;
    // SentStep is the step whose command is out (kNothingSent: none, so the next tick sends);
    // AckExpected says whether that command is answered by a single acknowledge byte.
    static constexpr int kNothingSent = 500;
    int Step = 0;
    int SentStep = kNothingSent;
    bool AckExpected = true;
    bool TransferDone = false;
    bool TransferAborted = false;
    int m_expectedLength = 1;

    bool m_running = false;
    bool m_awaitingReply = false; // a command is on the wire and its reply not yet taken
    bool m_sendTimer = false;
    bool m_declined = false;
    bool m_exitSent = false;
    Pause m_pause = Pause::None;
    bool m_asking = false;
    CloneQuestion m_question = CloneQuestion::RetryOrCancel;
    CloneOutcome m_outcome = CloneOutcome::Completed;
    Failure m_failure;
    std::vector<std::uint8_t> m_buffer;
    std::vector<std::uint8_t> m_identification;
    int m_progress = 0;
    std::string m_percentCaption;
    std::string m_status;
    std::string m_log;
    bool m_link = false;
    int m_repeats = 0;         // times the command of this Step has been sent again
    bool m_verify = false;     // read the write back once it has completed
    bool m_verifying = false;  // the read-back is running
    bool m_verifyNext = false; // the write has completed; the read-back starts once it is closed
    Verification m_verification = Verification::NotAsked;
    RadioImage m_readBack;
    std::vector<ImageDifference> m_differences;
    std::vector<std::string> m_differenceLines;
};

// Percentage of value / maximum rounded to the nearest integer, halves to even.
int clonePercent(int value, int maximum);
// Whether value / maximum is one of the steps the progress caption moves by: every tenth percent.
bool isClonePercentStep(int value, int maximum);

// How a link read-back names a service row that came back otherwise: "row 243 (0x0F30–0x0F3F)".
std::string serviceRowText(int row, Language lang);

// What a completed link read brings into an image: the identification byte 0x0D06 and rows
// 240..255; nothing else is touched.
void takeLinkRead(const RadioImage& read, RadioImage& into);

} // namespace norvik
