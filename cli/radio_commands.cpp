#include "commands.h"

namespace norvik::cli {

const Command* radioCommands(int& count) {
    count = 0;
    return nullptr;
}

} // namespace norvik::cli
