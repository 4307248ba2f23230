#pragma once

#include <optional>

#include "cli/options.h"
#include "core/image/radio_image.h"
#include "core/strings/strings.h"
#include "io/image_files.h"

namespace norvik::cli {

// The files the commands read and write, through the program's one load and save helper. "-" is
// standard input or output; anything else is a file name. A failure is printed in the user's
// language and gives no image or false.
std::optional<RadioImage> loadImage(const Arg& file, io::ImageFormat format, Language lang);
bool saveImage(const Arg& file, const RadioImage& image, io::ImageFormat format, Language lang);
// Whether saveImage could write an image in that format there now, the room for the file
// included; false after saying why. Asked before a transfer whose image would otherwise be lost
// at the end.
bool canSave(const Arg& file, io::ImageFormat format, Language lang);
// The room a file of that format is given before a transfer: more than any image's file needs.
std::size_t saveRoom(io::ImageFormat format);
// The format a file name stands for: a data file for ".dat", a raw image otherwise. "-" is a data
// file like every command's input and output, unless the command was asked for raw bytes (--raw).
io::ImageFormat formatOf(const Arg& file, bool rawStdStream = false);
// What every command that takes --raw says of it.
inline constexpr const char* kRawHelp = "  --raw         '-' is the 4096 raw image bytes instead of a data file\n";
// True, after saying so, when `out` names the file `in` names: a command never overwrites its input.
bool sameFile(const Arg& in, const Arg& out, Language lang);

} // namespace norvik::cli
