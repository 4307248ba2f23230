#pragma once
// Small builders shared by the core tests.

#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "image/radio_image.h"

namespace norvik::test {

using Bytes = std::vector<std::uint8_t>;

// "13 60 17 40" -> {0x13, 0x60, 0x17, 0x40}
inline Bytes hex(const std::string& text) {
    std::istringstream in(text);
    Bytes out;
    for (unsigned v; in >> std::hex >> v;)
        out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

inline Bytes bytesAt(const RadioImage& img, int address, int count) {
    Bytes out;
    for (int i = 0; i < count; ++i)
        out.push_back(img.at(address + i));
    return out;
}

inline void setBytes(RadioImage& img, int address, const Bytes& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i)
        img.set(address + static_cast<int>(i), bytes[i]);
}

inline RadioImage randomImage(unsigned seed) {
    std::mt19937 rng(seed);
    RadioImage img;
    for (auto& b : img.bytes())
        b = static_cast<std::uint8_t>(rng());
    return img;
}

} // namespace norvik::test
