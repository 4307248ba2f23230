#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/image/radio_image.h"
#include "core/strings/strings.h"

namespace norvik {

// The drop-down lists of the Function Setting and PTT ID Setting pages. A list field stores the
// 0-based position of its entry.
enum class OptionList {
    SquelchLevel,   // "0" .. "9"
    TimeOutTimer,   // Off, 30sec .. 270sec
    ScanMode,       // Time, Carrier, Seek
    OffOn,          // Off, On (chord, battery save, beep tone, roger tone)
    Lamp,           // Off, On, Auto
    ChannelDisplay, // Frequency, Name
    VoxLevel,       // "1" .. "8"
    VoxDelay,       // 1sec .. 4sec
    MessageMode,    // Off, DC, MSG
    BandStep,       // 5K .. 100K
    PttIdType,      // MSK, DTMF
};

// The entries of a list in the language's captions.
std::vector<std::string> listEntries(OptionList list, Language lang);

inline constexpr int kMessageModeMsg = 2;
inline constexpr int kPowerOnMessageLength = 7;

// What the Function Setting page shows (without its PTT ID fields, which have their own page).
struct FunctionSetting {
    // List positions, each in the list the enum above names.
    int squelchLevel = 0;           // SquelchLevel: 0-9
    int timeOutTimer = 0;           // TimeOutTimer: Off, 30-270 s
    int scanMode = 0;               // ScanMode
    int chord = 0;                  // OffOn
    int batterySave = 0;            // OffOn
    int beepTone = 0;               // OffOn
    int rogerTone = 0;              // OffOn
    int lamp = 0;                   // Lamp
    int channelDisplay = 0;         // ChannelDisplay: frequency or name
    int voxLevel = 0;               // VoxLevel: 1-8
    int voxDelay = 0;               // VoxDelay: 1-4 s
    int messageMode = 0;            // MessageMode: what the display shows at power-on
    std::string powerOnMessage;     // up to kPowerOnMessageLength characters, one image byte each (UTF-8 here)
    bool cancelCodeSquelch = false; // the tone squelch opened by any signal
    bool inhibitReceiver = false;   // the receiver muted
    bool relay = false;             // repeater relay
    bool totPenalty = false;        // a wait after the time-out timer has cut a transmission
    bool manual = false;            // manual (VFO) mode allowed
    std::array<int, 2> bandStep{};  // BandStep of the VHF and of the UHF band
    friend bool operator==(const FunctionSetting&, const FunctionSetting&) = default;
};

// Reads the page from the image. A stored value outside its list shows the list's default entry;
// the image itself is not changed.
FunctionSetting loadFunctionSetting(const RadioImage& image);

// Writes the page into the image: the named bits of 0x830-0x833 read-modify-write (their other
// bits stay), 0x834-0x836, the power-on message and the two band steps.
void saveFunctionSetting(const FunctionSetting& setting, RadioImage& image);

// The power-on message as stored: the characters up to the first 0xFF.
std::string loadPowerOnMessage(const RadioImage& image);

} // namespace norvik
