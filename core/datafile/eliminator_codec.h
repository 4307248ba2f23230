#pragma once

// The byte-elimination codec of data files.
//
// One encoding pass removes every occurrence of the input's most frequent byte B and replaces
// them by a control stream saying where they stood:
//
//   W (3 bytes, big-endian)  length of the control stream
//   B (1 byte)               the eliminated value, first byte of the control stream
//   M (3 bytes, big-endian)  how many times B occurred
//   codes (W - 4 bytes)      0x01..0x7F  a group of up to 7 positions, bit 6 first: 1 = B, 0 = literal
//                            0x80..0xFE  (code - 0x80) + 7 literals, then one B
//                            0xFF        134 literals, no B
//   literals                 every input byte other than B, in order
//
// Passes repeat while each one is accepted (the output grows by at most one byte, or B occurs
// at least 1100 times); one trailer byte then holds the number of passes. The format must stay
// bit-exact: other copies of the program read and write the same files.
//
// Decoding trusts nothing: every pointer and length is checked, and no intermediate result may
// grow past kMaxCodecSize, so a corrupt or hostile file gives an error value, never a crash or a
// huge allocation.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace norvik {

using ByteVector = std::vector<std::uint8_t>;

// Largest data file, and largest intermediate result while decoding one. A real file is about
// 4 KB; anything near this is not a data file.
constexpr std::size_t kMaxCodecSize = std::size_t{1} << 20;
// The trailer byte counts the passes.
constexpr int kMaxPasses = 255;
// A pass whose eliminated byte occurs this often is accepted whatever its size.
constexpr std::size_t kAcceptAnyCount = 1100;

enum class DataFileError {
    TooLarge,          // the file is larger than kMaxCodecSize
    Empty,             // not even the trailer byte
    ShortPassHeader,   // fewer than 7 bytes for W, B and M
    BadControlLength,  // W shorter than B and M, or running past the data
    ControlOverrun,    // the codes end before M occurrences of B are placed
    LiteralOverrun,    // a code asks for literals past the end of the data
    ControlLeftOver,   // codes remain after the last B
    ResultTooLarge,    // a pass would produce more than kMaxCodecSize bytes
    WrongRecordLength, // the decoded record is not 4112 bytes
    WrongSignature,    // the decoded record does not start with "NVKFMT"
};

// What one encoding pass produces, before the acceptance rule is applied. Empty input gives an
// empty result.
ByteVector encodePassOutput(std::span<const std::uint8_t> input);

// One encoding pass with its acceptance rule: no value when the pass is rejected.
std::optional<ByteVector> encodePass(std::span<const std::uint8_t> input);

// Passes until one is rejected, then the trailer byte. After maxPasses accepted passes encoding
// stops there: the file stays valid, where running on would make the pass count unstorable.
ByteVector encodeAll(std::span<const std::uint8_t> input, int maxPasses = kMaxPasses);

struct CodecResult {
    ByteVector bytes;
    std::optional<DataFileError> error;
    bool ok() const { return !error.has_value(); }
};

// One decoding pass (the reverse of one accepted encoding pass).
CodecResult decodePass(std::span<const std::uint8_t> input);

// The trailer byte names the number of passes; apply them all.
CodecResult decodeAll(std::span<const std::uint8_t> file);

} // namespace norvik
