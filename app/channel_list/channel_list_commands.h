#pragma once

#include <filesystem>

namespace norvik {

class frmMain;

// The File menu's channel list commands, over the window's document, prompter and language.
namespace channel_lists {

// Asks for a CSV file, then shows what importing it would change; the user applies or cancels.
void importCsv(frmMain& window);
// The same preview for a file already chosen (dropped on the window).
void importCsvFile(frmMain& window, const std::filesystem::path& path);
// Asks for a file name and writes the channel list as CSV through the one save routine.
void exportCsv(frmMain& window);
// The print preview, from which the user prints.
void print(frmMain& window);
// Asks for a file name and writes the printed list as a PDF through the one save routine.
void exportPdf(frmMain& window);

} // namespace channel_lists
} // namespace norvik
