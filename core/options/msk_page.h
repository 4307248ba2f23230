#pragma once

#include <array>
#include <string>

#include "core/image/radio_image.h"
#include <optional>

namespace norvik {

inline constexpr int kMskCallListCount = 10;
inline constexpr int kMskIdLength = 4;

// What the MSK page shows.
struct MskPage {
    std::string ownId;                                // this radio's ID, up to kMskIdLength digits
    std::array<std::string, kMskCallListCount> calls; // the call list's IDs, up to four hex digits each
    friend bool operator==(const MskPage&, const MskPage&) = default;
};

MskPage loadMskPage(const RadioImage& image);
// Each slot keeps the first four digits of its text. The 4-byte slot after the own ID belongs to
// another setting and is never written.
void saveMskPage(const MskPage& page, RadioImage& image);

// The keys an MSK ID takes, the own ID's and a call list entry's: "0"-"9" and "E", "e" in upper
// case. Nothing is validated beyond the keys.
std::optional<char> mskDigitKey(char c);
// Any hexadecimal digit, "a"-"f" in upper case: the keys that open the call list's editor.
std::optional<char> hexKey(char c);

} // namespace norvik
