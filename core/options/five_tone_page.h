#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/image/radio_image.h"
#include "core/strings/strings.h"
#include <optional>

namespace norvik {

inline constexpr int kFiveToneStandardCount = 8;
inline constexpr int kFiveToneDigitCount = 16;
inline constexpr int kFiveToneIdLength = 5;

// What the 5-Tone page shows; the sixteen tone boxes follow lists[0] (fiveToneFrequencyTexts).
struct FiveTonePage {
    std::array<int, 3> lists{0, 1, 0}; // list positions: standard, respond waiting time, fix digit
    std::string ownId = "12345";       // this radio's ID, kFiveToneIdLength digits
    friend bool operator==(const FiveTonePage&, const FiveTonePage&) = default;
};

FiveTonePage loadFiveTonePage(const RadioImage& image);
// The own ID's characters are stored from its first byte; the validation keeps it at five.
void saveFiveTonePage(const FiveTonePage& page, RadioImage& image);

// Entries of the page's list 0..2 (standard, respond waiting time, fix digit) in the language.
std::vector<std::string> fiveToneListEntries(int list, Language lang);

// The keys the ID takes (at most kFiveToneIdLength): "0"-"9", "A"-"D", "a"-"d" in upper case.
std::optional<char> fiveToneIdKey(char c);
// On leaving the field or Enter: empty becomes "12345", a shorter ID is filled up with "A".
std::string validateFiveToneId(std::string_view text);

// Tone of a digit (0..15) in a standard (list position), in tenths of a hertz; 0 for no tone.
std::uint16_t fiveToneFrequency(int standard, int digit);
// The tones of digits 0..15 in a standard, in Hz with one decimal ("0.0" for a digit without one).
std::array<std::string, kFiveToneDigitCount> fiveToneFrequencyTexts(int standard, char decimalSeparator = '.');

} // namespace norvik
