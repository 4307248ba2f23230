#include "core/options/msk_page.h"

#include "core/options/digit_code.h"

namespace norvik {
namespace {

constexpr int kOwnIdAddress = 0xD30;
constexpr int kCallListAddress = 0xD38; // slot 2 on; slot 1 (0xD34) is skipped

int callAddress(int entry) {
    return kCallListAddress + kMskIdLength * entry;
}

} // namespace

std::optional<char> mskDigitKey(char c) {
    if ((c >= '0' && c <= '9') || c == 'E' || c == 'e')
        return c == 'e' ? 'E' : c;
    return std::nullopt;
}

std::optional<char> hexKey(char c) {
    if (!hexDigitCode(c))
        return std::nullopt;
    return c >= 'a' ? static_cast<char>(c - 'a' + 'A') : c;
}

MskPage loadMskPage(const RadioImage& image) {
    MskPage page;
    page.ownId = readHexDigits(image, kOwnIdAddress, kMskIdLength);
    for (int i = 0; i < kMskCallListCount; ++i)
        page.calls[i] = readHexDigits(image, callAddress(i), kMskIdLength);
    return page;
}

void saveMskPage(const MskPage& page, RadioImage& image) {
    writeHexDigits(image, kOwnIdAddress, kMskIdLength, page.ownId);
    for (int i = 0; i < kMskCallListCount; ++i)
        writeHexDigits(image, callAddress(i), kMskIdLength, page.calls[i]);
}

} // namespace norvik
