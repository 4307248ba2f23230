#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/channels/channel_columns.h"
#include "core/channels/channel_csv.h"
#include "core/channels/csv_text.h"
#include "core/image/channel_record.h"
#include "core/image/tones.h"
#include "core/strings/string_ids.h"
#include "helpers.h"

using namespace norvik;
using namespace norvik::test;
using Kind = CsvProblem::Kind;

namespace {

// Records and name entries of all 128 channels.
Bytes channelBytes(const RadioImage& img) {
    Bytes out = bytesAt(img, channelAddress(1), kChannelCount * kRowSize);
    const Bytes names = bytesAt(img, nameAddress(1), kChannelCount * kNameLength);
    out.insert(out.end(), names.begin(), names.end());
    return out;
}

// Channel groups with gaps between them; every setting a file can hold drawn at random, the tones
// walking through none, CTCSS and both DCS polarities.
RadioImage randomChannels(unsigned seed) {
    std::mt19937 rng(seed);
    const auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const std::vector<std::string> names = {"", "A B", "a,b", "Q\"T\"", " SP ", "1234567", "Caf\xE9", "x;y"};
    const Frequency rasters[] = {500, 625};
    const std::vector<std::string> tones = toneList(Language::English, '.');
    // None, a CTCSS tone, a DCS code normal, a DCS code inverted, in turn.
    unsigned toneClass = seed;
    const auto nextTone = [&] {
        const int first[] = {0, 1, 1 + kCtcssCount, 1 + kCtcssCount + kDcsCount};
        const int count[] = {1, kCtcssCount, kDcsCount, kDcsCount};
        const unsigned k = toneClass++ % 4;
        return encodeTone(tones[static_cast<std::size_t>(first[k] + pick(count[k]))]);
    };
    RadioImage img = defaultsImage();
    const std::pair<int, int> groups[] = {{1, 6}, {20, 24}, {60, 61}, {127, 128}};
    for (const auto& [first, last] : groups) {
        for (int n = first; n <= last; ++n) {
            const int base = channelAddress(n);
            const Band band = BandLimits::kDefaults[static_cast<std::size_t>(pick(kBandCount))];
            const auto inBand = [&] {
                const Frequency step = rasters[pick(2)];
                const Frequency span = static_cast<Frequency>(band.upper - band.lower) * kHz10PerMHz;
                return static_cast<Frequency>(band.lower) * kHz10PerMHz + rng() % (span / step) * step;
            };
            encodeFrequency(img, base + rec::Rx, inBand());
            const ToneCode decode = nextTone();
            const ToneCode encode = nextTone();
            setBytes(img, base + rec::DecodeTone, {decode.low, decode.high});
            if (pick(4) != 0) { // else receive only
                encodeFrequency(img, base + rec::Tx, inBand());
                setBytes(img, base + rec::EncodeTone, {encode.low, encode.high});
            }
            const int signal = std::vector{0, 1, 2, 4, 8}[static_cast<std::size_t>(pick(5))];
            const int autoResponse = signal == 8 ? pick(2) : 0;
            img.set(base + rec::Flags12, static_cast<std::uint8_t>(pick(3) | pick(2) << 2 | pick(4) << 4));
            img.set(base + rec::Flags13,
                    static_cast<std::uint8_t>(pick(3) | pick(2) << 2 | pick(2) << 3 | signal << 4));
            img.set(base + rec::Flags14, static_cast<std::uint8_t>(pick(8) | pick(2) << 6 | autoResponse << 7));
            img.set(base + rec::Reserved15, 0);
            encodeName(img, n, names[static_cast<std::size_t>(pick(static_cast<int>(names.size())))]);
        }
    }
    return img;
}

std::vector<std::pair<int, Kind>> linesAndKinds(const CsvImport& result) {
    std::vector<std::pair<int, Kind>> out;
    for (const CsvProblem& p : result.problems)
        out.emplace_back(p.line, p.kind);
    return out;
}

} // namespace

