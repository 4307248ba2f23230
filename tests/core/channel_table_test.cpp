#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "channels/channel_table.h"
#include "channels/frequency_rules.h"
#include "image/channel_record.h"
#include "image/radio_document.h"
#include "strings/string_ids.h"

using namespace norvik;

namespace {

std::vector<std::uint8_t> recordBytes(const RadioDocument& doc, int channel, int from, int count) {
    std::vector<std::uint8_t> out;
    for (int i = 0; i < count; ++i)
        out.push_back(doc.image().at(channelAddress(channel) + from + i));
    return out;
}

void setRecord(RadioDocument& doc, int channel, const std::vector<std::uint8_t>& bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i)
        doc.image().set(channelAddress(channel) + static_cast<int>(i), bytes[i]);
}

std::vector<std::string> rowTexts(const ChannelTable& t, int channel) {
    std::vector<std::string> out;
    for (int c = 1; c < kTableColumns; ++c)
        out.push_back(t.text(channel, c));
    return out;
}

// 145.00000 / 145.60000, tones 88.5 and D023N, byte 12..15 = 0x04 0x00 0x46 0x00.
const std::vector<std::uint8_t> kDuplexRecord = {0x14, 0x50, 0x00, 0x00, 0x14, 0x56, 0x00, 0x00,
                                                 0x85, 0x08, 0x23, 0x80, 0x04, 0x00, 0x46, 0x00};

struct Fixture {
    RadioDocument doc;
    ChannelTable table{doc};
    Fixture() { table.fill(); }
};

} // namespace

TEST(FrequencyRules, NormalisationOfTypedTexts) {
    struct Case {
        const char* text;
        Frequency expected;
        bool notice;
    };
    const std::vector<Case> cases = {
        {"145.1234", 14512500, false},                               // both rasters agree
        {"145.00625", 14500625, false},                              // on the 6.25 kHz raster
        {"145.003", 14500500, false},                                // 5 kHz point is nearer
        {"145.005625", 14500500, false},                             // exact tie goes to 5 kHz
        {"145.5", 14550000, false},      {"145,5", 14550000, false}, // comma: locale rules
        {"145.5abc", 14550000, false},                               // leading number only
        {"174", 17399500, false},                                    // upper limit, no message
        {"200", 13600000, true},                                     // band 0 midpoint 155 nearest
        {"300", 35000000, true},                                     // band 2 midpoint 370 nearest
        {"520", 51999500, false},        {"470", 47000000, false},   // upper of band 1 but inside band 3
        {"400", 40000000, false},        {"abc", 13600000, true},    // reads as 0, which lies in no band
        {"1,2,3", 13600000, false},                                  // cannot be read at all
        {"12,x", 13600000, false},       {"99999999999999999999999", 13600000, true},
    };
    const BandLimits bands;
    for (const Case& c : cases) {
        const NormalisedFrequency n = normaliseFrequencyText(c.text, bands);
        EXPECT_EQ(n.value, c.expected) << c.text;
        EXPECT_EQ(n.outOfRange, c.notice) << c.text;
    }
}

TEST(FrequencyRules, OutOfRangePicksNearestMidpointLowerIndexOnTie) {
    BandLimits bands;
    bands.set(2, {350, 440}); // midpoint 395: 275 is 120 from both 155 and 395
    EXPECT_EQ(normaliseFrequency(275, bands), (NormalisedFrequency{13600000, true}));
    EXPECT_EQ(normaliseFrequency(276, bands), (NormalisedFrequency{35000000, true}));
    EXPECT_EQ(normaliseFrequency(600, bands), (NormalisedFrequency{47000000, true}));
}

