#include "core/options/five_tone_page.h"

#include "core/image/number_format.h"
#include "core/options/digit_code.h"
#include "core/options/option_fields.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

constexpr int kStandardAddress = 0xD25;
constexpr int kIdAddress = 0xD26;
constexpr int kRespondAddress = 0xD2B;
constexpr int kFixDigitAddress = 0xD2C;
constexpr std::array<int, 3> kListAddresses = {kStandardAddress, kRespondAddress, kFixDigitAddress};
constexpr std::array<int, 3> kListSizes = {kFiveToneStandardCount, 4, 5};
constexpr std::array<int, 3> kListDefaults = {0, 1, 0};

// Digit tones of each standard in tenths of a hertz, digits 0-9 then A-F; F has no tone.
// They agree with the published CCIR, EEA, EIA, ZVEI, CCITT and NATEL tables for every digit
// those define, except CCITT 6: the radio uses 1335.0 Hz there, 1 Hz below the standard's 1336.
constexpr std::uint16_t kTones[kFiveToneStandardCount][kFiveToneDigitCount] = {
    // CCIR1
    {19810, 11240, 11970, 12750, 13580, 14460, 15400, 16400, 17470, 18600, 24000, 9300, 22470, 9910, 21100, 0},
    // CCIR2
    {19810, 11240, 11970, 12750, 13580, 14460, 15400, 16400, 17470, 18600, 24000, 9300, 22470, 9910, 21100, 0},
    // CCITT
    {4000, 6970, 7700, 8520, 9410, 12090, 13350, 14770, 16330, 18000, 19000, 20000, 21000, 22000, 23000, 0},
    // EEA
    {19810, 11240, 11970, 12750, 13580, 14460, 15400, 16400, 17470, 18600, 10550, 9300, 24000, 9910, 21100, 0},
    // EIA
    {6000, 7410, 8820, 10230, 11640, 13050, 14460, 15870, 17280, 18690, 21510, 24330, 20100, 22920, 4590, 0},
    // NATEL
    {16330, 6310, 6970, 7700, 8520, 9410, 10400, 12090, 13360, 14770, 19950, 5710, 22050, 24370, 18050, 0},
    // ZVEI1
    {24000, 10600, 11600, 12700, 14000, 15300, 16700, 18300, 20000, 22000, 28000, 8100, 9700, 8850, 26000, 0},
    // ZVEI2
    {24000, 10600, 11600, 12700, 14000, 15300, 16700, 18300, 20000, 22000, 8850, 8100, 7400, 6800, 9700, 0},
};

} // namespace

FiveTonePage loadFiveTonePage(const RadioImage& image) {
    FiveTonePage page;
    for (int n = 0; n < 3; ++n) {
        const int stored = image.at(kListAddresses[n]);
        page.lists[n] = stored < kListSizes[n] ? stored : kListDefaults[n];
    }
    page.ownId.clear();
    for (int k = 0; k < kFiveToneIdLength; ++k) {
        const std::uint8_t b = image.at(kIdAddress + k);
        if (b < 14)
            page.ownId += dtmfDigitText(b);
    }
    return page;
}

void saveFiveTonePage(const FiveTonePage& page, RadioImage& image) {
    for (int n = 0; n < 3; ++n) {
        const int pos = page.lists[n];
        image.set(kListAddresses[n],
                  static_cast<std::uint8_t>(pos >= 0 && pos < kListSizes[n] ? pos : kListDefaults[n]));
    }
    // Only the text's own digits are written: the bytes after a short ID stay as they are.
    const std::string_view id = std::string_view(page.ownId).substr(0, kFiveToneIdLength);
    for (std::size_t k = 0; k < id.size(); ++k) {
        if (const auto code = hexDigitCode(id[k]))
            image.set(kIdAddress + static_cast<int>(k), *code);
    }
}

std::vector<std::string> fiveToneListEntries(int list, Language lang) {
    switch (list) {
    case 0:
        return {"CCIR1", "CCIR2", "CCITT", "EEA", "EIA", "NATEL", "ZVEI1", "ZVEI2"};
    case 1: {
        std::vector<std::string> entries;
        for (int n = 1; n <= 4; ++n)
            entries.push_back(std::to_string(5 * n) + textString(ids::Seconds, lang));
        return entries;
    }
    case 2:
        return {"0", "1", "2", "3", "4"};
    default:
        return {};
    }
}

std::optional<char> fiveToneIdKey(char c) {
    const auto key = dtmfKey(c);
    return key && *key != '*' && *key != '#' ? key : std::nullopt;
}

std::string validateFiveToneId(std::string_view text) {
    if (text.empty())
        return "12345";
    std::string id(text);
    if (id.size() < static_cast<std::size_t>(kFiveToneIdLength))
        id.resize(kFiveToneIdLength, 'A');
    return id;
}

std::uint16_t fiveToneFrequency(int standard, int digit) {
    if (standard < 0 || standard >= kFiveToneStandardCount || digit < 0 || digit >= kFiveToneDigitCount)
        return 0;
    return kTones[standard][digit];
}

std::array<std::string, kFiveToneDigitCount> fiveToneFrequencyTexts(int standard, char sep) {
    std::array<std::string, kFiveToneDigitCount> texts;
    for (int d = 0; d < kFiveToneDigitCount; ++d)
        texts[d] = formatScaled(fiveToneFrequency(standard, d), 1, sep);
    return texts;
}

} // namespace norvik
