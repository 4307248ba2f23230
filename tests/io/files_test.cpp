#include <gtest/gtest.h>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "core/helpers.h"
#include "io/backups.h"
#include "io/file_handle.h"
#include "io/files.h"
#include "io/history_file.h"
#include "io/image_files.h"
#include "io/path_text.h"
#include "support/failing_sink.h"

using namespace norvik::io;
using norvik::test::FailingSink;
namespace fs = std::filesystem;
namespace test = norvik::test;
using test::Bytes;

namespace {

// A folder of its own under the system's temporary folder, removed with the test.
struct TempFolder {
    fs::path path;
    TempFolder() : path(test::uniqueTempPath("norvik-io-")) { fs::create_directories(path); }
    ~TempFolder() {
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(path);
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(path))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
};

#ifndef _WIN32
int makeSocket(const fs::path& p) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", p.c_str());
    return ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 ? fd : -1;
}
#endif

// A file of the named kind in the folder (an absolute kind is a device's path).
fs::path make(const std::string& kind, const fs::path& d) {
    const fs::path t = d / "t";
    if (kind == "folder")
        fs::create_directory(t);
#ifndef _WIN32
    else if (kind == "pipe")
        ::mkfifo(t.c_str(), 0600);
    else if (kind == "socket")
        makeSocket(t);
    else if (kind == "link to a pipe")
        ::mkfifo((d / "p").c_str(), 0600), fs::create_symlink(d / "p", t);
#endif
    else if (kind == "under a file")
        return test::writeFile(d / "f", {1}), d / "f" / "t";
    else if (kind == "missing folder")
        return d / "none" / "t";
    else
        return kind;
    return t;
}

constexpr std::size_t kNever = SIZE_MAX;

} // namespace