TEST(FrequencyRules, OffsetRule) {
    struct Case {
        const char* text;
        Frequency rx;
        Frequency expected;
    };
    const std::vector<Case> cases = {
        {"0.7123", 14500625, 70625}, // 6.25 kHz raster, rounded down
        {"0.7123", 14500000, 71000}, // 5 kHz raster
        {"0.6", 14500000, 60000},    {"0,6", 14500000, 60000},   {"0.00624", 14500625, 0}, {"99.99", 14500000, 9999000},
        {"100", 14500000, 9999500},  {"150", 14500625, 9999500}, {"-1", 14500000, 0},      {"abc", 14500000, 0},
        {"1,2,3", 14500000, 0},      {"", 14500000, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(offsetRule(c.text, c.rx), c.expected) << c.text << " on " << c.rx;
}

TEST(ChannelTable, NewChannelGetsDefaultsInTextsAndBytes) {
    Fixture f;
    const CommitResult r = f.table.commitCell(5, col::Rx, "145.5");
    EXPECT_EQ(r.noticeId, 0);
    const std::vector<std::string> expected = {"145.50000", "145.50000", "None", "None", "High", "Add",
                                               "Wide",      "",          "Off",  "Off",  "Off",  "Off",
                                               "7",         "0.00000",   "Off",  ">>"};
    EXPECT_EQ(rowTexts(f.table, 5), expected);
    EXPECT_EQ(recordBytes(f.doc, 5, 0, 16),
              (std::vector<std::uint8_t>{0x14, 0x55, 0x00, 0x00, 0x14, 0x55, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x04,
                                         0x00, 0x46, 0x00}));
    EXPECT_TRUE(f.doc.isModified());
    for (int c = 1; c < kTableColumns; ++c)
        EXPECT_EQ(r.changed(c), c != col::Name) << c; // the name entry is empty too
}

TEST(ChannelTable, NewChannelInAnEmptiedChannelShowsTheNameItsEntryHolds) {
    Fixture f;
    encodeName(f.doc.image(), 7, "OLDNAME");
    f.table.commitCell(7, col::Rx, "");
    f.table.commitCell(7, col::Rx, "146");
    EXPECT_EQ(f.table.text(7, col::Name), "OLDNAME");
    EXPECT_EQ(decodeName(f.doc.image(), 7), "OLDNAME");
}

TEST(ChannelTable, ReceiveOnlyChannelKeepsShowingItsDecodeTone) {
    Fixture f;
    setRecord(f.doc, 3,
              {0x14, 0x50, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x85, 0x08, 0xFF, 0xFF, 0x00, 0x08, 0x00, 0x00});
    f.table.fill();
    EXPECT_EQ(f.table.text(3, col::Decode), "88.5");
    f.table.commitCell(3, col::Rx, "146");
    EXPECT_EQ(f.table.text(3, col::Decode), "88.5");
    EXPECT_EQ(recordBytes(f.doc, 3, 8, 2), (std::vector<std::uint8_t>{0x85, 0x08}));
    EXPECT_EQ(f.table.text(3, col::Tx), "146.00000");
}

TEST(ChannelTable, ReceiveCommitOnUsedChannelKeepsTransmitAndRederivesDuplex) {
    Fixture f;
    setRecord(f.doc, 1, kDuplexRecord);
    f.table.fill();
    EXPECT_EQ(f.table.text(1, col::Duplex), "Plus");
    const CommitResult r = f.table.commitCell(1, col::Rx, "146.2");
    EXPECT_FALSE(r.changed(col::Tx));
    EXPECT_EQ(f.table.text(1, col::Tx), "145.60000");
    EXPECT_EQ(f.table.text(1, col::Duplex), "Minus");
    EXPECT_EQ(f.table.text(1, col::Offset), "0.60000");
    EXPECT_EQ(recordBytes(f.doc, 1, 0, 16)[12], 0x04);
    EXPECT_EQ(recordBytes(f.doc, 1, 0, 4), (std::vector<std::uint8_t>{0x14, 0x62, 0x00, 0x00}));
}

TEST(ChannelTable, EmptyReceiveEmptiesRowAndRecordButKeepsName) {
    Fixture f;
    setRecord(f.doc, 2, kDuplexRecord);
    encodeName(f.doc.image(), 2, "KEEP");
    f.table.fill();
    f.table.commitCell(2, col::Rx, "");
    EXPECT_EQ(rowTexts(f.table, 2), std::vector<std::string>(16));
    EXPECT_EQ(recordBytes(f.doc, 2, 0, 16), std::vector<std::uint8_t>(16, 0xFF));
    EXPECT_EQ(decodeName(f.doc.image(), 2), "KEEP");
}

TEST(ChannelTable, TransmitCommit) {
    Fixture f;
    setRecord(f.doc, 1, kDuplexRecord);
    f.table.fill();

    f.table.commitCell(1, col::Tx, "");
    EXPECT_EQ(f.table.text(1, col::Tx), "");
    EXPECT_EQ(f.table.text(1, col::Encode), "");
    EXPECT_EQ(f.table.text(1, col::Offset), "0.00000");
    EXPECT_EQ(f.table.text(1, col::Duplex), "Off");
    EXPECT_EQ(recordBytes(f.doc, 1, 4, 8), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0x85, 0x08, 0xFF, 0xFF}));

    f.table.commitCell(1, col::Tx, "144.4");
    EXPECT_EQ(f.table.text(1, col::Tx), "144.40000");
    EXPECT_EQ(f.table.text(1, col::Encode), "None");
    EXPECT_EQ(f.table.text(1, col::Duplex), "Minus");
    EXPECT_EQ(f.table.text(1, col::Offset), "0.60000");
    EXPECT_EQ(recordBytes(f.doc, 1, 4, 4), (std::vector<std::uint8_t>{0x14, 0x44, 0x00, 0x00}));

    const CommitResult r = f.table.commitCell(1, col::Tx, "200");
    EXPECT_EQ(r.noticeId, ids::FrequencyOutOfRange);
    EXPECT_EQ(f.table.text(1, col::Tx), "136.00000");
}

