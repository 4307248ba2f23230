#include <gtest/gtest.h>

#include "core/helpers.h"
#include "core/service/band_limit_page.h"
#include "core/service/gain_page.h"
#include "core/service/tuning_page.h"
#include "core/service/value_entry.h"

using namespace norvik;
using namespace norvik::test;

TEST(GainPage, ListEntriesStepBy3Point2Db) {
    using V = std::vector<std::string>;
    EXPECT_EQ(gainListEntries(GainList::Input, Language::English, '.'),
              (V{"0db", "3.2db", "6.4db", "9.6db", "12.8db", "16.0db", "19.2db", "22.4db"}));
    EXPECT_EQ(gainListEntries(GainList::Output, Language::English, '.'),
              (V{"Mute", "-19.2db", "-16.0db", "-12.8db", "-9.6db", "-6.4db", "-3.2db", "0db"}));
    const V chinese = gainListEntries(GainList::Output, Language::Chinese, ',');
    EXPECT_EQ(chinese.front(), "静音");
    EXPECT_EQ(chinese[1], "-19,2db");
}

TEST(GainPage, LoadClampsAndApplyStoresHighByteFirst) {
    struct Case {
        const char* name;
        int box;
        Bytes stored;
        int loaded;
    };
    const Case cases[] = {
        {"0xFF 0xFF in a 16383 box", 0, hex("FF FF"), 16383},
        {"0xFF 0xFF in the Tone Tx Level", kToneTxLevelBox, hex("FF FF"), 2047},
        {"high byte 64 taken as 63", 6, hex("40 10"), 63 * 256 + 0x10},
        {"high byte 8 in the Tone Tx Level taken as 7", kToneTxLevelBox, hex("08 00"), 7 * 256},
        {"within range", 3, hex("01 2C"), 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RadioImage img;
        setBytes(img, kFineValuesAddress + 2 * c.box, c.stored);
        EXPECT_EQ(GainPage::load(img).fine[c.box], c.loaded);
    }

    RadioImage img = randomImage(1);
    const RadioImage before = img;
    GainPage page = GainPage::load(img);
    page.fine[1] = 300;
    page.fine[kToneTxLevelBox] = 99999; // typed but never left through its box
    page.lists[3] = 7;
    page.apply(img);
    EXPECT_EQ(bytesAt(img, 0x0F12, 2), hex("01 2C"));
    EXPECT_EQ(bytesAt(img, 0x0F1A, 2), hex("07 FF"));
    EXPECT_EQ(img.at(0x0F03), 7);
    EXPECT_EQ(bytesAt(img, 0x0F1E, 2), bytesAt(before, 0x0F1E, 2)) << "bytes the page does not use";
}

TEST(GainPage, ListBytesOf8OrMoreShowTheFirstEntry) {
    RadioImage img;
    setBytes(img, kGainListsAddress, hex("00 07 08 FF 03"));
    const GainPage page = GainPage::load(img);
    EXPECT_EQ((std::vector<int>(page.lists.begin(), page.lists.begin() + 5)), (std::vector<int>{0, 7, 0, 0, 3}));
    EXPECT_EQ(gainListAt(0), GainList::Input);
    EXPECT_EQ(gainListAt(15), GainList::Output);
}

TEST(FineValue, LeaveClampsAndSpinWraps) {
    struct Case {
        int box, value, delta, spun;
    } cases[] = {
        {0, 16383, +1, 0},
        {0, 0, -1, 16383},
        {kToneTxLevelBox, 2047, +1, 0},
        {kToneTxLevelBox, 0, -1, 2047},
        {0, 20000, -1, 16382},
        {kToneTxLevelBox, 3000, +1, 0},
        {2, 41, +1, 42},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fineSpin(c.box, c.value, c.delta), c.spun) << c.box << " " << c.value << " " << c.delta;
    EXPECT_EQ(fineOnLeave(0, 16384), 16383);
    EXPECT_EQ(fineOnLeave(kToneTxLevelBox, 2048), 2047);
    EXPECT_EQ(fineOnLeave(4, 12), 12);
}

TEST(ValueEntry, LeadingDigitsCappedCells) {
    EXPECT_EQ(valueOfDigits(""), 0);
    EXPECT_EQ(valueOfDigits("012"), 12);
    EXPECT_EQ(valueOfDigits("99999999999999"), INT_MAX);
    EXPECT_EQ(tuningCellValue("300"), 255);
    EXPECT_EQ(tuningCellValue(""), 0);
    EXPECT_EQ(tuningCellValue("17"), 17);
}

TEST(DeviationColumns, FollowTheBandLimits) {
    using C = std::vector<DeviationColumn>;
    struct Case {
        const char* name;
        Band band;
        int index;
        C columns;
    };
    const Case cases[] = {
        {"default band 0", {136, 174}, 0, C{{136, 139}, {140, 149}, {150, 159}, {160, 169}, {170, 173}}},
        {"default band 1",
         {400, 470},
         1,
         C{{400, 409}, {410, 419}, {420, 429}, {430, 439}, {440, 449}, {450, 459}, {460, 469}}},
        {"default band 2", {350, 390}, 2, C{{350, 359}, {360, 369}, {370, 379}, {380, 389}}},
        {"band 0 wider than five columns: the fifth runs to the end",
         {136, 230},
         0,
         C{{136, 139}, {140, 149}, {150, 159}, {160, 169}, {170, 229}}},
        {"band 1 giving more than eight",
         {400, 520},
         1,
         C{{400, 409}, {410, 419}, {420, 429}, {430, 439}, {440, 449}, {450, 459}, {460, 469}, {470, 519}}},
        {"band 1 giving exactly eight",
         {400, 480},
         1,
         C{{400, 409}, {410, 419}, {420, 429}, {430, 439}, {440, 449}, {450, 459}, {460, 469}, {470, 479}}},
        {"a one-megahertz band", {180, 181}, 0, C{{180, 180}}},
        {"upper limit on a ten", {145, 160}, 1, C{{145, 149}, {150, 159}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(deviationColumns(c.band, c.index), c.columns);
    }
    EXPECT_EQ(rangeText(136, 139), "136-139");
}

TEST(TuningPage, ApplyWritesTheShownColumnsOnly) {
    struct Case {
        const char* name;
        Band band0, band1;
        int written0, written1; // groups of 13 bytes written for each band
    };
    const Case cases[] = {
        {"default limits", {136, 174}, {400, 470}, 5, 7},
        {"band 0 in four columns, band 1 in eight", {136, 170}, {400, 520}, 4, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BandLimits limits;
        limits.set(0, c.band0);
        limits.set(1, c.band1);
        const RadioImage before = randomImage(7);
        TuningPage page = TuningPage::load(before, limits);
        ASSERT_EQ(page.deviation[0].size(), std::size_t(c.written0));
        ASSERT_EQ(page.deviation[1].size(), std::size_t(c.written1));
        for (auto& grid : page.deviation)
            for (auto& column : grid)
                column.fill(0xA5);
        for (auto& band : page.tuning)
            band.fill(0x5A);
        RadioImage img = before;
        page.apply(img);
        for (int a = 0x0F00; a < 0x1000; ++a) {
            const int group = (a - kDeviationAddress) / kDeviationRows;
            const bool band0 = a >= kDeviationAddress && group < c.written0;
            const bool band1 = a >= kDeviationAddress && group >= 5 && group < 5 + c.written1;
            const bool tuning = a >= kTuningAddress && a < kTuningAddress + 36;
            const int expected = tuning ? 0x5A : (band0 || band1) ? 0xA5 : before.at(a);
            ASSERT_EQ(img.at(a), expected) << std::hex << a;
        }
    }
    // With the default limits: 0x0F20..0x0F60 and 0x0F61..0x0FBB; 0x0FBC..0x0FCF keep their values.
    EXPECT_EQ(deviationAddress(0, 4, 12), 0x0F60);
    EXPECT_EQ(deviationAddress(1, 0, 0), 0x0F61);
    EXPECT_EQ(deviationAddress(1, 6, 12), 0x0FBB);
    EXPECT_EQ(tuningAddress(3, 2, 2), 0x0FF3);
    EXPECT_TRUE(isLockedTuningRow(2, 1));
    EXPECT_FALSE(isLockedTuningRow(2, 2));
    EXPECT_FALSE(isLockedTuningRow(1, 0));
}

TEST(TuningPage, RowHeadingsFollowTheLanguage) {
    const auto en = deviationRowHeadings(Language::English);
    ASSERT_EQ(en.size(), std::size_t(kDeviationRows));
    EXPECT_EQ(en[10], "tail-Code QT");
    EXPECT_EQ(en[12], "Deviation DQT");
    EXPECT_EQ(deviationRowHeadings(Language::Chinese)[11], "尾音消除 DQT");
}

TEST(BandLimitPage, CommitRules) {
    struct Case {
        const char* name;
        LimitColumn column;
        const char* typed;
        bool changed;
        Band after;
    };
    constexpr auto Min = LimitColumn::Min, Max = LimitColumn::Max;
    const Case cases[] = {
        {"MIN below 50", Min, "20", true, {50, 174}},
        {"MIN of 530 or more pushes the MAX", Min, "600", true, {529, 530}},
        {"MIN above the MAX pushes it to MIN + 1", Min, "180", true, {180, 181}},
        {"MIN equal to the MAX", Min, "174", true, {174, 175}},
        {"MIN within the band", Min, "140", true, {140, 174}},
        {"MAX above 530", Max, "600", true, {136, 530}},
        {"MAX under the MIN is dropped", Max, "100", false, {136, 174}},
        {"MAX equal to the MIN is dropped", Max, "136", false, {136, 174}},
        {"empty text keeps the cell", Min, "", false, {136, 174}},
        {"the cell's own text", Max, "174", false, {136, 174}},
        {"MAX typed as 099 reads as 99 and is dropped", Max, "099", false, {136, 174}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BandLimitPage page = BandLimitPage::load(BandLimits());
        EXPECT_EQ(page.commit(0, c.column, c.typed), c.changed);
        EXPECT_EQ(page.bands[0], c.after);
        EXPECT_EQ(page.bands[1], BandLimits::kDefaults[1]);
    }
}

TEST(BandLimitPage, ApplyStoresRow208) {
    BandLimitPage page = BandLimitPage::load(BandLimits());
    page.commit(2, LimitColumn::Max, "395");
    RadioImage img = randomImage(3);
    page.apply(img);
    EXPECT_EQ(bytesAt(img, 0x0D00, 16), hex("13 60 17 40 40 00 47 00 35 00 39 50 47 00 52 00"));
}
