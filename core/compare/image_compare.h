#pragma once

#include <string>
#include <vector>

#include "core/image/radio_image.h"
#include "core/strings/strings.h"

namespace norvik {

// One difference between two images, named as the windows name it.
struct ImageDifference {
    enum class Kind { Channel, Setting, Bytes };
    Kind kind = Kind::Bytes;
    int channel = 0;    // Channel: 1..128
    std::string name;   // Channel: the column's header; Setting: "page › field"
    std::string before; // Channel, Setting: the text shown, "(empty)" for none
    std::string after;
    int first = 0; // Bytes: the first and last address of a run of differing bytes
    int last = 0;
    friend bool operator==(const ImageDifference&, const ImageDifference&) = default;
};

// What differs from `before` to `after`: channel by channel and column by column as the channel
// table shows them (the offset and duplex follow from the frequencies and are not repeated), the
// option settings by page and caption, the band limits, then every differing byte that none of
// these accounts for, in runs of addresses. Empty when the images are equal.
std::vector<ImageDifference> compareImages(const RadioImage& before, const RadioImage& after, Language lang,
                                           char decimalSeparator = '.');

// One line: "channel 5: RX Freq, 145.00000 → 145.50000", "Function Setting › Lamp: On → Off",
// "bytes 0x0810–0x081F".
std::string differenceText(const ImageDifference& difference, Language lang);

} // namespace norvik
