#pragma once

#include <span>

#include "cli/options.h"

namespace norvik::cli {

// Exit statuses shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitFailed = 2;
// write: the radio was written but reading it back found something else.
inline constexpr int kExitDiffers = 3;

struct Command {
    const char* name;
    const char* summary;
    int (*run)(const Args& args); // args after the command name
};

// Each group of commands lives in its own file and lists itself here.
std::span<const Command> fileCommands();
std::span<const Command> listCommands();
std::span<const Command> radioCommands();
std::span<const Command> compareCommands();

} // namespace norvik::cli
