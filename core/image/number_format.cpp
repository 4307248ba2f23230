#include "core/image/number_format.h"

#include <cstdlib>
#include <string>

namespace norvik {

std::string formatScaled(std::int64_t scaled, int decimals, char sep) {
    const bool negative = scaled < 0;
    std::uint64_t mag = negative ? static_cast<std::uint64_t>(-scaled) : static_cast<std::uint64_t>(scaled);
    std::uint64_t div = 1;
    for (int i = 0; i < decimals; ++i)
        div *= 10;
    std::string out = negative ? "-" : "";
    out += std::to_string(mag / div);
    if (decimals > 0) {
        std::string frac = std::to_string(mag % div);
        out += sep;
        out.append(static_cast<std::size_t>(decimals) - frac.size(), '0');
        out += frac;
    }
    return out;
}

namespace {

struct Scan {
    double value = 0;
    std::size_t consumed = 0;
    bool any = false;
};

Scan scanNumber(std::string_view s, char decimal) {
    Scan r;
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        neg = s[i] == '-';
        ++i;
    }
    std::string digits;
    bool seenPoint = false;
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (c >= '0' && c <= '9') {
            digits += c;
            r.any = true;
        } else if (c == decimal && !seenPoint) {
            digits += '.';
            seenPoint = true;
        } else {
            break;
        }
    }
    r.consumed = i;
    if (r.any) {
        r.value = std::strtod(digits.c_str(), nullptr);
        if (neg)
            r.value = -r.value;
    }
    return r;
}

} // namespace

std::optional<double> parseUserNumber(std::string_view text) {
    if (text.find(',') == std::string_view::npos)
        return leadingNumber(text);
    Scan s = scanNumber(text, ',');
    std::size_t end = s.consumed;
    while (end < text.size() && (text[end] == ' ' || text[end] == '\t'))
        ++end;
    if (!s.any || end != text.size())
        return std::nullopt;
    return s.value;
}

double leadingNumber(std::string_view text) {
    return scanNumber(text, '.').value;
}

std::string hexText(std::span<const std::uint8_t> bytes, HexCase letters) {
    const char* digits = letters == HexCase::Upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const std::uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 0x0F];
    }
    return out;
}

} // namespace norvik
