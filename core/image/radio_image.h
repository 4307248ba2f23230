#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace norvik {

constexpr int kImageSize = 4096;
constexpr int kRowSize = 16;
constexpr int kRowCount = 256;

using Row = std::array<std::uint8_t, kRowSize>;
using ImageBytes = std::array<std::uint8_t, kImageSize>;

// The radio's 4096-byte configuration memory, also seen as 256 rows of 16 bytes.
// 0xFF is "empty" throughout, so a fresh image is all 0xFF.
class RadioImage {
public:
    RadioImage() { m_bytes.fill(0xFF); }
    explicit RadioImage(const ImageBytes& bytes) : m_bytes(bytes) {}

    static constexpr int address(int row, int col) { return row * kRowSize + col; }

    std::uint8_t at(int address) const { return m_bytes[static_cast<std::size_t>(address)]; }
    void set(int address, std::uint8_t value) { m_bytes[static_cast<std::size_t>(address)] = value; }

    std::uint8_t byte(int row, int col) const { return at(address(row, col)); }
    void setByte(int row, int col, std::uint8_t value) { set(address(row, col), value); }

    Row row(int r) const;
    void setRow(int r, std::span<const std::uint8_t, kRowSize> data);

    // Read-modify-write of the bits in mask: they are cleared, then value (already shifted into
    // place) is or-ed in; the other bits of the byte stay as they were.
    void setBits(int address, std::uint8_t mask, std::uint8_t value);
    std::uint8_t bits(int address, std::uint8_t mask, int shift) const {
        return static_cast<std::uint8_t>((at(address) & mask) >> shift);
    }

    void fill(std::uint8_t value) { m_bytes.fill(value); }

    // Texts (channel names, the power-on and embedded messages) are single-byte codes in a
    // fixed field; 0xFF means "no character" and is skipped wherever it stands, and a write pads
    // the field with 0xFF (characters past its length are not stored).
    std::string text(int address, int length) const;
    void setText(int address, int length, std::string_view bytes);

    const ImageBytes& bytes() const { return m_bytes; }
    ImageBytes& bytes() { return m_bytes; }

    friend bool operator==(const RadioImage&, const RadioImage&) = default;

private:
    ImageBytes m_bytes;
};

} // namespace norvik
