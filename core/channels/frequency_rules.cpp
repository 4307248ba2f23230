#include "core/channels/frequency_rules.h"

#include <cmath>
#include <cstdint>

#include "core/image/number_format.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

// Hundredths of a hertz: fine enough that every typed digit counts, coarse enough that the
// binary noise of f * 100000 cannot decide a raster tie.
constexpr std::int64_t kCentiHzPer10Hz = 1000;
constexpr std::int64_t kCentiHzPerMHz = static_cast<std::int64_t>(kHz10PerMHz) * kCentiHzPer10Hz;

std::int64_t nearestMultiple(std::int64_t value, std::int64_t step) {
    // Halves away from zero; value is positive inside a band.
    return (value + step / 2) / step * step;
}

Frequency lowerLimit(const Band& b) {
    return static_cast<Frequency>(b.lower) * kHz10PerMHz;
}

} // namespace

NormalisedFrequency normaliseFrequency(double mhz, const BandLimits& bands) {
    // Anything this large is out of every band; keep it away from llround.
    const bool sane = std::isfinite(mhz) && std::fabs(mhz) < 1e6;
    const std::int64_t f = sane ? std::llround(mhz * static_cast<double>(kCentiHzPerMHz)) : -1;
    for (const Band& b : bands.bands()) {
        if (f >= b.lower * kCentiHzPerMHz && f < b.upper * kCentiHzPerMHz) {
            const std::int64_t a = nearestMultiple(f, 500 * kCentiHzPer10Hz);
            const std::int64_t c = nearestMultiple(f, 625 * kCentiHzPer10Hz);
            const std::int64_t pick = std::llabs(f - c) < std::llabs(f - a) ? c : a;
            return {static_cast<Frequency>(pick / kCentiHzPer10Hz), false};
        }
    }
    for (const Band& b : bands.bands()) {
        if (f == b.upper * kCentiHzPerMHz)
            return {static_cast<Frequency>(b.upper) * kHz10PerMHz - 500, false};
    }
    int nearest = 0;
    float best = 0;
    for (int k = 0; k < kBandCount; ++k) {
        const float mid = static_cast<float>(bands[k].lower + bands[k].upper) / 2.0F;
        const float d = std::fabs(static_cast<float>(mhz) - mid);
        if (k == 0 || d < best) {
            best = d;
            nearest = k;
        }
    }
    return {lowerLimit(bands[nearest]), true};
}

NormalisedFrequency normaliseFrequencyText(std::string_view text, const BandLimits& bands) {
    const std::optional<double> f = parseUserNumber(text);
    if (!f)
        return {lowerLimit(bands[0]), false};
    return normaliseFrequency(*f, bands);
}

Frequency offsetRule(std::string_view text, Frequency receive) {
    const double o = parseUserNumber(text).value_or(0.0);
    if (o >= 100.0)
        return 9999500;
    if (!(o >= 0.0))
        return 0;
    const std::int64_t step = receive % 500 == 0 ? 500 : 625;
    const std::int64_t units = std::llround(o * static_cast<double>(kHz10PerMHz));
    return static_cast<Frequency>(units / step * step);
}

std::string bandLimitsText(const BandLimits& bands) {
    std::string out;
    for (const Band& b : bands.bands()) {
        if (!out.empty())
            out += ", ";
        out += std::to_string(b.lower) + "\u2013" + std::to_string(b.upper);
    }
    return out;
}

std::string commitNoticeText(int noticeId, const BandLimits& bands, Language lang) {
    std::string out(text(noticeId, lang));
    if (noticeId == ids::FrequencyOutOfRange) {
        std::string limits(text(ids::BandLimitsInForce, lang));
        limits.replace(limits.find("%1"), 2, bandLimitsText(bands));
        out += "\n" + limits;
    }
    return out;
}

} // namespace norvik
