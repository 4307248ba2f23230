#include "core/options/two_tone_page.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/image/number_format.h"
#include "core/strings/string_ids.h"

namespace norvik {
namespace {

constexpr int kToneAddress = 0xC40; // A, B, C: two bytes each, high byte first
constexpr int kListAddress = 0xC46;
constexpr int kCodeAddress = 0xC50; // ten codes of five bytes, packed across rows 197..200
constexpr int kCodeSize = 5;
constexpr std::array<int, 3> kListSizes = {6, 4, 3};

// Tones in tenths of a hertz.
constexpr std::array<int, 3> kFieldDefaults = {3217, 9281, 6009};
constexpr int kLowestTone = 2885;
constexpr int kHighestTone = 30000;
// A high byte of 0x7E or more reads as "not set", so nothing above this is ever stored.
constexpr int kHighestStorable = 0x7DFF;
constexpr int kDefaultGap = 100;

std::optional<int> storedTone(const RadioImage& image, int address) {
    const int high = image.at(address);
    if (high >= 0x7E)
        return std::nullopt;
    return high * 256 + image.at(address + 1);
}

void storeTone(RadioImage& image, int address, std::optional<int> tenths) {
    image.set(address, tenths ? static_cast<std::uint8_t>(*tenths >> 8) : 0xFF);
    image.set(address + 1, tenths ? static_cast<std::uint8_t>(*tenths & 0xFF) : 0xFF);
}

std::string tenthsText(int tenths, char sep) {
    return formatScaled(tenths, 1, sep);
}

int roundedWithin(double value, int low, int high) {
    return static_cast<int>(std::llround(std::clamp(value, static_cast<double>(low), static_cast<double>(high))));
}

// A tone text as the value to store; nothing for an empty text or one that is not a number.
std::optional<int> toneTenths(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    const std::optional<double> n = parseUserNumber(text);
    if (!n)
        return std::nullopt;
    return roundedWithin(*n * 10, 0, kHighestStorable);
}

std::string loadedCodeTone(std::optional<int> tenths, int row, char sep) {
    if (!tenths)
        return {};
    if (row == 1)
        return tenthsText(*tenths, sep);
    if (*tenths < kLowestTone)
        return tenthsText(kLowestTone, sep);
    if (*tenths > kHighestTone)
        return "3000";
    return tenthsText(*tenths, sep);
}

std::string toneWord(char letter, Language lang) {
    return std::string(1, letter) + textString(ids::Tone, lang);
}

} // namespace

TwoTonePage loadTwoTonePage(const RadioImage& image, char sep) {
    TwoTonePage page;
    for (int n = 0; n < 3; ++n)
        page.tones[n] = tenthsText(storedTone(image, kToneAddress + 2 * n).value_or(kFieldDefaults[n]), sep);
    for (int n = 0; n < 3; ++n) {
        const int stored = image.at(kListAddress + n);
        page.lists[n] = stored < kListSizes[n] ? stored : 0;
    }
    for (int i = 0; i < kTwoToneCodeCount; ++i) {
        const int a = kCodeAddress + kCodeSize * i;
        const int row = i + 1;
        std::optional<int> tone1 = storedTone(image, a);
        std::optional<int> tone2 = storedTone(image, a + 2);
        if (row == 1) {
            tone1 = tone1.value_or(kFieldDefaults[0]);
            tone2 = tone2.value_or(kFieldDefaults[1]);
        }
        TwoToneCode& code = page.codes[i];
        code.tone1 = loadedCodeTone(tone1, row, sep);
        code.tone2 = loadedCodeTone(tone2, row, sep);
        if (tone1 && tone2)
            code.gap = std::to_string(image.at(a + 4));
    }
    return page;
}

void saveTwoTonePage(const TwoTonePage& page, RadioImage& image) {
    for (int n = 0; n < 3; ++n) {
        storeTone(image, kToneAddress + 2 * n, toneTenths(page.tones[n]).value_or(kFieldDefaults[n]));
    }
    for (int n = 0; n < 3; ++n) {
        const int pos = page.lists[n];
        image.set(kListAddress + n, static_cast<std::uint8_t>(pos >= 0 && pos < kListSizes[n] ? pos : 0));
    }
    for (int i = 0; i < kTwoToneCodeCount; ++i) {
        const int a = kCodeAddress + kCodeSize * i;
        const TwoToneCode& code = page.codes[i];
        storeTone(image, a, toneTenths(code.tone1));
        storeTone(image, a + 2, toneTenths(code.tone2));
        const std::optional<double> gap = code.gap.empty() ? std::nullopt : parseUserNumber(code.gap);
        image.set(a + 4, gap ? static_cast<std::uint8_t>(roundedWithin(*gap, 0, 255)) : 0xFF);
    }
}

std::vector<std::string> twoToneListEntries(int list, Language lang) {
    switch (list) {
    case 0:
        return {"A-B", "C-B", "C-A", "B-C", "B-A", "A-C"};
    case 1:
        return {textString(ids::None, lang), toneWord('A', lang), toneWord('B', lang), toneWord('C', lang)};
    case 2:
        return {textString(ids::None, lang), textString(ids::Alert, lang), textString(ids::Transpond, lang)};
    default:
        return {};
    }
}

std::string twoToneLabel(int tone, Language lang) {
    return std::string(1, static_cast<char>('A' + tone)) + " " + textString(ids::Tone, lang) + "[Hz]";
}

std::string twoToneGridHeader(int column, Language lang) {
    switch (column) {
    case 0:
        return textString(ids::Num, lang);
    case 1:
        return toneWord('A', lang) + "[Hz]";
    case 2:
        return toneWord('B', lang) + "[Hz]";
    default:
        return textString(ids::GapTime, lang);
    }
}

std::optional<std::string> twoToneTypingLimit(std::string_view text) {
    if (parseUserNumber(text).value_or(leadingNumber(text)) > 3000)
        return "3000";
    return std::nullopt;
}

std::optional<char> toneKey(char c) {
    if ((c >= '0' && c <= '9') || c == '.' || c == ',')
        return c;
    return std::nullopt;
}

std::string validateTwoToneField(std::string_view text, char sep) {
    if (text.empty())
        return {};
    const std::optional<double> n = parseUserNumber(text);
    if (!n)
        return std::string(text);
    return tenthsText(roundedWithin(*n * 10, kLowestTone, 99999999), sep);
}

bool commitTwoToneCell(TwoToneCode& code, int row, int column, std::string_view text, char sep) {
    std::optional<double> n;
    if (!text.empty()) {
        n = parseUserNumber(text);
        if (!n)
            return false;
    }
    const bool bothTones = !code.tone1.empty() && !code.tone2.empty();
    if (column == 3) {
        if (n)
            code.gap = std::to_string(roundedWithin(*n, 0, 255));
        else
            code.gap = bothTones ? std::to_string(kDefaultGap) : "";
        return true;
    }
    std::string& tone = column == 1 ? code.tone1 : code.tone2;
    if (n) {
        tone = tenthsText(roundedWithin(*n * 10, kLowestTone, kHighestTone), sep);
    } else if (row == 1) {
        // The first code is always complete: an emptied tone takes its default back.
        tone = tenthsText(kFieldDefaults[column - 1], sep);
    } else {
        tone.clear();
        if (column == 1)
            code.tone2.clear();
        code.gap.clear();
    }
    if (code.gap.empty() && !code.tone1.empty() && !code.tone2.empty())
        code.gap = std::to_string(kDefaultGap);
    return true;
}

} // namespace norvik
