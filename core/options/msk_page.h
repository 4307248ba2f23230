#pragma once

#include <array>
#include <string>

#include "image/radio_image.h"
#include <optional>

namespace norvik {

inline constexpr int kMskCallListCount = 10;
inline constexpr int kMskIdLength = 4;

// What the MSK page shows.
struct MskPage {
    std::string ownId;                                // TxtMSK(0)
    std::array<std::string, kMskCallListCount> calls; // GridMSK column 1, entry i in row i + 1
    friend bool operator==(const MskPage&, const MskPage&) = default;
};

MskPage loadMskPage(const RadioImage& image);
// Each slot keeps the first four digits of its text. The 4-byte slot after the own ID belongs to
// another setting and is never written.
void saveMskPage(const MskPage& page, RadioImage& image);

// TxtMSK(0) (at most kMskIdLength characters) and the call list's editor: "0"-"9" and "E", "e" in
// upper case. Enter in TxtMSK(0) acts as Tab; there is no validation beyond the keys.
std::optional<char> mskDigitKey(char c);
// Any hexadecimal digit, "a"-"f" in upper case: the keys that open the call list's editor.
std::optional<char> hexKey(char c);

} // namespace norvik