// A save replaces the old file only when every byte reached the disk; the check asked before a
// transfer takes the room for the file for real and gives it back, whatever comes. Neither leaves a
// temporary file behind or changes the old file's permissions.
TEST(SaveFile, ReplacesTheOldFileOnlyWhenEveryByteReachedTheDisk) {
    struct Case {
        const char* name;
        bool check;       // the check before a transfer, asking for `room` bytes; else a save
        std::size_t room; // of the check
        std::size_t failAt, chunk;
        bool syncFails;
        std::errc reason; // {}: saved, or the save could be made
    } const cases[] = {
        {"whole writes", false, 0, kNever, kNever, false, {}},
        {"one byte per write", false, 0, kNever, 1, false, {}},
        {"disk full at once", false, 0, 0, kNever, false, std::errc::no_space_on_device},
        {"disk full after 1000 bytes", false, 0, 1000, 300, false, std::errc::no_space_on_device},
        {"disk full before the last byte", false, 0, 1709, kNever, false, std::errc::no_space_on_device},
        {"sync fails", false, 0, kNever, kNever, true, std::errc::io_error},
        {"check: room for the file", true, 8192, kNever, kNever, false, {}},
        {"check: disk full after 1000 bytes", true, 8192, 1000, kNever, false, std::errc::no_space_on_device},
        {"check: sync fails", true, 8192, kNever, kNever, true, std::errc::io_error},
        {"check: no room asked for", true, 0, 0, kNever, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        const fs::path target = dir.path / "repeater.dat";
        const Bytes old = test::randomBytes(5000, 1), fresh = test::randomBytes(1710, 2);
        test::writeFile(target, old);
#ifndef _WIN32
        ::chmod(target.c_str(), 0640);
#endif
        const auto wrap = [&](ByteSink& file) {
            return std::make_unique<FailingSink>(file, c.failAt, c.chunk, c.syncFails);
        };
        const FileProblem problem = c.check ? checkSaveTarget(target, c.room, wrap) : saveFile(target, fresh, wrap);
        const bool saved = c.reason == std::errc{};
        EXPECT_EQ(!problem, saved);
        EXPECT_EQ(test::readFile(target), saved && !c.check ? fresh : old);
        EXPECT_EQ(dir.names(), std::vector<std::string>{"repeater.dat"});
#ifndef _WIN32
        EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
#endif
        if (!saved) {
            EXPECT_EQ(problem.error, FileError::System);
            EXPECT_EQ(problem.reason, c.reason);
        }
    }
}

#ifndef _WIN32
// Past the file-size limit (ulimit -f) a process that did not ignore SIGXFSZ is killed mid-save.
// Each case runs in a child process, so the limit touches no other test.
TEST(SaveFile, PastTheFileSizeLimitFailsAndKeepsTheOldFile) {
    for (const rlim_t limit : {rlim_t(0), rlim_t(1000)}) { // no byte at all; a write cut short
        SCOPED_TRACE(limit);
        TempFolder dir;
        const fs::path target = dir.path / "repeater.dat";
        const Bytes old = test::randomBytes(5000, 1);
        test::writeFile(target, old);
        int pipeEnds[2];
        ASSERT_EQ(::pipe(pipeEnds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_DFL); // as a program starts, before it ignores the signal
            ignoreFileSizeSignal();
            const rlimit r{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &r);
            const FileProblem problem = saveImage(target, test::randomImage(2), ImageFormat::DataFile);
            const std::string text = reasonText(problem, norvik::Language::English);
            [[maybe_unused]] const auto n = ::write(pipeEnds[1], text.data(), text.size());
            ::_exit(0);
        }
        ::close(pipeEnds[1]);
        std::string said;
        char buffer[256];
        for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
            said.append(buffer, static_cast<std::size_t>(n));
        ::close(pipeEnds[0]);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
        EXPECT_EQ(said, "File too large");
        EXPECT_EQ(test::readFile(target), old);
        EXPECT_EQ(dir.names(), std::vector<std::string>{"repeater.dat"});
    }
}
#endif

// A save leaves alone what is no regular file or cannot be reached, and says why.
TEST(SaveFile, LeavesWhatIsNotARegularFileAlone) {
    struct Case {
        const char* kind;
        FileError error;
        std::errc reason;
    } const cases[] = {
        {"folder", FileError::NotRegular, {}},
#ifdef _WIN32
        {"under a file", FileError::System, std::errc::no_such_file_or_directory},
#else
        {"pipe", FileError::NotRegular, {}},
        {"socket", FileError::NotRegular, {}},
        {"/dev/null", FileError::NotRegular, {}},
        {"link to a pipe", FileError::NotRegular, {}},
        {"under a file", FileError::System, std::errc::not_a_directory},
#endif
        {"missing folder", FileError::System, std::errc::no_such_file_or_directory},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        TempFolder dir;
        const fs::path target = make(c.kind, dir.path);
        const auto namesBefore = dir.names();
        const fs::file_type typeBefore = fs::symlink_status(target).type();
        const FileProblem problem = saveFile(target, test::randomBytes(100, 3));
        EXPECT_EQ(problem.error, c.error);
        if (c.error == FileError::System) {
            EXPECT_EQ(problem.reason, c.reason);
        }
        EXPECT_EQ(fs::symlink_status(target).type(), typeBefore);
        EXPECT_EQ(dir.names(), namesBefore);
    }
#ifdef _WIN32
    // A device name passes for a file there until the rename over it fails; refused all the same.
    EXPECT_TRUE(saveFile("NUL", test::randomBytes(100, 3)));
#endif
}

TEST(SaveFile, WritesThroughALinkAndUnderAnyName) {
    TempFolder dir;
#ifdef _WIN32
    // Names are UTF-16 there, and a link needs rights a user seldom has.
    const fs::path names[] = {pathFromUtf8("-starts-with-a-dash.dat"), pathFromUtf8("\xE4\xB8\xAD.dat")};
#else
    test::writeFile(dir.path / "real.dat", test::randomBytes(10, 4));
    fs::create_symlink("real.dat", dir.path / "link.dat");
    ASSERT_FALSE(saveFile(dir.path / "link.dat", test::randomBytes(20, 5)));
    EXPECT_TRUE(fs::is_symlink(dir.path / "link.dat"));
    EXPECT_EQ(test::readFile(dir.path / "real.dat"), test::randomBytes(20, 5));

    // Names are bytes: one written on a GBK system is not valid UTF-8 and must still round trip.
    const fs::path names[] = {"\xB2\xE2\xCA\xD4.dat", "-starts-with-a-dash.dat", "\xE4\xB8\xAD.dat"};
#endif
    for (const fs::path& name : names) {
        const fs::path p = dir.path / name;
        ASSERT_FALSE(saveFile(p, test::randomBytes(30, 6))) << displayName(name);
        const ReadResult back = readFile(p, 100);
        EXPECT_FALSE(back.problem);
        EXPECT_EQ(back.bytes, test::randomBytes(30, 6));
    }
}

// Opened plainly, a pipe without a writer would wait for ever, and a device never end.
TEST(ReadFile, RefusesSpecialFilesAtOnce) {
#ifdef _WIN32
    for (const char* kind : {"NUL", "folder", "missing folder"}) {
#else
    for (const char* kind : {"pipe", "/dev/zero", "folder", "socket", "missing folder"}) {
#endif
        SCOPED_TRACE(kind);
        TempFolder dir;
        const ReadResult r = readFile(make(kind, dir.path), 1000);
        EXPECT_EQ(r.problem.error, std::string(kind) == "missing folder" ? FileError::System : FileError::NotRegular);
        EXPECT_TRUE(r.bytes.empty());
    }
}

// Save asks before writing over its document's file when the stamp taken at the last open or save
// no longer holds: somebody else wrote the file in between.
TEST(FileStamp, TellsAFileWrittenSinceFromOneLeftAlone) {
    using Meanwhile = void (*)(const fs::path&, const Bytes&);
    struct Case {
        const char* name;
        Meanwhile meanwhile;
        DiskState state;
    } const cases[] = {
        {"left alone", [](const fs::path&, const Bytes&) {}, DiskState::Unchanged},
        {"a byte changed, size and time kept",
         [](const fs::path& p, const Bytes& b) {
             const auto time = fs::last_write_time(p);
             Bytes changed = b;
             changed[100] ^= 1;
             test::writeFile(p, changed);
             fs::last_write_time(p, time);
         },
         DiskState::Changed},
        {"the same bytes saved again later",
         [](const fs::path& p, const Bytes& b) {
             test::writeFile(p, b);
             fs::last_write_time(p, fs::last_write_time(p) + std::chrono::seconds(2));
         },
         DiskState::Changed},
        {"grown", [](const fs::path& p, const Bytes& b) { test::writeFile(p, test::Bytes(b.size() + 1, 7)); },
         DiskState::Changed},
        {"now a folder", [](const fs::path& p, const Bytes&) { fs::remove(p), fs::create_directory(p); },
         DiskState::Changed},
        {"removed", [](const fs::path& p, const Bytes&) { fs::remove(p); }, DiskState::Gone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        const fs::path target = dir.path / "x.dat";
        const Bytes bytes = test::randomBytes(3000, 8);
        ASSERT_FALSE(saveFile(target, bytes));
        const std::optional<FileStamp> stamp = stampSaved(target, bytes);
        ASSERT_TRUE(stamp);
        EXPECT_EQ(stampFile(target, 5000), stamp); // what a save stamps is what a read stamps
        c.meanwhile(target, bytes);
        EXPECT_EQ(compareWithDisk(target, *stamp, 5000), c.state);
    }
}

TEST(Backups, NeverWriteOverAndRemoveOnlyTheirOwnOldFiles) {
    using norvik::BackupKind;
    using norvik::BackupOrigin;
    using norvik::BackupTime;
    TempFolder root;
    const BackupTime old{2026, 1, 1, 10, 0, 0};
    const BackupTime now{2026, 12, 8, 10, 0, 0};
    const BackupOrigin origin{BackupKind::Radio, "ttyUSB0", "00ff", {}};
    const BackupSaved first = saveBackup(root.path, now, origin, Bytes{1, 2, 3});
    const BackupSaved second = saveBackup(root.path, now, origin, Bytes{4});
    ASSERT_FALSE(first.problem);
    ASSERT_FALSE(second.problem);
    EXPECT_EQ(first.path.filename(), "100000_radio_00ff_ttyUSB0.dat");
    EXPECT_EQ(second.path.filename(), "100000-2_radio_00ff_ttyUSB0.dat");
    EXPECT_EQ(readFile(first.path, 10).bytes, (Bytes{1, 2, 3}));
    ASSERT_FALSE(saveBackup(root.path, old, origin, Bytes{5, 5}).problem);
    // Somebody else's file in a day folder, and a folder of theirs, stay.
    ASSERT_FALSE(saveFile(root.path / "2026-01-01" / "mine.dat", Bytes{9}));
    fs::create_directories(root.path / "old stuff");

    const std::vector<BackupEntry> all = listBackups(root.path);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].path, second.path); // newest first
    EXPECT_EQ(all[2].name.time, old);
    EXPECT_EQ(backupsSize(root.path), 3u + 1u + 2u);

    EXPECT_EQ(removeOldBackups(root.path, now, 90), 1);
    EXPECT_EQ(listBackups(root.path).size(), 2u);
    EXPECT_TRUE(fs::exists(root.path / "2026-01-01" / "mine.dat"));
    EXPECT_TRUE(fs::exists(root.path / "old stuff"));

    // Nothing there yet: nothing to keep. A file there: its bytes are kept under its own name.
    const fs::path target = root.path / "customer.dat";
    EXPECT_TRUE(keepBeforeReplace(root.path, target, now).path.empty());
    ASSERT_FALSE(saveFile(target, Bytes{7, 7, 7}));
    const BackupSaved kept = keepBeforeReplace(root.path, target, now);
    ASSERT_FALSE(kept.problem);
    EXPECT_EQ(kept.path.filename(), "100000_file_customer.dat");
    EXPECT_EQ(readFile(kept.path, 10).bytes, (Bytes{7, 7, 7}));
}

TEST(History, AppendsWholeLinesAfterATornOneAndRefusesWhatIsNoFile) {
    TempFolder dir;
    const fs::path file = dir.path / "sub" / "history.csv";
    norvik::HistoryEntry entry{"t", "read", "p", "", "", "", norvik::HistoryOutcome::Completed, "", 1.5, ""};
    ASSERT_FALSE(appendHistory(file, entry));
    // A crash left half a line; the next entry starts on a line of its own.
    {
        std::FILE* f = std::fopen(file.c_str(), "ab");
        std::fputs("t,write,p,", f);
        std::fclose(f);
    }
    entry.operation = "write";
    ASSERT_FALSE(appendHistory(file, entry));
    FileProblem problem;
    const std::vector<norvik::HistoryEntry> read = readHistory(file, problem);
    EXPECT_FALSE(problem);
    ASSERT_EQ(read.size(), 2U);
    EXPECT_EQ(read[1], entry);
    EXPECT_TRUE(readHistory(dir.path / "none.csv", problem).empty());
    EXPECT_FALSE(problem);
    for (const char* kind : {"folder", "under a file"}) {
        const fs::path target = make(kind, dir.path);
        EXPECT_TRUE(appendHistory(target, entry)) << kind;
    }
}
