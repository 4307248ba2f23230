#include "core/clone/clone_failure.h"

#include <cstdio>

#include "core/strings/string_ids.h"

namespace norvik {

namespace {

std::string withAddress(int id, const CloneSession::Failure& failure, Language lang) {
    char address[16];
    std::snprintf(address, sizeof address, "0x%04X", (failure.step - 2) * kRowSize);
    std::string text = textString(id, lang);
    if (const auto at = text.find("%1"); at != std::string::npos)
        text.replace(at, 2, address);
    return text;
}

} // namespace

std::string cloneFailureText(CloneMode mode, const CloneSession::Failure& failure, Language lang) {
    if (failure.step < 0)
        return {};
    if (failure.step == 0)
        return textString(ids::FailureNoAnswer, lang);
    if (failure.step == 1)
        return textString(ids::FailureNoIdentification, lang);
    const int id = !failure.rejected          ? ids::FailureNoAnswerAt
                   : mode == CloneMode::Write ? ids::FailureRefusedWrite
                                              : ids::FailureWrongAnswer;
    return withAddress(id, failure, lang);
}

std::string cloneFailureMessage(CloneMode mode, const CloneSession::Failure& failure, Language lang) {
    if (failure.step < 0)
        return {};
    if (!failure.rejected || failure.step < 2)
        return textString(ids::RadioDidNotAnswer, lang);
    return withAddress(mode == CloneMode::Write ? ids::RadioRefusedWriteAt : ids::RadioWrongAnswerAt, failure, lang);
}

} // namespace norvik