TEST(ChannelCsv, ExportThenImportGivesTheSameChannelBytes) {
    for (unsigned seed = 1; seed <= 25; ++seed) {
        const RadioImage original = randomChannels(seed);
        const std::string csv = exportChannelsCsv(original);

        const CsvImport intoNew = importChannelsCsv(csv, defaultsImage());
        EXPECT_TRUE(intoNew.problems.empty()) << seed << ": " << csvProblemText(intoNew.problems[0], Language::English);
        EXPECT_EQ(channelBytes(intoNew.image), channelBytes(original)) << seed << "\n" << csv;

        const CsvImport ontoItself = importChannelsCsv(csv, original);
        EXPECT_EQ(ontoItself.changedCount(), 0) << seed;
        EXPECT_EQ(ontoItself.image, original) << seed;
    }
}

TEST(ChannelCsv, ExportWritesUsedChannelsWithTheGridsEnglishTexts) {
    RadioImage img = defaultsImage();
    setBytes(img, channelAddress(3), hex("14 50 00 00 14 56 00 00 85 08 23 80 31 0B 86 00"));
    encodeName(img, 3, "Rpt, A");
    EXPECT_EQ(exportChannelsCsv(img),
              "CH,RX Freq,TX Freq,Decode,Encode,TX Power,Scan Add,W/N,CH.Name,BCL,PTT ID,VOX,Option,Scrambler,"
              "Offset Freq,Duplex,Option Signal,AutoResponse\n"
              "3,145.00000,145.60000,88.5,D023N,Low,Del,Narrow,\"Rpt, A\",Off,Both,Off,Compand,7,0.60000,Plus,None,\n");
}

