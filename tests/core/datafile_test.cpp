#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/datafile/data_file.h"
#include "core/datafile/eliminator_codec.h"
#include "core/strings/string_ids.h"
#include "helpers.h"

using namespace norvik;
using norvik::test::defaultsImage;
using norvik::test::hex;
using norvik::test::randomImage;

namespace {

ByteVector readFile(const std::string& name) {
    return test::readFile(std::string(NORVIK_TEST_DATA) + "/" + name);
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

std::size_t be24(const ByteVector& v, std::size_t at) {
    return (std::size_t{v[at]} << 16) | (std::size_t{v[at + 1]} << 8) | v[at + 2];
}

ByteVector be24(std::size_t n) {
    return {static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)};
}

// Control stream of a pass output: B, M and the codes, without W and the literals.
ByteVector controlOf(const ByteVector& pass) {
    return ByteVector(pass.begin() + 3, pass.begin() + 3 + static_cast<std::ptrdiff_t>(be24(pass, 0)));
}

void expectDecodesTo(const ByteVector& file, const ByteVector& plain) {
    const CodecResult back = decodeAll(file);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.bytes, plain);
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
        ASSERT_FALSE(plain.empty() || packed.empty());
        EXPECT_EQ(encodeAll(plain), packed);
        expectDecodesTo(packed, plain);
    }
    // Encoding stops at the pass limit with a valid file.
    const ByteVector plain = readFile("codec_tie_two_passes.bin");
    EXPECT_EQ(encodeAll(plain, 1).back(), 1);
    expectDecodesTo(encodeAll(plain, 1), plain);
}

