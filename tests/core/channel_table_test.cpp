#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/channels/channel_table.h"
#include "core/channels/frequency_rules.h"
#include "core/image/channel_record.h"
#include "core/image/radio_document.h"
#include "core/strings/string_ids.h"
#include "helpers.h"

using namespace norvik;
using namespace norvik::test;

namespace {

// 145.00000 / 145.60000, tones 88.5 and D023N, bytes 12..15 as a new channel's.
constexpr const char* kDuplex = "14 50 00 00 14 56 00 00 85 08 23 80 04 00 46 00";
constexpr const char* kRxOnly = "14 50 00 00 FF FF FF FF 85 08 23 80 04 00 46 00";

struct Fixture {
    RadioDocument doc;
    ChannelTable table{doc};
    // The records as loaded from a file, normalised by the loading.
    explicit Fixture(const std::map<int, const char*>& records = {}) {
        RadioImage img = doc.image();
        for (const auto& [n, bytes] : records)
            setBytes(img, channelAddress(n), hex(bytes));
        doc.replace(img, 0, RadioDocument::SavedImage::Take);
    }
    void change(const std::function<void(RadioImage&)>& fn) { doc.edit(0, fn); }
    Bytes record(int channel, int from = 0, int count = 16) const {
        return bytesAt(doc.image(), channelAddress(channel) + from, count);
    }
    std::vector<std::string> row(int channel) const {
        std::vector<std::string> out;
        for (int c = 1; c < kTableColumns; ++c)
            out.push_back(table.text(channel, c));
        return out;
    }
    std::string text(int channel, int column) const { return table.text(channel, column); }
    CommitResult commit(int channel, int column, const char* text) { return table.commitCell(channel, column, text); }
};

const std::vector<std::string> kEmptyRow(kTableColumns - 1);

} // namespace

TEST(FrequencyRules, NormalisationOfTypedTexts) {
    struct Case {
        const char* text;
        Frequency expected;
        bool notice;
    };
    // 145.1234: both rasters agree; 145.003: the 5 kHz point is nearer; 145.005625: a tie goes to 5 kHz;
    // 174: the upper limit, no message; 200 and 300: out of range, to the band with the nearest midpoint;
    // 470: upper of band 1 but inside band 3; abc reads as 0, in no band; 1,2,3 cannot be read at all.
    const std::vector<Case> cases = {
        {"145.1234", 14512500, false},   {"145.00625", 14500625, false}, {"145.003", 14500500, false},
        {"145.005625", 14500500, false}, {"145,5", 14550000, false},     {"145.5abc", 14550000, false},
        {"174", 17399500, false},        {"200", 13600000, true},        {"300", 35000000, true},
        {"520", 51999500, false},        {"470", 47000000, false},       {"abc", 13600000, true},
        {"1,2,3", 13600000, false},      {"12,x", 13600000, false},      {"99999999999999999999999", 13600000, true},
    };
    for (const Case& c : cases) {
        const NormalisedFrequency n = normaliseFrequencyText(c.text, BandLimits{});
        EXPECT_EQ(n, (NormalisedFrequency{c.expected, c.notice})) << c.text;
    }
    BandLimits bands;
    bands.set(2, {350, 440}); // midpoint 395: 275 is 120 from both 155 and 395, the lower index wins
    EXPECT_EQ(normaliseFrequency(275, bands), (NormalisedFrequency{13600000, true}));
    EXPECT_EQ(normaliseFrequency(276, bands), (NormalisedFrequency{35000000, true}));
    EXPECT_EQ(normaliseFrequency(600, bands), (NormalisedFrequency{47000000, true}));
}

TEST(FrequencyRules, TheOutOfRangeNoticeNamesTheLimitsInForce) {
    BandLimits bands;
    bands.set(1, {430, 440});
    EXPECT_EQ(commitNoticeText(ids::FrequencyOutOfRange, bands, Language::English),
              "Frequency is out of range.\nThe band limits in force are 136\u2013174, 430\u2013440, 350\u2013390, "
              "470\u2013520 MHz.");
    EXPECT_EQ(commitNoticeText(ids::FrequencyOutOfRange, BandLimits{}, Language::Chinese),
              "频率超出范围。\n当前的频段范围为 136\u2013174, 400\u2013470, 350\u2013390, 470\u2013520 MHz。");
    // Any other notice reads as the string table has it.
    EXPECT_EQ(commitNoticeText(ids::IncorrectFileType, bands, Language::English), "Incorrect File Type.");
}

