#include <gtest/gtest.h>

#include "core/helpers.h"
#include "core/options/ptt_id.h"

using namespace norvik;
using namespace norvik::test;

namespace {

constexpr const char* kMskRegion = "01 02 03 04 55 55 55 FF 41 42 43 FF FF FF";     // 0xDA0..0xDAD
constexpr const char* kDtmfRegion = "0E 01 02 0F FF FF FF 66 0A FF 0B FF FF FF FF"; // 0xD90..0xD9E

RadioImage bothPairs(std::uint8_t byte832) {
    RadioImage img = randomImage(5);
    setBytes(img, 0xDA0, hex(kMskRegion));
    setBytes(img, 0xD90, hex(kDtmfRegion));
    img.set(0x832, byte832);
    return img;
}

} // namespace

TEST(PttIdLoad, TheTypeChoosesThePairShown) {
    struct Case {
        std::uint8_t byte832;
        PttIdSetting shown;
    };
    const Case cases[] = {
        {0x00, {false, PttIdType::Msk, "1234", "ABC"}},
        {0xEB, {false, PttIdType::Msk, "1234", "ABC"}},
        {0x14, {true, PttIdType::Dtmf, "*12#", "AB"}}, // the gap in the end code closes up
        {0xFF, {true, PttIdType::Dtmf, "*12#", "AB"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.byte832));
        EXPECT_EQ(loadPttId(bothPairs(c.byte832)), c.shown);
    }
    RadioImage img;
    setBytes(img, 0xDA0, hex("0C FF 07 FF"));
    EXPECT_EQ(loadPttId(img).bot, ""); // 0xFF at 0x832: DTMF, nothing stored
    img.set(0x832, 0);
    EXPECT_EQ(loadPttId(img).bot, "127"); // a stored 12 reads as two digits
}

TEST(PttIdSave, OnlyTheChosenTypesPairIsWritten) {
    struct Case {
        PttIdSetting setting;
        const char* msk;  // 0xDA0..0xDAD afterwards
        const char* dtmf; // 0xD90..0xD9E afterwards
    };
    const char* mskKept = kMskRegion;
    const char* dtmfKept = kDtmfRegion;
    const Case cases[] = {
        {{false, PttIdType::Msk, "12", "AB"}, "01 02 FF FF FF FF FF FF 41 42 FF FF FF FF", dtmfKept},
        {{false, PttIdType::Msk, "1234", ""}, "01 02 03 04 55 55 55 FF FF FF FF FF FF FF", dtmfKept},
        {{false, PttIdType::Msk, "", "NAME67"}, "FF FF FF FF 55 55 55 FF 4E 41 4D 45 36 37", dtmfKept},
        {{false, PttIdType::Msk, "9x8", "ab"}, "09 08 FF FF FF FF FF FF 61 62 FF FF FF FF", dtmfKept},
        {{false, PttIdType::Msk, "123456", "A"}, "01 02 03 04 55 55 55 FF 41 FF FF FF FF FF", dtmfKept},
        {{true, PttIdType::Dtmf, "*12#", "D"}, mskKept, "0E 01 02 0F FF FF FF 66 0D FF FF FF FF FF FF"},
        {{true, PttIdType::Dtmf, "", "1234567"}, mskKept, "FF FF FF FF FF FF FF 66 01 02 03 04 05 06 07"},
        {{true, PttIdType::Dtmf, "1 E2", "ab"}, mskKept, "01 02 FF FF FF FF FF 66 0A 0B FF FF FF FF FF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting.bot);
        RadioImage img = bothPairs(0x7E);
        savePttId(c.setting, img);
        EXPECT_EQ(bytesAt(img, 0xDA0, 14), hex(c.msk));
        EXPECT_EQ(bytesAt(img, 0xD90, 15), hex(c.dtmf));
        EXPECT_EQ(img.at(0x832),
                  (0x7E & ~0x14) | (c.setting.type == PttIdType::Dtmf ? 0x10 : 0) | (c.setting.ani ? 0x04 : 0));
    }
}

TEST(PttIdFields, TypeSwitchKeysAndLengths) {
    PttIdSetting s{true, PttIdType::Msk, "12", "AB"};
    choosePttIdType(s, PttIdType::Msk);
    EXPECT_EQ(s, (PttIdSetting{true, PttIdType::Msk, "12", "AB"})); // the same type keeps the texts
    choosePttIdType(s, PttIdType::Dtmf);
    EXPECT_EQ(s, (PttIdSetting{true, PttIdType::Dtmf, "", ""}));
    s.bot = "1";
    choosePttIdType(s, PttIdType::Msk);
    EXPECT_EQ(s, (PttIdSetting{true, PttIdType::Msk, "", ""}));

    struct Case {
        PttIdType type;
        PttIdField field;
        int maxLength;
        const char* typed;
        const char* kept;
    };
    const Case cases[] = {
        {PttIdType::Msk, PttIdField::Bot, 4, "1a2#-9", "129"},
        {PttIdType::Msk, PttIdField::Eot, 6, "ab c#\t~", "AB C#~"},
        {PttIdType::Dtmf, PttIdField::Bot, 7, "abcdef*#9 ", "ABCD*#9"},
        {PttIdType::Dtmf, PttIdField::Eot, 7, "0-x#", "0#"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(pttIdMaxLength(c.type, c.field), c.maxLength);
        EXPECT_EQ(filterText(c.typed, pttIdKeyFilter(c.type, c.field)), c.kept);
    }
    EXPECT_EQ(filterText("abc xyz*+-/.,09!", powerOnMessageKey), "ABC XYZ*+-09");
}
