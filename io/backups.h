#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "core/backups/backup_rules.h"
#include "io/byte_sink.h"
#include "io/file_problem.h"

namespace norvik::io {

// The files side of the backups (the names and the rules are core/backups): `root` is the
// backups folder, the day folders are made under it as needed.

struct BackupSaved {
    std::filesystem::path path; // where the backup went, when it did
    FileProblem problem;
};

// The local time now, to the second.
BackupTime backupTimeNow();

// Keeps `bytes` as a new backup of `origin` taken at `time`, through the one save routine. A name
// that is taken (an earlier backup of the same second) is never written over: the next sequence
// number is used instead.
BackupSaved saveBackup(const std::filesystem::path& root, const BackupTime& time, const BackupOrigin& origin,
                       std::span<const std::uint8_t> bytes, const SinkWrapper& wrap = {});

// Before a save replaces `target`: keeps its current bytes as a backup. Nothing to keep (no file
// there yet) is no problem and leaves `path` empty; a target that cannot be read or kept is a
// problem, and the save must not go ahead.
// A file that already holds exactly `replacement` loses nothing and is not kept again.
BackupSaved keepBeforeReplace(const std::filesystem::path& root, const std::filesystem::path& target,
                              const BackupTime& time, std::span<const std::uint8_t> replacement = {});

struct BackupEntry {
    std::filesystem::path path;
    BackupName name;
    std::uintmax_t size = 0;
};

// Every backup the program made under root, newest first; anything else there is left out.
std::vector<BackupEntry> listBackups(const std::filesystem::path& root);
// Removes the backups older than `days` days at `now` (see backupExpired) and the day folders
// left empty; nothing the program did not name is touched. Returns how many were removed.
int removeOldBackups(const std::filesystem::path& root, const BackupTime& now, int days);
// The bytes the backups take together.
std::uintmax_t backupsSize(const std::filesystem::path& root);

} // namespace norvik::io
