#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "image/band_limits.h"
#include "image/channel_record.h"
#include "image/defaults.h"
#include "image/number_format.h"
#include "image/radio_document.h"
#include "image/tones.h"

using namespace norvik;

namespace {

RadioImage withRow208(std::vector<std::uint8_t> bytes) {
    RadioImage img;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        img.setByte(kBandLimitsRow, static_cast<int>(i), bytes[i]);
    return img;
}

} // namespace

TEST(BandLimits, LoadChecksEveryBandAndResetsAllOnAnyFailure) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> row;
        bool loads;
        Band band0;
        Band band1;
    };
    const std::vector<Case> cases = {
        {"defaults stored",
         {0x13, 0x60, 0x17, 0x40, 0x40, 0x00, 0x47, 0x00, 0x35, 0x00, 0x39, 0x00, 0x47, 0x00, 0x52, 0x00},
         true,
         {136, 174},
         {400, 470}},
        {"tenths digit dropped",
         {0x13, 0x65, 0x17, 0x40, 0x43, 0x00, 0x44, 0x00, 0x35, 0x00, 0x39, 0x00, 0x47, 0x00, 0x52, 0x00},
         true,
         {136, 174},
         {430, 440}},
        {"all 0xFF: lower 0 fails", {}, false, {136, 174}, {400, 470}},
        {"upper 531 in band 3",
         {0x13, 0x60, 0x17, 0x40, 0x43, 0x00, 0x44, 0x00, 0x35, 0x00, 0x39, 0x00, 0x47, 0x00, 0x53, 0x10},
         false,
         {136, 174},
         {400, 470}},
        {"lower equals upper in band 2",
         {0x13, 0x60, 0x17, 0x40, 0x43, 0x00, 0x44, 0x00, 0x39, 0x00, 0x39, 0x00, 0x47, 0x00, 0x52, 0x00},
         false,
         {136, 174},
         {400, 470}},
        {"lower below 50 in band 0",
         {0x04, 0x90, 0x17, 0x40, 0x43, 0x00, 0x44, 0x00, 0x35, 0x00, 0x39, 0x00, 0x47, 0x00, 0x52, 0x00},
         false,
         {136, 174},
         {400, 470}},
        {"lower of 50 allowed",
         {0x05, 0x00, 0x17, 0x40, 0x43, 0x00, 0x44, 0x00, 0x35, 0x00, 0x39, 0x00, 0x47, 0x00, 0x52, 0x00},
         true,
         {50, 174},
         {430, 440}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RadioImage img = withRow208(c.row);
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
    const Row r = img.row(kBandLimitsRow);
    const std::vector<std::uint8_t> expected = {0x05, 0x00, 0x09, 0x90, 0x40, 0x00, 0x47, 0x00,
                                                0x35, 0x00, 0x39, 0x00, 0x47, 0x00, 0x52, 0x00};
    EXPECT_EQ(std::vector<std::uint8_t>(r.begin(), r.end()), expected);
    BandLimits back;
    EXPECT_TRUE(back.load(img));
    EXPECT_EQ(back, bands);
}

TEST(Tones, DecodeEveryCodeClass) {
    struct Case {
        std::uint8_t lo, hi;
        const char* en;
        const char* zh;
    };
    const std::vector<Case> cases = {
        {0xFF, 0xFF, "None", "无"},     {0x70, 0x06, "67.0", "67.0"},   {0x80, 0x06, "None", "无"},
        {0x41, 0x25, "254.1", "254.1"}, {0x00, 0x10, "100.0", "100.0"}, {0x23, 0x80, "D023N", "D023N"},
        {0x23, 0x90, "D023N", "D023N"}, {0x23, 0xB0, "D023N", "D023N"}, {0x54, 0xC7, "D754I", "D754I"},
        {0x24, 0x80, "None", "无"},     {0x00, 0x40, "None", "无"},     {0x70, 0x7F, "None", "无"},
        {0x00, 0x0A, "100.0", "100.0"}, // nibble 10 written out as "10": 0,10,0,0 reads 1000 tenths
        {0x00, 0x00, "None", "无"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << int(c.hi) << " " << int(c.lo));
        EXPECT_EQ(decodeTone({c.lo, c.hi}, Language::English, '.'), c.en);
        EXPECT_EQ(decodeTone({c.lo, c.hi}, Language::Chinese, '.'), c.zh);
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
        const ToneCode code = encodeTone(c.text);
        EXPECT_EQ(code.high, c.hi);
        EXPECT_EQ(code.low, c.lo);
    }
}

TEST(Tones, ListHas261EntriesInOrderAndEveryEntryRoundTrips) {
    for (Language lang : {Language::English, Language::Chinese}) {
        const auto list = toneList(lang, '.');
        ASSERT_EQ(list.size(), 261u);
        EXPECT_EQ(list[51], "D023N");
        EXPECT_EQ(list[155], "D754N");
        EXPECT_EQ(list[156], "D023I");
        EXPECT_EQ(list[260], "D754I");
        for (std::size_t i = 0; i < list.size(); ++i)
            EXPECT_EQ(decodeTone(encodeTone(list[i]), lang, '.'), list[i]) << i;
    }
    EXPECT_EQ(toneList(Language::Chinese, '.')[0], "无");
}

TEST(Frequency, DecodeStopsAtFirstNibbleAboveNine) {
    struct Case {
        std::array<std::uint8_t, 4> bytes;
        const char* text;
    };
    const std::vector<Case> cases = {
        {{0x14, 0x57, 0x25, 0x00}, "145.72500"}, {{0x14, 0x5F, 0x00, 0x00}, "0.00145"},
        {{0xFF, 0xFF, 0xFF, 0xFF}, ""},          {{0x00, 0x00, 0x00, 0x00}, ""},
        {{0x09, 0x91, 0x23, 0x45}, "99.12345"},  {{0x52, 0x00, 0x00, 0x0A}, "52.00000"},
    };
    for (const Case& c : cases) {
        RadioImage img;
        for (int i = 0; i < 4; ++i)
            img.set(0x10 + i, c.bytes[i]);
        EXPECT_EQ(frequencyText(decodeFrequency(img, 0x10), '.'), c.text);
    }
}

TEST(Frequency, EncodeFromTheNumberKeepsLowFrequenciesInPlace) {
    struct Case {
        const char* text;
        std::array<std::uint8_t, 4> bytes;
    };
    const std::vector<Case> cases = {
        {"145.72500", {0x14, 0x57, 0x25, 0x00}}, {"99.12345", {0x09, 0x91, 0x23, 0x45}},
        {"136,00000", {0x13, 0x60, 0x00, 0x00}}, {"519.99500", {0x51, 0x99, 0x95, 0x00}},
        {"50.00625", {0x05, 0x00, 0x06, 0x25}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto f = frequencyFromText(c.text);
        ASSERT_TRUE(f);
        RadioImage img;
        encodeFrequency(img, 0x20, *f);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(img.at(0x20 + i), c.bytes[i]) << i;
        EXPECT_EQ(decodeFrequency(img, 0x20), *f);
    }
    EXPECT_FALSE(frequencyFromText("abc"));
    EXPECT_FALSE(frequencyFromText(""));
}

TEST(Frequency, DuplexAndOffset) {
    EXPECT_EQ(duplexOf(14500000, 14560000), Duplex::Plus);
    EXPECT_EQ(duplexOf(14560000, 14500000), Duplex::Minus);
    EXPECT_EQ(duplexOf(14500000, 14500000), Duplex::Off);
    EXPECT_EQ(frequencyText(offsetOf(14560000, 14500000), '.'), "0.60000");
    EXPECT_EQ(formatScaled(offsetOf(14500000, 14500000), 5, '.'), "0.00000");
}

TEST(Names, EntriesArePackedAndMayCrossRows) {
    RadioImage img;
    encodeName(img, 3, "ABCDEFG");
    EXPECT_EQ(img.at(0x8CD), 0xFF);
    EXPECT_EQ(img.byte(140, 14), 'A');
    EXPECT_EQ(img.byte(141, 4), 'G');
    EXPECT_EQ(img.at(0x8D5), 0xFF);
    EXPECT_EQ(decodeName(img, 3), "ABCDEFG");

    encodeName(img, 128, "Z");
    EXPECT_EQ(img.at(0xC39), 'Z');
    EXPECT_EQ(img.at(0xC3F), 0xFF);

    encodeName(img, 5, "AB");
    EXPECT_EQ(decodeName(img, 5), "AB");
    img.set(nameAddress(5) + 1, 0xFF);
    img.set(nameAddress(5) + 2, 'B');
    EXPECT_EQ(decodeName(img, 5), "AB"); // an 0xFF in the middle is skipped, later bytes still read
    encodeName(img, 5, "");
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(img.at(nameAddress(5) + i), 0xFF);
}

TEST(RecordFields, TextsValuesAndNeighbouringBits) {
    RadioImage img;
    const int base = channelAddress(7);
    img.set(base + 12, 0b1100'1011); // option 3 -> "Off", power 0, ptt id 0, bits 3,6,7 set
    img.set(base + 13, 0x33);        // bcl 3 -> "Off", signalling 3 -> "None"
    img.set(base + 14, 0x06);
    EXPECT_EQ(fieldText(img, 7, RecordField::Option, Language::English), "Off");
    EXPECT_EQ(fieldText(img, 7, RecordField::Bcl, Language::Chinese), "关");
    EXPECT_EQ(fieldText(img, 7, RecordField::SignalType, Language::English), "None");
    EXPECT_EQ(fieldText(img, 7, RecordField::ScramblerGroup, Language::English), "7");
    EXPECT_EQ(fieldText(img, 7, RecordField::Power, Language::English), "Low");

    setFieldValue(img, 7, RecordField::PttId, 3);
    EXPECT_EQ(img.at(base + 12), 0b1111'1011);
    setFieldValue(img, 7, RecordField::Power, 1);
    EXPECT_EQ(img.at(base + 12), 0b1111'1111);
    setFieldValue(img, 7, RecordField::Option, 0);
    EXPECT_EQ(img.at(base + 12), 0b1111'1100);
    setFieldValue(img, 7, RecordField::SignalType, fieldEntryValue(RecordField::SignalType, 3));
    EXPECT_EQ(img.at(base + 13), 0x43);
    EXPECT_EQ(fieldText(img, 7, RecordField::SignalType, Language::English), "2-Tone");
    EXPECT_EQ(fieldEntryOf(RecordField::Bcl, "QT/DQT", Language::Chinese), 2);
    EXPECT_EQ(fieldEntries(RecordField::ScramblerGroup, Language::English).back(), "8");
}

TEST(RecordDisplay, NormalisationOfEmptyReceiveAndTransmit) {
    RadioImage img;
    // Receive 0x00000000 is empty: the whole record becomes 0xFF, the name stays.
    for (int i = 0; i < 16; ++i)
        img.set(channelAddress(5) + i, i < 4 ? 0x00 : 0x12);
    encodeName(img, 5, "KEEP");
    EXPECT_EQ(normaliseRecord(img, 5), RecordState::Empty);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(img.at(channelAddress(5) + i), 0xFF);
    EXPECT_EQ(decodeName(img, 5), "KEEP");

    // An empty transmit clears bytes 4-7 and the encode tone only.
    const std::uint8_t rec[16] = {0x14, 0x50, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x06, 0x85, 0x08, 4, 0, 0x46, 0};
    for (int i = 0; i < 16; ++i)
        img.set(channelAddress(6) + i, rec[i]);
    EXPECT_EQ(normaliseRecord(img, 6), RecordState::NoTransmit);
    EXPECT_EQ(img.at(channelAddress(6) + 8), 0x70);
    EXPECT_EQ(img.at(channelAddress(6) + 10), 0xFF);
    EXPECT_EQ(img.at(channelAddress(6) + 11), 0xFF);
    EXPECT_EQ(img.at(channelAddress(6) + 12), 4);
}

TEST(Defaults, MatchTheTableByteForByte) {
    RadioImage img;
    img.fill(0x00);
    writeNewImageDefaults(img, BandLimits{});
    // Spot rows in full, everything else 0xFF.
    const std::vector<std::pair<int, std::vector<std::uint8_t>>> rows = {
        {0x810, {0x13, 0x60, 0x00, 0x00, 0x13, 0x60, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x04, 0x00, 0x46, 0x00}},
        {0x820, {0x40, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x04, 0x00, 0x46, 0x00}},
        {0x830, {0x00, 0x17, 0x81, 0x38, 0x05, 0x00, 0x03, 0x00, 0x00, 0x00, 0x04, 0x04, 0x00, 0x00, 0x00, 0x00}},
        {0xD00, {0x13, 0x60, 0x17, 0x40, 0x40, 0x00, 0x47, 0x00, 0x35, 0x00, 0x39, 0x00, 0x47, 0x00, 0x52, 0x00}},
        {0xFF0, {0xFF, 0xA0, 0xBE, 0xF0, 0x55, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const auto& [addr, bytes] : rows)
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(img.at(addr + i), bytes[static_cast<std::size_t>(i)]) << std::hex << addr + i;
    const std::vector<int> constRows = {129, 130, 131, 132, 139, 196, 197, 208, 210, 229};
    for (int r = 0; r < kRowCount; ++r) {
        const bool listed = r >= 240 || std::find(constRows.begin(), constRows.end(), r) != constRows.end();
        for (int c = 0; c < 16 && !listed; ++c)
            ASSERT_EQ(img.byte(r, c), 0xFF) << "row " << r;
    }
    for (int n = 1; n <= kChannelCount; ++n)
        EXPECT_EQ(decodeName(img, n), "");
    // Sum of the service rows guards every byte of the long table at once.
    unsigned sum = 0;
    for (int a = 0xF00; a < 0x1000; ++a)
        sum += img.at(a);
    EXPECT_EQ(sum, 29053u);
}

TEST(Defaults, VfoRecordsFollowTheBandLimitsInForce) {
    BandLimits bands;
    bands.set(1, {430, 440});
    RadioImage img;
    writeNewImageDefaults(img, bands);
    EXPECT_EQ(img.at(0x820), 0x43);
    EXPECT_EQ(img.at(0x821), 0x00);
    EXPECT_EQ(img.at(0x824), 0x43);
    EXPECT_EQ(frequencyText(decodeFrequency(img, 0x810), '.'), "136.00000");
}

TEST(Document, ModifiedIsAComparisonNotAFlag) {
    RadioDocument doc;
    EXPECT_FALSE(doc.isModified());
    const std::uint8_t old = doc.image().at(0x10);
    doc.image().set(0x10, 0x14);
    EXPECT_TRUE(doc.isModified());
    doc.image().set(0x10, old);
    EXPECT_FALSE(doc.isModified());
    doc.image().setByte(kBandLimitsRow, 3, 0x50);
    EXPECT_TRUE(doc.isModified());
    doc.takeSavedImage();
    EXPECT_FALSE(doc.isModified());
}

TEST(NumberFormat, UserNumbersAndFixedFormats) {
    EXPECT_EQ(parseUserNumber("145.5"), 145.5);
    EXPECT_EQ(parseUserNumber("145,5"), 145.5);
    EXPECT_EQ(parseUserNumber("145.5abc"), 145.5);
    EXPECT_EQ(parseUserNumber("abc"), 0.0);
    EXPECT_FALSE(parseUserNumber("abc,"));
    EXPECT_FALSE(parseUserNumber("1,2,3"));
    EXPECT_EQ(formatScaled(14572500, 5, ','), "145,72500");
    EXPECT_EQ(formatFixed(67.0, 1, '.'), "67.0");
    EXPECT_EQ(formatFixed(0.15, 1, '.'), "0.2");
    EXPECT_EQ(formatFixed(173.995, 5, '.'), "173.99500");
}
