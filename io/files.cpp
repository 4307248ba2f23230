#include "io/files.h"

#include <random>
#include <string>

#include "io/file_handle.h"

namespace norvik::io {
namespace {

ReadResult readAll(FileHandle& file, std::size_t maxSize) {
    ReadResult result;
    std::error_code error;
    // A pipe hands its bytes over in pieces.
    while (result.bytes.size() <= maxSize) {
        const std::size_t had = result.bytes.size();
        result.bytes.resize(std::min(maxSize + 1, had + 65536));
        const std::size_t n = file.read(std::span(result.bytes).subspan(had), error);
        result.bytes.resize(had + n);
        if (n == 0)
            break;
    }
    if (error)
        result = {{}, FileProblem::system(error)};
    return result;
}

// Writes the file's bytes through the (possibly wrapped) sink of the open file.
class FileSink : public ByteSink {
public:
    explicit FileSink(FileHandle& file) : m_file(file) {}
    std::size_t write(std::span<const std::uint8_t> bytes, std::error_code& error) override {
        return m_file.write(bytes, error);
    }
    bool sync(std::error_code& error) override { return m_file.sync(error); }

private:
    FileHandle& m_file;
};

FileProblem writeAll(ByteSink& sink, std::span<const std::uint8_t> bytes) {
    std::error_code error;
    while (!bytes.empty()) {
        const std::size_t n = sink.write(bytes, error);
        if (n == 0 || n > bytes.size())
            return FileProblem::system(error ? error : std::make_error_code(std::errc::io_error));
        bytes = bytes.subspan(n);
    }
    return {};
}

// A name of our own beside the target ("repeater.dat.tmp3f9a1c"), created so that it cannot
// be a file somebody else made.
FileHandle createTemporary(const std::filesystem::path& target, std::filesystem::path& temporary,
                           FileProblem& problem) {
    std::random_device seed;
    std::mt19937 rng(seed());
    constexpr char kDigits[] = "0123456789abcdef";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix = ".tmp";
        for (int i = 0; i < 6; ++i)
            suffix += kDigits[rng() % 16];
        temporary = target;
        temporary += suffix;
        problem = {};
        FileHandle file = FileHandle::createNew(temporary, problem);
        if (!problem || problem.reason != std::errc::file_exists)
            return file;
    }
    return {};
}

} // namespace

ReadResult readFile(const std::filesystem::path& path, std::size_t maxSize) {
    FileProblem problem;
    FileHandle file = FileHandle::openRegular(path, problem);
    if (problem)
        return {{}, problem};
    return readAll(file, maxSize);
}

ReadResult readStandardInput(std::size_t maxSize) {
    FileHandle in = FileHandle::standardInput();
    return readAll(in, maxSize);
}

namespace {

// The file a save replaces (a symbolic link's file), its status, and whether it may be replaced.
struct SaveTarget {
    std::filesystem::path real;
    std::filesystem::file_status status;
    bool exists = false;
    FileProblem problem;
};

SaveTarget saveTarget(const std::filesystem::path& target) {
    namespace fs = std::filesystem;
    std::error_code error;
    SaveTarget t{target, {}, false, {}};
    if (fs::is_symlink(fs::symlink_status(target, error))) {
        const fs::path resolved = fs::canonical(target, error);
        if (!error)
            t.real = resolved;
    }
    t.status = fs::status(t.real, error);
    if (t.status.type() == fs::file_type::none)
        t.problem = FileProblem::system(error);
    t.exists = t.status.type() != fs::file_type::not_found;
    if (!t.problem && t.exists && t.status.type() != fs::file_type::regular)
        t.problem = {FileError::NotRegular};
    return t;
}

} // namespace

FileProblem checkSaveTarget(const std::filesystem::path& target, std::size_t size, const SinkWrapper& wrap) {
    const SaveTarget t = saveTarget(target);
    if (t.problem)
        return t.problem;
    std::filesystem::path temporary;
    FileProblem problem;
    FileHandle file = createTemporary(t.real, temporary, problem);
    if (problem)
        return problem;
    // The room is taken for real, as the save will take it: a free-space figure knows nothing of
    // quotas, size limits or what the file system needs besides the bytes.
    if (size > 0) {
        FileSink fileSink(file);
        const std::unique_ptr<ByteSink> wrapped = wrap ? wrap(fileSink) : nullptr;
        ByteSink& sink = wrapped ? *wrapped : fileSink;
        problem = writeAll(sink, std::vector<std::uint8_t>(size));
        std::error_code error;
        if (!problem && !sink.sync(error))
            problem = FileProblem::system(error);
    }
    std::error_code error;
    file.close(error);
    std::filesystem::remove(temporary, error);
    return problem;
}

FileProblem saveFile(const std::filesystem::path& target, std::span<const std::uint8_t> bytes,
                     const SinkWrapper& wrap) {
    namespace fs = std::filesystem;
    const SaveTarget t = saveTarget(target);
    if (t.problem)
        return t.problem;
    std::error_code error;

    fs::path temporary;
    FileProblem problem;
    FileHandle file = createTemporary(t.real, temporary, problem);
    if (problem)
        return problem;
    if (t.exists)
        fs::permissions(temporary, t.status.permissions(), error); // a copy with other rights is still a copy

    FileSink fileSink(file);
    const std::unique_ptr<ByteSink> wrapped = wrap ? wrap(fileSink) : nullptr;
    ByteSink& sink = wrapped ? *wrapped : fileSink;
    problem = writeAll(sink, bytes);
    error.clear();
    if (!problem && !sink.sync(error))
        problem = FileProblem::system(error);
    if (!problem && !file.close(error))
        problem = FileProblem::system(error);
    if (!problem) {
        fs::rename(temporary, t.real, error);
        if (error)
            problem = FileProblem::system(error);
    }
    if (problem) {
        file.close(error);
        fs::remove(temporary, error);
        return problem;
    }
    syncFolder(t.real.parent_path());
    return {};
}

namespace {

// FNV-1a: enough to tell one version of a small file from another; nobody is forging them.
std::uint64_t hashOf(std::span<const std::uint8_t> bytes) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (const std::uint8_t b : bytes)
        h = (h ^ b) * 0x100000001b3ull;
    return h;
}

} // namespace

std::optional<FileStamp> stampFile(const std::filesystem::path& path, std::size_t maxSize) {
    std::error_code error;
    // The time first: a write while the bytes are read moves it on, so the stamp cannot pass
    // for the newer file.
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error)
        return std::nullopt;
    const ReadResult read = readFile(path, maxSize);
    if (read.problem)
        return std::nullopt;
    return FileStamp{read.bytes.size(), modified, hashOf(read.bytes)};
}

std::optional<FileStamp> stampSaved(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::error_code error;
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error)
        return std::nullopt;
    return FileStamp{bytes.size(), modified, hashOf(bytes)};
}

DiskState compareWithDisk(const std::filesystem::path& path, const FileStamp& stamp, std::size_t maxSize) {
    std::error_code error;
    if (std::filesystem::status(path, error).type() == std::filesystem::file_type::not_found)
        return DiskState::Gone;
    const std::optional<FileStamp> now = stampFile(path, maxSize);
    return now && *now == stamp ? DiskState::Unchanged : DiskState::Changed;
}

FileProblem writeStandardOutput(std::span<const std::uint8_t> bytes) {
    FileHandle out = FileHandle::standardOutput();
    FileSink sink(out);
    return writeAll(sink, bytes);
}

} // namespace norvik::io
