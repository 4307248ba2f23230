#pragma once

#include <string>

#include "clone/clone_session.h"

namespace norvik {

// A failed transfer in a few words for a one-line report, in the user's language: what went
// wrong and at which block address ("the radio refused the write at 0x0700"). Empty when there
// was no failure.
std::string cloneFailureText(CloneMode mode, const CloneSession::Failure& failure, Language lang);

} // namespace norvik
