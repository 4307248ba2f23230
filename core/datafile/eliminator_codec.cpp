#include "core/datafile/eliminator_codec.h"

#include <array>

namespace norvik {
namespace {

constexpr std::size_t kHeaderSize = 7; // W, B, M
constexpr int kGroupSize = 7;
constexpr int kLongRun = 134;

void putBe24(ByteVector& out, std::size_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

std::size_t getBe24(std::span<const std::uint8_t> d, std::size_t at) {
    return (std::size_t{d[at]} << 16) | (std::size_t{d[at + 1]} << 8) | std::size_t{d[at + 2]};
}

CodecResult failure(DataFileError e) {
    return {{}, e};
}

} // namespace

ByteVector encodePassOutput(std::span<const std::uint8_t> d) {
    if (d.empty())
        return {};

    std::array<std::size_t, 256> counts{};
    for (std::uint8_t b : d)
        ++counts[b];
    int eliminated = 0;
    for (int v = 1; v < 256; ++v) {
        if (counts[static_cast<std::size_t>(v)] >= counts[static_cast<std::size_t>(eliminated)])
            eliminated = v; // ">=": a tie goes to the greater byte value
    }
    const auto b = static_cast<std::uint8_t>(eliminated);
    const std::size_t m = counts[b];

    ByteVector control{b};
    putBe24(control, m);
    ByteVector literals;
    literals.reserve(d.size() - m);

    // k counts the positions of the current group; while the group's flags stay 0 it runs on
    // past 7 and the group becomes a run of literals.
    int k = 0;
    std::uint8_t flags = 0;
    std::size_t consumed = 0;
    std::size_t i = 0;
    for (; i < d.size() && consumed < m; ++i) {
        if (d[i] == b) {
            ++consumed;
            if (k < kGroupSize) {
                flags = static_cast<std::uint8_t>(flags | (1u << (6 - k)));
            } else {
                control.push_back(static_cast<std::uint8_t>(0x80 + (k - kGroupSize)));
                flags = 0;
                k = -1;
            }
        } else {
            literals.push_back(d[i]);
        }
        ++k;
        if (k == kGroupSize) {
            if (flags != 0) {
                control.push_back(flags);
                flags = 0;
                k = 0;
            }
        } else if (k == kLongRun) {
            control.push_back(0xFF);
            flags = 0;
            k = 0;
        }
    }
    if (flags != 0)
        control.push_back(flags);
    literals.insert(literals.end(), d.begin() + static_cast<std::ptrdiff_t>(i), d.end());

    ByteVector out;
    out.reserve(3 + control.size() + literals.size());
    putBe24(out, control.size());
    out.insert(out.end(), control.begin(), control.end());
    out.insert(out.end(), literals.begin(), literals.end());
    return out;
}

std::optional<ByteVector> encodePass(std::span<const std::uint8_t> d) {
    // Beyond the cap the decoder would refuse the file (and W and M would outgrow 24 bits).
    if (d.empty() || d.size() > kMaxCodecSize)
        return std::nullopt;
    ByteVector out = encodePassOutput(d);
    const std::size_t m = getBe24(out, 4);
    // Rejected when the output would be more than one byte longer than the input, unless the
    // eliminated byte is so common that the pass is worth it anyway.
    if (out.size() > d.size() + 1 && m < kAcceptAnyCount)
        return std::nullopt;
    if (out.size() >= kMaxCodecSize)
        return std::nullopt;
    return out;
}

ByteVector encodeAll(std::span<const std::uint8_t> input, int maxPasses) {
    ByteVector data(input.begin(), input.end());
    int passes = 0;
    while (passes < maxPasses && passes < kMaxPasses) {
        auto next = encodePass(data);
        if (!next)
            break;
        data = std::move(*next);
        ++passes;
    }
    data.push_back(static_cast<std::uint8_t>(passes));
    return data;
}

CodecResult decodePass(std::span<const std::uint8_t> d) {
    if (d.size() > kMaxCodecSize)
        return failure(DataFileError::TooLarge);
    if (d.size() < kHeaderSize)
        return failure(DataFileError::ShortPassHeader);
    const std::size_t w = getBe24(d, 0);
    const std::uint8_t b = d[3];
    const std::size_t m = getBe24(d, 4);
    if (w < 4 || w > d.size() - 3)
        return failure(DataFileError::BadControlLength);
    const std::size_t controlEnd = 3 + w;
    const std::size_t outLength = (d.size() - controlEnd) + m;
    if (outLength > kMaxCodecSize)
        return failure(DataFileError::ResultTooLarge);

    ByteVector out;
    out.reserve(outLength);
    std::size_t c = kHeaderSize;
    std::size_t r = controlEnd;
    std::size_t placed = 0;
    while (placed < m) {
        if (c >= controlEnd)
            return failure(DataFileError::ControlOverrun);
        const std::uint8_t f = d[c++];
        if (f >= 0x80) {
            const std::size_t n = std::size_t{f} - 0x80 + kGroupSize;
            if (n > d.size() - r)
                return failure(DataFileError::LiteralOverrun);
            out.insert(out.end(), d.begin() + static_cast<std::ptrdiff_t>(r),
                       d.begin() + static_cast<std::ptrdiff_t>(r + n));
            r += n;
            if (n != kLongRun) {
                out.push_back(b);
                ++placed;
            }
        } else {
            for (int j = 6; j >= 0 && placed < m; --j) {
                if (f & (1u << j)) {
                    out.push_back(b);
                    ++placed;
                } else {
                    if (r >= d.size())
                        return failure(DataFileError::LiteralOverrun);
                    out.push_back(d[r++]);
                }
            }
        }
    }
    // The encoder ends its control stream with the code holding the last B.
    if (c != controlEnd)
        return failure(DataFileError::ControlLeftOver);
    out.insert(out.end(), d.begin() + static_cast<std::ptrdiff_t>(r), d.end());
    return {std::move(out), std::nullopt};
}

CodecResult decodeAll(std::span<const std::uint8_t> file) {
    if (file.size() > kMaxCodecSize)
        return failure(DataFileError::TooLarge);
    if (file.empty())
        return failure(DataFileError::Empty);
    const int passes = file.back();
    CodecResult result{ByteVector(file.begin(), file.end() - 1), std::nullopt};
    for (int p = 0; p < passes; ++p) {
        result = decodePass(result.bytes);
        if (!result.ok())
            return result;
    }
    return result;
}

} // namespace norvik
