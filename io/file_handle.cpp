#include "io/file_handle.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <utility>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace norvik::io {

FileHandle::FileHandle(FileHandle&& other) noexcept {
    *this = std::move(other);
}

FileHandle::~FileHandle() {
    std::error_code ignored;
    close(ignored);
}

#ifdef _WIN32

namespace {

std::error_code lastError() {
    return std::error_code(static_cast<int>(GetLastError()), std::system_category());
}

} // namespace

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        std::error_code ignored;
        close(ignored);
        m_handle = std::exchange(other.m_handle, nullptr);
        m_owned = other.m_owned;
    }
    return *this;
}

FileHandle FileHandle::openRegular(const std::filesystem::path& path, FileProblem& problem) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        problem = FileProblem::system(lastError());
        return {};
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        problem = {FileError::NotRegular};
        return {};
    }
    // Device names such as COM1 or CON pass the attribute test; the open refuses them.
    return openDisk(path, GENERIC_READ, OPEN_EXISTING, problem);
}

FileHandle FileHandle::openDisk(const std::filesystem::path& path, unsigned long access, unsigned long disposition,
                                FileProblem& problem) {
    FileHandle file;
    file.m_handle = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file.m_handle == INVALID_HANDLE_VALUE) {
        file.m_handle = nullptr;
        problem = FileProblem::system(lastError());
        return {};
    }
    if (GetFileType(file.m_handle) != FILE_TYPE_DISK) {
        problem = {FileError::NotRegular};
        return {};
    }
    return file;
}

FileHandle FileHandle::createNew(const std::filesystem::path& path, FileProblem& problem) {
    FileHandle file;
    file.m_handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file.m_handle == INVALID_HANDLE_VALUE) {
        file.m_handle = nullptr;
        const DWORD code = GetLastError();
        problem = FileProblem::system(code == ERROR_FILE_EXISTS ? std::make_error_code(std::errc::file_exists)
                                                                : std::error_code(int(code), std::system_category()));
    }
    return file;
}

FileHandle FileHandle::openAppend(const std::filesystem::path& path, FileProblem& problem) {
    return openDisk(path, FILE_APPEND_DATA | GENERIC_READ, OPEN_ALWAYS, problem);
}

int FileHandle::lastByte(std::error_code& error) const {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(m_handle, &size)) {
        error = lastError();
        return -1;
    }
    if (size.QuadPart == 0)
        return -1;
    OVERLAPPED at{};
    const auto offset = static_cast<std::uint64_t>(size.QuadPart - 1);
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    unsigned char byte = 0;
    DWORD got = 0;
    if (!ReadFile(m_handle, &byte, 1, &got, &at) || got != 1) {
        error = lastError();
        return -1;
    }
    return byte;
}

FileHandle FileHandle::standardInput() {
    _setmode(_fileno(stdin), _O_BINARY);
    FileHandle file;
    file.m_handle = GetStdHandle(STD_INPUT_HANDLE);
    file.m_owned = false;
    return file;
}

FileHandle FileHandle::standardOutput() {
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
    FileHandle file;
    file.m_handle = GetStdHandle(STD_OUTPUT_HANDLE);
    file.m_owned = false;
    return file;
}

bool FileHandle::isOpen() const {
    return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE;
}

bool FileHandle::isTerminal() const {
    return isOpen() && GetFileType(m_handle) == FILE_TYPE_CHAR;
}

std::size_t FileHandle::read(std::span<std::uint8_t> buffer, std::error_code& error) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(buffer.size(), 1u << 20));
    if (!ReadFile(m_handle, buffer.data(), want, &got, nullptr)) {
        if (GetLastError() != ERROR_BROKEN_PIPE) // a pipe's writer has finished: the end
            error = lastError();
        return 0;
    }
    return got;
}

std::size_t FileHandle::write(std::span<const std::uint8_t> bytes, std::error_code& error) {
    DWORD put = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
    if (!WriteFile(m_handle, bytes.data(), want, &put, nullptr)) {
        error = lastError();
        return 0;
    }
    if (put == 0)
        error = std::make_error_code(std::errc::io_error);
    return put;
}

