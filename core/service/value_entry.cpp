#include "core/service/value_entry.h"

#include <climits>

namespace norvik {

int valueOfDigits(std::string_view text) {
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        v = v * 10 + (c - '0');
        if (v > INT_MAX)
            return INT_MAX;
    }
    return static_cast<int>(v);
}

} // namespace norvik
