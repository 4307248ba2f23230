#pragma once

#include <string>

#include "core/clone/clone_session.h"

namespace norvik {

// A failed transfer in a few words for a one-line report, in the user's language: what went
// wrong and at which block address ("the radio refused the write at 0x0700"). Empty when there
// was no failure.
std::string cloneFailureText(CloneMode mode, const CloneSession::Failure& failure, Language lang);
// The same as a message of its own that says what to do: a refusal or a wrong answer at its
// address, anything else as the radio not answering. For the clone exchange (Steps from 0).
std::string cloneFailureMessage(CloneMode mode, const CloneSession::Failure& failure, Language lang);

} // namespace norvik
