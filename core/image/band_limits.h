#pragma once

#include <array>
#include <cstdint>

#include "core/image/radio_image.h"

namespace norvik {

struct Band {
    std::int16_t lower; // whole MHz
    std::int16_t upper;
    friend bool operator==(const Band&, const Band&) = default;
};

constexpr int kBandLimitsRow = 208;
constexpr int kBandCount = 4;

// The four receive/transmit bands every frequency is checked against. Kept beside the image
// and loaded from / stored to row 208.
// Band k as row 208 holds it, unchecked.
Band storedBand(const RadioImage& image, int k);

class BandLimits {
public:
    BandLimits() { reset(); }

    static constexpr std::array<Band, kBandCount> kDefaults{{{136, 174}, {400, 470}, {350, 390}, {470, 520}}};

    void reset() { m_bands = kDefaults; }

    // Reads row 208; if any band fails the check, the whole table goes back to the defaults
    // (the row itself is left alone). Returns false when the defaults were restored.
    bool load(const RadioImage& image);
    void store(RadioImage& image) const;

    const Band& operator[](int k) const { return m_bands[static_cast<std::size_t>(k)]; }
    void set(int k, Band b) { m_bands[static_cast<std::size_t>(k)] = b; }
    const std::array<Band, kBandCount>& bands() const { return m_bands; }

    static bool isValid(const std::array<Band, kBandCount>& bands);

    friend bool operator==(const BandLimits&, const BandLimits&) = default;

private:
    std::array<Band, kBandCount> m_bands;
};

} // namespace norvik
