#include "core/service/tuning_page.h"

#include <algorithm>

#include "core/service/value_entry.h"
#include "core/strings/string_ids.h"

namespace norvik {

std::vector<DeviationColumn> deviationColumns(const Band& band, int bandIndex) {
    std::vector<DeviationColumn> out;
    const int start = (band.lower / 10) * 10;
    const int end = band.upper - 1;
    const int most = maxDeviationColumns(bandIndex);
    for (int n = 1; n <= most; ++n) {
        const int lo = std::max(start + 10 * (n - 1), static_cast<int>(band.lower));
        const int hi = start + 10 * (n - 1) + 9;
        if (hi >= end || n == most) {
            out.push_back({lo, end});
            break;
        }
        out.push_back({lo, hi});
    }
    return out;
}

std::string rangeText(int lo, int hi) {
    return std::to_string(lo) + "-" + std::to_string(hi);
}

std::vector<std::string> deviationRowHeadings(Language lang) {
    std::vector<std::string> out = {"67.0-77.0",   "79.7-91.5",   "94.8-107.2",  "110.9-127.3", "131.8-151.4",
                                    "156.7-167.9", "171.3-183.5", "186.2-199.5", "203.5-225.7", "229.1-254.1"};
    const std::string tail = textString(ids::TailCode, lang);
    out.push_back(tail + " QT");
    out.push_back(tail + " DQT");
    out.push_back(textString(ids::Deviation, lang) + " DQT");
    return out;
}

int tuningCellValue(std::string_view text) {
    return std::min(valueOfDigits(text), kCellLargest);
}

TuningPage TuningPage::load(const RadioImage& image, const BandLimits& bands) {
    TuningPage page;
    for (int b = 0; b < kBandCount; ++b) {
        for (int i = 0; i < kTuningSize * kTuningSize; ++i)
            page.tuning[b][i] = image.at(tuningAddress(b, 0, 0) + i);
    }
    for (int b = 0; b < kDeviationGridsWithBytes; ++b) {
        const std::size_t columns = deviationColumns(bands[b], b).size();
        page.deviation[b].resize(columns);
        for (std::size_t c = 0; c < columns; ++c) {
            for (int r = 0; r < kDeviationRows; ++r)
                page.deviation[b][c][r] = image.at(deviationAddress(b, static_cast<int>(c), r));
        }
    }
    return page;
}

void TuningPage::apply(RadioImage& image) const {
    for (int b = 0; b < kBandCount; ++b) {
        for (int i = 0; i < kTuningSize * kTuningSize; ++i)
            image.set(tuningAddress(b, 0, 0) + i, tuning[b][i]);
    }
    for (int b = 0; b < kDeviationGridsWithBytes; ++b) {
        const int columns = std::min(static_cast<int>(deviation[b].size()), maxDeviationColumns(b));
        for (int c = 0; c < columns; ++c) {
            for (int r = 0; r < kDeviationRows; ++r)
                image.set(deviationAddress(b, c, r), deviation[b][c][r]);
        }
    }
}

} // namespace norvik
