#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/image/radio_image.h"
#include "core/strings/strings.h"

namespace norvik {

// How a transfer ended, as the history keeps it.
enum class HistoryOutcome : std::uint8_t {
    Completed, // a read, or a write that was not read back
    Verified,  // a write read back as sent
    Differs,   // a write read back otherwise: the detail says what
    Failed,    // the detail says why
    Cancelled,
};

// One transfer of the history: one line of its file.
struct HistoryEntry {
    std::string time;           // ISO 8601, as the clock of the machine gave it
    std::string operation;      // read, write, service-read, service-write
    std::string port;           // as the user chose it
    std::string identification; // the radio's identification block in hex, when it answered
    std::string dataFile;       // the file a write sent or a read saved, when there was one
    std::string checksum;       // rowsChecksum of the rows sent or received
    HistoryOutcome outcome = HistoryOutcome::Completed;
    std::string detail; // why it failed, what differs
    double seconds = 0;
    std::string backupPath; // where the radio was kept before a write
    friend bool operator==(const HistoryEntry&, const HistoryEntry&) = default;
};

// The line of an entry, without its line end. Fields are comma-separated and quoted where they hold
// a comma, a quote or a space at either end; line breaks inside a field become spaces, so that an
// entry is always one line. The last field is always quoted: a line torn anywhere by a crash lacks
// its closing quote, which is how parseHistoryLine knows it.
std::string historyLine(const HistoryEntry& entry);
// The entry of a line, or none for a torn or foreign one.
std::optional<HistoryEntry> parseHistoryLine(std::string_view line);
// Every entry of a history file, oldest first; torn lines are skipped, the ones after them kept.
std::vector<HistoryEntry> parseHistory(std::string_view text);

// The result field: "verified", "differs: DETAIL", "failed: REASON", "cancelled", "completed".
std::string historyResult(const HistoryEntry& entry);
// The same in the user's language, for the History window.
std::string historyResultText(const HistoryEntry& entry, Language lang);
// The operation in the user's language.
std::string historyOperationText(const std::string& operation, Language lang);

// The history as a spreadsheet reads it: a header row, then one row per entry.
std::string historyCsv(const std::vector<HistoryEntry>& entries);

// CRC-32 (the one of zip and PNG) of `count` rows from `first`, as eight hex digits.
std::string rowsChecksum(const RadioImage& image, int first, int count);

} // namespace norvik
