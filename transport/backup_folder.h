#pragma once

#include <filesystem>

namespace norvik {

// The folder the program keeps its backups in: "backups" under the user's application data folder
// (a private one under QStandardPaths' test mode).
std::filesystem::path defaultBackupFolder();

} // namespace norvik
