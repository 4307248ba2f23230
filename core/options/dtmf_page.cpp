#include "core/options/dtmf_page.h"

#include "core/options/digit_code.h"
#include "core/options/option_fields.h"
#include <algorithm>

namespace norvik {
namespace {

constexpr int kTimeAddress = 0xD21;
constexpr int kAutodialAddress = 0xDB0; // rows 219..228, one entry per row
constexpr int kLowest = kDtmfTimeMin;
constexpr int kHighest = kDtmfTimeMax;
constexpr int kStep = kDtmfTimeStep;

int validTime(int v) {
    if (v > kHighest)
        return kHighest;
    if (v < kLowest)
        return kLowest;
    return v / kStep * kStep;
}

} // namespace

DtmfPage loadDtmfPage(const RadioImage& image) {
    DtmfPage page;
    for (int n = 0; n < kDtmfTimeCount; ++n) {
        int x = image.at(kTimeAddress + n);
        if (x > 15)
            x = 0;
        page.times[n] = std::to_string(kLowest + kStep * x);
    }
    for (int i = 0; i < kAutodialCount; ++i)
        page.autodial[i] = readDtmfDigits(image, kAutodialAddress + kAutodialDigits * i, kAutodialDigits);
    return page;
}

void saveDtmfPage(const DtmfPage& page, RadioImage& image) {
    for (int n = 0; n < kDtmfTimeCount; ++n)
        image.set(kTimeAddress + n, static_cast<std::uint8_t>((dtmfTimeValue(page.times[n]) - kLowest) / kStep));
    for (int i = 0; i < kAutodialCount; ++i) {
        // A stray stored byte reads as two hexadecimal characters; its E and F are the codes of
        // '*' and '#', and are saved as those.
        std::string text = page.autodial[i];
        std::replace(text.begin(), text.end(), 'E', '*');
        std::replace(text.begin(), text.end(), 'F', '#');
        writeDtmfDigits(image, kAutodialAddress + kAutodialDigits * i, kAutodialDigits, text);
    }
}

int dtmfTimeValue(std::string_view text) {
    return validTime(leadingInteger(text));
}

std::string validateDtmfTime(std::string_view text) {
    return std::to_string(dtmfTimeValue(text));
}

std::string stepDtmfTime(std::string_view text, int direction) {
    int v = leadingInteger(text) + (direction < 0 ? -kStep : kStep);
    if (v > kHighest)
        v = kLowest;
    else if (v < kLowest)
        v = kHighest;
    return std::to_string(validTime(v));
}

} // namespace norvik
