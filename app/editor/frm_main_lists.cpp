// The File menu's channel list commands: CSV import and export, print and PDF.

#include "app/channel_list/channel_list_commands.h"
#include "app/editor/frm_main.h"

namespace norvik {

void frmMain::mnuFile_ImportCsv_Click() {
    channel_lists::importCsv(*this);
}

void frmMain::mnuFile_ExportCsv_Click() {
    channel_lists::exportCsv(*this);
}

void frmMain::mnuFile_Print_Click() {
    channel_lists::print(*this);
}

void frmMain::mnuFile_ExportPdf_Click() {
    channel_lists::exportPdf(*this);
}

} // namespace norvik
