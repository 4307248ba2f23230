#pragma once

namespace norvik {

class frmMain;

// Opens the Radio, Embedded Message and Memory Map dialogs on the main window's requests, each
// modal over the window's document and in its language.
void connectImageDialogs(frmMain& window);

} // namespace norvik