TEST(FrequencyRules, OffsetRule) {
    struct Case {
        const char* text;
        Frequency rx, expected;
    };
    const std::vector<Case> cases = {
        {"0.7123", 14500625, 70625}, // 6.25 kHz raster, rounded down
        {"0.7123", 14500000, 71000}, // 5 kHz raster
        {"0,6", 14500000, 60000},    {"0.00624", 14500625, 0},   {"99.99", 14500000, 9999000},
        {"100", 14500000, 9999500},  {"150", 14500625, 9999500}, {"-1", 14500000, 0},
        {"abc", 14500000, 0},        {"1,2,3", 14500000, 0},     {"", 14500000, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(offsetRule(c.text, c.rx), c.expected) << c.text << " on " << c.rx;
}

TEST(ChannelTable, NewChannelGetsDefaultsInTextsAndBytes) {
    Fixture f;
    const CommitResult r = f.commit(5, col::Rx, "145.5");
    EXPECT_EQ(r.noticeId, 0);
    const std::vector<std::string> expected = {"145.50000", "145.50000", "None", "None", "High", "Add",
                                               "Wide",      "",          "Off",  "Off",  "Off",  "Off",
                                               "7",         "0.00000",   "Off",  ">>"};
    EXPECT_EQ(f.row(5), expected);
    EXPECT_EQ(f.record(5), hex("14 55 00 00 14 55 00 00 FF FF FF FF 04 00 46 00"));
    EXPECT_TRUE(f.doc.isModified());
    for (int c = 1; c < kTableColumns; ++c)
        EXPECT_EQ(r.changed(c), c != col::Name) << c; // the name entry is empty too
}

// Frequency, duplex and offset commits on used, receive-only and new channels, step by step.
TEST(ChannelTable, FrequencyDuplexAndOffsetCommits) {
    Fixture f({{1, kDuplex}, {2, kDuplex}, {3, kRxOnly}, {4, kDuplex}});
    f.change([](RadioImage& img) { encodeName(img, 2, "KEEP"); });
    const int out = ids::FrequencyOutOfRange;
    struct Step {
        int channel, column;
        const char* input;
        const char* view;   // TX|Decode|Encode|Duplex|Offset afterwards, nullptr: not checked
        const char* record; // the 16 bytes afterwards, nullptr: not checked
        int notice = 0;
    };
    const std::vector<Step> steps = {
        // A used channel keeps its transmit on a receive commit; duplex and offset follow.
        {1, col::Rx, "146.2", "145.60000|88.5|D023N|Minus|0.60000", "14 62 00 00 14 56 00 00 85 08 23 80 04 00 46 00"},
        {1, col::Tx, "", "|88.5||Off|0.00000", "14 62 00 00 FF FF FF FF 85 08 FF FF 04 00 46 00"},
        {1, col::Tx, "144.4", "144.40000|88.5|None|Minus|1.80000", "14 62 00 00 14 44 00 00 85 08 FF FF 04 00 46 00"},
        {1, col::Tx, "200", "136.00000|88.5|None|Minus|10.20000", "14 62 00 00 13 60 00 00 85 08 FF FF 04 00 46 00",
         out},
        // An empty receive empties row and record, not the name entry.
        {2, col::Rx, "", "||||", "FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF"},
        // A receive-only channel takes the receive as transmit and keeps its decode tone.
        {3, col::Rx, "146", "146.00000|88.5|None|Off|0.00000", "14 60 00 00 14 60 00 00 85 08 FF FF 04 00 46 00"},
        // Duplex recomputes the transmit; Off keeps the offset for the next Plus/Minus.
        {4, col::Duplex, "Minus", "144.40000|88.5|D023N|Minus|0.60000",
         "14 50 00 00 14 44 00 00 85 08 23 80 04 00 46 00"},
        {4, col::Duplex, "Off", "145.00000|88.5|D023N|Off|0.60000", "14 50 00 00 14 50 00 00 85 08 23 80 04 00 46 00"},
        {4, col::Duplex, "Plus", "145.60000|88.5|D023N|Plus|0.60000",
         "14 50 00 00 14 56 00 00 85 08 23 80 04 00 46 00"},
        {4, col::Offset, "0", "145.00000|88.5|D023N|Off|0.00000", "14 50 00 00 14 50 00 00 85 08 23 80 04 00 46 00"},
        // An offset follows the duplex chosen before it, on either raster.
        {9, col::Rx, "145", "145.00000|None|None|Off|0.00000", "14 50 00 00 14 50 00 00 FF FF FF FF 04 00 46 00"},
        {9, col::Offset, "0.6", "145.00000|None|None|Off|0.60000", "14 50 00 00 14 50 00 00 FF FF FF FF 04 00 46 00"},
        {9, col::Duplex, "Minus", "144.40000|None|None|Minus|0.60000",
         "14 50 00 00 14 44 00 00 FF FF FF FF 04 00 46 00"},
        {9, col::Offset, "150", "136.00000|None|None|Minus|99.99500", "14 50 00 00 13 60 00 00 FF FF FF FF 04 00 46 00",
         out},
        {10, col::Rx, "145.00625", nullptr, nullptr},
        {10, col::Duplex, "Plus", nullptr, nullptr},
        {10, col::Offset, "0.7123", "145.71250|None|None|Plus|0.70625",
         "14 50 06 25 14 57 12 50 FF FF FF FF 04 00 46 00"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << s.channel << " " << s.column << " '" << s.input << "'");
        EXPECT_EQ(f.commit(s.channel, s.column, s.input).noticeId, s.notice);
        std::string view;
        for (int c : {col::Tx, col::Decode, col::Encode, col::Duplex, col::Offset})
            view += (c == col::Tx ? "" : "|") + f.text(s.channel, c);
        if (s.view) {
            EXPECT_EQ(view, s.view);
        }
        if (s.record) {
            EXPECT_EQ(f.record(s.channel), hex(s.record));
        }
    }
    EXPECT_EQ(f.row(2), kEmptyRow);
    EXPECT_EQ(decodeName(f.doc.image(), 2), "KEEP");
}

TEST(ChannelTable, ListColumnsWriteOnlyTheirBits) {
    struct Case {
        int column;
        const char* text;
        int byte;
        std::uint8_t before, after;
    };
    const std::vector<Case> cases = {
        {col::Power, "Low", 12, 0xFF, 0xFB},      {col::Power, "High", 12, 0x00, 0x04},
        {col::Scan, "Del", 14, 0xFF, 0xBF},       {col::Scan, "Add", 14, 0x00, 0x40},
        {col::Bandwidth, "Wide", 13, 0xFF, 0xF7}, {col::Bandwidth, "Narrow", 13, 0x00, 0x08},
        {col::Bcl, "QT/DQT", 13, 0xFD, 0xFE},     {col::Bcl, "Carrier", 13, 0x00, 0x01},
        {col::Bcl, "Off", 13, 0xFE, 0xFC},        {col::PttId, "EOT", 12, 0xFF, 0xEF},
        {col::PttId, "BOT", 12, 0x00, 0x10},      {col::PttId, "Both", 12, 0x00, 0x30},
        {col::Vox, "Off", 13, 0xFF, 0xFB},        {col::Vox, "On", 13, 0x00, 0x04},
        {col::Option, "Compand", 12, 0xFE, 0xFD}, {col::Option, "Scramble", 12, 0x00, 0x02},
        {col::Option, "Off", 12, 0xFE, 0xFC},     {col::Scrambler, "3", 14, 0xFF, 0xFA},
        {col::Scrambler, "8", 14, 0xC0, 0xC7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.column << " " << c.text);
        Fixture f({{6, kDuplex}});
        f.change([&](RadioImage& img) { img.set(channelAddress(6) + c.byte, c.before); });
        ASSERT_NE(f.text(6, c.column), c.text);
        f.commit(6, c.column, c.text);
        EXPECT_EQ(f.doc.image().at(channelAddress(6) + c.byte), c.after);
        f.table.fill(); // the fill reads back what was written
        EXPECT_EQ(f.text(6, c.column), c.text);
    }
}

TEST(ChannelTable, WhatChangesNothingAndWhatAlwaysWrites) {
    Fixture f({{1, kDuplex}});
    f.doc.takeSavedImage();
    EXPECT_FALSE(f.commit(1, col::Rx, "145.00000").anyChange());
    EXPECT_FALSE(f.commit(1, col::Power, "High").anyChange());
    // An empty channel takes only a receive frequency.
    for (int c : {col::Tx, col::Decode, col::Encode, col::Power, col::Name, col::Offset, col::Duplex})
        EXPECT_FALSE(f.commit(10, c, "1").anyChange()) << c;
    EXPECT_FALSE(f.doc.isModified());

    f.commit(1, col::Encode, "D754I");
    EXPECT_EQ(f.record(1, 10, 2), hex("54 C7"));
    f.table.setLanguage(Language::Chinese);
    f.commit(1, col::Decode, "无");
    EXPECT_EQ(f.record(1, 8, 2), hex("FF FF"));
}

TEST(ChannelTable, NameCommitWritesSevenSingleByteCodes) {
    Fixture f({{3, kDuplex}});
    f.commit(3, col::Name, "AB c");
    EXPECT_EQ(bytesAt(f.doc.image(), 0x8CE, 7), hex("41 42 20 63 FF FF FF"));
    f.commit(3, col::Name, "");
    EXPECT_EQ(bytesAt(f.doc.image(), 0x8CE, 7), Bytes(7, 0xFF));

    // Codes above 0x7F read from a radio survive an edit of the rest of the name.
    f.change([](RadioImage& img) { encodeName(img, 3, "\xE9X"); });
    EXPECT_EQ(f.text(3, col::Name), "\xC3\xA9X"); // é in UTF-8
    f.commit(3, col::Name, "\xC3\xA9XY");
    EXPECT_EQ(decodeName(f.doc.image(), 3), "\xE9XY");
}

TEST(ChannelTable, LoadingNormalisesEmptyRecordsAndMissingTransmitAndShowingWritesNothing) {
    Fixture f({{5, "FF FF FF FF 14 56 00 00 85 08 23 80 04 00 46 00"},
               {6, "00 00 00 00 14 56 00 00"},
               {7, kRxOnly},
               {8, "14 50 00 00 14 56 00 00 85 08 23 80 04 00 06 00"}});
    for (int ch : {5, 6}) {
        EXPECT_EQ(f.row(ch), kEmptyRow) << ch;
        EXPECT_EQ(f.record(ch), Bytes(16, 0xFF)) << ch;
    }
    EXPECT_EQ(f.row(7), (std::vector<std::string>{"145.00000", "", "88.5", "", "High", "Add", "Wide", "", "Off", "Off",
                                                  "Off", "Off", "7", "0.00000", "Off", ">>"}));
    EXPECT_EQ(f.record(7, 4, 8), hex("FF FF FF FF 85 08 FF FF"));
    EXPECT_EQ(f.row(8), (std::vector<std::string>{"145.00000", "145.60000", "88.5", "D023N", "High", "Del", "Wide", "",
                                                  "Off", "Off", "Off", "Off", "7", "0.60000", "Plus", ">>"}));

    // A record changed later is shown as it stands, without a byte written.
    f.change([](RadioImage& img) { setBytes(img, channelAddress(9), hex(kRxOnly)); });
    const RadioImage shown = f.doc.image();
    f.table.fill();
    EXPECT_EQ(f.text(9, col::Encode), "");
    EXPECT_EQ(f.doc.image(), shown);
}

TEST(ChannelTable, LanguageSwitchRetextsHeadersAndCells) {
    Fixture f({{1, "14 50 00 00 14 50 00 00 FF FF FF FF 04 00 46 00"}});
    EXPECT_EQ(f.text(0, col::Rx), "RX Freq");
    EXPECT_EQ(f.text(1, col::Bcl), "Off");
    f.table.setLanguage(Language::Chinese);
    EXPECT_EQ(f.text(0, col::Rx), "接收频率");
    EXPECT_EQ(f.text(0, col::PttId), "PTT ID");
    EXPECT_EQ(f.row(1), (std::vector<std::string>{"145.00000", "145.00000", "无", "无", "高", "添加", "宽带", "", "关",
                                                  "关", "关", "关", "7", "0.00000", "关", ">>"}));
    // Texts of the language are what a commit compares with.
    f.commit(1, col::Power, "低");
    EXPECT_EQ(f.record(1, 12, 1), hex("00"));
    EXPECT_EQ(f.table.listEntries(col::Duplex), (std::vector<std::string>{"关", "加", "减"}));
}

TEST(ChannelTable, DecimalSeparatorAndLowBand) {
    RadioDocument doc;
    BandLimits bands = doc.bandLimits();
    bands.set(2, {66, 88});
    doc.edit(0, [&](RadioImage& img) { bands.store(img); });
    ChannelTable table(doc, Language::English, ',');
    table.commitCell(1, col::Rx, "145,5");
    EXPECT_EQ(table.text(1, col::Rx), "145,50000");
    EXPECT_EQ(table.text(1, col::Offset), "0,00000");
    table.commitCell(1, col::Tx, "146.1"); // reads either separator
    EXPECT_EQ(table.text(1, col::Offset), "0,60000");
    EXPECT_EQ(table.listEntries(col::Decode)[1], "67,0");

    // A frequency below 100 MHz keeps its digits in place.
    table.commitCell(2, col::Rx, "70.0125");
    EXPECT_EQ(bytesAt(doc.image(), channelAddress(2), 4), hex("07 00 12 50"));
    table.fill();
    EXPECT_EQ(table.text(2, col::Rx), "70,01250");
}

TEST(ChannelTable, WhatOpensAnEditor) {
    using A = EditRequest::Action;
    Fixture f;
    f.commit(1, col::Rx, "145"); // used, with transmit
    f.commit(2, col::Rx, "145");
    f.commit(2, col::Tx, ""); // receive only
    struct Case {
        const char* what;
        EditRequest got, expected;
    };
    const std::vector<Case> cases = {
        {"click used cell", f.table.clickRequest(1, col::Power), {A::OpenEditor, col::Power, {}}},
        {"click more", f.table.clickRequest(1, col::More), {A::OpenPanel, col::More, {}}},
        {"click more of empty row", f.table.clickRequest(3, col::More), {A::OpenEditor, col::Rx, {}}},
        {"click encode, no tx", f.table.clickRequest(2, col::Encode), {A::OpenEditor, col::Tx, {}}},
        {"click decode, no tx", f.table.clickRequest(2, col::Decode), {A::OpenEditor, col::Decode, {}}},
        {"enter encode, no tx", f.table.enterRequest(2, col::Encode), {A::OpenEditor, col::Tx, {}}},
        {"digit tx of empty row", f.table.typedRequest(3, col::Tx, '5'), {A::OpenEditor, col::Rx, '5'}},
        {"point offset", f.table.typedRequest(1, col::Offset, '.'), {A::OpenEditor, col::Offset, '.'}},
        {"digit on power", f.table.typedRequest(1, col::Power, '1'), {}},
        {"letter on name", f.table.typedRequest(1, col::Name, 'k'), {A::OpenEditor, col::Name, 'K'}},
        {"space on name", f.table.typedRequest(1, col::Name, ' '), {A::OpenEditor, col::Name, ' '}},
        {"letter I on name", f.table.typedRequest(1, col::Name, 'i'), {A::OpenEditor, col::Name, 'I'}},
        {"letter C on name", f.table.typedRequest(1, col::Name, 'C'), {A::OpenEditor, col::Name, 'C'}},
        {"letter on name of empty row", f.table.typedRequest(3, col::Name, 'k'), {A::OpenEditor, col::Rx, {}}},
        {"brace on name", f.table.typedRequest(1, col::Name, '{'), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.got.action, c.expected.action);
        EXPECT_EQ(c.got.column, c.expected.column);
        EXPECT_EQ(c.got.initialText, c.expected.initialText);
    }
}

TEST(ChannelTable, TextEditorKeysOfTheGridAndThePanel) {
    struct Case {
        int column;
        std::size_t length, selected;
        char c;
        bool grid, panel;
    };
    // The grid's frequencies stop at 9 characters, the panel's do not; a full name takes nothing
    // in the grid, even over a selection, while the panel's name field replaces the selection.
    const std::vector<Case> cases = {
        {col::Rx, 8, 0, '5', true, true},        {col::Rx, 9, 0, '5', false, true},
        {col::Rx, 9, 9, '5', true, true},        {col::Tx, 12, 0, '.', true, true},
        {col::Offset, 3, 0, ',', true, true},    {col::Rx, 0, 0, 'a', false, false},
        {col::Rx, 0, 0, '-', false, false},      {col::Name, 6, 0, 'z', true, true},
        {col::Name, 7, 0, 'a', false, false},    {col::Name, 7, 7, 'a', false, true},
        {col::Name, 0, 0, '{', false, false},    {col::Name, 0, 0, ' ', true, true},
        {col::Name, 0, 0, '\x1F', false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.column << " len " << c.length << " sel " << c.selected << " '" << c.c
                                        << "'");
        EXPECT_EQ(ChannelTable::textEditorAccepts(c.column, c.length, c.selected, c.c), c.grid);
        EXPECT_EQ(ChannelTable::panelFieldAccepts(c.column, c.length, c.selected, c.c), c.panel);
    }
}

// Hidden columns are skipped by the grid (see the channel grid tests); here the rules only the table knows.
TEST(ChannelTable, EnterSkipsEncodeWithoutTransmitAndTheNumberColumnStaysShown) {
    Fixture f({{1, kDuplex}, {2, kRxOnly}});
    EXPECT_EQ(f.table.columnAfter(1, col::Decode), col::Encode);
    EXPECT_EQ(f.table.columnAfter(2, col::Decode), col::Power);
    f.table.setColumnVisible(col::Offset, false);
    EXPECT_EQ(f.table.widthTwips(col::Offset), 0);
    f.table.setColumnVisible(col::Offset, true);
    EXPECT_EQ(f.table.widthTwips(col::Offset), 1200);
    f.table.setColumnVisible(col::Channel, false);
    EXPECT_TRUE(f.table.isColumnVisible(col::Channel));
}

// Every move is told once, to every view, whoever made it; a move to where it is, or out of the
// table, is none. A refill is told even when the cell was on channel 1 already.
TEST(CurrentCell, MovesAreToldOnceAndARefillAlways) {
    using Move = CurrentCell::Move;
    Fixture f;
    CurrentCell& cell = f.table.current();
    std::vector<Move> told;
    auto subscription = cell.observe([&](Move m) { told.push_back(m); });
    struct Step {
        const char* what;
        std::function<void()> run;
        int channel, column;
        std::optional<ChannelBlock> rows;
        std::vector<Move> told;
    };
    const std::vector<Step> steps = {
        {"to a cell", [&] { cell.set(9, 4); }, 9, 4, {}, {Move::Moved}},
        {"to the same cell", [&] { cell.set(9, 4); }, 9, 4, {}, {}},
        {"channel 129", [&] { cell.set(129, 1); }, 9, 4, {}, {}},
        {"column 17", [&] { cell.set(1, kTableColumns); }, 9, 4, {}, {}},
        {"rows", [&] { cell.selectRows(5, 7); }, 5, 1, ChannelBlock{5, 7}, {Move::Moved}},
        {"rows past 128", [&] { cell.selectRows(100, 129); }, 5, 1, ChannelBlock{5, 7}, {}},
        {"shift-click below", [&] { cell.extendRows(9); }, 9, 1, ChannelBlock{5, 9}, {Move::Moved}},
        {"shift-click above the anchor", [&] { cell.extendRows(3); }, 3, 1, ChannelBlock{3, 5}, {Move::Moved}},
        {"ctrl-click past a gap", [&] { cell.toggleRow(8); }, 8, 1, std::nullopt, {Move::Moved}},
        {"ctrl-click it off again", [&] { cell.toggleRow(8); }, 8, 1, ChannelBlock{3, 5}, {Move::Moved}},
        {"the row's first cell ends the rows", [&] { cell.set(5, 1); }, 5, 1, {}, {Move::Moved}},
        {"none", [&] { cell.set(0, 0); }, 0, 0, {}, {Move::Moved}},
        {"a new image",
         [&] { f.doc.replace(f.doc.newImage(), 0, RadioDocument::SavedImage::Take); },
         1,
         1,
         {},
         {Move::Refilled}},
        {"a language switch at channel 1", [&] { f.table.setLanguage(Language::Chinese); }, 1, 1, {}, {Move::Refilled}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        told.clear();
        s.run();
        EXPECT_EQ(cell.channel(), s.channel);
        EXPECT_EQ(cell.column(), s.column);
        EXPECT_EQ(cell.rows(), s.rows);
        EXPECT_EQ(told, s.told);
    }
    // Gone with its subscription.
    told.clear();
    subscription.reset();
    cell.set(3, 3);
    EXPECT_TRUE(told.empty());
}

// A view that keeps its own channel over a refill moves the cell while told: every view hears it
// and reads where it ended; a subscription outliving the cell (a widget outliving its table) is
// harmless.
TEST(CurrentCell, AViewMovingItWhileToldAndOutlivingIt) {
    CurrentCell::Subscription late;
    {
        CurrentCell cell;
        cell.set(20, 3);
        std::vector<int> seen;
        auto first = cell.observe([&](CurrentCell::Move) { seen.push_back(cell.channel()); });
        auto keeper = cell.observe([&](CurrentCell::Move m) {
            if (m == CurrentCell::Move::Refilled)
                cell.set(20, 1);
        });
        late = cell.observe([](CurrentCell::Move) {});
        cell.restart();
        EXPECT_EQ(cell.channel(), 20);
        EXPECT_EQ(seen, (std::vector<int>{1, 20}));
    }
    late.reset();
}
