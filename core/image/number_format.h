#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace norvik {

// Formats value / 10^decimals with exactly `decimals` digits after `sep` ("0.00000" for
// decimals = 5). Integer-scaled so no binary rounding creeps into a frequency text.
std::string formatScaled(std::int64_t scaled, int decimals, char sep);

// Reads a number the user typed. Without a comma, "." is the decimal separator and only the
// leading number counts ("145.5abc" is 145.5, "abc" is 0). With a comma, the comma is the
// decimal separator and the whole text must be a number; otherwise there is no value.
std::optional<double> parseUserNumber(std::string_view text);

// Leading-number read as above but never failing: a text without a number reads as 0.
double leadingNumber(std::string_view text);

enum class HexCase : std::uint8_t { Upper, Lower };
// Bytes as hex without separators ("00AB7F").
std::string hexText(std::span<const std::uint8_t> bytes, HexCase letters = HexCase::Upper);

} // namespace norvik
