#include "io/image_files.h"

#include <algorithm>

#include "datafile/data_file.h"
#include "io/files.h"

namespace norvik::io {

ImageFormat formatOf(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return extension == ".dat" ? ImageFormat::DataFile : ImageFormat::Raw;
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
