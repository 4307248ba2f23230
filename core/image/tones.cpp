#include "core/image/tones.h"

#include <algorithm>

#include "core/image/number_format.h"
#include "core/strings/string_ids.h"

namespace norvik {

const std::array<int, kCtcssCount> kCtcssTenths = {
    670,  693,  719,  744,  770,  797,  825,  854,  885,  915,  948,  974,  1000, 1035, 1072, 1109, 1148,
    1188, 1230, 1273, 1318, 1365, 1413, 1462, 1514, 1567, 1598, 1622, 1655, 1679, 1713, 1738, 1773, 1799,
    1835, 1862, 1899, 1928, 1966, 1995, 2035, 2065, 2107, 2181, 2257, 2291, 2336, 2418, 2503, 2541};

const std::array<int, kDcsCount> kDcsCodes = {
    23,  25,  26,  31,  32,  36,  43,  47,  51,  53,  54,  65,  71,  72,  73,  74,  114, 115, 116, 122, 125,
    131, 132, 134, 143, 145, 152, 155, 156, 162, 165, 172, 174, 205, 212, 223, 225, 226, 243, 244, 245, 246,
    251, 252, 255, 261, 263, 265, 266, 271, 274, 306, 311, 315, 325, 331, 332, 343, 346, 351, 356, 364, 365,
    371, 411, 412, 413, 423, 431, 432, 445, 446, 452, 454, 455, 462, 464, 465, 466, 503, 506, 516, 523, 526,
    532, 546, 565, 606, 612, 624, 627, 631, 632, 645, 654, 662, 664, 703, 712, 723, 731, 732, 734, 743, 754};

namespace {

std::string dcsText(int code, char polarity) {
    std::string digits = std::to_string(code);
    digits.insert(0, 3 - digits.size(), '0');
    return "D" + digits + polarity;
}

// 1..50 for a CTCSS tone, 51..260 for a DCS code, 0 otherwise. Works on numbers, not texts, so
// the decimal separator never matters.
int indexOf(ToneCode code) {
    const int hi = code.high;
    const int lo = code.low;
    if (hi == 0xFF)
        return 0;
    if (hi <= 0x3F) {
        // The four nibbles are written out as decimal numbers one after the other and the
        // result read back; a nibble above 9 thus contributes two digits.
        const std::string digits =
            std::to_string(hi >> 4) + std::to_string(hi & 15) + std::to_string(lo >> 4) + std::to_string(lo & 15);
        const int tenths = std::stoi(digits);
        auto it = std::find(kCtcssTenths.begin(), kCtcssTenths.end(), tenths);
        return it == kCtcssTenths.end() ? 0 : 1 + static_cast<int>(it - kCtcssTenths.begin());
    }
    const int kind = hi >> 6;
    if (kind != 2 && kind != 3)
        return 0;
    const int d1 = hi & 15, d2 = lo >> 4, d3 = lo & 15;
    if (d1 > 9 || d2 > 9 || d3 > 9)
        return 0;
    const int value = d1 * 100 + d2 * 10 + d3;
    auto it = std::find(kDcsCodes.begin(), kDcsCodes.end(), value);
    if (it == kDcsCodes.end())
        return 0;
    const int pos = static_cast<int>(it - kDcsCodes.begin());
    return (kind == 2 ? 1 + kCtcssCount : 1 + kCtcssCount + kDcsCount) + pos;
}

int value(char c) {
    return (c >= '0' && c <= '9') ? c - '0' : 0;
}

} // namespace

std::vector<std::string> toneList(Language lang, char sep) {
    std::vector<std::string> list;
    list.reserve(kToneListSize);
    list.emplace_back(text(ids::None, lang));
    for (int t : kCtcssTenths)
        list.push_back(formatScaled(t, 1, sep));
    for (int c : kDcsCodes)
        list.push_back(dcsText(c, 'N'));
    for (int c : kDcsCodes)
        list.push_back(dcsText(c, 'I'));
    return list;
}

int toneIndex(ToneCode code) {
    return indexOf(code);
}

std::string decodeTone(ToneCode code, Language lang, char sep) {
    const int idx = indexOf(code);
    if (idx == 0)
        return std::string(text(ids::None, lang));
    if (idx <= kCtcssCount)
        return formatScaled(kCtcssTenths[idx - 1], 1, sep);
    if (idx <= kCtcssCount + kDcsCount)
        return dcsText(kDcsCodes[idx - 1 - kCtcssCount], 'N');
    return dcsText(kDcsCodes[idx - 1 - kCtcssCount - kDcsCount], 'I');
}

ToneCode encodeTone(std::string_view t) {
    static constexpr std::string_view kWu = "\xE6\x97\xA0"; // 无 in UTF-8
    if (t.empty() || t.front() == 'N' || t.substr(0, kWu.size()) == kWu)
        return {0xFF, 0xFF};
    auto ch = [&](std::size_t i) { return i < t.size() ? t[i] : '\0'; };
    if (t.front() == 'D') {
        const int polarity = t.back() == 'N' ? 8 : 12;
        return {static_cast<std::uint8_t>(value(ch(2)) * 16 + value(ch(3))),
                static_cast<std::uint8_t>(polarity * 16 + value(ch(1)))};
    }
    std::string s(t);
    if (s.size() == 4)
        s.insert(s.begin(), '0');
    auto c = [&](std::size_t i) { return i < s.size() ? s[i] : '\0'; };
    return {static_cast<std::uint8_t>(value(c(2)) * 16 + value(c(4))),
            static_cast<std::uint8_t>(value(c(0)) * 16 + value(c(1)))};
}

} // namespace norvik
