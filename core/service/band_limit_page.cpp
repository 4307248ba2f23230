#include "core/service/band_limit_page.h"

#include <algorithm>
#include <string>

#include "core/service/value_entry.h"

namespace norvik {

BandLimitPage BandLimitPage::load(const BandLimits& limits) {
    return {limits.bands()};
}

void BandLimitPage::apply(RadioImage& image) const {
    BandLimits limits;
    for (int k = 0; k < kBandCount; ++k)
        limits.set(k, bands[k]);
    limits.store(image);
}

bool BandLimitPage::commit(int band, LimitColumn column, std::string_view typed) {
    Band& b = bands[static_cast<std::size_t>(band)];
    const int shown = column == LimitColumn::Min ? b.lower : b.upper;
    if (typed.empty() || typed == std::to_string(shown))
        return false;
    const int v = valueOfDigits(typed);
    if (column == LimitColumn::Min) {
        b.lower = static_cast<std::int16_t>(std::clamp(v, kLowestMin, kHighestMax - 1));
        if (b.upper <= b.lower)
            b.upper = static_cast<std::int16_t>(b.lower + 1);
        return true;
    }
    const int max = std::min(v, kHighestMax);
    if (b.lower >= max)
        return false;
    b.upper = static_cast<std::int16_t>(max);
    return true;
}

} // namespace norvik
