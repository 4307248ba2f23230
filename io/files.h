#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "io/byte_sink.h"
#include "io/file_problem.h"

namespace norvik::io {

struct ReadResult {
    std::vector<std::uint8_t> bytes;
    FileProblem problem;
};

// Reads at most maxSize + 1 bytes, so a huge file is refused early: more than maxSize bytes
// means it is too large. Only regular files are read (see FileHandle::openRegular).
ReadResult readFile(const std::filesystem::path& path, std::size_t maxSize);
ReadResult readStandardInput(std::size_t maxSize);

// The one save routine of the program. The bytes go to a new temporary file beside the target;
// every write is checked, the file is synced and closed, and only then renamed over the target.
// On any failure the temporary file is removed and the target is left byte for byte as it was.
// A target that exists and is not a regular file is refused untouched. A symbolic link keeps
// pointing where it did; the file it names is replaced, with the old file's permissions.
FileProblem saveFile(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                     const SinkWrapper& wrap = {});
// Whether a save of `size` bytes there could be made now: the same refusals as saveFile, and a
// temporary file beside the target that takes `size` bytes (written and synced through `wrap`,
// as saveFile would) and is removed again. Asked before work whose result would otherwise be
// lost, such as a read of the radio into a file on a full disk.
FileProblem checkSaveTarget(const std::filesystem::path& target, std::size_t size = 0, const SinkWrapper& wrap = {});
// Standard output has no old file to keep; every write is still checked.
FileProblem writeStandardOutput(std::span<const std::uint8_t> bytes);

// What a file held when this program last read or wrote it: its size, modification time and a
// hash of its bytes. Taken again before the file is written over, it tells whether somebody else
// (another copy of the program on the same file) has written it in between.
struct FileStamp {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};
    std::uint64_t hash = 0;
    bool operator==(const FileStamp&) const = default;
};

enum class DiskState : std::uint8_t {
    Unchanged, // size, time and bytes as stamped
    Changed,   // any of them differs, or the file can no longer be read to tell
    Gone,      // nothing there: writing loses nothing
};

// Reads the file whole (at most maxSize + 1 bytes, regular files only); none when it cannot.
std::optional<FileStamp> stampFile(const std::filesystem::path& path, std::size_t maxSize);
// The stamp of a file this program has just saved with `bytes`, without reading it back: should
// somebody have written it since the save, the hash gives them away.
std::optional<FileStamp> stampSaved(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
DiskState compareWithDisk(const std::filesystem::path& path, const FileStamp& stamp, std::size_t maxSize);

} // namespace norvik::io
