#include "core/image/band_limits.h"

namespace norvik {
namespace {

// A byte's two hex digits read as a decimal number, stopping at the first digit above 9.
int leadingDecimal(std::uint8_t b) {
    const int hi = b >> 4;
    const int lo = b & 0x0F;
    if (hi > 9)
        return 0;
    if (lo > 9)
        return hi;
    return hi * 10 + lo;
}

int readLimit(const RadioImage& image, int col) {
    const int h = leadingDecimal(image.byte(kBandLimitsRow, col));
    const int l = leadingDecimal(image.byte(kBandLimitsRow, col + 1));
    return h * 10 + l / 10;
}

void writeLimit(RadioImage& image, int col, int v) {
    image.setByte(kBandLimitsRow, col, static_cast<std::uint8_t>((v / 100) * 16 + (v / 10) % 10));
    image.setByte(kBandLimitsRow, col + 1, static_cast<std::uint8_t>((v % 10) * 16));
}

} // namespace

Band storedBand(const RadioImage& image, int k) {
    return {static_cast<std::int16_t>(readLimit(image, 4 * k)), static_cast<std::int16_t>(readLimit(image, 4 * k + 2))};
}

bool BandLimits::isValid(const std::array<Band, kBandCount>& bands) {
    for (const Band& b : bands) {
        if (b.upper >= 531 || b.lower >= b.upper || b.lower < 50)
            return false;
    }
    return true;
}

bool BandLimits::load(const RadioImage& image) {
    std::array<Band, kBandCount> loaded{};
    for (int k = 0; k < kBandCount; ++k)
        loaded[k] = storedBand(image, k);
    if (!isValid(loaded)) {
        reset();
        return false;
    }
    m_bands = loaded;
    return true;
}

void BandLimits::store(RadioImage& image) const {
    for (int k = 0; k < kBandCount; ++k) {
        writeLimit(image, 4 * k, m_bands[k].lower);
        writeLimit(image, 4 * k + 2, m_bands[k].upper);
    }
}

} // namespace norvik
