#pragma once

#include <string_view>

namespace norvik {

// The value of the text's leading digits; no digits read as 0. Saturates instead of overflowing.
int valueOfDigits(std::string_view text);

} // namespace norvik
