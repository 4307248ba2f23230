#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

#include "core/datafile/eliminator_codec.h"
#include "core/image/radio_image.h"
#include "io/byte_sink.h"
#include "io/file_problem.h"

namespace norvik::io {

// A data file is the image packed by the codec, exactly what Save writes; a raw image is the
// 4096 bytes in address order.
enum class ImageFormat : std::uint8_t { DataFile, Raw };

// Data file for a name ending in ".dat" (any case), raw image for any other.
ImageFormat formatOf(const std::filesystem::path& path);

struct ImageLoad {
    std::optional<RadioImage> image; // set exactly when `problem` is not
    FileProblem problem;
};

// The one place a path becomes an image and an image becomes a file, for the windows and the
// command-line tool alike. Reads stop past the largest size the format allows.
ImageLoad loadImage(const std::filesystem::path& path, ImageFormat format);
// The same for bytes from elsewhere (standard input): at most maxInputSize(format) + 1 of them
// need to be read to tell.
ImageLoad decodeImage(std::span<const std::uint8_t> bytes, ImageFormat format);
std::size_t maxInputSize(ImageFormat format);

ByteVector encodeImage(const RadioImage& image, ImageFormat format);
// Writes the file through the one save routine (see saveFile).
FileProblem saveImage(const std::filesystem::path& path, const RadioImage& image, ImageFormat format,
                      const SinkWrapper& wrap = {});

} // namespace norvik::io
