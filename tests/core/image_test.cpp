#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/auxiliary/embedded_message.h"
#include "core/image/band_limits.h"
#include "core/image/channel_record.h"
#include "core/image/defaults.h"
#include "core/image/tones.h"
#include "helpers.h"

using namespace norvik;
using namespace norvik::test;

TEST(BandLimits, LoadChecksEveryBandAndResetsAllOnAnyFailure) {
    struct Case {
        const char* what;
        const char* row;
        bool loads;
        Band band0, band1;
    };
    const Band d0{136, 174}, d1{400, 470};
    const std::vector<Case> cases = {
        {"defaults stored", "13 60 17 40 40 00 47 00 35 00 39 00 47 00 52 00", true, d0, d1},
        {"tenths digit dropped", "13 65 17 40 43 00 44 00 35 00 39 00 47 00 52 00", true, d0, {430, 440}},
        {"all 0xFF: lower 0 fails", "", false, d0, d1},
        {"upper 531 in band 3", "13 60 17 40 43 00 44 00 35 00 39 00 47 00 53 10", false, d0, d1},
        {"lower equals upper in band 2", "13 60 17 40 43 00 44 00 39 00 39 00 47 00 52 00", false, d0, d1},
        {"lower below 50 in band 0", "04 90 17 40 43 00 44 00 35 00 39 00 47 00 52 00", false, d0, d1},
        {"lower of 50 allowed", "05 00 17 40 43 00 44 00 35 00 39 00 47 00 52 00", true, {50, 174}, {430, 440}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RadioImage img;
        setBytes(img, RadioImage::address(kBandLimitsRow, 0), hex(c.row));
        const RadioImage before = img;
        BandLimits bands;
        bands.set(1, {430, 440}); // proves a failed load resets every band, not only the bad one
        EXPECT_EQ(bands.load(img), c.loads);
        EXPECT_EQ(bands[0], c.band0);
        EXPECT_EQ(bands[1], c.band1);
        EXPECT_EQ(img, before); // loading never writes the row
    }
}

TEST(BandLimits, StoreWritesHundredsTensThenUnits) {
    RadioImage img;
    BandLimits bands;
    bands.set(0, {50, 99});
    bands.store(img);
    EXPECT_EQ(bytesAt(img, 0xD00, 16), hex("05 00 09 90 40 00 47 00 35 00 39 00 47 00 52 00"));
    BandLimits back;
    EXPECT_TRUE(back.load(img));
    EXPECT_EQ(back, bands);
}

TEST(Tones, DecodeEveryCodeClass) {
    struct Case {
        std::uint8_t lo, hi;
        const char* en; // Chinese differs only for "None"
    };
    const std::vector<Case> cases = {
        {0xFF, 0xFF, "None"},  {0x70, 0x06, "67.0"},  {0x80, 0x06, "None"},  {0x41, 0x25, "254.1"},
        {0x00, 0x10, "100.0"}, {0x23, 0x80, "D023N"}, {0x23, 0x90, "D023N"}, {0x23, 0xB0, "D023N"},
        {0x54, 0xC7, "D754I"}, {0x24, 0x80, "None"},  {0x00, 0x40, "None"},  {0x70, 0x7F, "None"},
        {0x00, 0x0A, "100.0"}, // nibble 10 written out as "10": 0,10,0,0 reads 1000 tenths
        {0x00, 0x00, "None"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << int(c.hi) << " " << int(c.lo));
        EXPECT_EQ(decodeTone({c.lo, c.hi}, Language::English, '.'), c.en);
        EXPECT_EQ(decodeTone({c.lo, c.hi}, Language::Chinese, '.'), std::string(c.en) == "None" ? "无" : c.en);
    }
    EXPECT_EQ(decodeTone({0x70, 0x06}, Language::English, ','), "67,0");
}

TEST(Tones, EncodeBothPolaritiesAndCtcssWidths) {
    struct Case {
        const char* text;
        std::uint8_t hi, lo;
    };
    const std::vector<Case> cases = {
        {"None", 0xFF, 0xFF}, {"无", 0xFF, 0xFF},   {"D023N", 0x80, 0x23}, {"D754I", 0xC7, 0x54}, {"67.0", 0x06, 0x70},
        {"67,0", 0x06, 0x70}, {"88.5", 0x08, 0x85}, {"100.0", 0x10, 0x00}, {"254.1", 0x25, 0x41},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(encodeTone(c.text), (ToneCode{c.lo, c.hi}));
    }
}

TEST(Tones, ListHas261EntriesInOrderAndEveryEntryRoundTrips) {
    for (Language lang : {Language::English, Language::Chinese}) {
        const auto list = toneList(lang, '.');
        ASSERT_EQ(list.size(), 261u);
        EXPECT_EQ(list[51], "D023N");
        EXPECT_EQ(list[156], "D023I");
        EXPECT_EQ(list[260], "D754I");
        for (std::size_t i = 0; i < list.size(); ++i)
            EXPECT_EQ(decodeTone(encodeTone(list[i]), lang, '.'), list[i]) << i;
    }
}

TEST(Frequency, DecodeStopsAtFirstNibbleAboveNine) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"14 57 25 00", "145.72500"}, {"14 5F 00 00", "0.00145"},  {"FF FF FF FF", ""},
        {"00 00 00 00", ""},          {"09 91 23 45", "99.12345"}, {"52 00 00 0A", "52.00000"},
    };
    for (const auto& [bytes, text] : cases) {
        RadioImage img;
        setBytes(img, 0x10, hex(bytes));
        EXPECT_EQ(frequencyText(decodeFrequency(img, 0x10), '.'), text) << bytes;
    }
}