TEST(ChannelTable, OffsetCommitFollowsDuplex) {
    struct Case {
        const char* rx;
        const char* duplex; // set through the duplex column first
        const char* offset;
        const char* offsetText;
        const char* txText;
        const char* duplexAfter;
    };
    const std::vector<Case> cases = {
        {"145", "Plus", "0.6", "0.60000", "145.60000", "Plus"},
        {"145", "Minus", "0.6", "0.60000", "144.40000", "Minus"},
        {"145", "Off", "0.6", "0.60000", "145.00000", "Off"},
        {"145", "Plus", "0", "0.00000", "145.00000", "Off"},
        {"145.00625", "Plus", "0.7123", "0.70625", "145.71250", "Plus"},
        {"145", "Plus", "150", "99.99500", "136.00000", "Plus"}, // 244.995 is out of range
    };
    for (const Case& c : cases) {
        Fixture f;
        f.table.commitCell(9, col::Rx, c.rx);
        f.table.commitCell(9, col::Duplex, c.duplex);
        const CommitResult r = f.table.commitCell(9, col::Offset, c.offset);
        EXPECT_EQ(f.table.text(9, col::Offset), c.offsetText) << c.offset;
        EXPECT_EQ(f.table.text(9, col::Tx), c.txText) << c.offset;
        EXPECT_EQ(f.table.text(9, col::Duplex), c.duplexAfter) << c.offset;
        EXPECT_EQ(decodeFrequency(f.doc.image(), channelAddress(9) + rec::Tx), *frequencyFromText(c.txText));
        EXPECT_EQ(r.noticeId != 0, std::string(c.offset) == "150");
    }
}

TEST(ChannelTable, DuplexCommitRecomputesTransmit) {
    Fixture f;
    setRecord(f.doc, 4, kDuplexRecord);
    f.table.fill();
    f.table.commitCell(4, col::Duplex, "Minus");
    EXPECT_EQ(f.table.text(4, col::Tx), "144.40000");
    EXPECT_EQ(recordBytes(f.doc, 4, 4, 4), (std::vector<std::uint8_t>{0x14, 0x44, 0x00, 0x00}));
    f.table.commitCell(4, col::Duplex, "Off");
    EXPECT_EQ(f.table.text(4, col::Tx), "145.00000");
    EXPECT_EQ(f.table.text(4, col::Offset), "0.60000"); // kept for the next Plus/Minus
    f.table.commitCell(4, col::Duplex, "Plus");
    EXPECT_EQ(f.table.text(4, col::Tx), "145.60000");
    EXPECT_EQ(recordBytes(f.doc, 4, 4, 4), (std::vector<std::uint8_t>{0x14, 0x56, 0x00, 0x00}));
}

