#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/image/radio_image.h"
#include "core/strings/strings.h"

namespace norvik {

inline constexpr int kGainListCount = 16;  // one byte each at 0x0F00..0x0F0F
inline constexpr int kGainListEntries = 8; // a stored byte of 8 or more shows entry 0
inline constexpr int kFineValueCount = 7;  // two bytes each, high first, at 0x0F10..0x0F1D
inline constexpr int kGainListsAddress = 0x0F00;
inline constexpr int kFineValuesAddress = 0x0F10;
inline constexpr int kToneTxLevelBox = 5; // the one fine value with a smaller range
inline constexpr int kFineValueDigits = 5;

// Even bytes of row 240 are input gains, odd ones output gains.
enum class GainList { Input, Output };

constexpr GainList gainListAt(int index) {
    return index % 2 == 0 ? GainList::Input : GainList::Output;
}

// The eight entries of a gain list: steps of 3.2 dB ("0db", "3.2db" .. "22.4db" for inputs;
// "Mute", "-19.2db" .. "-3.2db", "0db" for outputs), with `sep` as decimal separator.
std::vector<std::string> gainListEntries(GainList list, Language lang, char sep);

// The largest value a fine value box holds: 16383, and 2047 for the Tone Tx Level.
constexpr int fineLargest(int box) {
    return box == kToneTxLevelBox ? 2047 : 16383;
}
// Leaving a box: a value above the largest becomes the largest.
int fineOnLeave(int box, int value);
// One spin step (delta +1 or -1) from the value left in the box, wrapping round 0..largest.
int fineSpin(int box, int value, int delta);

// The gain page: the selected entry of each list and the seven fine values.
struct GainPage {
    std::array<int, kGainListCount> lists{};
    std::array<int, kFineValueCount> fine{};

    // High bytes are clamped so that no value loads above its box's largest value.
    static GainPage load(const RadioImage& image);
    void apply(RadioImage& image) const;

    friend bool operator==(const GainPage&, const GainPage&) = default;
};

} // namespace norvik
