#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <system_error>

#include "io/file_problem.h"

namespace norvik::io {

// One open file of the platform (a POSIX descriptor or a Win32 handle), closed with its owner.
// Every platform call of the file layer lives here.
class FileHandle {
public:
    FileHandle() = default;
    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle();

    // Opens an existing regular file for reading. A folder, device, pipe or socket is refused
    // from its status before any open (opening a serial device can toggle its lines; opening a
    // pipe waits for a writer), and again from the open file, in case the name changed between.
    static FileHandle openRegular(const std::filesystem::path& path, FileProblem& problem);
    // Creates a file that did not exist; a name already taken fails with file_exists.
    static FileHandle createNew(const std::filesystem::path& path, FileProblem& problem);
    // Opens a regular file (created when missing) so that every write lands at its end, in one
    // piece, even with another process appending at the same time.
    static FileHandle openAppend(const std::filesystem::path& path, FileProblem& problem);
    // The last byte of the file, or -1 when it is empty or cannot be read (then `error` is set).
    int lastByte(std::error_code& error) const;
    // The process's standard input and output, in binary mode; closing them is left to the process.
    static FileHandle standardInput();
    static FileHandle standardOutput();

    bool isOpen() const;
    bool isTerminal() const;
    // Reads what is there up to the span's size; 0 at the end or on failure (then `error` is set).
    std::size_t read(std::span<std::uint8_t> buffer, std::error_code& error);
    // Writes a leading part of `bytes`; 0 with `error` set on failure.
    std::size_t write(std::span<const std::uint8_t> bytes, std::error_code& error);
    bool sync(std::error_code& error);
    // Closes the file; false when the system reports that buffered bytes were lost.
    bool close(std::error_code& error);

private:
#ifdef _WIN32
    // Opens with CreateFileW (shared for reading and writing); anything but a disk file, such as
    // COM1 or CON, is refused as not a regular file.
    static FileHandle openDisk(const std::filesystem::path& path, unsigned long access, unsigned long disposition,
                               FileProblem& problem);
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
    bool m_owned = true;
};

// Best effort: makes a rename inside `folder` survive a power failure. Nothing to do on Windows.
void syncFolder(const std::filesystem::path& folder);

// Past the process's file-size limit (ulimit -f) the system kills a writer with SIGXFSZ, leaving
// its temporary file and taking unsaved edits with it. Ignored, the write fails with EFBIG and the
// save routine reports it and cleans up. Both programs call this first. Nothing to do on Windows.
void ignoreFileSizeSignal();

} // namespace norvik::io