TEST(ChannelTable, ListColumnsWriteOnlyTheirBits) {
    struct Case {
        int column;
        const char* text;
        int byte;
        std::uint8_t before;
        std::uint8_t after;
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
        Fixture f;
        std::vector<std::uint8_t> rec = kDuplexRecord;
        rec[static_cast<std::size_t>(c.byte)] = c.before;
        setRecord(f.doc, 6, rec);
        f.table.fill();
        ASSERT_NE(f.table.text(6, c.column), c.text) << c.column << " " << c.text;
        f.table.commitCell(6, c.column, c.text);
        EXPECT_EQ(f.doc.image().at(channelAddress(6) + c.byte), c.after) << c.column << " " << c.text;
        EXPECT_EQ(f.table.text(6, c.column), c.text);
        // The fill reads back what was written.
        f.table.fill();
        EXPECT_EQ(f.table.text(6, c.column), c.text) << c.column << " " << c.text;
    }
}

TEST(ChannelTable, UnchangedTextCommitsNothingButToneAlwaysWrites) {
    Fixture f;
    setRecord(f.doc, 1, kDuplexRecord);
    f.table.fill();
    f.doc.takeSavedImage();
    EXPECT_FALSE(f.table.commitCell(1, col::Rx, "145.00000").anyChange());
    EXPECT_FALSE(f.table.commitCell(1, col::Power, "High").anyChange());
    EXPECT_FALSE(f.doc.isModified());

    f.table.commitCell(1, col::Encode, "D754I");
    EXPECT_EQ(recordBytes(f.doc, 1, 10, 2), (std::vector<std::uint8_t>{0x54, 0xC7}));
    f.table.setLanguage(Language::Chinese);
    f.table.commitCell(1, col::Decode, "\xE6\x97\xA0"); // 无
    EXPECT_EQ(recordBytes(f.doc, 1, 8, 2), (std::vector<std::uint8_t>{0xFF, 0xFF}));
}

TEST(ChannelTable, EmptyChannelTakesOnlyAReceiveFrequency) {
    Fixture f;
    f.doc.takeSavedImage();
    for (int c : {col::Tx, col::Decode, col::Encode, col::Power, col::Name, col::Offset, col::Duplex})
        EXPECT_FALSE(f.table.commitCell(10, c, "1").anyChange()) << c;
    EXPECT_FALSE(f.doc.isModified());
}

TEST(ChannelTable, NameCommitWritesSevenSingleByteCodes) {
    Fixture f;
    setRecord(f.doc, 3, kDuplexRecord);
    f.table.fill();
    f.table.commitCell(3, col::Name, "AB c");
    EXPECT_EQ(decodeName(f.doc.image(), 3), "AB c");
    EXPECT_EQ(f.doc.image().at(0x8CE + 4), 0xFF);
    f.table.commitCell(3, col::Name, "");
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(f.doc.image().at(0x8CE + i), 0xFF);

    // Codes above 0x7F read from a radio survive an edit of the rest of the name.
    encodeName(f.doc.image(), 3, "\xE9X");
    f.table.fill();
    EXPECT_EQ(f.table.text(3, col::Name), "\xC3\xA9X"); // é in UTF-8
    f.table.commitCell(3, col::Name, "\xC3\xA9XY");
    EXPECT_EQ(decodeName(f.doc.image(), 3), "\xE9XY");
}

TEST(ChannelTable, FillNormalisesEmptyRecordsAndMissingTransmit) {
    Fixture f;
    setRecord(f.doc, 5,
              {0xFF, 0xFF, 0xFF, 0xFF, 0x14, 0x56, 0x00, 0x00, 0x85, 0x08, 0x23, 0x80, 0x04, 0x00, 0x46, 0x00});
    setRecord(f.doc, 6, {0x00, 0x00, 0x00, 0x00, 0x14, 0x56, 0x00, 0x00});
    setRecord(f.doc, 7,
              {0x14, 0x50, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x85, 0x08, 0x23, 0x80, 0x04, 0x00, 0x46, 0x00});
    setRecord(f.doc, 8, kDuplexRecord);
    f.doc.image().set(channelAddress(8) + 14, 0x06);
    f.table.fill();

    for (int ch : {5, 6}) {
        EXPECT_EQ(rowTexts(f.table, ch), std::vector<std::string>(16)) << ch;
        EXPECT_EQ(recordBytes(f.doc, ch, 0, 16), std::vector<std::uint8_t>(16, 0xFF)) << ch;
    }
    EXPECT_EQ(f.table.text(7, col::Tx), "");
    EXPECT_EQ(f.table.text(7, col::Encode), "");
    EXPECT_EQ(f.table.text(7, col::Decode), "88.5");
    EXPECT_EQ(f.table.text(7, col::Offset), "0.00000");
    EXPECT_EQ(f.table.text(7, col::Duplex), "Off");
    EXPECT_EQ(f.table.text(7, col::More), ">>");
    EXPECT_EQ(recordBytes(f.doc, 7, 4, 8), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0x85, 0x08, 0xFF, 0xFF}));
    EXPECT_EQ(f.table.text(8, col::Scrambler), "7");
    EXPECT_EQ(f.table.text(8, col::Scan), "Del");
    EXPECT_EQ(f.table.text(8, col::Encode), "D023N");
}

