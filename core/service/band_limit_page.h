#pragma once

#include <array>
#include <string_view>

#include "core/image/band_limits.h"
#include "core/image/radio_image.h"

namespace norvik {

enum class LimitColumn { Min, Max };

inline constexpr int kLimitDigits = 3;
inline constexpr int kLowestMin = 50;
inline constexpr int kHighestMax = 530;

// The band-limit page: the four bands' limits as the grid shows them. Nothing here checks a band
// as a whole; the band limits check applies when row 208 is loaded again.
struct BandLimitPage {
    std::array<Band, kBandCount> bands{};

    static BandLimitPage load(const BandLimits& limits);
    // Stores the four bands into row 208.
    void apply(RadioImage& image) const;

    // Commits the text typed into band k's MIN or MAX cell. A MIN is kept within 50..529 and
    // pushes a MAX that is not above it to MIN + 1; a MAX above 530 becomes 530, and one not above
    // its MIN is dropped. An empty text or the cell's own text changes nothing. True when a cell
    // took the typed value (the page has changed).
    bool commit(int band, LimitColumn column, std::string_view typed);

    friend bool operator==(const BandLimitPage&, const BandLimitPage&) = default;
};

} // namespace norvik
