#include "core/clone/clone_session.h"

#include <algorithm>
#include <cstdio>

#include "core/strings/string_ids.h"

namespace norvik {

int clonePercent(int value, int maximum) {
    if (maximum <= 0)
        return 0;
    const long long num = static_cast<long long>(value) * 100;
    long long q = num / maximum;
    const long long twiceRem = (num % maximum) * 2;
    if (twiceRem > maximum || (twiceRem == maximum && q % 2 != 0))
        ++q;
    return static_cast<int>(q);
}

bool isClonePercentStep(int value, int maximum) {
    return clonePercent(value, maximum) % 10 == 0;
}

void takeLinkRead(const RadioImage& read, RadioImage& into) {
    const int ident = RadioImage::address(clone::kIdentRow, clone::kLinkIdentByte);
    into.set(ident, read.at(ident));
    for (int r = clone::kLinkFirstRow; r < clone::kLinkFirstRow + clone::kLinkRows; ++r)
        into.setRow(r, read.row(r));
}

CloneSession::CloneSession(CloneHost& host, Language language, char decimalSeparator)
    : m_host(host), m_language(language), m_decimalSeparator(decimalSeparator) {}

void CloneSession::start(CloneMode mode, const RadioImage& image, bool verify) {
    m_link = false;
    begin(mode, image);
    m_verify = verify && mode == CloneMode::Write;
}

void CloneSession::startLink(CloneMode mode, const RadioImage& image, bool verify) {
    m_link = true;
    begin(mode, image);
    m_verify = verify && mode == CloneMode::Write;
}

void CloneSession::begin(CloneMode mode, const RadioImage& image) {
    m_mode = mode;
    m_running = true;
    m_image = image;
    m_outcome = CloneOutcome::Completed;
    m_failure = {};
    m_identification.clear();
    m_declined = false;
    m_asking = false;
    m_pause = Pause::None;
    TransferDone = false;
    m_verify = false;
    m_verifying = false;
    m_verifyNext = false;
    m_verification = Verification::NotAsked;
    m_differences.clear();
    m_differenceLines.clear();
    restart(true);
}

// The read-back goes on in the same log: what the write did stays in view.
void CloneSession::beginVerify() {
    m_verifying = true;
    m_readBack = m_image;
    restart(false);
}

// The common part of a start, a retry and the read-back: everything from "PROGNRV" again,
// progress from 0.
void CloneSession::restart(bool clearLog) {
    m_progress = 0;
    m_host.progressChanged(0, progressMaximum());
    // The caption's echo in the log would be wiped by the clearing below at once.
    m_percentCaption = m_verifying ? percentCaption(0) : tr(ids::CompletionPercentage) + ":  0%";
    m_buffer.clear();
    m_rowsReceived.reset();
    m_host.clearLineBuffers();
    Step = firstStep();
    m_repeats = 0;
    SentStep = kNothingSent;
    AckExpected = true;
    TransferDone = false;
    TransferAborted = false;
    m_awaitingReply = false;
    m_exitSent = false;
    m_expectedLength = 1;
    setSendTimer(true);
    if (clearLog) {
        m_log.clear();
        m_host.logCleared();
    }
    if (m_verifying)
        appendLog(m_link ? ids::LogLinkVerifyStart : ids::LogVerifyStart);
}

std::string CloneSession::percentCaption(int percent) const {
    if (!m_verifying)
        return tr(ids::CompletionPercentage) + std::to_string(percent) + "%";
    std::string caption = tr(ids::VerifyPercent);
    caption.replace(caption.find("%1"), 2, std::to_string(percent));
    return caption;
}

void CloneSession::setSendTimer(bool on) {
    if (m_sendTimer == on)
        return;
    m_sendTimer = on;
    m_host.setSendTimer(on);
}

bool CloneSession::lastRowHandled() const {
    return Step >= exitStep();
}

void CloneSession::sendTick() {
    if (!m_running || !m_sendTimer || m_pause != Pause::None || m_asking)
        return;
    if (SentStep == Step)
        return;
    setSendTimer(false);
    sendCommand();
}

void CloneSession::sendCommand() {
    std::vector<std::uint8_t> cmd;
    const bool reading = this->reading();
    const auto blockCommand = [&](std::uint8_t op, int row) {
        const int address = row * kRowSize;
        cmd = {op, static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF),
               clone::kBlockLength};
    };
    if (AckExpected) {
        if (Step == firstStep()) {
            cmd.assign(clone::kHandshake, clone::kHandshake + clone::kHandshakeLength);
            if (m_repeats == 0 && !m_verifying) {
                appendLog(ids::LogOpeningPort);
                appendLog(ids::LogTransferringBlocks);
            }
        } else if (!reading && Step >= firstStep() + 2 && Step < exitStep()) {
            blockCommand(clone::kWrite, Step - 2);
            const Row row = m_image.row(Step - 2);
            cmd.insert(cmd.end(), row.begin(), row.end());
        } else if (Step == exitStep()) {
            cmd = {clone::kExit};
            m_exitSent = true;
        } else {
            cmd = {clone::kAck};
        }
        m_expectedLength = 1;
    } else if (Step == firstStep() + 1) {
        cmd = {clone::kIdentRequest};
        m_expectedLength = kRowSize;
    } else {
        blockCommand(clone::kRead, Step - 2);
        m_expectedLength = kRowSize + 4;
    }
    m_host.send(cmd);
    if (m_exitSent) {
        m_pause = Pause::AfterExit;
        m_host.startPause(clone::kPauseMs);
        return;
    }
    afterSend();
}

