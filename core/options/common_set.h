#pragma once

#include <string>
#include <string_view>

#include "core/image/radio_image.h"
#include "core/strings/strings.h"

namespace norvik {

// What the Common Set page shows: the timing shared by the signalling systems.
struct CommonSet {
    bool sideTone = false;      // the signalling heard in the speaker while it is sent
    std::string digitDelay;     // milliseconds before the first digit, 100-1000 in steps of 50
    std::string autoResetTimer; // seconds, 1-15, or the "Off" caption

    friend bool operator==(const CommonSet&, const CommonSet&) = default;
};

inline constexpr int kDigitDelayMin = 100;
inline constexpr int kDigitDelayMax = 1000;
inline constexpr int kDigitDelayStep = 50;
inline constexpr int kAutoResetMax = 15;
inline constexpr int kCommonSetTextLength = 4; // characters either text field takes

CommonSet loadCommonSet(const RadioImage& image, Language lang);
// Each text is validated as on leaving its field before it is stored, so a text that never left
// its field (Save by its shortcut) cannot put an out-of-range byte into the image.
void saveCommonSet(const CommonSet& setting, RadioImage& image, Language lang);

// Digit delay: 100 to 1000 in steps of 50.
std::string validateDigitDelay(std::string_view text);
// Up (+1) or Down (-1) arrow: one step, going round at either end.
std::string stepDigitDelay(std::string_view text, int direction);
// The validated value, for the up-down control beside the field.
int digitDelayValue(std::string_view text);

// Auto reset timer: the "Off" caption (0) or 1 to 15 seconds.
std::string validateAutoResetTimer(std::string_view text, Language lang);
std::string stepAutoResetTimer(std::string_view text, int direction, Language lang);
int autoResetTimerValue(std::string_view text, Language lang);
std::string autoResetTimerText(int seconds, Language lang);

} // namespace norvik
