#include "io/image_files.h"

#include <algorithm>
#include <string_view>

#include "core/datafile/data_file.h"
#include "io/files.h"

namespace norvik::io {

ImageFormat formatOf(const std::filesystem::path& path) {
    // Compared in the platform's own characters: the rest of the name may not convert to anything.
    const auto extension = path.extension().native();
    constexpr std::string_view kDat = ".dat";
    return extension.size() == kDat.size() &&
                   std::equal(extension.begin(), extension.end(), kDat.begin(),
                              [](auto c, char d) { return (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) == d; })
               ? ImageFormat::DataFile
               : ImageFormat::Raw;
}

std::size_t maxInputSize(ImageFormat format) {
    return format == ImageFormat::DataFile ? kMaxCodecSize : static_cast<std::size_t>(kImageSize);
}

ImageLoad decodeImage(std::span<const std::uint8_t> bytes, ImageFormat format) {
    if (format == ImageFormat::Raw) {
        if (bytes.size() != static_cast<std::size_t>(kImageSize))
            return {std::nullopt, {FileError::NotRawImage}};
        ImageBytes image;
        std::copy(bytes.begin(), bytes.end(), image.begin());
        return {RadioImage(image), {}};
    }
    if (bytes.empty())
        return {std::nullopt, {FileError::Empty}};
    DataFileResult result = decodeDataFile(bytes);
    if (!result.ok())
        return {std::nullopt, {FileError::NotDataFile}};
    return {std::move(result.image), {}};
}

ImageLoad loadImage(const std::filesystem::path& path, ImageFormat format) {
    const ReadResult read = readFile(path, maxInputSize(format));
    if (read.problem)
        return {std::nullopt, read.problem};
    return decodeImage(read.bytes, format);
}

ByteVector encodeImage(const RadioImage& image, ImageFormat format) {
    if (format == ImageFormat::DataFile)
        return encodeDataFile(image);
    return ByteVector(image.bytes().begin(), image.bytes().end());
}

FileProblem saveImage(const std::filesystem::path& path, const RadioImage& image, ImageFormat format,
                      const SinkWrapper& wrap) {
    return saveFile(path, encodeImage(image, format), wrap);
}

} // namespace norvik::io
