#pragma once

#include <QString>
#include <filesystem>

#include "cli/options.h"
#include "core/clone/clone_session.h"
#include "transport/clone_batch.h"

namespace norvik::cli {

// read or write given more than one --port (the arguments already checked): one transfer per
// port, all at once, and one line per port on standard output as each ends. Exit status 2 when any port failed or could
// not be read back, else 3 when a radio read back differs.
int runManyPorts(CloneMode mode, const Options& options, const char* usage);

// The line a port ends with, in a form a script can split at ": ":
//   PORT: written in 11.2 s     PORT: read in 17.6 s     PORT: failed: REASON
// Anything more to say about a port that went through follows its time after ", ": "verified",
// or "not verified: " and what differs or why the read-back failed.
QString summaryLine(const QString& port, CloneMode mode, const PortOutcome& outcome);

// Where write keeps each radio before writing it: --backup-dir DIR, the application data's
// backups folder by default, empty with --no-backup.
std::filesystem::path backupFolderOf(const Options& options);

// One line on standard output, flushed at once.
void printLine(const QString& line);

} // namespace norvik::cli
