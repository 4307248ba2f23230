#pragma once

#include "cli/options.h"

namespace norvik::cli {

// simulate: runs a simulated radio on a pseudo-terminal until interrupted.
int runSimulate(const Args& args);

} // namespace norvik::cli
