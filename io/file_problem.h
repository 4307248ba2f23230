#pragma once

#include <cstdint>
#include <string>
#include <system_error>

#include "core/strings/strings.h"

namespace norvik::io {

enum class FileError : std::uint8_t {
    None,
    System,      // the platform refused or failed (missing, no permission, disk full): see `reason`
    NotRegular,  // a folder, a device, a pipe or a socket: never opened, never replaced
    Empty,       // a data file without a single byte
    NotDataFile, // the bytes do not decode to an image (a file over the size cap included)
    NotRawImage, // a raw image file that does not hold exactly 4096 bytes
};

struct FileProblem {
    FileError error = FileError::None;
    std::error_code reason; // the system's own reason, for FileError::System

    FileProblem() = default;
    FileProblem(FileError e, std::error_code why = {}) : error(e), reason(why) {}

    explicit operator bool() const { return error != FileError::None; }
    static FileProblem system(std::error_code why) { return {FileError::System, why}; }
    static FileProblem system(int errnoValue) { return system(std::error_code(errnoValue, std::generic_category())); }
};

// Why, as one sentence in the user's language: the system's own text or one of the string table.
std::string reasonText(const FileProblem& problem, Language lang);

} // namespace norvik::io
