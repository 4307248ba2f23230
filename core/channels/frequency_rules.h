#pragma once

#include <string>
#include <string_view>

#include "core/image/band_limits.h"
#include "core/image/channel_record.h"
#include "core/strings/strings.h"

namespace norvik {

// A typed or computed frequency after the band check and raster rounding.
struct NormalisedFrequency {
    Frequency value = 0;     // units of 10 Hz, never 0
    bool outOfRange = false; // the caller shows "Frequency is out of range."
    friend bool operator==(const NormalisedFrequency&, const NormalisedFrequency&) = default;
};

// In a band (lower <= f < upper): the nearer of the 5 kHz and 6.25 kHz raster points, a tie going
// to 5 kHz. Exactly an upper limit: 5 kHz below it, silently. Anywhere else: the lower limit of
// the band whose midpoint is nearest, flagged out of range.
NormalisedFrequency normaliseFrequency(double mhz, const BandLimits& bands);

// Reads the text as the user typed it ("," switches to the locale's comma rules) and normalises
// it. A text that cannot be read at all becomes band 0's lower limit without a notice.
NormalisedFrequency normaliseFrequencyText(std::string_view text, const BandLimits& bands);

// The offset typed for a channel: 0 for junk or below 0, 99.995 MHz from 100 MHz up, otherwise
// rounded down to the raster of the receive frequency (5 kHz when it sits on that raster, else
// 6.25 kHz).
Frequency offsetRule(std::string_view text, Frequency receive);

// The bands as the user reads them: "136–174, 400–470, 350–390, 470–520".
std::string bandLimitsText(const BandLimits& bands);

// The text of a commit's notice; the out-of-range one goes on to name the band limits in force,
// so that the user knows what would have been taken.
std::string commitNoticeText(int noticeId, const BandLimits& bands, Language lang);

} // namespace norvik
