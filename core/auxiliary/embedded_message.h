#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/image/radio_image.h"

namespace norvik {

// The embedded message: up to 16 single-byte characters in row 209.
constexpr int kEmbeddedMessageAddress = 0xD10;
constexpr int kEmbeddedMessageLength = 16;
inline std::string decodeEmbeddedMessage(const RadioImage& image) {
    return image.text(kEmbeddedMessageAddress, kEmbeddedMessageLength);
}
inline void encodeEmbeddedMessage(RadioImage& image, std::string_view bytes) {
    image.setText(kEmbeddedMessageAddress, kEmbeddedMessageLength, bytes);
}

// What typing or pasting `typed` into the message box puts there, given the box holds `length`
// characters of which `selected` are selected (and replaced). Only codes a message byte can hold
// go in: nothing above 255, no control codes and not 255 itself (that byte marks an empty
// position and would vanish). What does not fit into the 16 characters is cut off, so a
// character typed into a full box without a selection gives nothing.
std::u32string messageInsertion(std::size_t length, std::size_t selected, std::u32string_view typed);

} // namespace norvik