void CloneSession::afterSend() {
    setStatus(m_verifying ? ids::StatusVerifying : ids::StatusTransferring);
    setSendTimer(true);
    SentStep = Step;
    if (m_exitSent) {
        // The radio does not answer the exit byte: the end is handled by the reply timer at once.
        setSendTimer(false);
        m_awaitingReply = false;
        TransferDone = true;
        m_host.startReplyTimer(1);
        return;
    }
    m_awaitingReply = true;
    m_host.startReplyTimer(replyTimeout());
    checkBuffer();
}

void CloneSession::bytesReceived(std::span<const std::uint8_t> bytes) {
    if (!m_running)
        return;
    // A full receive buffer drops what does not fit, as a serial port's would.
    const std::size_t room =
        clone::kReceiveBufferSize - std::min<std::size_t>(m_buffer.size(), clone::kReceiveBufferSize);
    m_buffer.insert(m_buffer.end(), bytes.begin(),
                    bytes.begin() + static_cast<std::ptrdiff_t>(std::min(room, bytes.size())));
    if (TransferAborted)
        return;
    checkBuffer();
}

// The receive notification: raised once the reply's length is buffered.
void CloneSession::checkBuffer() {
    if (m_pause != Pause::None || m_asking || !m_awaitingReply || TransferAborted)
        return;
    if (m_buffer.size() < static_cast<std::size_t>(m_expectedLength))
        return;
    m_host.stopReplyTimer();
    m_pause = Pause::Receive;
    m_host.startPause(clone::kPauseMs);
}

void CloneSession::pauseElapsed() {
    const Pause pause = m_pause;
    m_pause = Pause::None;
    switch (pause) {
    case Pause::None:
        break;
    case Pause::Receive:
        if (!TransferAborted)
            handleReply();
        break;
    case Pause::AfterExit:
        afterSend();
        break;
    case Pause::Close:
        if (m_verifyNext) {
            m_verifyNext = false;
            beginVerify();
            break;
        }
        m_running = false;
        setSendTimer(false);
        m_host.finished(m_outcome);
        break;
    }
}

