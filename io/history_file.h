#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "core/history/transfer_history.h"
#include "io/file_problem.h"

namespace norvik::io {

// Appends one entry to the history file (and its folder, when missing) in a single write at the
// file's end, then syncs it. A line left torn by an earlier crash gets its line end first, so the
// new entry starts on a line of its own and the torn one stays skipped.
FileProblem appendHistory(const std::filesystem::path& file, const HistoryEntry& entry);

// The entries of the history file, oldest first; a missing file is an empty history.
std::vector<HistoryEntry> readHistory(const std::filesystem::path& file, FileProblem& problem);

} // namespace norvik::io