TEST(ChannelTable, LanguageSwitchRetextsHeadersAndCells) {
    Fixture f;
    setRecord(f.doc, 1,
              {0x14, 0x50, 0x00, 0x00, 0x14, 0x50, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x04, 0x00, 0x46, 0x00});
    f.table.fill();
    EXPECT_EQ(f.table.text(0, col::Rx), "RX Freq");
    EXPECT_EQ(f.table.text(0, col::Channel), "CH");
    EXPECT_EQ(f.table.text(1, col::Bcl), "Off");
    f.table.setLanguage(Language::Chinese);
    EXPECT_EQ(f.table.text(0, col::Rx), "接收频率");
    EXPECT_EQ(f.table.text(0, col::PttId), "PTT ID");
    EXPECT_EQ(f.table.text(0, col::More), "更多");
    EXPECT_EQ(f.table.text(1, col::Bcl), "关");
    EXPECT_EQ(f.table.text(1, col::Decode), "无");
    EXPECT_EQ(f.table.text(1, col::Power), "高");
    EXPECT_EQ(f.table.text(1, col::Duplex), "关");
    // Texts of the language are what a commit compares with.
    f.table.commitCell(1, col::Power, "低");
    EXPECT_EQ(f.doc.image().at(channelAddress(1) + 12), 0x00);
    EXPECT_EQ(f.table.listEntries(col::Duplex), (std::vector<std::string>{"关", "加", "减"}));
}

TEST(ChannelTable, DisplayUsesTheDecimalSeparatorAndReadsEither) {
    RadioDocument doc;
    ChannelTable table(doc, Language::English, ',');
    table.fill();
    table.commitCell(1, col::Rx, "145,5");
    EXPECT_EQ(table.text(1, col::Rx), "145,50000");
    EXPECT_EQ(table.text(1, col::Offset), "0,00000");
    table.commitCell(1, col::Tx, "146.1");
    EXPECT_EQ(table.text(1, col::Offset), "0,60000");
    EXPECT_EQ(table.listEntries(col::Decode)[1], "67,0");
}

TEST(ChannelTable, LowBandFrequencyKeepsItsDigits) {
    RadioDocument doc;
    doc.bandLimits().set(0, {66, 88});
    ChannelTable table(doc);
    table.fill();
    table.commitCell(1, col::Rx, "70.0125");
    EXPECT_EQ(table.text(1, col::Rx), "70.01250");
    EXPECT_EQ(recordBytes(doc, 1, 0, 4), (std::vector<std::uint8_t>{0x07, 0x00, 0x12, 0x50}));
    table.fill();
    EXPECT_EQ(table.text(1, col::Rx), "70.01250");
}

