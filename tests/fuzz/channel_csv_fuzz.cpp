// Any bytes as a channel list file, imported over the new-image defaults (the first byte picks
// keeping the other channels or replacing them all): the import must end in problems or
// channels, never a crash; it changes channel records and names only, says exactly which
// channels it changed, takes nothing from a file it refuses whole, and every frequency it writes
// is BCD inside a band (or the receive frequency again). What it gives exports and imports again
// without a problem and without a change.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "core/channels/channel_csv.h"
#include "core/image/band_limits.h"
#include "core/image/channel_record.h"
#include "core/image/defaults.h"

namespace {

using namespace norvik;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "channel list import fault: %s\n", what);
    std::abort();
}

// memcmp keeps the checks off the coverage counters, which would otherwise cost more than the
// import itself.
bool sameBytes(const RadioImage& a, const RadioImage& b, int from, int to) {
    return from >= to ||
           std::memcmp(a.bytes().data() + from, b.bytes().data() + from, static_cast<std::size_t>(to - from)) == 0;
}

bool onlyChannelBytesDiffer(const RadioImage& a, const RadioImage& b) {
    const int recordsFrom = channelAddress(1);
    const int recordsTo = channelAddress(kChannelCount + 1);
    const int namesFrom = nameAddress(1);
    const int namesTo = nameAddress(kChannelCount + 1);
    const int firstFrom = std::min(recordsFrom, namesFrom);
    const int firstTo = std::min(recordsTo, namesTo);
    const int secondFrom = std::max(recordsFrom, namesFrom);
    const int secondTo = std::max(recordsTo, namesTo);
    return sameBytes(a, b, 0, firstFrom) && sameBytes(a, b, firstTo, secondFrom) &&
           sameBytes(a, b, secondTo, kImageSize);
}

bool channelDiffers(const RadioImage& a, const RadioImage& b, int n) {
    return !sameBytes(a, b, channelAddress(n), channelAddress(n) + kRowSize) ||
           !sameBytes(a, b, nameAddress(n), nameAddress(n) + kNameLength);
}

bool bcdOrEmpty(const RadioImage& img, int address, bool& empty) {
    empty = true;
    bool bcd = true;
    for (int i = 0; i < 4; ++i) {
        const std::uint8_t b = img.at(address + i);
        empty = empty && b == 0xFF;
        bcd = bcd && (b >> 4) <= 9 && (b & 0x0F) <= 9;
    }
    return empty || bcd;
}

bool inBand(Frequency f, const BandLimits& bands) {
    for (const Band& b : bands.bands())
        if (f >= static_cast<Frequency>(b.lower) * kHz10PerMHz && f < static_cast<Frequency>(b.upper) * kHz10PerMHz)
            return true;
    return false;
}

void checkFrequencies(const RadioImage& img, const RadioImage& base, int n, const BandLimits& bands) {
    const int rx = channelAddress(n) + rec::Rx;
    const int tx = channelAddress(n) + rec::Tx;
    bool rxEmpty = false;
    bool txEmpty = false;
    if (!bcdOrEmpty(img, rx, rxEmpty) || !bcdOrEmpty(img, tx, txEmpty))
        fail("a frequency written that is not BCD");
    const bool rxWritten = !rxEmpty && decodeFrequency(img, rx) != decodeFrequency(base, rx);
    const bool txWritten = !txEmpty && decodeFrequency(img, tx) != decodeFrequency(base, tx);
    if (rxWritten && !inBand(decodeFrequency(img, rx), bands))
        fail("a receive frequency written outside every band");
    if (txWritten && !inBand(decodeFrequency(img, tx), bands) && decodeFrequency(img, tx) != decodeFrequency(img, rx))
        fail("a transmit frequency written outside every band");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > 65536)
        return 0;
    const CsvBase start = (data[0] & 1) ? CsvBase::ReplaceAll : CsvBase::KeepOthers;
    const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);
    const BandLimits bands;
    RadioImage base;
    writeNewImageDefaults(base, bands);

    const CsvImport result = importChannelsCsv(file, base, start);
    if (!onlyChannelBytesDiffer(result.image, base))
        fail("a byte outside the channels changed");
    for (int n = 1; n <= kChannelCount; ++n) {
        if (result.changed.test(static_cast<std::size_t>(n)) != channelDiffers(result.image, base, n))
            fail("the changed channels are not the channels that changed");
        if (result.changed.test(static_cast<std::size_t>(n)))
            checkFrequencies(result.image, base, n, bands);
    }
    for (const CsvProblem& p : result.problems)
        if ((p.kind == CsvProblem::Kind::NoChannelColumn || p.kind == CsvProblem::Kind::DuplicateColumn) &&
            !(result.image == base))
            fail("a file refused whole changed the image");

    // The round trip costs a second import: the fuzzer asks for it with the start byte's bit 1.
    if (!(data[0] & 2))
        return 0;
    const std::string again = exportChannelsCsv(result.image);
    const CsvImport back = importChannelsCsv(again, result.image);
    if (!back.problems.empty() || back.changed.any() || !(back.image == result.image))
        fail("an exported list does not import back unchanged");
    return 0;
}
