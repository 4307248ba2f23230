#include "core/image/radio_image.h"

#include <algorithm>

namespace norvik {

Row RadioImage::row(int r) const {
    Row out;
    std::copy_n(m_bytes.begin() + address(r, 0), kRowSize, out.begin());
    return out;
}

void RadioImage::setRow(int r, std::span<const std::uint8_t, kRowSize> data) {
    std::copy(data.begin(), data.end(), m_bytes.begin() + address(r, 0));
}

std::string RadioImage::text(int address, int length) const {
    std::string out;
    for (int i = 0; i < length; ++i) {
        if (at(address + i) != 0xFF)
            out += static_cast<char>(at(address + i));
    }
    return out;
}

void RadioImage::setText(int address, int length, std::string_view bytes) {
    for (int i = 0; i < length; ++i) {
        const auto at = static_cast<std::size_t>(i);
        set(address + i, at < bytes.size() ? static_cast<std::uint8_t>(bytes[at]) : 0xFF);
    }
}

void RadioImage::setBits(int addr, std::uint8_t mask, std::uint8_t value) {
    set(addr, static_cast<std::uint8_t>((at(addr) & ~mask) | (value & mask)));
}

} // namespace norvik
