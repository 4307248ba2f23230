#pragma once

#include <string_view>

namespace norvik {

// The code that opens the service window: compared exactly, no trimming, no case folding.
inline constexpr std::string_view kServiceCode = "482917";

constexpr bool isServiceCode(std::string_view typed) {
    return typed == kServiceCode;
}

} // namespace norvik
