#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/image/radio_image.h"

namespace norvik {

// The memory map's grid: row 0 holds the column labels and column 0 the row labels; cell
// (r, c), r = 1..256 and c = 1..16, shows the byte at address (r - 1) * 16 + c - 1.
constexpr int kMemoryMapRows = kRowCount + 1;
constexpr int kMemoryMapColumns = kRowSize + 1;
// Enter at the end of a row goes on to the next row only up to this grid row: the walk covers the
// channel records, the rest is reached by hand.
constexpr int kMemoryMapLastWalkRow = 128;

struct MapCell {
    int row = 1;
    int column = 1;
    friend bool operator==(const MapCell&, const MapCell&) = default;
};

constexpr int memoryMapAddress(MapCell cell) {
    return RadioImage::address(cell.row - 1, cell.column - 1);
}

// Hex without leading zeros, upper case: image row 0x1A is "1A", column 15 is "F".
std::string memoryMapRowLabel(int imageRow);
std::string memoryMapColumnLabel(int column);
// The address shown for a cell: its row label, then its column's digit ("05", "1AF", "FFF").
std::string memoryMapAddressText(int address);
// Exactly two upper-case hex digits ("0A").
std::string hexByteText(std::uint8_t value);

// The hex digit a key stands for, upper case; none for any other key.
std::optional<char> hexDigitKey(char c);
// What a key typed into the cell editor types: its upper-case digit, or nothing when it is not a
// hex digit or the editor already holds two digits and nothing is selected.
std::optional<char> hexEditorKey(char c, std::size_t length, std::size_t selected);
// The byte an editor's text leaves in its cell: empty is FF, one digit d is d0 ("7" is 70).
std::uint8_t hexCellValue(std::string_view text);
// Where Enter in the cell editor moves: right, then to the next row's first cell up to
// kMemoryMapLastWalkRow; past that the cell stays current.
MapCell memoryMapCellAfterEnter(MapCell cell);

} // namespace norvik