TEST(EliminatorCodec, PassControlCodes) {
    struct Case {
        const char* what;
        ByteVector input;
        const char* control; // B, M (3 bytes), codes
    };
    const std::vector<Case> cases = {
        {"tie picks the greater byte value", {0x01, 0x02}, "02 00 00 01 20"},
        {"seven B fill one group", ByteVector(7, 0x33), "33 00 00 07 7F"},
        {"eighth B starts a new group", ByteVector(8, 0x33), "33 00 00 08 7F 40"},
        {"partial last group keeps its leading bits", {0x09, 0x01, 0x09}, "09 00 00 02 50"},
        {"group ending in B at position 6 is flushed once", concat({counting(6), {0xFF}}), "FF 00 00 01 01"},
        {"B after exactly 7 literals is run code 80", concat({counting(7), {0xFF}}), "FF 00 00 01 80"},
        {"k counts past 7 while the flags stay 0", concat({counting(10), {0xFF}}), "FF 00 00 01 83"},
        {"B after 133 literals is run code FE", concat({counting(133), {0xFF}}), "FF 00 00 01 FE"},
        {"134 literals are code FF and no B", concat({counting(134), {0xFF}}), "FF 00 00 01 FF 40"},
        {"135 literals: FF, then a group", concat({counting(135), {0xFF}}), "FF 00 00 01 FF 20"},
        // 00 occurs twice too; 80 wins the tie.
        {"a group with flags then a run", concat({{0x80}, counting(6), counting(8), {0x80}}), "80 00 00 02 40 81"},
        {"bytes after the last B are literals, not codes", concat({{0x07, 0x07}, counting(3)}), "07 00 00 02 60"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ByteVector out = encodePassOutput(c.input);
        EXPECT_EQ(controlOf(out), hex(c.control));
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
        for (std::size_t i = 0; i < count * 8; ++i)
            out.push_back(i % 8 == 7 ? 0xFE : static_cast<std::uint8_t>((i / 8 * 7 + i % 8) % 250));
        return out;
    };
    const std::vector<std::tuple<const char*, ByteVector, bool>> cases = {
        {"output one byte longer is accepted", ByteVector(7, 0x33), true},
        {"output two bytes longer is rejected", ByteVector(6, 0x33), false},
        {"a single byte is rejected", {0x42}, false},
        {"1100 occurrences accept a growing pass", spaced(1100), true},
        {"1099 occurrences do not", spaced(1099), false},
    };
    for (const auto& [what, input, accepted] : cases) {
        SCOPED_TRACE(what);
        EXPECT_EQ(encodePass(input).has_value(), accepted);
        const ByteVector file = encodeAll(input);
        EXPECT_EQ(file.back() > 0, accepted);
        expectDecodesTo(file, input);
    }
    EXPECT_GT(encodePassOutput(spaced(1100)).size(), spaced(1100).size() + 1);
}

TEST(EliminatorCodec, RoundTripsArbitraryBuffers) {
    std::mt19937 rng(20120114);
    for (std::size_t size = 1; size <= 600; size += (size < 40 ? 1 : 7)) {
        for (int flavour = 0; flavour < 3; ++flavour) { // random, four values, all equal
            SCOPED_TRACE(testing::Message() << "size " << size << " flavour " << flavour);
            ByteVector input(size);
            for (auto& b : input)
                b = static_cast<std::uint8_t>(flavour == 0 ? rng() : flavour == 1 ? rng() % 4 : 0x5A);
            expectDecodesTo(encodeAll(input), input);
            if (HasFailure())
                return;
        }
    }
}

TEST(DataFile, RecordLayoutAndPlainRecord) {
    RadioImage img;
    img.set(0x000, 0x12);
    img.set(0xFFF, 0x34);
    const ByteVector record = buildRecord(img);
    ASSERT_EQ(record.size(), 4112u);
    EXPECT_EQ(ByteVector(record.begin(), record.begin() + 17),
              concat({{'N', 'V', 'K', 'F', 'M', 'T'}, ByteVector(10, 0xFF), {0x12}}));
    EXPECT_EQ(record[16 + 0xFFF], 0x34);

    // Trailer 0: the file is the plain record.
    ByteVector file = buildRecord(defaultsImage());
    file.push_back(0);
    const DataFileResult back = decodeDataFile(file);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(*back.image, defaultsImage());

    // All 0xFF: B = FF, M = 4096 + 10; the six signature bytes are literals, then B fills the group.
    const ByteVector pass = encodePassOutput(buildRecord(RadioImage{}));
    EXPECT_EQ(ByteVector(pass.begin() + 3, pass.begin() + 9), hex("FF 00 10 0A 01 7F"));
    EXPECT_EQ(std::string(pass.end() - 6, pass.end()), "NVKFMT");
}

TEST(DataFile, RoundTripsGeneratedImages) {
    std::vector<std::pair<std::string, RadioImage>> images = {{"new-image defaults", defaultsImage()},
                                                              {"all 0xFF", RadioImage{}}};
    for (std::uint8_t v : {0x00, 0x55, 0x80, 0xFE}) {
        images.emplace_back("all " + std::to_string(v), RadioImage{});
        images.back().second.fill(v);
    }
    for (auto [a, b] : {std::pair<int, int>{0x00, 0xFF}, {0xAA, 0x55}, {0xFF, 0x01}}) {
        images.emplace_back("alternating " + std::to_string(a), RadioImage{});
        for (int i = 0; i < kImageSize; ++i)
            images.back().second.set(i, static_cast<std::uint8_t>(i % 2 ? a : b));
    }
    for (int period : {7, 8, 134, 135, 141}) { // one 0xFF every `period` bytes, literals between
        images.emplace_back("period " + std::to_string(period), RadioImage{});
        for (int i = 0; i < kImageSize; ++i)
            images.back().second.set(i, static_cast<std::uint8_t>(i % period == 0 ? 0xFF : i % 251));
    }
    std::mt19937 rng(4112);
    for (unsigned i = 0; i < 40; ++i) {
        images.emplace_back("random", randomImage(4112 + i));
        images.emplace_back("edited defaults", defaultsImage()); // a programmed radio
        for (int n = 1 + static_cast<int>(rng() % 400); n > 0; --n)
            images.back().second.set(static_cast<int>(rng() % kImageSize), static_cast<std::uint8_t>(rng()));
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

TEST(DataFile, CorruptInputsFailWithTheRightError) {
    const ByteVector real = encodeDataFile(defaultsImage());
    ASSERT_GE(real.back(), 1);
    auto patched = [&](std::size_t at, const ByteVector& bytes) {
        ByteVector f = real;
        std::copy(bytes.begin(), bytes.end(), f.begin() + static_cast<std::ptrdiff_t>(at));
        return f;
    };
    const std::size_t m = be24(real, 4);
    ByteVector notSigned = concat({buildRecord(defaultsImage()), {0}});
    notSigned[0] = 'X';
    const std::string notes = "This is a text file, not a radio.\r\n";

    struct Case {
        const char* what;
        ByteVector file;
        DataFileError error;
    };
    const std::vector<Case> cases = {
        {"empty file", {}, DataFileError::Empty},
        {"text file", ByteVector(notes.begin(), notes.end()), DataFileError::BadControlLength},
        {"only a trailer of 0", {0x00}, DataFileError::WrongRecordLength},
        {"pass header cut short", hex("00 00 05 AA 01"), DataFileError::ShortPassHeader},
        {"W shorter than B and M", hex("00 00 03 AA 00 00 00 01"), DataFileError::BadControlLength},
        {"W larger than the file", patched(0, be24(real.size())), DataFileError::BadControlLength},
        {"M larger than possible", patched(4, {0xFF, 0xFF, 0xFF}), DataFileError::ResultTooLarge},
        {"M one more than placed", patched(4, be24(m + 1)), DataFileError::ControlOverrun},
        {"codes but no B left", hex("00 00 04 AA 00 00 01 01"), DataFileError::ControlOverrun},
        {"run code without its literals", hex("00 00 05 AA 00 00 01 80 01"), DataFileError::LiteralOverrun},
        {"group code without its literal", hex("00 00 05 AA 00 00 01 20 01"), DataFileError::LiteralOverrun},
        {"codes after the last B", hex("00 00 06 AA 00 00 01 40 40 01"), DataFileError::ControlLeftOver},
        {"valid pass of the wrong length", hex("00 00 05 AA 00 00 01 40 01"), DataFileError::WrongRecordLength},
        // The passes after the real ones read "NVK" as W.
        {"trailer claims 255 passes", patched(real.size() - 1, {255}), DataFileError::BadControlLength},
        {"wrong signature", notSigned, DataFileError::WrongSignature},
        {"larger than the cap", ByteVector(kMaxCodecSize + 1, 0x00), DataFileError::TooLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const DataFileResult r = decodeDataFile(c.file);
        EXPECT_FALSE(r.ok());
        ASSERT_TRUE(r.error.has_value());
        EXPECT_EQ(*r.error, c.error);
        EXPECT_EQ(dataFileErrorTextId(*r.error), ids::IncorrectFileType);
    }
}

TEST(DataFile, EveryTruncationAndHeaderOrTrailerFlipFails) {
    for (const RadioImage& img : {defaultsImage(), randomImage(7)}) {
        const ByteVector real = encodeDataFile(img);
        for (std::size_t n = 0; n < real.size(); ++n)
            ASSERT_FALSE(decodeDataFile(std::span(real.data(), n)).ok()) << "truncated to " << n;
    }
    const ByteVector real = encodeDataFile(defaultsImage());
    for (const std::size_t at : {0, 1, 2, 4, 5, 6, -1}) { // W, M and the trailer
        for (int bit = 0; bit < 8; ++bit) {
            ByteVector f = real;
            f[std::min(at, real.size() - 1)] ^= static_cast<std::uint8_t>(1u << bit);
            EXPECT_FALSE(decodeDataFile(f).ok()) << "byte " << at << " bit " << bit;
        }
    }
}

// Mutated real files must decode to an error or to some image, never crash or read out of
// bounds (the sanitizer build and the fuzz target watch the latter).
TEST(DataFile, RandomMutationsNeverCrash) {
    std::mt19937 rng(0x4E564B);
    const std::vector<ByteVector> seeds = {encodeDataFile(defaultsImage()), encodeDataFile(randomImage(8)),
                                           encodeDataFile(RadioImage{})};
    int failed = 0;
    for (int i = 0; i < 3000; ++i) {
        ByteVector f = seeds[static_cast<std::size_t>(i) % seeds.size()];
        for (int n = 1 + static_cast<int>(rng() % 6); n > 0 && !f.empty(); --n) {
            const auto pos = f.begin() + static_cast<std::ptrdiff_t>(rng() % f.size());
            const auto value = static_cast<std::uint8_t>(rng());
            switch (rng() % 5) {
            case 0:
                *pos = value;
                break;
            case 1:
                *pos ^= static_cast<std::uint8_t>(1u << (value % 8));
                break;
            case 2:
                f.erase(pos);
                break;
            case 3:
                f.insert(pos, value);
                break;
            default:
                f.back() = value; // pass count
            }
        }
        const DataFileResult r = decodeDataFile(f);
        ASSERT_EQ(r.ok(), !r.error.has_value());
        failed += r.ok() ? 0 : 1;
    }
    EXPECT_GT(failed, 0);
}
