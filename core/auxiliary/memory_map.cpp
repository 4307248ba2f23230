#include "core/auxiliary/memory_map.h"

namespace norvik {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int digitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 0;
}

} // namespace

std::string memoryMapRowLabel(int imageRow) {
    std::string out;
    if (imageRow >= 16)
        out += kHexDigits[(imageRow >> 4) & 0x0F];
    out += kHexDigits[imageRow & 0x0F];
    return out;
}

std::string memoryMapColumnLabel(int column) {
    return std::string(1, kHexDigits[column & 0x0F]);
}

std::string memoryMapAddressText(int address) {
    return memoryMapRowLabel(address / kRowSize) + memoryMapColumnLabel(address % kRowSize);
}

std::string hexByteText(std::uint8_t value) {
    return {kHexDigits[value >> 4], kHexDigits[value & 0x0F]};
}

std::optional<char> hexDigitKey(char c) {
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))
        return c;
    if (c >= 'a' && c <= 'f')
        return static_cast<char>(c - 'a' + 'A');
    return std::nullopt;
}

std::optional<char> hexEditorKey(char c, std::size_t length, std::size_t selected) {
    if (length >= 2 && selected == 0)
        return std::nullopt;
    return hexDigitKey(c);
}

std::uint8_t hexCellValue(std::string_view text) {
    if (text.empty())
        return 0xFF;
    const int high = digitValue(text[0]);
    const int low = text.size() > 1 ? digitValue(text[1]) : 0;
    return static_cast<std::uint8_t>(high * 16 + low);
}

MapCell memoryMapCellAfterEnter(MapCell cell) {
    if (cell.column < kRowSize)
        return {cell.row, cell.column + 1};
    if (cell.row < kMemoryMapLastWalkRow)
        return {cell.row + 1, 1};
    return cell;
}

} // namespace norvik