bool FileHandle::sync(std::error_code& error) {
    if (FlushFileBuffers(m_handle))
        return true;
    error = lastError();
    return false;
}

bool FileHandle::close(std::error_code& error) {
    if (!isOpen())
        return true;
    const HANDLE handle = std::exchange(m_handle, nullptr);
    if (!m_owned || CloseHandle(handle))
        return true;
    error = lastError();
    return false;
}

void syncFolder(const std::filesystem::path&) {}

void ignoreFileSizeSignal() {}

#else

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        std::error_code ignored;
        close(ignored);
        m_fd = std::exchange(other.m_fd, -1);
        m_owned = other.m_owned;
    }
    return *this;
}

FileHandle FileHandle::openRegular(const std::filesystem::path& path, FileProblem& problem) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        problem = FileProblem::system(errno);
        return {};
    }
    if (!S_ISREG(st.st_mode)) {
        problem = {FileError::NotRegular};
        return {};
    }
    FileHandle file;
    // O_NONBLOCK: should the name have become a pipe since the look above, the open returns at once.
    file.m_fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file.m_fd < 0) {
        problem = FileProblem::system(errno);
        return {};
    }
    if (::fstat(file.m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        problem = {FileError::NotRegular};
        return {};
    }
    return file;
}

FileHandle FileHandle::createNew(const std::filesystem::path& path, FileProblem& problem) {
    FileHandle file;
    file.m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
    if (file.m_fd < 0)
        problem = FileProblem::system(errno);
    return file;
}

FileHandle FileHandle::openAppend(const std::filesystem::path& path, FileProblem& problem) {
    FileHandle file;
    file.m_fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (file.m_fd < 0) {
        problem = FileProblem::system(errno);
        return {};
    }
    struct stat st {};
    if (::fstat(file.m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        problem = {FileError::NotRegular};
        return {};
    }
    return file;
}

int FileHandle::lastByte(std::error_code& error) const {
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) {
        error = std::error_code(errno, std::generic_category());
        return -1;
    }
    if (st.st_size == 0)
        return -1;
    unsigned char byte = 0;
    if (::pread(m_fd, &byte, 1, st.st_size - 1) != 1) {
        error = std::error_code(errno ? errno : EIO, std::generic_category());
        return -1;
    }
    return byte;
}

FileHandle FileHandle::standardInput() {
    FileHandle file;
    file.m_fd = STDIN_FILENO;
    file.m_owned = false;
    return file;
}

FileHandle FileHandle::standardOutput() {
    std::fflush(stdout); // what was printed comes first
    FileHandle file;
    file.m_fd = STDOUT_FILENO;
    file.m_owned = false;
    return file;
}

bool FileHandle::isOpen() const {
    return m_fd >= 0;
}

bool FileHandle::isTerminal() const {
    return isOpen() && ::isatty(m_fd) == 1;
}

std::size_t FileHandle::read(std::span<std::uint8_t> buffer, std::error_code& error) {
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer.data(), buffer.size());
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno != EINTR) {
            error = std::error_code(errno, std::generic_category());
            return 0;
        }
    }
}

std::size_t FileHandle::write(std::span<const std::uint8_t> bytes, std::error_code& error) {
    for (;;) {
        const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
        if (n > 0)
            return static_cast<std::size_t>(n);
        if (n == 0) {
            error = std::make_error_code(std::errc::io_error);
            return 0;
        }
        if (errno != EINTR) {
            error = std::error_code(errno, std::generic_category());
            return 0;
        }
    }
}

bool FileHandle::sync(std::error_code& error) {
    if (::fsync(m_fd) == 0)
        return true;
    error = std::error_code(errno, std::generic_category());
    return false;
}

bool FileHandle::close(std::error_code& error) {
    if (m_fd < 0)
        return true;
    const int fd = std::exchange(m_fd, -1);
    // Not retried on EINTR: the descriptor is gone either way on Linux.
    if (!m_owned || ::close(fd) == 0)
        return true;
    error = std::error_code(errno, std::generic_category());
    return false;
}

void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void ignoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

#endif

} // namespace norvik::io
