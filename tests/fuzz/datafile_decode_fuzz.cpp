// Any byte string as a data file: decoding must end in an error value or an image, never a
// crash, an out-of-bounds read or a huge allocation; an image it accepts must survive Save/Open.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/datafile/data_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const norvik::DataFileResult result = norvik::decodeDataFile(std::span(data, size));
    if (result.ok() == result.error.has_value())
        std::abort();
    if (result.ok()) {
        const norvik::DataFileResult again = norvik::decodeDataFile(norvik::encodeDataFile(*result.image));
        if (!again.ok() || !(*again.image == *result.image))
            std::abort();
    }
    return 0;
}
