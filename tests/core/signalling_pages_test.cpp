#include <gtest/gtest.h>

#include "core/helpers.h"
#include "core/options/dtmf_page.h"
#include "core/options/five_tone_page.h"
#include "core/options/msk_page.h"
#include "core/options/option_fields.h"
#include "core/options/two_tone_page.h"

using namespace norvik;
using namespace norvik::test;

TEST(DtmfPage, TimeBytesLoadAsMilliseconds) {
    RadioImage img;
    setBytes(img, 0xD21, hex("00 0F 10"));
    EXPECT_EQ(loadDtmfPage(img).times, (std::array<std::string, 3>{"50", "200", "50"}));
    EXPECT_EQ(loadDtmfPage(RadioImage{}).times[0], "50"); // 0xFF
}

TEST(DtmfPage, TimeValidationStepsAndWhatIsStored) {
    struct Case {
        const char* text;
        int valid, up, down;
        int stored; // byte written by Save
    };
    const Case cases[] = {
        {"125", 120, 130, 110, 7}, {"35", 50, 200, 200, 0}, {"250", 200, 50, 50, 15}, {"200", 200, 50, 190, 15},
        {"50", 50, 60, 200, 0},    {"", 50, 200, 200, 0},   {"7x", 50, 200, 200, 0},  {"199", 190, 50, 180, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(validateDtmfTime(c.text), std::to_string(c.valid));
        EXPECT_EQ(stepDtmfTime(c.text, +1), std::to_string(c.up));
        EXPECT_EQ(stepDtmfTime(c.text, -1), std::to_string(c.down));
        RadioImage img;
        DtmfPage page;
        page.times = {"50", c.text, "50"};
        saveDtmfPage(page, img);
        EXPECT_EQ(img.at(0xD22), c.stored);
    }
}

TEST(DtmfPage, AutodialEntriesReadAndWriteBack) {
    struct Case {
        const char* stored; // 16 bytes of entry 3
        const char* text;
        const char* saved;
    };
    const Case cases[] = {
        {"01 02 0E 0F 0A", "12*#A", "01 02 0E 0F 0A"},
        {"01 FF 02", "12", "01 02"},
        {"1E 2F", "1E2F", "01 0E 02 0F"}, // a stray byte's E and F stand for * and #
        // Stray bytes make the text longer than the entry: the first 16 codes are kept.
        {"10 11 12 13 14 15 16 17 18", "101112131415161718", "01 00 01 01 01 02 01 03 01 04 01 05 01 06 01 07"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        RadioImage img;
        Bytes stored = hex(c.stored), saved = hex(c.saved);
        stored.resize(16, 0xFF);
        saved.resize(16, 0xFF);
        setBytes(img, 0xDE0, stored);
        const DtmfPage page = loadDtmfPage(img);
        EXPECT_EQ(page.autodial[3], c.text);
        saveDtmfPage(page, img);
        EXPECT_EQ(bytesAt(img, 0xDE0, 16), saved);
    }
}

TEST(TwoTonePage, StoredCodesLoadWithTheirRowsRules) {
    struct Case {
        int code;
        const char* stored;
        TwoToneCode shown;
        const char* saved; // after a save of what was shown
    };
    const Case cases[] = {
        {0, "75 3A 0B 00 20", {"3001.0", "281.6", "32"}, "75 3A 0B 00 20"},
        {4, "75 3A 0B 00 20", {"3000", "288.5", "32"}, "75 30 0B 45 20"},
        {0, "FF FF FF FF FF", {"321.7", "928.1", "255"}, "0C 91 24 41 FF"}, // a blank first code
        {0, "FF FF 27 10 64", {"321.7", "1000.0", "100"}, "0C 91 27 10 64"},
        {4, "7E 00 27 10 64", {"", "1000.0", ""}, "FF FF 27 10 FF"},
        {4, "7E 00 7E 00 64", {"", "", ""}, "FF FF FF FF FF"},              // an emptied later code: all five bytes
        {9, "27 10 4E 20 00", {"1000.0", "2000.0", "0"}, "27 10 4E 20 00"}, // the last code ends row 200
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << ": " << c.stored);
        RadioImage img;
        setBytes(img, 0xC50 + 5 * c.code, hex(c.stored));
        const TwoTonePage page = loadTwoTonePage(img);
        EXPECT_EQ(page.codes[c.code], c.shown);
        saveTwoTonePage(page, img);
        EXPECT_EQ(bytesAt(img, 0xC50 + 5 * c.code, 5), hex(c.saved));
    }
}

TEST(TwoTonePage, ToneFieldsAndListsSave) {
    RadioImage img;
    setBytes(img, 0xC40, hex("07 D0 FF FF 7E 00 05 04 03"));
    TwoTonePage page = loadTwoTonePage(img, ',');
    EXPECT_EQ(page.tones, (std::array<std::string, 3>{"200,0", "928,1", "600,9"}));
    EXPECT_EQ(page.lists, (std::array<int, 3>{5, 0, 0}));
    page.tones[1] = "";     // an empty field stores its default
    page.tones[2] = "1,2,"; // so does one that is no number
    saveTwoTonePage(page, img);
    EXPECT_EQ(bytesAt(img, 0xC40, 9), hex("07 D0 24 41 17 79 05 00 00"));
}

TEST(TwoTonePage, ToneFieldTypingAndValidation) {
    struct Case {
        const char* text;
        std::optional<std::string> typing;
        const char* valid;
    };
    const Case cases[] = {
        {"100", std::nullopt, "288.5"}, {"3500", "3000", "3500.0"},     {"3000,5", "3000", "3000.5"},
        {"", std::nullopt, ""},         {"1,2,", std::nullopt, "1,2,"}, {"1000.06", std::nullopt, "1000.1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(twoToneTypingLimit(c.text), c.typing);
        EXPECT_EQ(validateTwoToneField(c.text), c.valid);
    }
}

TEST(TwoTonePage, CellCommitRules) {
    struct Case {
        const char* what;
        int row, column;
        const char* text;
        TwoToneCode before, after;
    };
    const TwoToneCode full{"1000.0", "2000.0", "150"};
    const Case cases[] = {
        {"tone above 3000", 5, 1, "4000", full, {"3000.0", "2000.0", "150"}},
        {"tone below 288.5", 5, 2, "12", full, {"1000.0", "288.5", "150"}},
        {"empty tone 1 empties the row", 5, 1, "", full, {"", "", ""}},
        {"empty tone 2 empties the gap", 5, 2, "", full, {"1000.0", "", ""}},
        {"first row takes its default tone 1", 1, 1, "", full, {"321.7", "2000.0", "150"}},
        {"first row takes its default tone 2", 1, 2, "", full, {"1000.0", "928.1", "150"}},
        {"second tone fills the gap", 3, 2, "2000", {"1000.0", "", ""}, {"1000.0", "2000.0", "100"}},
        {"empty gap of a full code", 3, 3, "", {"1000.0", "2000.0", "7"}, {"1000.0", "2000.0", "100"}},
        {"empty gap of a half code", 3, 3, "", {"1000.0", "", "7"}, {"1000.0", "", ""}},
        {"gap above 255", 3, 3, "0300", full, {"1000.0", "2000.0", "255"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TwoToneCode code = c.before;
        EXPECT_TRUE(commitTwoToneCell(code, c.row, c.column, c.text));
        EXPECT_EQ(code, c.after);
    }
}

TEST(FiveTonePage, LoadValidateAndSave) {
    struct Case {
        const char* stored; // 0xD25..0xD2C
        FiveTonePage shown;
        const char* typed; // then the field is left
        const char* saved;
    };
    const Case cases[] = {
        {"", {{0, 1, 0}, ""}, "", "00 01 02 03 04 05 01 00"},
        {"06 01 02 03 0E 05 03 04", {{6, 3, 4}, "1235"}, nullptr, "06 01 02 03 05 05 03 04"},
        {"08 01 02 03 0E 05 04 05", {{0, 1, 0}, "1235"}, "1235", "00 01 02 03 05 0A 01 00"},
        {"", {{0, 1, 0}, ""}, "12", "00 01 02 0A 0A 0A 01 00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        RadioImage img;
        setBytes(img, 0xD25, hex(c.stored));
        FiveTonePage page = loadFiveTonePage(img);
        EXPECT_EQ(page, c.shown);
        if (c.typed)
            page.ownId = validateFiveToneId(c.typed);
        saveFiveTonePage(page, img);
        EXPECT_EQ(bytesAt(img, 0xD25, 8), hex(c.saved));
    }
}

TEST(FiveTonePage, IdKeys) {
    EXPECT_EQ(filterText("0aD*#eE9", fiveToneIdKey), "0AD9");
}

TEST(FiveTonePage, ToneTablesOfTheStandards) {
    EXPECT_EQ(fiveToneFrequencyTexts(6)[0], "2400.0"); // ZVEI1
    EXPECT_EQ(fiveToneFrequencyTexts(6)[10], "2800.0");
    EXPECT_EQ(fiveToneFrequencyTexts(6, ',')[15], "0,0");
    EXPECT_EQ(fiveToneFrequencyTexts(2)[0], "400.0"); // CCITT
    EXPECT_EQ(fiveToneFrequency(2, 6), 13350);        // the radio's CCITT 6, 1 Hz below the standard
    EXPECT_EQ(fiveToneFrequency(3, 10), 10550);       // EEA A
    EXPECT_EQ(fiveToneFrequency(8, 0), 0);
}

TEST(MskPage, IdsReadAndWriteBackWithoutTouchingSlotOne) {
    struct Case {
        const char* stored; // 0xD30..0xD3B: own ID, slot 1, first call list entry
        std::string ownId, first;
        const char* saved;
    };
    const Case cases[] = {
        {"01 02 0E 0F 5A 5A 5A 5A 03 FF 04 FF", "12EF", "34", "01 02 0E 0F 5A 5A 5A 5A 03 04 FF FF"},
        {"FF FF FF FF 00 01 02 03 FF FF FF FF", "", "", "FF FF FF FF 00 01 02 03 FF FF FF FF"},
        // A stray byte reads as two digits; a slot keeps the first four and stops there.
        {"10 23 45 FF 11 11 11 11 FF FF FF FF", "102345", "", "01 00 02 03 11 11 11 11 FF FF FF FF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        RadioImage img;
        setBytes(img, 0xD30, hex(c.stored));
        const MskPage page = loadMskPage(img);
        EXPECT_EQ(page.ownId, c.ownId);
        EXPECT_EQ(page.calls[0], c.first);
        saveMskPage(page, img);
        EXPECT_EQ(bytesAt(img, 0xD30, 12), hex(c.saved));
    }
}

// Each page's Save writes only the addresses it owns, whatever the rest of the image holds.
TEST(SignallingPages, SaveWritesOnlyThePagesOwnBytes) {
    struct Case {
        const char* what;
        void (*roundTrip)(RadioImage&);
        std::vector<std::pair<int, int>> owned; // first address, count
    };
    const Case cases[] = {
        {"dtmf", [](RadioImage& i) { saveDtmfPage(loadDtmfPage(i), i); }, {{0xD21, 3}, {0xDB0, 160}}},
        {"2-tone", [](RadioImage& i) { saveTwoTonePage(loadTwoTonePage(i), i); }, {{0xC40, 9}, {0xC50, 50}}},
        {"5-tone", [](RadioImage& i) { saveFiveTonePage(loadFiveTonePage(i), i); }, {{0xD25, 8}}},
        {"msk", [](RadioImage& i) { saveMskPage(loadMskPage(i), i); }, {{0xD30, 4}, {0xD38, 40}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (unsigned seed = 1; seed <= 20; ++seed) {
            RadioImage img = randomImage(seed);
            const RadioImage before = img;
            c.roundTrip(img);
            for (const auto& [first, count] : c.owned)
                setBytes(img, first, bytesAt(before, first, count));
            EXPECT_EQ(img, before) << seed;
        }
    }
}

TEST(SignallingPages, ComposedCaptionsAndListEntries) {
    EXPECT_EQ(twoToneListEntries(1, Language::English), (std::vector<std::string>{"None", "ATone", "BTone", "CTone"}));
    EXPECT_EQ(twoToneLabel(2, Language::English) + twoToneGridHeader(1, Language::English), "C Tone[Hz]ATone[Hz]");
    EXPECT_EQ(fiveToneListEntries(1, Language::Chinese)[3], "20秒");
}
