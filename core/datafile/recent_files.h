#pragma once

#include <cstddef>
#include <filesystem>
#include <vector>

namespace norvik {

// The File menu's data files last opened or saved, newest first.
constexpr std::size_t kRecentFileCount = 8;

// The list with `path` at its head: an earlier entry of the same file moves up rather than
// appearing twice, and the oldest entries beyond kRecentFileCount fall off.
std::vector<std::filesystem::path> withRecentFile(std::vector<std::filesystem::path> list,
                                                  const std::filesystem::path& path);

} // namespace norvik
