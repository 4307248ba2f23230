#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/image/radio_image.h"
#include "core/strings/strings.h"

namespace norvik {

/*
 * Backups: whatever the program is about to replace (a radio's memory before a write, a file's
 * previous bytes before a save, unsaved edits before a read or Open) is kept first as a file of
 * its own, under one folder a day:
 *
 *   <backups>/2026-12-08/021530_radio_0001A0B0..._ttyUSB0.dat   the radio on ttyUSB0 before a write
 *   <backups>/2026-12-08/021530_file_customer.dat                customer.dat before a save
 *   <backups>/2026-12-08/021530-2_unsaved_Untitled.dat           unsaved edits (the second that second)
 *
 * The name carries all there is to list, so a backup stays an ordinary file that opens anywhere and
 * needs no index that could go stale. Only names of this form are ever listed or removed.
 */

// A local date and time to the second.
struct BackupTime {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    bool operator==(const BackupTime&) const = default;
    // Seconds since 1970-01-01 00:00 of the same clock, for ordering and ages.
    std::int64_t seconds() const;
};

enum class BackupKind : std::uint8_t {
    Radio,        // the radio's memory before a write
    FileReplaced, // a file's previous bytes before a save replaced them
    UnsavedEdits, // the image with unsaved changes before a read or Open replaced it
};

// What a backup came from.
struct BackupOrigin {
    BackupKind kind = BackupKind::Radio;
    std::string port;           // Radio: the device as a file-name part ("ttyUSB0", "pts-3")
    std::string identification; // Radio: the radio's identification block, hex
    std::string fileName;       // FileReplaced: the replaced file's name; UnsavedEdits: the document's
    bool operator==(const BackupOrigin&) const = default;
};

struct BackupName {
    BackupTime time;
    int sequence = 1; // 2, 3 ... when an earlier backup took the same second
    BackupOrigin origin;
    bool operator==(const BackupName&) const = default;
};

// "2026-12-08": the folder a day's backups go into.
std::string backupDayFolder(const BackupTime& time);
// The file name within it. A radio's backup is a data file (".dat"); a replaced file keeps its own
// name and extension, so its bytes open as they did.
std::string backupFileName(const BackupName& name);
// The name back from a day folder and a file name; none for anything the program did not make.
std::optional<BackupName> parseBackupName(std::string_view dayFolder, std::string_view fileName);

// A device path as a file-name part: "/dev/ttyUSB0" gives "ttyUSB0", "/dev/pts/3" "pts-3",
// "\\.\COM23" "COM23"; characters a file name cannot hold become '-'.
std::string portNamePart(std::string_view device);
// The radio's identification block (the row the write compares) as lower-case hex.
std::string identificationHex(const RadioImage& image);

// What a backup came from, as the Backups window lists it ("radio on ttyUSB0, identification …").
std::string backupOriginText(const BackupOrigin& origin, Language lang);
// "2026-12-08 02:15:30".
std::string backupTimeText(const BackupTime& time);

// Days a backup is kept when nothing else is set.
inline constexpr int kDefaultBackupDays = 90;
inline constexpr int kMaxBackupDays = 3650;
// Whether a backup taken at `taken` is due for removal at `now`: strictly older than `days` days.
// Nothing from the future (a clock set back) and nothing with days <= 0 is ever due.
bool backupExpired(const BackupTime& taken, const BackupTime& now, int days);

} // namespace norvik
