#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "datafile/data_file.h"
#include "datafile/eliminator_codec.h"
#include "image/band_limits.h"
#include "image/defaults.h"
#include "strings/string_ids.h"
#include "strings/strings.h"

using namespace norvik;

namespace {

ByteVector readFile(const std::string& name) {
    std::ifstream in(std::string(NORVIK_TEST_DATA) + "/" + name, std::ios::binary);
    return ByteVector(std::istreambuf_iterator<char>(in), {});
}

ByteVector repeat(std::uint8_t value, std::size_t n) {
    return ByteVector(n, value);
}

ByteVector concat(std::initializer_list<ByteVector> parts) {
    ByteVector out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// n literal bytes 0x00, 0x01, ... (all different from 0xFF while n < 255)
ByteVector counting(std::size_t n) {
    ByteVector out(n);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = static_cast<std::uint8_t>(i);
    return out;
}

// Control stream of a pass output: B, M and the codes, without W and the literals.
ByteVector controlOf(const ByteVector& passOutput) {
    const std::size_t w = (std::size_t{passOutput[0]} << 16) | (std::size_t{passOutput[1]} << 8) | passOutput[2];
    return ByteVector(passOutput.begin() + 3, passOutput.begin() + 3 + static_cast<std::ptrdiff_t>(w));
}

RadioImage defaultsImage() {
    RadioImage img;
    writeNewImageDefaults(img, BandLimits{});
    return img;
}

RadioImage randomImage(std::mt19937& rng) {
    RadioImage img;
    std::uniform_int_distribution<int> byte(0, 255);
    for (auto& b : img.bytes())
        b = static_cast<std::uint8_t>(byte(rng));
    return img;
}

} // namespace

// The golden files were worked out on paper from the pass rules, not produced by this encoder.
//
// codec_zeros_then_ab: 14 x 00, 41 42 (L = 16). B = 00, M = 14. Positions 0-6 and 7-13 are all
//   B, so two full groups 7F 7F; the rest 41 42 are literals. C = 00 000000E 7F 7F, W = 6,
//   V = 2: 6 + 2 + 1 <= 15, accepted -> 00 00 06 | 00 00 00 0E 7F 7F | 41 42 (11 bytes).
//   Pass 2: B = 00 (five times), M = 5: bits B B 06 B B B -> code 6E, literals 06 0E 7F 7F 41 42;
//   W = 5, V = 6: 12 > 10, rejected. Trailer 01.
// codec_run_after_groups: 14 x AA, 01..0A, AA (L = 25). B = AA, M = 15. Two groups 7F 7F, then
//   ten literals with F = 0 so k counts on to 10; the last AA gives 80 + (10 - 7) = 83.
//   W = 7, V = 10: 18 <= 24, accepted (20 bytes). Pass 2: B = 00 (4 times), code 66, W = 5,
//   V = 16: 22 > 19, rejected. Trailer 01.
// codec_tie_two_passes: 14 x 00, 14 x 11. 00 and 11 both occur 14 times: the tie goes to 11.
//   14 literals (k reaches 14) then 11 -> 80 + 7 = 87; then 13 x 11 -> 7F, then 6 bits -> 7E.
//   C = 11 00000E 87 7F 7E, W = 7, V = 14: accepted (24 bytes). Pass 2 over
//   00 00 07 11 00 00 0E 87 7F 7E + 14 x 00: B = 00, M = 18 (0x12). Groups:
//   B B 07 11 B B 0E -> 66; 87 7F 7E B B B B -> 0F; seven B -> 7F; last three B -> 70.
//   C = 00 000012 66 0F 7F 70, W = 8, literals 07 11 0E 87 7F 7E: 15 <= 23, accepted
//   (17 bytes). Pass 3: B = 00, M = 5, code 6E, W = 5, V = 12: 18 > 16, rejected. Trailer 02.
TEST(EliminatorCodec, GoldenFilesWorkedOutByHand) {
    for (const char* name : {"codec_zeros_then_ab", "codec_run_after_groups", "codec_tie_two_passes"}) {
        SCOPED_TRACE(name);
        const ByteVector plain = readFile(std::string(name) + ".bin");
        const ByteVector packed = readFile(std::string(name) + ".dat");
        ASSERT_FALSE(plain.empty());
        ASSERT_FALSE(packed.empty());
        EXPECT_EQ(encodeAll(plain), packed);
        const CodecResult back = decodeAll(packed);
        ASSERT_TRUE(back.ok());
        EXPECT_EQ(back.bytes, plain);
    }
}

TEST(EliminatorCodec, PassControlCodes) {
    struct Case {
        const char* what;
        ByteVector input;
        ByteVector control; // B, M (3 bytes), codes
    };
    const std::vector<Case> cases = {
        {"tie picks the greater byte value", {0x01, 0x02}, {0x02, 0, 0, 1, 0x20}},
        {"seven B fill one group", repeat(0x33, 7), {0x33, 0, 0, 7, 0x7F}},
        {"eighth B starts a new group", repeat(0x33, 8), {0x33, 0, 0, 8, 0x7F, 0x40}},
        {"partial last group keeps its leading bits", {0x09, 0x01, 0x09}, {0x09, 0, 0, 2, 0x50}},
        {"group ending in B at position 6 is flushed once", concat({counting(6), {0xFF}}), {0xFF, 0, 0, 1, 0x01}},
        {"B after exactly 7 literals is run code 80", concat({counting(7), {0xFF}}), {0xFF, 0, 0, 1, 0x80}},
        {"k counts past 7 while the flags stay 0", concat({counting(10), {0xFF}}), {0xFF, 0, 0, 1, 0x83}},
        {"B after 133 literals is run code FE", concat({counting(133), {0xFF}}), {0xFF, 0, 0, 1, 0xFE}},
        {"134 literals are code FF and no B", concat({counting(134), {0xFF}}), {0xFF, 0, 0, 1, 0xFF, 0x40}},
        {"135 literals: FF, then a group", concat({counting(135), {0xFF}}), {0xFF, 0, 0, 1, 0xFF, 0x20}},
        {"a group with flags then a run",
         concat({{0x80}, counting(6), counting(8), {0x80}}),
         // 00 occurs twice too; 80 wins the tie.
         {0x80, 0, 0, 2, 0x40, 0x81}},
        {"bytes after the last B are literals, not codes", concat({{0x07, 0x07}, counting(3)}), {0x07, 0, 0, 2, 0x60}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ByteVector out = encodePassOutput(c.input);
        EXPECT_EQ(controlOf(out), c.control);
        const CodecResult back = decodePass(out);
        ASSERT_TRUE(back.ok());
        EXPECT_EQ(back.bytes, c.input);
    }
}

TEST(EliminatorCodec, AcceptanceRule) {
    // 1100 B each after 7 literals: every B costs a run code, so the output is 7 bytes longer
    // than the input; only the count threshold lets such a pass through.
    auto spaced = [](std::size_t count) {
        ByteVector out;
        for (std::size_t i = 0; i < count; ++i) {
            for (int j = 0; j < 7; ++j)
                out.push_back(static_cast<std::uint8_t>((i * 7 + static_cast<std::size_t>(j)) % 250));
            out.push_back(0xFE);
        }
        return out;
    };
    struct Case {
        const char* what;
        ByteVector input;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"output one byte longer is accepted", repeat(0x33, 7), true},
        {"output two bytes longer is rejected", repeat(0x33, 6), false},
        {"a single byte is rejected", {0x42}, false},
        {"1100 occurrences accept a growing pass", spaced(1100), true},
        {"1099 occurrences do not", spaced(1099), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto out = encodePass(c.input);
        EXPECT_EQ(out.has_value(), c.accepted);
        const ByteVector file = encodeAll(c.input);
        EXPECT_EQ(file.back() > 0, c.accepted);
        const CodecResult back = decodeAll(file);
        ASSERT_TRUE(back.ok());
        EXPECT_EQ(back.bytes, c.input);
    }
    EXPECT_GT(encodePassOutput(spaced(1100)).size(), spaced(1100).size() + 1);
}

TEST(EliminatorCodec, EncodingStopsAtThePassLimitWithAValidFile) {
    const ByteVector plain = readFile("codec_tie_two_passes.bin");
    const ByteVector one = encodeAll(plain, 1);
    EXPECT_EQ(one.back(), 1);
    const CodecResult back = decodeAll(one);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.bytes, plain);
}

TEST(EliminatorCodec, RoundTripsArbitraryBuffers) {
    std::mt19937 rng(20120114);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> small(0, 3);
    for (std::size_t size = 1; size <= 600; size += (size < 40 ? 1 : 7)) {
        for (int flavour = 0; flavour < 3; ++flavour) {
            ByteVector input(size);
            for (auto& b : input)
                b = static_cast<std::uint8_t>(flavour == 0 ? byte(rng) : flavour == 1 ? small(rng) : 0x5A);
            const CodecResult back = decodeAll(encodeAll(input));
            ASSERT_TRUE(back.ok()) << "size " << size << " flavour " << flavour;
            ASSERT_EQ(back.bytes, input) << "size " << size << " flavour " << flavour;
        }
    }
}

TEST(DataFile, RecordLayout) {
    RadioImage img;
    img.set(0x000, 0x12);
    img.set(0xFFF, 0x34);
    const ByteVector record = buildRecord(img);
    ASSERT_EQ(record.size(), 4112u);
    EXPECT_EQ(std::string(record.begin(), record.begin() + 6), "NVKFMT");
    EXPECT_TRUE(std::all_of(record.begin() + 6, record.begin() + 16, [](auto b) { return b == 0xFF; }));
    EXPECT_EQ(record[16], 0x12);
    EXPECT_EQ(record[16 + 0xFFF], 0x34);
}

TEST(DataFile, RoundTripsGeneratedImages) {
    std::mt19937 rng(4112);
    std::vector<std::pair<std::string, RadioImage>> images;
    images.emplace_back("new-image defaults", defaultsImage());
    images.emplace_back("all 0xFF", RadioImage{});
    for (std::uint8_t v : {0x00, 0x55, 0x7F, 0x80, 0xFE}) {
        RadioImage img;
        img.fill(v);
        images.emplace_back("all " + std::to_string(v), img);
    }
    for (auto [a, b] : {std::pair<int, int>{0x00, 0xFF}, {0xAA, 0x55}, {0xFF, 0x01}}) {
        RadioImage img;
        for (int i = 0; i < kImageSize; ++i)
            img.set(i, static_cast<std::uint8_t>(i % 2 ? a : b));
        images.emplace_back("alternating", img);
    }
    for (int period : {7, 8, 134, 135, 141}) {
        RadioImage img; // one non-0xFF byte every `period` bytes, or every run of literals
        for (int i = 0; i < kImageSize; ++i)
            img.set(i, static_cast<std::uint8_t>(i % period == 0 ? 0xFF : i % 251));
        images.emplace_back("period " + std::to_string(period), img);
    }
    for (int i = 0; i < 40; ++i)
        images.emplace_back("random", randomImage(rng));
    for (int i = 0; i < 40; ++i) {
        RadioImage img = defaultsImage(); // a programmed radio: defaults with scattered edits
        std::uniform_int_distribution<int> addr(0, kImageSize - 1), byte(0, 255), count(1, 400);
        for (int n = count(rng); n > 0; --n)
            img.set(addr(rng), static_cast<std::uint8_t>(byte(rng)));
        images.emplace_back("edited defaults", img);
    }
    for (const auto& [what, img] : images) {
        SCOPED_TRACE(what);
        const ByteVector file = encodeDataFile(img);
        EXPECT_EQ(encodeDataFile(img), file); // deterministic
        const DataFileResult back = decodeDataFile(file);
        ASSERT_TRUE(back.ok());
        EXPECT_EQ(*back.image, img);
    }
}

TEST(DataFile, AllEmptyImageEliminatesFillerAndImageFirst) {
    const ByteVector pass = encodePassOutput(buildRecord(RadioImage{}));
    // B = FF, M = 4096 + 10; the six signature bytes are literals, then B fills the group.
    const ByteVector control = controlOf(pass);
    ASSERT_GE(control.size(), 6u);
    EXPECT_EQ(ByteVector(control.begin(), control.begin() + 6), (ByteVector{0xFF, 0x00, 0x10, 0x0A, 0x01, 0x7F}));
    EXPECT_EQ(std::string(pass.end() - 6, pass.end()), "NVKFMT");
}

TEST(DataFile, TrailerZeroIsThePlainRecord) {
    RadioImage img = defaultsImage();
    ByteVector file = buildRecord(img);
    file.push_back(0);
    const DataFileResult back = decodeDataFile(file);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(*back.image, img);
}

TEST(DataFile, CorruptInputsFailWithTheRightError) {
    const ByteVector real = encodeDataFile(defaultsImage());
    ASSERT_GE(real.back(), 1);
    auto withTrailer = [](ByteVector pass, std::uint8_t n = 1) {
        pass.push_back(n);
        return pass;
    };
    auto patched = [&](std::size_t at, std::initializer_list<std::uint8_t> bytes) {
        ByteVector f = real;
        std::copy(bytes.begin(), bytes.end(), f.begin() + static_cast<std::ptrdiff_t>(at));
        return f;
    };
    const std::size_t w = (std::size_t{real[0]} << 16) | (std::size_t{real[1]} << 8) | real[2];
    const std::size_t m = (std::size_t{real[4]} << 16) | (std::size_t{real[5]} << 8) | real[6];
    ByteVector notSigned = buildRecord(defaultsImage());
    notSigned[0] = 'X';
    notSigned.push_back(0);
    ByteVector claims255 = real;
    claims255.back() = 255;
    const std::string notes = "This is a text file, not a radio.\r\n";

    struct Case {
        const char* what;
        ByteVector file;
        std::optional<DataFileError> error; // none: any error will do (it depends on later passes)
    };
    const std::vector<Case> cases = {
        {"empty file", {}, DataFileError::Empty},
        {"text file", ByteVector(notes.begin(), notes.end()), DataFileError::BadControlLength},
        {"only a trailer of 0", {0x00}, DataFileError::WrongRecordLength},
        {"pass header cut short", withTrailer({0, 0, 5, 0xAA}), DataFileError::ShortPassHeader},
        {"W shorter than B and M", withTrailer({0, 0, 3, 0xAA, 0, 0, 0}), DataFileError::BadControlLength},
        {"W larger than the file",
         patched(0, {0, static_cast<std::uint8_t>(real.size() >> 8), static_cast<std::uint8_t>(real.size())}),
         DataFileError::BadControlLength},
        {"M larger than possible", patched(4, {0xFF, 0xFF, 0xFF}), DataFileError::ResultTooLarge},
        {"M one more than placed",
         patched(4, {0, static_cast<std::uint8_t>((m + 1) >> 8), static_cast<std::uint8_t>(m + 1)}),
         DataFileError::ControlOverrun},
        {"M one less than placed",
         patched(4, {0, static_cast<std::uint8_t>((m - 1) >> 8), static_cast<std::uint8_t>(m - 1)}), std::nullopt},
        {"W one byte short", patched(0, {0, static_cast<std::uint8_t>((w - 1) >> 8), static_cast<std::uint8_t>(w - 1)}),
         std::nullopt},
        {"codes but no B left", withTrailer({0, 0, 4, 0xAA, 0, 0, 1}), DataFileError::ControlOverrun},
        {"run code without its literals", withTrailer({0, 0, 5, 0xAA, 0, 0, 1, 0x80}), DataFileError::LiteralOverrun},
        {"group code without its literal", withTrailer({0, 0, 5, 0xAA, 0, 0, 1, 0x20}), DataFileError::LiteralOverrun},
        {"codes after the last B", withTrailer({0, 0, 6, 0xAA, 0, 0, 1, 0x40, 0x40}), DataFileError::ControlLeftOver},
        {"valid pass of the wrong length", withTrailer({0, 0, 5, 0xAA, 0, 0, 1, 0x40}),
         DataFileError::WrongRecordLength},
        // The passes after the real ones read "NVK" as W.
        {"trailer claims 255 passes", claims255, DataFileError::BadControlLength},
        {"wrong signature", notSigned, DataFileError::WrongSignature},
        {"larger than the cap", ByteVector(kMaxCodecSize + 1, 0x00), DataFileError::TooLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const DataFileResult r = decodeDataFile(c.file);
        EXPECT_FALSE(r.ok());
        ASSERT_TRUE(r.error.has_value());
        if (c.error) {
            EXPECT_EQ(*r.error, *c.error);
        }
        EXPECT_EQ(dataFileErrorTextId(*r.error), ids::IncorrectFileType);
    }
    EXPECT_EQ(text(ids::IncorrectFileType, Language::English), "Incorrect File Type.");
}

TEST(DataFile, EveryTruncationOfARealFileFails) {
    std::mt19937 rng(7);
    for (const RadioImage& img : {defaultsImage(), randomImage(rng)}) {
        const ByteVector real = encodeDataFile(img);
        for (std::size_t n = 0; n < real.size(); ++n) {
            const DataFileResult r = decodeDataFile(std::span(real.data(), n));
            ASSERT_FALSE(r.ok()) << "truncated to " << n;
        }
    }
}

TEST(DataFile, HeaderAndTrailerFlipsFail) {
    const ByteVector real = encodeDataFile(defaultsImage());
    std::vector<std::size_t> positions = {0, 1, 2, 4, 5, 6, real.size() - 1};
    for (std::size_t at : positions) {
        for (int bit = 0; bit < 8; ++bit) {
            ByteVector f = real;
            f[at] = static_cast<std::uint8_t>(f[at] ^ (1u << bit));
            EXPECT_FALSE(decodeDataFile(f).ok()) << "byte " << at << " bit " << bit;
        }
    }
}

// Mutated real files must decode to an error or to some image, never crash or read out of
// bounds (the sanitizer build and the fuzz target watch the latter).
TEST(DataFile, RandomMutationsNeverCrash) {
    std::mt19937 rng(0x4E564B);
    const std::vector<ByteVector> seeds = {encodeDataFile(defaultsImage()), encodeDataFile(randomImage(rng)),
                                           encodeDataFile(RadioImage{})};
    std::uniform_int_distribution<int> byte(0, 255), op(0, 4), count(1, 6);
    int decoded = 0, failed = 0;
    for (int i = 0; i < 3000; ++i) {
        ByteVector f = seeds[static_cast<std::size_t>(i) % seeds.size()];
        for (int n = count(rng); n > 0 && !f.empty(); --n) {
            std::uniform_int_distribution<std::size_t> pos(0, f.size() - 1);
            switch (op(rng)) {
            case 0:
                f[pos(rng)] = static_cast<std::uint8_t>(byte(rng));
                break;
            case 1:
                f[pos(rng)] ^= static_cast<std::uint8_t>(1u << (byte(rng) % 8));
                break;
            case 2:
                f.erase(f.begin() + static_cast<std::ptrdiff_t>(pos(rng)));
                break;
            case 3:
                f.insert(f.begin() + static_cast<std::ptrdiff_t>(pos(rng)), static_cast<std::uint8_t>(byte(rng)));
                break;
            default:
                f.back() = static_cast<std::uint8_t>(byte(rng)); // pass count
                break;
            }
        }
        const DataFileResult r = decodeDataFile(f);
        ASSERT_EQ(r.ok(), !r.error.has_value());
        (r.ok() ? decoded : failed)++;
    }
    EXPECT_GT(failed, 0);
    EXPECT_EQ(decoded + failed, 3000);
}
