#include "core/options/option_fields.h"

#include <algorithm>
#include <cmath>

#include "core/image/number_format.h"
#include "core/options/digit_code.h"

namespace norvik {
namespace {

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::optional<char> digitKey(char c) {
    if (c >= '0' && c <= '9')
        return c;
    return std::nullopt;
}

std::optional<char> dtmfKey(char c) {
    if (dtmfDigitCode(c))
        return upper(c);
    return std::nullopt;
}

std::optional<char> powerOnMessageKey(char c) {
    const char u = upper(c);
    if ((u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || u == ' ' || u == '*' || u == '+' || u == '-')
        return u;
    return std::nullopt;
}

std::optional<char> mskNameKey(char c) {
    if (c >= ' ' && c <= '~')
        return upper(c);
    return std::nullopt;
}

std::string filterText(std::string_view text, KeyFilter filter) {
    std::string out;
    for (const char c : text) {
        if (const auto kept = filter(c))
            out += *kept;
    }
    return out;
}

int leadingInteger(std::string_view text) {
    constexpr double kLimit = 1e9;
    return static_cast<int>(std::lround(std::clamp(leadingNumber(text), -kLimit, kLimit)));
}

} // namespace norvik
