#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/image/radio_image.h"

namespace norvik {

// Signalling digits are stored one byte each: 0-9, A-D as 10-13, '*' as 14, '#' as 15; 0xFF is
// an empty position.
inline constexpr std::uint8_t kNoDigit = 0xFF;
inline constexpr std::uint8_t kStarCode = 14;
inline constexpr std::uint8_t kHashCode = 15;

// The code of a DTMF character ('a'-'d' count as 'A'-'D'); nothing for a character without one.
std::optional<std::uint8_t> dtmfDigitCode(char c);

// The text of a stored code: 14 "*", 15 "#", other values in hexadecimal without leading zeros
// (so a stray byte above 15 shows as two characters); 0xFF shows nothing.
std::string dtmfDigitText(std::uint8_t code);

// A stored DTMF code of `length` bytes as text. 0xFF positions are skipped wherever they stand,
// so a gap closes up.
std::string readDtmfDigits(const RadioImage& image, int address, int length);

// Writes the codes of the text's characters from `address` and fills the rest of the `length`
// bytes with 0xFF. A character without a code is skipped, and at most `length` codes are
// written, so nothing ever lands outside the field.
void writeDtmfDigits(RadioImage& image, int address, int length, std::string_view text);

// Hexadecimal digits 0-F stored one byte each (MSK numbers): the code of '0'-'9', 'A'-'F' or
// 'a'-'f', nothing for any other character.
std::optional<std::uint8_t> hexDigitCode(char c);

// As readDtmfDigits, but 14 and 15 read as "E" and "F".
std::string readHexDigits(const RadioImage& image, int address, int length);

// As writeDtmfDigits, with the hexadecimal digit codes.
void writeHexDigits(RadioImage& image, int address, int length, std::string_view text);

} // namespace norvik
