#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/image/radio_image.h"
#include "core/strings/strings.h"

namespace norvik {

inline constexpr int kTwoToneCodeCount = 10;

// One row of the code grid: two tones in Hz ("0.0" format) and the gap in ms; empty = not set.
struct TwoToneCode {
    std::string tone1;
    std::string tone2;
    std::string gap;
    friend bool operator==(const TwoToneCode&, const TwoToneCode&) = default;
};

// What the 2-Tone page shows.
struct TwoTonePage {
    std::array<std::string, 3> tones;                 // the A, B and C tones in Hz, 288.5 and up, "0.0"
    std::array<int, 3> lists{};                       // list positions: call format, group call, alert/transpond
    std::array<TwoToneCode, kTwoToneCodeCount> codes; // the ten codes of the code list
    friend bool operator==(const TwoTonePage&, const TwoTonePage&) = default;
};

// `decimalSeparator` is the locale's, used in every "0.0" text.
TwoTonePage loadTwoTonePage(const RadioImage& image, char decimalSeparator = '.');
// An A, B or C field that is empty or not a number stores its default tone.
void saveTwoTonePage(const TwoTonePage& page, RadioImage& image);

// Entries of the page's list 0..2 (call format, group call, alert/transpond) in the language.
std::vector<std::string> twoToneListEntries(int list, Language lang);
// The captions of the A, B and C tones ("A Tone[Hz]" ...), and the code list's header of a column.
std::string twoToneLabel(int tone, Language lang);
std::string twoToneGridHeader(int column, Language lang);

// A tone's keys: digits, "." and "," (the A, B and C fields and the grid's tone editor).
std::optional<char> toneKey(char c);
// The A, B and C fields take at most 6 characters.
inline constexpr int kTwoToneFieldLength = 6;
// While typing: "3000" once the text's number passes 3000, otherwise nothing (the text stays).
std::optional<std::string> twoToneTypingLimit(std::string_view text);
// On leaving a field or Enter: empty stays empty, a number becomes at least 288.5 in "0.0"
// format, a text that is not a number stays as it is.
std::string validateTwoToneField(std::string_view text, char decimalSeparator = '.');

// Commit of `text` into column 1 (tone 1), 2 (tone 2) or 3 (gap) of grid row `row` (1..10).
// False when the text is not a number; the code is then unchanged.
bool commitTwoToneCell(TwoToneCode& code, int row, int column, std::string_view text, char decimalSeparator = '.');

} // namespace norvik
