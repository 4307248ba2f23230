#include "core/auxiliary/embedded_message.h"

#include <algorithm>

#include "core/image/channel_record.h"

namespace norvik {

std::u32string messageInsertion(std::size_t length, std::size_t selected, std::u32string_view typed) {
    const auto limit = static_cast<std::size_t>(kEmbeddedMessageLength);
    const std::size_t kept = length - std::min(selected, length);
    const std::size_t room = kept < limit ? limit - kept : 0;
    std::u32string out;
    for (const char32_t c : typed) {
        if (out.size() == room)
            break;
        const bool printable = (c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c < 0xFF);
        if (printable)
            out += c;
    }
    return out;
}

} // namespace norvik
