#include "options/digit_code.h"

namespace norvik {

std::optional<std::uint8_t> dtmfDigitCode(char c) {
    if (c >= '0' && c <= '9')
        return static_cast<std::uint8_t>(c - '0');
    if (c >= 'A' && c <= 'D')
        return static_cast<std::uint8_t>(10 + c - 'A');
    if (c >= 'a' && c <= 'd')
        return static_cast<std::uint8_t>(10 + c - 'a');
    if (c == '*')
        return kStarCode;
    if (c == '#')
        return kHashCode;
    return std::nullopt;
}

std::string dtmfDigitText(std::uint8_t code) {
    if (code == kNoDigit)
        return {};
    if (code == kStarCode)
        return "*";
    if (code == kHashCode)
        return "#";
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string s;
    if (code >= 16)
        s += kHex[code >> 4];
    s += kHex[code & 15];
    return s;
}

std::string readDtmfDigits(const RadioImage& image, int address, int length) {
    std::string s;
    for (int i = 0; i < length; ++i)
        s += dtmfDigitText(image.at(address + i));
    return s;
}

void writeDtmfDigits(RadioImage& image, int address, int length, std::string_view text) {
    int written = 0;
    for (const char c : text) {
        if (written == length)
            break;
        if (const auto code = dtmfDigitCode(c))
            image.set(address + written++, *code);
    }
    for (int i = written; i < length; ++i)
        image.set(address + i, kNoDigit);
}

} // namespace norvik
