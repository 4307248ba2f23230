#pragma once

namespace norvik {

// Window layouts are given in twips (1/1440 inch); the screen's dots per inch turn them into
// pixels, rounded to the nearest.
inline int twipsToPixels(int twips, int dotsPerInch) {
    constexpr int kTwipsPerInch = 1440;
    return (twips * dotsPerInch + kTwipsPerInch / 2) / kTwipsPerInch;
}

} // namespace norvik