TEST(Frequency, EncodeFromTheNumberKeepsLowFrequenciesInPlace) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"145.72500", "14 57 25 00"}, {"99.12345", "09 91 23 45"}, {"136,00000", "13 60 00 00"},
        {"519.99500", "51 99 95 00"}, {"50.00625", "05 00 06 25"},
    };
    for (const auto& [text, bytes] : cases) {
        SCOPED_TRACE(text);
        const auto f = frequencyFromText(text);
        ASSERT_TRUE(f);
        RadioImage img;
        encodeFrequency(img, 0x20, *f);
        EXPECT_EQ(bytesAt(img, 0x20, 4), hex(bytes));
        EXPECT_EQ(decodeFrequency(img, 0x20), *f);
    }
    EXPECT_FALSE(frequencyFromText("abc"));
    EXPECT_FALSE(frequencyFromText(""));
}

TEST(Names, EntriesArePackedAndMayCrossRows) {
    RadioImage img;
    encodeName(img, 3, "ABCDEFG");
    EXPECT_EQ(bytesAt(img, 0x8CD, 9), hex("FF 41 42 43 44 45 46 47 FF")); // rows 140 and 141
    EXPECT_EQ(decodeName(img, 3), "ABCDEFG");

    encodeName(img, 128, "Z");
    EXPECT_EQ(bytesAt(img, 0xC39, 7), hex("5A FF FF FF FF FF FF"));

    encodeName(img, 5, "AB");
    img.set(nameAddress(5) + 1, 0xFF);
    img.set(nameAddress(5) + 2, 'B');
    EXPECT_EQ(decodeName(img, 5), "AB"); // an 0xFF in the middle is skipped, later bytes still read
    encodeName(img, 5, "");
    EXPECT_EQ(bytesAt(img, nameAddress(5), 7), Bytes(7, 0xFF));
}

