#pragma once

#include "core/image/band_limits.h"
#include "core/image/radio_image.h"

namespace norvik {

// Replaces the whole image with what the program edits before anything was read or opened:
// all 0xFF, the constant rows, the band limits in force, and the two VFO records starting at
// the lower limits of bands 0 and 1.
void writeNewImageDefaults(RadioImage& image, const BandLimits& bands);

} // namespace norvik