TEST(ChannelTable, WhatOpensAnEditor) {
    using A = EditRequest::Action;
    Fixture f;
    f.table.commitCell(1, col::Rx, "145"); // used, with transmit
    f.table.commitCell(2, col::Rx, "145");
    f.table.commitCell(2, col::Tx, ""); // receive only
    struct Case {
        const char* what;
        EditRequest got;
        EditRequest expected;
    };
    const std::vector<Case> cases = {
        {"click used cell", f.table.clickRequest(1, col::Power), {A::OpenEditor, col::Power, {}}},
        {"click more", f.table.clickRequest(1, col::More), {A::OpenPanel, col::More, {}}},
        {"click more of empty row", f.table.clickRequest(3, col::More), {A::OpenEditor, col::Rx, {}}},
        {"click empty row", f.table.clickRequest(3, col::Name), {A::OpenEditor, col::Rx, {}}},
        {"click encode, no tx", f.table.clickRequest(2, col::Encode), {A::OpenEditor, col::Tx, {}}},
        {"click decode, no tx", f.table.clickRequest(2, col::Decode), {A::OpenEditor, col::Decode, {}}},
        {"enter encode, no tx", f.table.enterRequest(2, col::Encode), {A::OpenEditor, col::Tx, {}}},
        {"enter more", f.table.enterRequest(1, col::More), {A::OpenPanel, col::More, {}}},
        {"digit rx", f.table.typedRequest(3, col::Rx, '5'), {A::OpenEditor, col::Rx, '5'}},
        {"digit tx of empty row", f.table.typedRequest(3, col::Tx, '5'), {A::OpenEditor, col::Rx, '5'}},
        {"point offset", f.table.typedRequest(1, col::Offset, '.'), {A::OpenEditor, col::Offset, '.'}},
        {"digit name of empty row", f.table.typedRequest(3, col::Name, '1'), {A::OpenEditor, col::Rx, '1'}},
        {"digit on power", f.table.typedRequest(1, col::Power, '1'), {}},
        {"letter on name", f.table.typedRequest(1, col::Name, 'k'), {A::OpenEditor, col::Name, 'K'}},
        {"space on name", f.table.typedRequest(1, col::Name, ' '), {A::OpenEditor, col::Name, ' '}},
        {"letter I on name", f.table.typedRequest(1, col::Name, 'i'), {}},
        {"letter C on name", f.table.typedRequest(1, col::Name, 'C'), {}},
        {"letter on name of empty row", f.table.typedRequest(3, col::Name, 'k'), {A::OpenEditor, col::Rx, {}}},
        {"letter on rx", f.table.typedRequest(1, col::Rx, 'k'), {}},
        {"brace on name", f.table.typedRequest(1, col::Name, '{'), {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.got.action, c.expected.action) << c.what;
        EXPECT_EQ(c.got.column, c.expected.column) << c.what;
        EXPECT_EQ(c.got.initialText, c.expected.initialText) << c.what;
    }
}

TEST(ChannelTable, TextEditorKeys) {
    struct Case {
        int column;
        std::size_t length;
        std::size_t selected;
        char c;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {col::Rx, 8, 0, '5', true},       {col::Rx, 9, 0, '5', false},    {col::Rx, 9, 9, '5', true},
        {col::Tx, 12, 0, '.', true},      {col::Offset, 3, 0, ',', true}, {col::Rx, 0, 0, 'a', false},
        {col::Rx, 0, 0, '-', false},      {col::Name, 6, 0, 'z', true},   {col::Name, 7, 0, 'a', false},
        {col::Name, 7, 7, 'a', true},     {col::Name, 0, 0, '{', false},  {col::Name, 0, 0, ' ', true},
        {col::Name, 0, 0, '\x1F', false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChannelTable::textEditorAccepts(c.column, c.length, c.selected, c.c), c.accepted)
            << c.column << " len " << c.length << " '" << c.c << "'";
}

TEST(ChannelTable, EnterMovesToTheNextShownColumn) {
    Fixture f;
    f.table.commitCell(1, col::Rx, "145");
    f.table.commitCell(2, col::Rx, "145");
    f.table.commitCell(2, col::Tx, "");
    EXPECT_EQ(f.table.columnAfter(1, col::Decode), col::Encode);
    EXPECT_EQ(f.table.columnAfter(2, col::Decode), col::Power);
    f.table.setColumnVisible(col::Offset, false);
    f.table.setColumnVisible(col::Duplex, false);
    EXPECT_EQ(f.table.columnAfter(1, col::Scrambler), col::More);
    EXPECT_EQ(f.table.widthTwips(col::Offset), 0);
    f.table.setColumnVisible(col::More, false);
    EXPECT_EQ(f.table.columnAfter(1, col::Scrambler), col::Scrambler);
    f.table.setColumnVisible(col::Offset, true);
    EXPECT_EQ(f.table.widthTwips(col::Offset), 1200);
    f.table.setColumnVisible(col::Channel, false);
    EXPECT_TRUE(f.table.isColumnVisible(col::Channel));
}
