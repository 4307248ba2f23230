#include <gtest/gtest.h>

#include "core/helpers.h"
#include "options/common_set.h"

using namespace norvik;
using namespace norvik::test;

TEST(CommonSetLoad, StoredBytesShowAsText) {
    struct Case {
        std::uint8_t digitDelay; // 0xD24
        std::uint8_t autoReset;  // 0xD20
        const char* delayShown;
        const char* resetShown;
    };
    const Case cases[] = {
        {0x5F, 0, "400", "Off"},   // 19 steps is beyond the list: the default
        {0x2D, 0x20, "550", "10"}, // above 15 s: the default
        {0, 15, "100", "15"},      {90, 1, "1000", "1"}, {0xFF, 0xFF, "400", "10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.digitDelay));
        RadioImage img;
        img.set(0xD24, c.digitDelay);
        img.set(0xD20, c.autoReset);
        const CommonSet s = loadCommonSet(img, Language::English);
        EXPECT_EQ(s.digitDelay, c.delayShown);
        EXPECT_EQ(s.autoResetTimer, c.resetShown);
    }
    EXPECT_EQ(loadCommonSet(RadioImage{}, Language::Chinese).autoResetTimer, "10");
    RadioImage zero;
    zero.set(0xD20, 0);
    EXPECT_EQ(loadCommonSet(zero, Language::Chinese).autoResetTimer, "关");
}

TEST(CommonSetDigitDelay, ValidationAndArrowKeys) {
    struct Case {
        const char* text;
        const char* validated;
        const char* up;
        const char* down;
    };
    const Case cases[] = {
        {"437", "400", "450", "350"},          {"50", "100", "100", "1000"},   {"1200", "1000", "100", "100"},
        {"100", "100", "150", "1000"},         {"1000", "1000", "100", "950"}, {"", "100", "1000", "1000"},
        {"99999999999", "1000", "100", "100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(validateDigitDelay(c.text), c.validated);
        EXPECT_EQ(stepDigitDelay(c.text, +1), c.up);
        EXPECT_EQ(stepDigitDelay(c.text, -1), c.down);
    }
}

TEST(CommonSetAutoReset, ValidationAndArrowKeys) {
    struct Case {
        Language lang;
        const char* text;
        const char* validated;
        const char* up;
        const char* down;
    };
    const Case cases[] = {
        {Language::English, "Off", "Off", "1", "15"},  {Language::English, "0", "Off", "1", "15"},
        {Language::English, "20", "15", "Off", "Off"}, {Language::English, "07", "07", "8", "6"},
        {Language::English, "15", "15", "Off", "14"},  {Language::English, "1", "1", "2", "Off"},
        {Language::Chinese, "关", "关", "1", "15"},    {Language::Chinese, "", "关", "1", "15"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(validateAutoResetTimer(c.text, c.lang), c.validated);
        EXPECT_EQ(stepAutoResetTimer(c.text, +1, c.lang), c.up);
        EXPECT_EQ(stepAutoResetTimer(c.text, -1, c.lang), c.down);
    }
}

TEST(CommonSetSave, TextsAreValidatedBeforeTheyAreStored) {
    struct Case {
        const char* delay;
        const char* reset;
        std::uint8_t delayByte;
        std::uint8_t resetByte;
    };
    const Case cases[] = {
        {"550", "Off", 45, 0}, {"400", "12", 30, 12}, {"1000", "15", 90, 15},
        {"100", "1", 0, 1},    {"50", "99", 0, 15}, // never left its field: still in range
        {"5000", "0", 90, 0},  {"437", "07", 30, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.delay);
        RadioImage img = randomImage(11);
        const RadioImage before = img;
        saveCommonSet({true, c.delay, c.reset}, img, Language::English);
        EXPECT_EQ(img.at(0xD24), c.delayByte);
        EXPECT_EQ(img.at(0xD20), c.resetByte);
        EXPECT_EQ(img.at(0x832), before.at(0x832) | 0x20); // side tone alone
        saveCommonSet({false, c.delay, c.reset}, img, Language::English);
        EXPECT_EQ(img.at(0x832), before.at(0x832) & ~0x20);
    }
}
