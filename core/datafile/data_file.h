#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "core/datafile/eliminator_codec.h"
#include "core/image/radio_image.h"

namespace norvik {

// The plain image record a data file packs: "NVKFMT", ten 0xFF bytes, then the 4096 image
// bytes in address order.
constexpr std::size_t kRecordHeaderSize = 16;
constexpr std::size_t kRecordSize = kRecordHeaderSize + kImageSize; // 4112
inline constexpr std::string_view kRecordSignature = "NVKFMT";

ByteVector buildRecord(const RadioImage& image);

struct DataFileResult {
    std::optional<RadioImage> image;
    std::optional<DataFileError> error; // set exactly when there is no image
    bool ok() const { return image.has_value(); }
};

// Checks a decoded record: exactly 4112 bytes starting with the signature (the filler is not
// checked).
DataFileResult parseRecord(std::span<const std::uint8_t> record);

// What Save writes: the record packed by the codec. Deterministic: the same image always gives
// the same bytes.
ByteVector encodeDataFile(const RadioImage& image);

// What Open reads. Any failure is one of DataFileError, never an exception.
DataFileResult decodeDataFile(std::span<const std::uint8_t> file);

// The string id the user sees for a failed open: every error reads "Incorrect File Type.".
int dataFileErrorTextId(DataFileError error);

} // namespace norvik
