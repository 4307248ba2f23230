#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/strings/strings.h"

namespace norvik {

constexpr int kToneListSize = 261;
constexpr int kCtcssCount = 50;
constexpr int kDcsCount = 105;

// CTCSS tones in tenths of a hertz, and DCS codes as their octal digits read in decimal.
extern const std::array<int, kCtcssCount> kCtcssTenths;
extern const std::array<int, kDcsCount> kDcsCodes;

struct ToneCode {
    std::uint8_t low = 0xFF;
    std::uint8_t high = 0xFF;
    friend bool operator==(const ToneCode&, const ToneCode&) = default;
};

// The 261 texts: "None" in the language, the CTCSS tones ("0.0" with sep), then D...N and D...I.
std::vector<std::string> toneList(Language lang, char sep);

// Always an entry of the tone list; anything not in it is entry 0.
std::string decodeTone(ToneCode code, Language lang, char sep);

// Index of the decoded text in the tone list (0 for none / unknown).
int toneIndex(ToneCode code);

// Encodes any text by the tone rules (no check against the list).
ToneCode encodeTone(std::string_view text);

} // namespace norvik
