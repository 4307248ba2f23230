#pragma once

#include <cstddef>
#include <string_view>

namespace norvik {

// The service pages take whole numbers typed as digits only, a fixed number of them: a digit is
// refused while the field is full and nothing in it is selected to be replaced.
constexpr bool acceptsDigit(std::size_t length, bool hasSelection, std::size_t maxDigits) {
    return hasSelection || length < maxDigits;
}

// The value of the text's leading digits; no digits read as 0. Saturates instead of overflowing.
int valueOfDigits(std::string_view text);

} // namespace norvik
