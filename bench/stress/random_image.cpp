#include "stress/random_image.h"

#include <string>

#include "core/image/band_limits.h"
#include "core/image/channel_record.h"
#include "core/image/tones.h"

namespace norvik::stress {
namespace {

Frequency onRaster(Rng& rng, const Band& band) {
    const int step = rng.chance(0.7) ? 500 : 625;
    const long long low = static_cast<long long>(band.lower) * kHz10PerMHz;
    const long long high = static_cast<long long>(band.upper) * kHz10PerMHz;
    const long long points = (high - low) / step;
    return static_cast<Frequency>(low + step * rng.below(static_cast<int>(points)));
}

void randomTone(Rng& rng, RadioImage& img, int address) {
    static const std::vector<std::string> tones = toneList(Language::English, '.');
    ToneCode code = encodeTone(rng.pick(tones));
    if (rng.chance(0.03))
        code = {rng.byte(), rng.byte()};
    img.set(address, code.low);
    img.set(address + 1, code.high);
}

void randomChannel(Rng& rng, RadioImage& img, const BandLimits& bands, int n) {
    const int base = channelAddress(n);
    if (rng.chance(0.05)) { // junk: any bytes at all, BCD or not
        for (int i = 0; i < kRowSize; ++i)
            img.set(base + i, rng.byte());
        return;
    }
    const Frequency rx = onRaster(rng, bands[rng.below(kBandCount)]);
    encodeFrequency(img, base + rec::Rx, rx);
    const int kind = rng.below(4);
    if (kind == 0) {
        encodeFrequency(img, base + rec::Tx, onRaster(rng, bands[rng.below(kBandCount)]));
    } else if (kind == 1) {
        for (int i = 0; i < 4; ++i)
            img.set(base + rec::Tx + i, 0xFF);
    } else {
        encodeFrequency(img, base + rec::Tx, rx);
    }
    randomTone(rng, img, base + rec::DecodeTone);
    randomTone(rng, img, base + rec::EncodeTone);
    for (int i = rec::Flags12; i < kRowSize; ++i)
        img.set(base + i, rng.chance(0.5) ? kNewChannelFlags[i - rec::Flags12] : rng.byte());
    std::string name;
    for (int i = rng.below(kNameLength + 1); i > 0; --i)
        name += static_cast<char>(rng.chance(0.9) ? rng.between(32, 122) : rng.between(123, 255));
    encodeName(img, n, name);
}

} // namespace

RadioImage randomImage(Rng& rng, const RadioImage& defaults) {
    RadioImage img = defaults;
    BandLimits bands;
    if (rng.chance(0.15)) {
        std::array<Band, kBandCount> other{};
        for (Band& b : other) {
            b.lower = static_cast<std::int16_t>(rng.between(50, 500));
            b.upper = static_cast<std::int16_t>(rng.between(b.lower + 1, 530));
        }
        for (int k = 0; k < kBandCount; ++k)
            bands.set(k, other[static_cast<std::size_t>(k)]);
        bands.store(img);
    }
    const double used = rng.chance(0.2) ? 0.95 : 0.4;
    for (int n = 1; n <= kChannelCount; ++n) {
        if (rng.chance(used))
            randomChannel(rng, img, bands, n);
    }
    if (rng.chance(0.3)) { // odd option bytes, anywhere but the channel records
        for (int i = rng.between(1, 40); i > 0; --i) {
            const int a = rng.chance(0.5) ? rng.between(0x800, 0xEFF) : rng.between(0x810, 0x8BF);
            img.set(a, rng.byte());
        }
    }
    if (rng.chance(0.05)) { // a band-limit row that fails its check: the defaults stay in force
        for (int i = 0; i < kRowSize; ++i)
            img.setByte(kBandLimitsRow, i, rng.byte());
    }
    if (rng.chance(0.5)) {
        for (int a = 240 * kRowSize; a < kImageSize; ++a)
            img.set(a, rng.byte());
    }
    return img;
}

} // namespace norvik::stress
