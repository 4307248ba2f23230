#include "image/radio_image.h"

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

void RadioImage::setBits(int addr, std::uint8_t mask, std::uint8_t value) {
    set(addr, static_cast<std::uint8_t>((at(addr) & ~mask) | (value & mask)));
}

} // namespace norvik
