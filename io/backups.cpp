#include "io/backups.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>

#include "io/file_handle.h"
#include "io/files.h"

namespace norvik::io {
namespace {

namespace fs = std::filesystem;

// The largest file a save replaces that is kept (a data file, a channel list, a PDF).
constexpr std::size_t kMaxKeptSize = 64u * 1024 * 1024;
constexpr int kMaxSequence = 999;

fs::path fromUtf8(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

std::string toUtf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// Creates the file only when there is none, so that two saves in the same second (two copies of
// the program) cannot end on one name; the save then replaces our own empty placeholder.
bool reserve(const fs::path& path, FileProblem& problem) {
    FileProblem made;
    FileHandle file = FileHandle::createNew(path, made);
    if (!file.isOpen()) {
        if (made.reason != std::errc::file_exists)
            problem = made;
        return false;
    }
    std::error_code ignored;
    file.close(ignored);
    return true;
}

} // namespace

BackupTime backupTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

BackupSaved saveBackup(const fs::path& root, const BackupTime& time, const BackupOrigin& origin,
                       std::span<const std::uint8_t> bytes, const SinkWrapper& wrap) {
    BackupSaved saved;
    const fs::path folder = root / backupDayFolder(time);
    std::error_code error;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder)) {
        saved.problem = FileProblem::system(error ? error : std::make_error_code(std::errc::not_a_directory));
        return saved;
    }
    BackupName name{time, 1, origin};
    for (; name.sequence <= kMaxSequence; ++name.sequence) {
        const fs::path path = folder / fromUtf8(backupFileName(name));
        if (!reserve(path, saved.problem)) {
            if (saved.problem)
                return saved;
            continue;
        }
        saved.problem = saveFile(path, bytes, wrap);
        if (saved.problem)
            fs::remove(path, error);
        else
            saved.path = path;
        return saved;
    }
    saved.problem = FileProblem::system(std::make_error_code(std::errc::file_exists));
    return saved;
}

BackupSaved keepBeforeReplace(const fs::path& root, const fs::path& target, const BackupTime& time,
                              std::span<const std::uint8_t> replacement) {
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    if (status.type() == fs::file_type::not_found)
        return {};
    if (error)
        return {{}, FileProblem::system(error)};
    if (!fs::is_regular_file(status))
        return {}; // nothing a save replaces: it refuses such a target with its own reason
    const ReadResult old = readFile(target, kMaxKeptSize);
    if (old.problem)
        return {{}, old.problem};
    if (old.bytes.size() > kMaxKeptSize)
        return {{}, FileProblem::system(std::make_error_code(std::errc::file_too_large))};
    if (!replacement.empty() && std::equal(old.bytes.begin(), old.bytes.end(), replacement.begin(), replacement.end()))
        return {};
    BackupOrigin origin;
    origin.kind = BackupKind::FileReplaced;
    origin.fileName = toUtf8(target.filename());
    return saveBackup(root, time, origin, old.bytes);
}

std::vector<BackupEntry> listBackups(const fs::path& root) {
    std::vector<BackupEntry> entries;
    std::error_code error;
    for (fs::directory_iterator day(root, error), end; !error && day != end; day.increment(error)) {
        if (!day->is_directory(error))
            continue;
        const std::string dayName = toUtf8(day->path().filename());
        std::error_code inner;
        for (fs::directory_iterator file(day->path(), inner), fileEnd; !inner && file != fileEnd;
             file.increment(inner)) {
            if (!file->is_regular_file(inner))
                continue;
            std::optional<BackupName> name = parseBackupName(dayName, toUtf8(file->path().filename()));
            if (!name)
                continue;
            std::error_code sizeError;
            const std::uintmax_t size = file->file_size(sizeError);
            entries.push_back({file->path(), *name, sizeError ? 0 : size});
        }
    }
    std::sort(entries.begin(), entries.end(), [](const BackupEntry& a, const BackupEntry& b) {
        const auto at = a.name.time.seconds(), bt = b.name.time.seconds();
        if (at != bt)
            return at > bt;
        if (a.name.sequence != b.name.sequence)
            return a.name.sequence > b.name.sequence;
        return a.path < b.path;
    });
    return entries;
}

int removeOldBackups(const fs::path& root, const BackupTime& now, int days) {
    int removed = 0;
    std::error_code error;
    for (const BackupEntry& entry : listBackups(root)) {
        if (backupExpired(entry.name.time, now, days) && fs::remove(entry.path, error))
            ++removed;
    }
    // Day folders left empty; a folder still holding anything stays.
    std::vector<fs::path> folders;
    for (fs::directory_iterator day(root, error), end; !error && day != end; day.increment(error)) {
        std::error_code inner;
        if (day->is_directory(inner) && parseBackupName(toUtf8(day->path().filename()), "000000_file_x"))
            folders.push_back(day->path());
    }
    for (const fs::path& folder : folders) {
        std::error_code inner;
        if (fs::is_empty(folder, inner) && !inner)
            fs::remove(folder, inner);
    }
    return removed;
}

std::uintmax_t backupsSize(const fs::path& root) {
    std::uintmax_t total = 0;
    for (const BackupEntry& entry : listBackups(root))
        total += entry.size;
    return total;
}

} // namespace norvik::io
