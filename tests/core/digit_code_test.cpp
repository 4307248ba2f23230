#include <gtest/gtest.h>

#include "core/helpers.h"
#include "core/options/digit_code.h"

using namespace norvik;
using namespace norvik::test;

TEST(DigitCode, StoredCodesReadAndWriteBack) {
    struct Case {
        const char* stored; // 7 bytes at 0xD90
        const char* text;   // as read
        const char* saved;  // what writing the text back stores
    };
    const Case cases[] = {
        {"0E 01 02 0F FF FF FF", "*12#", "0E 01 02 0F FF FF FF"},
        {"01 FF 02 FF FF FF FF", "12", "01 02 FF FF FF FF FF"},      // a gap closes up
        {"0A 0B 0C 0D 09 00 05", "ABCD905", "0A 0B 0C 0D 09 00 05"}, // full field, no 0xFF
        {"FF FF FF FF FF FF FF", "", "FF FF FF FF FF FF FF"},
        {"1A FF FF FF FF FF FF", "1A", "01 0A FF FF FF FF FF"}, // a stray byte shows as two digits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        RadioImage img;
        setBytes(img, 0xD90, hex(c.stored));
        const std::string text = readDtmfDigits(img, 0xD90, 7);
        EXPECT_EQ(text, c.text);
        writeDtmfDigits(img, 0xD90, 7, text);
        EXPECT_EQ(bytesAt(img, 0xD90, 7), hex(c.saved));
    }
}

TEST(DigitCode, WritingNeverPassesTheFieldAndSkipsCharactersWithoutACode) {
    RadioImage img;
    img.set(0xD97, 0x5A);
    writeDtmfDigits(img, 0xD90, 7, "1 2x3456789");
    EXPECT_EQ(bytesAt(img, 0xD90, 8), hex("01 02 03 04 05 06 07 5A"));
    writeDtmfDigits(img, 0xD90, 7, "ab*");
    EXPECT_EQ(bytesAt(img, 0xD90, 7), hex("0A 0B 0E FF FF FF FF"));
}
