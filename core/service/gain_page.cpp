#include "core/service/gain_page.h"

#include <algorithm>

#include "core/strings/string_ids.h"

namespace norvik {
namespace {

constexpr int kStepTenthsDb = 32;

// Tenths of a dB in the "0.0" format followed by "db".
std::string dbText(int tenths, char sep) {
    const int magnitude = tenths < 0 ? -tenths : tenths;
    std::string out = tenths < 0 ? "-" : "";
    out += std::to_string(magnitude / 10);
    out += sep;
    out += std::to_string(magnitude % 10);
    return out + "db";
}

// The high byte's largest value that keeps high x 256 + 255 within the box's range.
int highByteLimit(int box) {
    return fineLargest(box) / 256;
}

} // namespace

std::vector<std::string> gainListEntries(GainList list, Language lang, char sep) {
    std::vector<std::string> out;
    if (list == GainList::Input) {
        out.emplace_back("0db");
        for (int j = 1; j < kGainListEntries; ++j)
            out.push_back(dbText(j * kStepTenthsDb, sep));
        return out;
    }
    out.push_back(textString(ids::Mute, lang));
    for (int j = 1; j < kGainListEntries - 1; ++j)
        out.push_back(dbText(j * kStepTenthsDb - 7 * kStepTenthsDb, sep));
    out.emplace_back("0db");
    return out;
}

int fineOnLeave(int box, int value) {
    return std::min(value, fineLargest(box));
}

int fineSpin(int box, int value, int delta) {
    const int largest = fineLargest(box);
    const int v = fineOnLeave(box, value) + delta;
    if (v > largest)
        return 0;
    if (v < 0)
        return largest;
    return v;
}

GainPage GainPage::load(const RadioImage& image) {
    GainPage page;
    for (int i = 0; i < kGainListCount; ++i) {
        const int b = image.at(kGainListsAddress + i);
        page.lists[i] = b < kGainListEntries ? b : 0;
    }
    for (int box = 0; box < kFineValueCount; ++box) {
        const int address = kFineValuesAddress + 2 * box;
        const int high = std::min<int>(image.at(address), highByteLimit(box));
        page.fine[box] = high * 256 + image.at(address + 1);
    }
    return page;
}

void GainPage::apply(RadioImage& image) const {
    for (int i = 0; i < kGainListCount; ++i)
        image.set(kGainListsAddress + i, static_cast<std::uint8_t>(std::clamp(lists[i], 0, kGainListEntries - 1)));
    for (int box = 0; box < kFineValueCount; ++box) {
        // A value never left through its box (and so never clamped) must still fit its two bytes.
        const int v = std::clamp(fine[box], 0, fineLargest(box));
        image.set(kFineValuesAddress + 2 * box, static_cast<std::uint8_t>(v / 256));
        image.set(kFineValuesAddress + 2 * box + 1, static_cast<std::uint8_t>(v % 256));
    }
}

} // namespace norvik
