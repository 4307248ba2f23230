#include <gtest/gtest.h>

#include "core/helpers.h"
#include "core/options/common_set.h"

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

// The digit delay steps by 50 ms within 100..1000, the auto-reset timer by minutes to 15 or Off;
// both go round at their ends.
TEST(CommonSetFields, ValidationAndArrowKeys) {
    struct Case {
        bool reset; // the auto-reset timer, else the digit delay
        Language lang;
        const char *text, *validated, *up, *down;
    };
    constexpr auto En = Language::English, Zh = Language::Chinese;
    const Case cases[] = {
        {false, En, "437", "400", "450", "350"},
        {false, En, "50", "100", "100", "1000"},
        {false, En, "1200", "1000", "100", "100"},
        {false, En, "100", "100", "150", "1000"},
        {false, En, "1000", "1000", "100", "950"},
        {false, En, "", "100", "1000", "1000"},
        {false, En, "99999999999", "1000", "100", "100"},
        {true, En, "Off", "Off", "1", "15"},
        {true, En, "0", "Off", "1", "15"},
        {true, En, "20", "15", "Off", "Off"},
        {true, En, "07", "07", "8", "6"},
        {true, En, "15", "15", "Off", "14"},
        {true, En, "1", "1", "2", "Off"},
        {true, Zh, "关", "关", "1", "15"},
        {true, Zh, "", "关", "1", "15"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto step = [&c](int d) {
            return c.reset ? stepAutoResetTimer(c.text, d, c.lang) : stepDigitDelay(c.text, d);
        };
        EXPECT_EQ(c.reset ? validateAutoResetTimer(c.text, c.lang) : validateDigitDelay(c.text), c.validated);
        EXPECT_EQ(step(+1), c.up);
        EXPECT_EQ(step(-1), c.down);
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
