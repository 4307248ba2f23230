#include "core/options/digit_code.h"

namespace norvik {

std::optional<std::uint8_t> dtmfDigitCode(char c) {
    if (c == '*')
        return kStarCode;
    if (c == '#')
        return kHashCode;
    // E and F are the codes of '*' and '#', not digits of their own.
    const auto code = hexDigitCode(c);
    return code && *code < kStarCode ? code : std::nullopt;
}

namespace {

std::string hexText(std::uint8_t code) {
    if (code == kNoDigit)
        return {};
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string s;
    if (code >= 16)
        s += kHex[code >> 4];
    s += kHex[code & 15];
    return s;
}

std::string readDigits(const RadioImage& image, int address, int length, std::string (*textOf)(std::uint8_t)) {
    std::string s;
    for (int i = 0; i < length; ++i)
        s += textOf(image.at(address + i));
    return s;
}

void writeDigits(RadioImage& image, int address, int length, std::string_view text,
                 std::optional<std::uint8_t> (*codeOf)(char)) {
    int written = 0;
    for (const char c : text) {
        if (written == length)
            break;
        if (const auto code = codeOf(c))
            image.set(address + written++, *code);
    }
    for (int i = written; i < length; ++i)
        image.set(address + i, kNoDigit);
}

} // namespace

std::string dtmfDigitText(std::uint8_t code) {
    if (code == kStarCode)
        return "*";
    if (code == kHashCode)
        return "#";
    return hexText(code);
}

std::string readDtmfDigits(const RadioImage& image, int address, int length) {
    return readDigits(image, address, length, dtmfDigitText);
}

void writeDtmfDigits(RadioImage& image, int address, int length, std::string_view text) {
    writeDigits(image, address, length, text, dtmfDigitCode);
}

std::optional<std::uint8_t> hexDigitCode(char c) {
    if (c >= '0' && c <= '9')
        return static_cast<std::uint8_t>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<std::uint8_t>(10 + c - 'A');
    if (c >= 'a' && c <= 'f')
        return static_cast<std::uint8_t>(10 + c - 'a');
    return std::nullopt;
}

std::string readHexDigits(const RadioImage& image, int address, int length) {
    return readDigits(image, address, length, hexText);
}

void writeHexDigits(RadioImage& image, int address, int length, std::string_view text) {
    writeDigits(image, address, length, text, hexDigitCode);
}

} // namespace norvik
