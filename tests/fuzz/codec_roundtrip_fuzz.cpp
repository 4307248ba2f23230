// Any byte string as the codec's plain input: decoding its encoding gives it back exactly.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/datafile/eliminator_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 65536)
        return 0;
    const std::span input(data, size);
    const norvik::ByteVector packed = norvik::encodeAll(input);
    const norvik::CodecResult back = norvik::decodeAll(packed);
    if (!back.ok() || back.bytes.size() != size || !std::equal(back.bytes.begin(), back.bytes.end(), data))
        std::abort();
    return 0;
}
