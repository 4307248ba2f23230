#include "io/history_file.h"

#include "io/file_handle.h"
#include "io/files.h"

namespace norvik::io {

namespace {
// Far more than years of transfers; a larger file is not ours.
constexpr std::size_t kMaxHistoryBytes = 64u << 20;
} // namespace

FileProblem appendHistory(const std::filesystem::path& file, const HistoryEntry& entry) {
    std::error_code error;
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path(), error);
    FileProblem problem;
    FileHandle handle = FileHandle::openAppend(file, problem);
    if (problem)
        return problem;
    std::string text = historyLine(entry) + '\n';
    const int last = handle.lastByte(error);
    if (error)
        return FileProblem::system(error);
    if (last >= 0 && last != '\n')
        text.insert(text.begin(), '\n');
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    // One write is one append; should the system take less, the rest follows at once.
    std::size_t done = 0;
    while (done < text.size()) {
        const std::size_t put = handle.write({bytes + done, text.size() - done}, error);
        if (put == 0)
            return FileProblem::system(error);
        done += put;
    }
    if (!handle.sync(error) || !handle.close(error))
        return FileProblem::system(error);
    return {};
}

std::vector<HistoryEntry> readHistory(const std::filesystem::path& file, FileProblem& problem) {
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        return {};
    ReadResult read = readFile(file, kMaxHistoryBytes);
    problem = read.problem;
    if (problem)
        return {};
    return parseHistory(std::string_view(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size()));
}

} // namespace norvik::io