TEST(Names, EmbeddedMessageKeepsSixteenCharactersAndSkipsFF) {
    RadioImage img;
    EXPECT_EQ(decodeEmbeddedMessage(img), "");
    encodeEmbeddedMessage(img, "HELLO");
    EXPECT_EQ(bytesAt(img, 0xD10, 17), hex("48 45 4C 4C 4F FF FF FF FF FF FF FF FF FF FF FF FF"));
    encodeEmbeddedMessage(img, "");
    setBytes(img, 0xD10, hex("41 FF 42"));
    EXPECT_EQ(decodeEmbeddedMessage(img), "AB");
    encodeEmbeddedMessage(img, "0123456789ABCDEFGH"); // what does not fit is not stored
    EXPECT_EQ(decodeEmbeddedMessage(img), "0123456789ABCDEF");
    EXPECT_EQ(img.at(0xD20), 0xFF);
}

// Bit fields are written through the table's columns (see ChannelTable tests); here the
// values no entry names.
TEST(RecordFields, UnlistedValuesReadAsOffOrNone) {
    RadioImage img;
    setBytes(img, channelAddress(7) + 12, {0b1100'1011, 0x33}); // option 3; bcl 3, signal type 3
    EXPECT_EQ(fieldText(img, 7, RecordField::Option, Language::English), "Off");
    EXPECT_EQ(fieldText(img, 7, RecordField::Bcl, Language::Chinese), "关");
    EXPECT_EQ(fieldText(img, 7, RecordField::SignalType, Language::English), "None");
}

TEST(RecordDisplay, NormalisationOfEmptyReceiveAndTransmit) {
    RadioImage img;
    // Receive 0x00000000 is empty: the whole record becomes 0xFF, the name stays.
    setBytes(img, channelAddress(5), hex("00 00 00 00 12 12 12 12 12 12 12 12 12 12 12 12"));
    encodeName(img, 5, "KEEP");
    EXPECT_EQ(normaliseRecord(img, 5), RecordState::Empty);
    EXPECT_EQ(bytesAt(img, channelAddress(5), 16), Bytes(16, 0xFF));
    EXPECT_EQ(decodeName(img, 5), "KEEP");

    // An empty transmit clears bytes 4-7 and the encode tone only.
    setBytes(img, channelAddress(6), hex("14 50 00 00 FF FF FF FF 70 06 85 08 04 00 46 00"));
    EXPECT_EQ(normaliseRecord(img, 6), RecordState::NoTransmit);
    EXPECT_EQ(bytesAt(img, channelAddress(6), 16), hex("14 50 00 00 FF FF FF FF 70 06 FF FF 04 00 46 00"));
}

TEST(Defaults, MatchTheTableByteForByte) {
    RadioImage img;
    img.fill(0x00);
    writeNewImageDefaults(img, BandLimits{});
    const std::vector<std::pair<int, const char*>> rows = {
        {0x810, "13 60 00 00 13 60 00 00 FF FF FF FF 04 00 46 00"},
        {0x820, "40 00 00 00 40 00 00 00 FF FF FF FF 04 00 46 00"},
        {0x830, "00 17 81 38 05 00 03 00 00 00 04 04 00 00 00 00"},
        {0xD00, "13 60 17 40 40 00 47 00 35 00 39 00 47 00 52 00"},
        {0xFF0, "FF A0 BE F0 55 FF FF FF FF FF FF FF FF FF FF FF"},
    };
    for (const auto& [addr, bytes] : rows)
        EXPECT_EQ(bytesAt(img, addr, 16), hex(bytes)) << std::hex << addr;
    // Every row not set by the table is all 0xFF (this includes every channel and name).
    const std::vector<int> setRows = {129, 130, 131, 132, 139, 196, 197, 208, 210, 229};
    for (int r = 0; r < 240; ++r)
        if (std::find(setRows.begin(), setRows.end(), r) == setRows.end()) {
            ASSERT_EQ(bytesAt(img, r * 16, 16), Bytes(16, 0xFF)) << "row " << r;
        }
    // Sum of the service rows guards every byte of the long table at once.
    unsigned sum = 0;
    for (int a = 0xF00; a < 0x1000; ++a)
        sum += img.at(a);
    EXPECT_EQ(sum, 29053u);
}
