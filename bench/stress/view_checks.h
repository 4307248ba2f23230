#pragma once

#include <QString>

namespace norvik {
class frmMain;
}

namespace norvik::stress {

// Every cell and header of the channel grid against a fresh fill of a copy of the image: equal,
// except that the offset and duplex cells may keep what the user chose (an offset typed while
// the duplex is off, a duplex chosen before its offset), which no fill gives back; those must
// still be an offset and a duplex entry. Empty when sound.
QString checkGrid(frmMain& window);

// The single-channel panel, while shown, against the same fresh fill of the channel it shows
// (the field with the focus may hold half-typed text and is left out).
QString checkPanel(frmMain& window);

// The title names the document's file, and never marks a change.
QString checkTitle(frmMain& window);

} // namespace norvik::stress