// Each refused line is named with its line; the lines around it are taken, and a refused line
// leaves its channel exactly as it was.
TEST(ChannelCsv, RefusedLinesAreNamedAndLeftOut) {
    struct Case {
        const char* name;
        std::string csv;
        std::vector<std::pair<int, Kind>> problems;
        std::vector<int> changed;
    };
    const std::string head = "CH,RX Freq,TX Freq,Decode,CH.Name\n";
    const std::vector<Case> cases = {
        {"bad frequency", head + "2,146.5,,,A\n3,14a6,,,B\n", {{3, Kind::BadFrequency}}, {2}},
        {"receive out of band", head + "3,200,,,B\n", {{2, Kind::OutOfBand}}, {}},
        {"transmit out of band", head + "3,146,300,,B\n", {{2, Kind::OutOfBand}}, {}},
        {"unknown tone after a good frequency", head + "3,146,146,67.1,B\n", {{2, Kind::UnknownTone}}, {}},
        {"name too long", head + "3,146,,,ABCDEFGH\n", {{2, Kind::NameTooLong}}, {}},
        {"name the radio cannot hold", head + "3,146,,,\xE4\xBF\xA1\n", {{2, Kind::NameCharacter}}, {}},
        // Control codes no one can type, quoted or not; a terminal or the display would obey them.
        {"name with control codes",
         head + "3,146,,,A" + std::string(1, '\0') + "B\n4,146,,,\x1B[2J\n5,146,,,\"A\nB\"\n6,146,,,\"A\rB\"\n" +
             "7,146,,,\"A\tB\"\n8,146,,,A\x7F\n9,146,,,\xC2\x9B" + "1m\n",
         {{2, Kind::NameCharacter},
          {3, Kind::NameCharacter},
          {4, Kind::NameCharacter},
          {6, Kind::NameCharacter}, // a CR inside quotes ends a line too
          {8, Kind::NameCharacter},
          {9, Kind::NameCharacter},
          {10, Kind::NameCharacter}},
         {}},
        {"UTF-16 with a byte-order mark",
         std::string("\xFF\xFE"
                     "C\0H\0,\0",
                     8),
         {{1, Kind::Utf16File}},
         {}},
        {"UTF-16 without one", std::string("\0C\0H\0,\0R\0X\0 \0F\0r\0e\0q\0\n", 24), {{1, Kind::Utf16File}}, {}},
        {"duplicate channel", head + "3,146,,,B\n\n3,147,,,C\n", {{4, Kind::DuplicateChannel}}, {3}},
        {"channel outside 1-128",
         head + "0,146,,,\n129,146,,,\nx,146,,,\n128,146,,,\n",
         {{2, Kind::BadChannel}, {3, Kind::BadChannel}, {4, Kind::BadChannel}},
         {128}},
        {"unknown list value", "CH,RX Freq,W/N\n3,146,Medium\n", {{2, Kind::UnknownValue}}, {}},
        {"cell count", head + "3,146\n4,146,,,,x\n5,146,,,,\n", {{2, Kind::CellCount}, {3, Kind::CellCount}}, {5}},
        {"empty channel without RX column", "CH,CH.Name\n1,KEEP\n3,B\n", {{3, Kind::EmptyWithoutRx}}, {1}},
        {"offset disagrees with TX",
         "CH,RX Freq,TX Freq,Offset Freq,Duplex\n3,145,145.6,0.5,Plus\n4,145,145.6,0.6,Plus\n",
         {{2, Kind::TxMismatch}},
         {4}},
        {"quote never closed", head + "3,146,,,B\n4,146,,,\"C\n5,146,,,D\n", {{3, Kind::UnclosedQuote}}, {3}},
        {"unknown column is only a note", "CH,Notes,RX Freq\n3,home,146\n", {{1, Kind::UnknownColumn}}, {3}},
        {"no channel column", "Channel,RX Freq\n3,146\n", {{1, Kind::UnknownColumn}, {1, Kind::NoChannelColumn}}, {}},
        {"column twice", "CH,RX Freq,rx freq\n3,146,147\n", {{1, Kind::DuplicateColumn}}, {}},
        {"empty file", "", {{1, Kind::NoChannelColumn}}, {}},
    };
    RadioImage base = defaultsImage();
    setBytes(base, channelAddress(1), hex("14 50 00 00 14 50 00 00 FF FF FF FF 04 00 46 00"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CsvImport result = importChannelsCsv(c.csv, base);
        EXPECT_EQ(linesAndKinds(result), c.problems);
        std::vector<int> changed;
        for (int n = 1; n <= kChannelCount; ++n) {
            if (result.changed.test(static_cast<std::size_t>(n)))
                changed.push_back(n);
        }
        EXPECT_EQ(changed, c.changed);
        EXPECT_EQ(result.refused(), std::any_of(c.problems.begin(), c.problems.end(),
                                                [](const auto& p) { return p.second != Kind::UnknownColumn; }));
    }
}

// A file of half a million bad lines lists the first thousand and counts the rest.
TEST(ChannelCsv, RefusedLinesAreListedUpToABound) {
    std::string csv = "CH,RX Freq\n";
    const int bad = 3000;
    for (int i = 0; i < bad; ++i)
        csv += "x\n";
    csv += "3,146\n";
    const CsvImport result = importChannelsCsv(csv, defaultsImage());
    ASSERT_EQ(result.problems.size(), kMaxListedCsvProblems);
    EXPECT_EQ(result.problems.back().line, static_cast<int>(kMaxListedCsvProblems) + 1);
    EXPECT_EQ(result.unlistedProblems, bad - static_cast<int>(kMaxListedCsvProblems));
    EXPECT_EQ(result.refusedCount(), bad);
    EXPECT_TRUE(result.refused());
    EXPECT_TRUE(result.changed.test(3)); // the good line after them is still taken
}

TEST(ChannelCsv, ProblemTextsFillInTheirValuesInBothLanguages) {
    const CsvProblem p{7, Kind::DuplicateChannel, {"12", "%2"}};
    EXPECT_EQ(csvProblemText(p, Language::English),
              "Channel 12 is already given on line %2. Keep one line per channel.");
    EXPECT_EQ(csvProblemText(p, Language::Chinese), "信道 12 已在第 %2 行给出。每个信道只保留一行。");
}

// What a spreadsheet writes back imports as the plain file does.
TEST(ChannelCsv, SpreadsheetFilesImportAsThePlainOne) {
    RadioImage original = randomChannels(7);
    encodeName(original, 1, "Caf\xE9");
    const std::string plain = exportChannelsCsv(original);
    const CsvTable table = readCsv(plain);
    // Rewrites the plain file cell by cell.
    const auto rewrite = [&table](char sep, const std::string& lineEnd,
                                  const std::function<std::string(std::string)>& cellFn, bool reversed = false) {
        std::string out;
        for (const CsvRecord& r : table.records) {
            std::vector<std::string> cells = r.cells;
            if (reversed)
                std::reverse(cells.begin(), cells.end());
            for (std::size_t i = 0; i < cells.size(); ++i)
                out += (i ? std::string(1, sep) : "") + csvCell(cellFn(cells[i]), sep);
            out += lineEnd;
        }
        return out;
    };
    const auto same = [](std::string s) { return s; };
    // "145.72500" -> "145,725", "67.0" -> "67", as a spreadsheet with a comma locale saves them.
    const auto commaNumbers = [](std::string s) {
        const bool decimal = std::count(s.begin(), s.end(), '.') == 1 &&
                             std::all_of(s.begin(), s.end(), [](char c) { return c == '.' || (c >= '0' && c <= '9'); });
        if (!decimal)
            return s;
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.')
            s.pop_back();
        for (char& c : s)
            c = c == '.' ? ',' : c;
        return s;
    };
    struct Variant {
        const char* name;
        std::string text;
    };
    const std::vector<Variant> variants = {
        {"semicolons, CRLF, BOM, comma decimals", "\xEF\xBB\xBF" + rewrite(';', "\r\n", commaNumbers)},
        {"tabs and bare CR", rewrite('\t', "\r", same)},
        {"Excel's separator hint", "sep=;\r\n" + rewrite(';', "\r\n", same)},
        {"columns in reverse order", rewrite(',', "\n", same, true)},
        {"Latin-1 bytes",
         [&] {
             std::string s = rewrite(',', "\n", same);
             const std::string utf8E = "\xC3\xA9";
             for (std::size_t at; (at = s.find(utf8E)) != std::string::npos;)
                 s.replace(at, utf8E.size(), "\xE9");
             return s;
         }()},
    };
    const RadioImage expected = importChannelsCsv(plain, defaultsImage()).image;
    for (const Variant& v : variants) {
        const CsvImport result = importChannelsCsv(v.text, defaultsImage());
        EXPECT_TRUE(result.problems.empty()) << v.name;
        EXPECT_EQ(channelBytes(result.image), channelBytes(expected)) << v.name << "\n" << v.text;
    }
}

// A missing column keeps the channel's value; an empty cell empties it.
TEST(ChannelCsv, MissingColumnsKeepAndEmptyCellsEmpty) {
    struct Case {
        const char* name;
        std::string csv;
        CsvBase start;
        const char* record3; // channel 3 afterwards
        const char* name3;
        const char* name4; // the name entry of channel 4, which the file does not name
    };
    // Channel 3: 145.00000 / 145.60000, tones 88.5 / D023N, "KEEP"; channel 4 is empty but named.
    const char* kept = "14 50 00 00 14 56 00 00 85 08 23 80 04 00 46 00";
    const std::vector<Case> cases = {
        {"only a new receive frequency", "CH,RX Freq\n3,146.5\n", CsvBase::KeepOthers,
         "14 65 00 00 14 56 00 00 85 08 23 80 04 00 46 00", "KEEP", "OLD"},
        {"empty TX and name", "CH,TX Freq,CH.Name\n3,,\n", CsvBase::KeepOthers,
         "14 50 00 00 FF FF FF FF 85 08 FF FF 04 00 46 00", "", "OLD"},
        {"empty RX clears the channel, name stays", "CH,RX Freq\n3,\n", CsvBase::KeepOthers,
         "FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF", "KEEP", "OLD"},
        {"empty tone and list cells", "CH,Decode,TX Power\n3,,\n", CsvBase::KeepOthers,
         "14 50 00 00 14 56 00 00 FF FF 23 80 04 00 46 00", "KEEP", "OLD"},
        {"offset and duplex without TX column", "CH,Offset Freq,Duplex\n3,5,minus\n", CsvBase::KeepOthers,
         "14 50 00 00 14 00 00 00 85 08 23 80 04 00 46 00", "KEEP", "OLD"},
        {"replace all starts from no channels", "CH,RX Freq\n3,145\n", CsvBase::ReplaceAll,
         "14 50 00 00 14 50 00 00 FF FF FF FF 04 00 46 00", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RadioImage base = defaultsImage();
        setBytes(base, channelAddress(3), hex(kept));
        encodeName(base, 3, "KEEP");
        encodeName(base, 4, "OLD");
        const CsvImport result = importChannelsCsv(c.csv, base, c.start);
        EXPECT_TRUE(result.problems.empty()) << csvProblemText(result.problems[0], Language::English);
        EXPECT_EQ(bytesAt(result.image, channelAddress(3), kRowSize), hex(c.record3));
        EXPECT_EQ(decodeName(result.image, 3), c.name3);
        EXPECT_EQ(decodeName(result.image, 4), c.name4);
    }
}

TEST(CsvText, QuotedCellsLineBreaksAndLineNumbers) {
    const CsvTable t = readCsv("a,\"b,\"\"c\"\"\"\r\n\r\n\"multi\nline\",x\n , \n \"q\"z,y\n\"open\n");
    ASSERT_EQ(t.records.size(), 3U);
    EXPECT_EQ(t.records[0].cells, (std::vector<std::string>{"a", "b,\"c\""}));
    EXPECT_EQ(t.records[1].line, 3);
    EXPECT_EQ(t.records[1].cells, (std::vector<std::string>{"multi\nline", "x"}));
    EXPECT_EQ(t.records[2].line, 6); // line 5 holds only blank cells
    EXPECT_EQ(t.records[2].cells, (std::vector<std::string>{"qz", "y"}));
    EXPECT_EQ(t.unclosedQuoteLine, 7);
}

// A frequency taken otherwise than the file wrote it is named with what was taken; one the raster
// holds, in either decimal point, is not, and neither is anything of a line left out.
TEST(ChannelCsv, RoundedFrequenciesAreNamed) {
    struct Case {
        const char* name;
        std::string csv;
        std::vector<CsvRounding> rounded;
    };
    const std::vector<Case> cases = {
        {"receive off the raster", "CH,RX Freq\n3,145.0021\n", {{2, 3, col::Rx, "145.0021", "145.00000"}}},
        {"on either raster, comma point", "CH,RX Freq,TX Freq\n3,145.00625,\"145,5\"\n", {}},
        {"transmit below 10 Hz", "CH,TX Freq\n3,145.0000001\n", {{2, 3, col::Tx, "145.0000001", "145.00000"}}},
        {"offset without TX column",
         "CH,Offset Freq,Duplex\n3,0.603,plus\n",
         {{2, 3, col::Offset, "0.603", "0.60000"}}},
        {"line left out", "CH,RX Freq,CH.Name\n3,145.0021,TOO LONG NAME\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RadioImage base = defaultsImage();
        setBytes(base, channelAddress(3), hex("14 50 00 00 14 56 00 00 85 08 23 80 04 00 46 00"));
        const CsvImport result = importChannelsCsv(c.csv, base);
        EXPECT_EQ(result.rounded, c.rounded);
    }
    EXPECT_EQ(csvRoundingText({2, 3, col::Rx, "145.0021", "145.00000"}, Language::English),
              "RX Freq 145.0021 → 145.00000, rounded to the channel raster.");
}
