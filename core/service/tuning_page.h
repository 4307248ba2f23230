#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/image/band_limits.h"
#include "core/image/radio_image.h"
#include "core/strings/strings.h"

namespace norvik {

// Tuning grid of each band: rows low power, high power, sensitivity; columns low, mid, high.
inline constexpr int kTuningSize = 3;
inline constexpr int kTuningAddress = 0x0FD0; // 9 bytes per band
// Deviation grids: one column per frequency sub-range, 13 rows (ten tone ranges, the QT and
// DQT tail codes and the DQT deviation); only the grids of bands 0 and 1 hold bytes.
inline constexpr int kDeviationRows = 13;
inline constexpr int kDeviationAddress = 0x0F20; // 13 groups of 13 bytes
inline constexpr int kDeviationGridsWithBytes = 2;
inline constexpr int kCellDigits = 3;
inline constexpr int kCellLargest = 255;

constexpr int tuningAddress(int band, int row, int col) {
    return kTuningAddress + 9 * band + kTuningSize * row + col;
}

// Bands 2 and 3 only receive: their two power rows are shown but cannot be edited.
constexpr bool isLockedTuningRow(int band, int row) {
    return band >= 2 && row < 2;
}

// Most sub-range columns a band's deviation grid gets: 5 for band 0, 8 for the others.
constexpr int maxDeviationColumns(int band) {
    return band == 0 ? 5 : 8;
}

// Address of value row `row` (0..12) of value column `column` (0-based) of grid 0 or 1. The
// groups of band 0 come first (0..4), then those of band 1 (5..12).
constexpr int deviationAddress(int band, int column, int row) {
    return kDeviationAddress + kDeviationRows * (band == 0 ? column : column + 5) + row;
}

struct DeviationColumn {
    int lo; // whole MHz
    int hi;
    friend bool operator==(const DeviationColumn&, const DeviationColumn&) = default;
};

// The sub-range columns of a band's deviation grid: ten-megahertz steps from the lower limit
// rounded down to ten, the first raised to the lower limit, the last ending one below the upper
// limit (or stretched to it once the band's most columns are reached).
std::vector<DeviationColumn> deviationColumns(const Band& band, int bandIndex);

// "136-174": a band or a sub-range in whole MHz.
std::string rangeText(int lo, int hi);

// Headings of the deviation grid's 13 rows in the language.
std::vector<std::string> deviationRowHeadings(Language lang);

// A typed cell value: 0..255, digits only, empty read as 0.
int tuningCellValue(std::string_view text);

// The tuning pages: the four tuning grids and the deviation grids of bands 0 and 1, each with
// the columns it shows.
struct TuningPage {
    std::array<std::array<std::uint8_t, kTuningSize * kTuningSize>, kBandCount> tuning{};
    std::array<std::vector<std::array<std::uint8_t, kDeviationRows>>, kDeviationGridsWithBytes> deviation;

    // The deviation grids take the columns the band limits give them.
    static TuningPage load(const RadioImage& image, const BandLimits& bands);
    // Writes every tuning cell and the groups of the deviation columns shown; the groups of
    // columns not shown keep their bytes.
    void apply(RadioImage& image) const;

    friend bool operator==(const TuningPage&, const TuningPage&) = default;
};

} // namespace norvik
