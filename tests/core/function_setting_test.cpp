#include <gtest/gtest.h>

#include <random>

#include "core/helpers.h"
#include "core/options/function_setting.h"

using namespace norvik;
using namespace norvik::test;

namespace {

// A setting with every list position and check drawn from its valid range.
FunctionSetting randomSetting(std::mt19937& rng) {
    const auto pick = [&rng](int count) { return static_cast<int>(rng() % static_cast<unsigned>(count)); };
    FunctionSetting s;
    s.squelchLevel = pick(10);
    s.timeOutTimer = pick(10);
    s.scanMode = pick(3);
    s.chord = pick(2);
    s.batterySave = pick(2);
    s.beepTone = pick(2);
    s.rogerTone = pick(2);
    s.lamp = pick(3);
    s.channelDisplay = pick(2);
    s.voxLevel = pick(8);
    s.voxDelay = pick(4);
    s.messageMode = pick(3);
    s.powerOnMessage = std::string("ABC 12*+-").substr(0, static_cast<std::size_t>(pick(8)));
    s.cancelCodeSquelch = pick(2) != 0;
    s.inhibitReceiver = pick(2) != 0;
    s.relay = pick(2) != 0;
    s.totPenalty = pick(2) != 0;
    s.manual = pick(2) != 0;
    s.bandStep = {pick(8), pick(8)};
    return s;
}

} // namespace

TEST(FunctionSettingLoad, EmptyImageShowsTheDefaultEntries) {
    FunctionSetting expected;
    expected.squelchLevel = 5; // "5"
    expected.voxLevel = 5;     // "6"
    expected.voxDelay = 1;     // 2sec
    expected.chord = expected.batterySave = expected.beepTone = expected.rogerTone = expected.channelDisplay = 1;
    expected.cancelCodeSquelch = expected.inhibitReceiver = expected.relay = expected.totPenalty = expected.manual =
        true;
    EXPECT_EQ(loadFunctionSetting(RadioImage{}), expected);
}

TEST(FunctionSettingLoad, StoredValuesOutsideTheirListShowTheDefault) {
    struct Case {
        int address;
        std::uint8_t stored;
        int FunctionSetting::*field;
        int shown;
    };
    const Case cases[] = {
        {0x834, 9, &FunctionSetting::squelchLevel, 9},   {0x834, 10, &FunctionSetting::squelchLevel, 5},
        {0x835, 9, &FunctionSetting::timeOutTimer, 9},   {0x835, 10, &FunctionSetting::timeOutTimer, 0},
        {0x830, 0x80, &FunctionSetting::scanMode, 2},    {0x830, 0xC0, &FunctionSetting::scanMode, 0},
        {0x831, 0x80, &FunctionSetting::lamp, 2},        {0x831, 0xC0, &FunctionSetting::lamp, 0},
        {0x833, 0xBF, &FunctionSetting::messageMode, 2}, {0x833, 0xC0, &FunctionSetting::messageMode, 0},
        {0x836, 0x07, &FunctionSetting::voxLevel, 7},    {0x836, 0x08, &FunctionSetting::voxLevel, 5},
        {0x836, 0x30, &FunctionSetting::voxDelay, 3},    {0x836, 0x40, &FunctionSetting::voxDelay, 1},
        {0x836, 0x00, &FunctionSetting::voxDelay, 0}, // 1sec reads back as saved
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.address << " = " << int(c.stored));
        RadioImage img;
        img.set(c.address, c.stored);
        EXPECT_EQ(loadFunctionSetting(img).*c.field, c.shown);
    }
    RadioImage img;
    setBytes(img, 0x83B, {3});
    setBytes(img, 0x84B, {0x20});
    EXPECT_EQ(loadFunctionSetting(img).bandStep, (std::array<int, 2>{3, 0})); // 12.5K, 5K
}

TEST(FunctionSettingSave, RoundTripsAndKeepsEveryOtherBit) {
    // Bits the page does not own: 0x830 bits 5-3 and 1-0, 0x832 bits 7-4 and 2, 0x833 bits 5-0.
    const std::pair<int, std::uint8_t> foreignBits[] = {{0x830, 0x3B}, {0x832, 0xF4}, {0x833, 0x3F}};
    std::mt19937 rng(7);
    for (unsigned seed = 0; seed < 64; ++seed) {
        SCOPED_TRACE(seed);
        const FunctionSetting s = randomSetting(rng);
        const RadioImage before = randomImage(seed);
        RadioImage img = before;
        saveFunctionSetting(s, img);
        EXPECT_EQ(loadFunctionSetting(img), s);
        for (const auto& [address, mask] : foreignBits)
            EXPECT_EQ(img.at(address) & mask, before.at(address) & mask) << std::hex << address;
        EXPECT_EQ(img.at(0x836), s.voxLevel + 16 * s.voxDelay); // whatever 0x836 held
        for (int a = 0; a < kImageSize; ++a) {
            const bool owned = (a >= 0x830 && a <= 0x836) || (a >= 0x840 && a <= 0x846) || a == 0x83B || a == 0x84B;
            if (!owned) {
                ASSERT_EQ(img.at(a), before.at(a)) << std::hex << a;
            }
        }
    }
}

TEST(FunctionSettingSave, PowerOnMessage) {
    struct Case {
        const char* typed;
        int mode;
        const char* stored; // 0x840..0x846
        const char* reloaded;
    };
    const Case cases[] = {
        {"abc", 2, "41 42 43 FF FF FF FF", "ABC"},
        {"abc", 0, "41 42 43 FF FF FF FF", "ABC"}, // saved whatever the mode
        {"", 2, "FF FF FF FF FF FF FF", ""},
        {"HELLO 1", 1, "48 45 4C 4C 4F 20 31", "HELLO 1"},
        {"TOO LONG!", 2, "54 4F 4F 20 4C 4F 4E", "TOO LON"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        RadioImage img = randomImage(3);
        FunctionSetting s = loadFunctionSetting(img);
        s.powerOnMessage = c.typed;
        s.messageMode = c.mode;
        saveFunctionSetting(s, img);
        EXPECT_EQ(bytesAt(img, 0x840, 7), hex(c.stored));
        EXPECT_EQ(loadFunctionSetting(img).powerOnMessage, c.reloaded);
    }
    RadioImage img;
    setBytes(img, 0x840, hex("41 42 FF 43 44"));
    EXPECT_EQ(loadPowerOnMessage(img), "AB"); // stops at the first 0xFF
}

TEST(FunctionSettingLists, EntriesInBothLanguages) {
    struct Case {
        OptionList list;
        Language lang;
        std::size_t count;
        const char* first;
        const char* last;
    };
    const Case cases[] = {
        {OptionList::SquelchLevel, Language::English, 10, "0", "9"},
        {OptionList::TimeOutTimer, Language::English, 10, "Off", "270sec"},
        {OptionList::TimeOutTimer, Language::Chinese, 10, "关", "270秒"},
        {OptionList::ScanMode, Language::English, 3, "Time", "Seek"},
        {OptionList::Lamp, Language::English, 3, "Off", "Auto"},
        {OptionList::VoxLevel, Language::English, 8, "1", "8"},
        {OptionList::VoxDelay, Language::English, 4, "1sec", "4sec"},
        {OptionList::MessageMode, Language::Chinese, 3, "关", "信息"},
        {OptionList::BandStep, Language::Chinese, 8, "5K", "100K"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.list));
        const auto entries = listEntries(c.list, c.lang);
        ASSERT_EQ(entries.size(), c.count);
        EXPECT_EQ(entries.front(), c.first);
        EXPECT_EQ(entries.back(), c.last);
    }
}
