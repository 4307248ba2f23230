#include "core/datafile/data_file.h"

#include <algorithm>

#include "core/strings/string_ids.h"

namespace norvik {

ByteVector buildRecord(const RadioImage& image) {
    ByteVector record;
    record.reserve(kRecordSize);
    record.insert(record.end(), kRecordSignature.begin(), kRecordSignature.end());
    record.resize(kRecordHeaderSize, 0xFF);
    record.insert(record.end(), image.bytes().begin(), image.bytes().end());
    return record;
}

DataFileResult parseRecord(std::span<const std::uint8_t> record) {
    if (record.size() != kRecordSize)
        return {std::nullopt, DataFileError::WrongRecordLength};
    if (!std::equal(kRecordSignature.begin(), kRecordSignature.end(), record.begin()))
        return {std::nullopt, DataFileError::WrongSignature};
    ImageBytes bytes;
    std::copy(record.begin() + kRecordHeaderSize, record.end(), bytes.begin());
    return {RadioImage(bytes), std::nullopt};
}

ByteVector encodeDataFile(const RadioImage& image) {
    return encodeAll(buildRecord(image));
}

DataFileResult decodeDataFile(std::span<const std::uint8_t> file) {
    CodecResult decoded = decodeAll(file);
    if (!decoded.ok())
        return {std::nullopt, decoded.error};
    return parseRecord(decoded.bytes);
}

int dataFileErrorTextId(DataFileError) {
    return ids::IncorrectFileType;
}

} // namespace norvik