void CloneSession::handleReply() {
    const std::size_t n = std::min(m_buffer.size(), static_cast<std::size_t>(m_expectedLength));
    const std::vector<std::uint8_t> reply(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(n));
    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(n));
    m_awaitingReply = false;
    const bool reading = this->reading();

    if (AckExpected) {
        if (reply.size() == 1 && reply[0] == clone::kAck) {
            AckExpected = false;
            if (!reading) {
                if (Step > firstStep())
                    AckExpected = true;
                if (Step >= firstStep() + 2 && Step < exitStep())
                    advanceProgress();
            } else if (Step == exitStep() - 1) {
                AckExpected = true;
            }
            ++Step;
            m_repeats = 0;
        } else if (Step == firstStep()) {
            // Echo or noise before the handshake's acknowledge: skip it and keep waiting. The link
            // too: a noisy line is no refusal.
            m_awaitingReply = true;
            m_host.startReplyTimer(replyTimeout());
            checkBuffer();
            return;
        } else if (m_link) {
            // The link sends a refused command again, but a radio that keeps refusing must not
            // hold it forever.
            if (m_repeats >= clone::kLinkRepeatLimit) {
                std::string line = tr(ids::LinkRefused);
                line.replace(line.find("%1"), 2, std::to_string(clone::kLinkRepeatLimit + 1));
                appendLogText(line);
                abort();
                return;
            }
            ++m_repeats;
            SentStep = kNothingSent;
            return;
        } else {
            abort();
            return;
        }
    } else if (Step == firstStep() + 1) {
        if (reply.size() != static_cast<std::size_t>(kRowSize)) {
            abort();
            return;
        }
        m_identification.assign(reply.begin(), reply.begin() + kRowSize);
        if (!reading) {
            const Row ours = m_image.row(clone::kIdentRow);
            if (!std::equal(ours.begin(), ours.end(), reply.begin())) {
                m_asking = true;
                m_question = CloneQuestion::IdentificationChanged;
                m_host.questionAsked(m_question, tr(ids::FrequencyRangeChanged));
                return;
            }
        } else if (m_link) {
            (m_verifying ? m_readBack : m_image)
                .setByte(clone::kIdentRow, clone::kLinkIdentByte, reply[clone::kLinkIdentByte]);
        }
        AckExpected = true;
    } else {
        if (reply.size() != static_cast<std::size_t>(kRowSize + 4)) {
            abort();
            return;
        }
        (m_verifying ? m_readBack : m_image)
            .setRow(Step - 2, std::span<const std::uint8_t, kRowSize>(reply.data() + 4, kRowSize));
        m_rowsReceived.set(static_cast<std::size_t>(Step - 2));
        advanceProgress();
        AckExpected = true;
    }
    if (!lastRowHandled())
        SentStep = kNothingSent;
}

void CloneSession::answer(bool okOrRetry) {
    if (!m_asking)
        return;
    m_asking = false;
    if (m_question == CloneQuestion::IdentificationChanged) {
        if (okOrRetry) {
            AckExpected = true;
            SentStep = kNothingSent;
        } else {
            TransferDone = true;
            m_declined = true;
            abort();
        }
        return;
    }
    if (okOrRetry) {
        restart(!m_verifying); // a read-back tried again keeps the write's lines in view
    } else if (m_verifying) {
        // The write went through; only the check of it did not.
        m_outcome = CloneOutcome::Completed;
        m_verification = Verification::NotChecked;
        appendLog(ids::LogNotChecked);
        close();
    } else {
        m_outcome = CloneOutcome::Failed;
        if (m_mode == CloneMode::Read)
            appendLog(ids::ReadingCancelled);
        close();
    }
}

void CloneSession::cancel() {
    if (!m_running || m_pause == Pause::Close)
        return;
    if (m_asking) {
        answer(false);
        return;
    }
    m_host.stopReplyTimer();
    setSendTimer(false);
    m_awaitingReply = false;
    TransferAborted = false;
    m_outcome = CloneOutcome::Cancelled;
    if (m_verifying) {
        m_outcome = CloneOutcome::Completed;
        m_verification = Verification::NotChecked;
        appendLog(ids::LogNotChecked);
    } else if (m_mode == CloneMode::Read) {
        appendLog(ids::ReadingCancelled);
    } else {
        // Rows already acknowledged are in the radio; only an untouched radio is "nothing written".
        appendLog(m_progress > 0 ? ids::WritingStopped : ids::WritingCancelled);
    }
    appendLog(ids::LogPortClosed);
    setStatus(ids::StatusCancelled);
    close();
}

void CloneSession::advanceProgress() {
    ++m_progress;
    m_host.progressChanged(m_progress, progressMaximum());
    if (isClonePercentStep(m_progress, progressMaximum()))
        setPercentCaption(percentCaption(clonePercent(m_progress, progressMaximum())));
}

void CloneSession::abort() {
    TransferAborted = true;
    m_awaitingReply = false;
    setSendTimer(false);
    m_host.startReplyTimer(1);
}

void CloneSession::replyTimerExpired() {
    // A reply being taken has already stopped the timer; a late expiry must not fail it.
    if (!m_running || m_asking || m_pause != Pause::None)
        return;
    end();
}

// Time-out, abort and normal end all arrive here.
void CloneSession::end() {
    m_host.stopReplyTimer();
    const bool rejected = TransferAborted;
    TransferAborted = false;
    m_awaitingReply = false;
    setSendTimer(false);
    if (!TransferDone) {
        m_failure = {rejected, Step};
        appendLog(ids::LogTimeout);
        appendLog(ids::LogPortClosed);
        setStatus(ids::StatusError);
        m_asking = true;
        m_question = CloneQuestion::RetryOrCancel;
        m_host.questionAsked(m_question, tr(ids::RetryQuestion));
        return;
    }
    if (m_declined) {
        appendLog(ids::WritingCancelled);
        appendLog(ids::LogPortClosed);
        setStatus(ids::StatusCancelled);
        m_outcome = CloneOutcome::Cancelled;
    } else if (m_verify && !m_verifying) {
        // The line stays open for the read-back, which starts once the write is closed.
        appendLog(ids::WritingCompleted);
        m_verifyNext = true;
    } else if (m_verifying) {
        compareReadBack();
        const bool same = m_verification == Verification::Verified;
        appendLog(same ? ids::Verified : ids::LogNotVerified);
        for (const std::string& line : m_differenceLines)
            appendLogText("  " + line);
        appendLog(ids::LogPortClosed);
        setStatus(same ? ids::Verified : ids::StatusNotVerified);
        m_outcome = CloneOutcome::Completed;
    } else {
        appendLog(m_mode == CloneMode::Read ? ids::ReadingCompleted : ids::WritingCompleted);
        appendLog(ids::LogPortClosed);
        setStatus(ids::StatusComplete);
        m_outcome = CloneOutcome::Completed;
    }
    close();
}

// A write's read-back against what was sent. The clone's rows 240..255 were copied from what was
// sent, so the whole images compare, named as the windows name them. The link's read-back brings
// only rows 240..255 (and an identification byte the write never sends), which have no names of
// their own: each differing row is named by its number and addresses.
void CloneSession::compareReadBack() {
    m_differences.clear();
    m_differenceLines.clear();
    if (m_link) {
        for (int r = clone::kLinkFirstRow; r < clone::kLinkFirstRow + clone::kLinkRows; ++r) {
            if (m_readBack.row(r) == m_image.row(r))
                continue;
            ImageDifference d;
            d.first = RadioImage::address(r, 0);
            d.last = RadioImage::address(r, kRowSize - 1);
            m_differences.push_back(d);
            m_differenceLines.push_back(serviceRowText(r, m_language));
        }
    } else {
        m_differences = compareImages(m_image, m_readBack, m_language, m_decimalSeparator);
        for (const ImageDifference& d : m_differences)
            m_differenceLines.push_back(differenceText(d, m_language));
    }
    const bool same = m_link ? m_differences.empty() : m_readBack == m_image;
    m_verification = same ? Verification::Verified : Verification::Differs;
}

std::string serviceRowText(int row, Language lang) {
    char first[8], last[8];
    std::snprintf(first, sizeof first, "0x%04X", RadioImage::address(row, 0));
    std::snprintf(last, sizeof last, "0x%04X", RadioImage::address(row, kRowSize - 1));
    std::string text = textString(ids::DiffServiceRow, lang);
    const std::string values[] = {std::to_string(row), first, last};
    for (int i = 0; i < 3; ++i)
        if (const auto at = text.find("%" + std::to_string(i + 1)); at != std::string::npos)
            text.replace(at, 2, values[i]);
    return text;
}

// Whatever the outcome the radio is told to leave programming mode once more; the link only when
// its exchange did not end with the exit byte already.
void CloneSession::close() {
    m_buffer.clear();
    m_host.clearLineBuffers();
    const std::uint8_t exitByte = clone::kExit;
    if (!m_link || !m_exitSent)
        m_host.send(std::span<const std::uint8_t>(&exitByte, 1));
    m_pause = Pause::Close;
    m_host.startPause(clone::kPauseMs);
}

void CloneSession::appendLog(int id) {
    appendLogText(tr(id));
}

void CloneSession::appendLogText(const std::string& line) {
    m_log += line;
    m_log += "\r\n";
    m_host.logLineAppended(line);
}

// The progress caption is echoed into the log whenever its text changes.
void CloneSession::setPercentCaption(const std::string& caption) {
    if (caption == m_percentCaption)
        return;
    m_percentCaption = caption;
    appendLogText(caption);
}

void CloneSession::setStatus(int id) {
    std::string text = tr(id);
    if (text == m_status)
        return;
    m_status = std::move(text);
    m_host.statusChanged(m_status);
}

} // namespace norvik
