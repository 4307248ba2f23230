#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "io/files.h"
#include "support/failing_sink.h"

using namespace norvik::io;
using norvik::test::FailingSink;
namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

// A folder of its own under the system's temporary folder, removed with the test.
struct TempFolder {
    fs::path path;
    TempFolder() {
        path = fs::temp_directory_path() / ("norvik-io-" + std::to_string(::getpid()) + "-" + std::to_string(next++));
        fs::create_directories(path);
    }
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
    static inline int next = 0;
};

Bytes contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void put(const fs::path& p, const Bytes& bytes) {
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes pattern(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto& c : b)
        c = static_cast<std::uint8_t>(rng());
    return b;
}

int makeSocket(const fs::path& p) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", p.c_str());
    return ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 ? fd : -1;
}

constexpr std::size_t kNever = SIZE_MAX;

} // namespace

TEST(SaveFile, ReplacesTheOldFileOnlyWhenEveryByteReachedTheDisk) {
    struct Case {
        const char* name;
        std::size_t failAt;
        std::size_t chunk;
        bool syncFails;
        bool saved;
    } const cases[] = {
        {"whole writes", kNever, kNever, false, true},
        {"one byte per write", kNever, 1, false, true},
        {"disk full at once", 0, kNever, false, false},
        {"disk full after 1000 bytes", 1000, 300, false, false},
        {"disk full before the last byte", 1709, kNever, false, false},
        {"sync fails", kNever, kNever, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        const fs::path target = dir.path / "repeater.dat";
        const Bytes old = pattern(5000, 1), fresh = pattern(1710, 2);
        put(target, old);
        ::chmod(target.c_str(), 0640);
        const FileProblem problem = saveFile(target, fresh, [&](ByteSink& file) {
            return std::make_unique<FailingSink>(file, c.failAt, c.chunk, c.syncFails);
        });
        EXPECT_EQ(!problem, c.saved);
        EXPECT_EQ(contents(target), c.saved ? fresh : old);
        EXPECT_EQ(dir.names(), std::vector<std::string>{"repeater.dat"}); // no temporary file is left
        EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
        if (!c.saved) {
            EXPECT_EQ(problem.error, FileError::System);
            EXPECT_EQ(problem.reason, c.syncFails ? std::errc::io_error : std::errc::no_space_on_device);
        }
    }
}

TEST(SaveFile, LeavesWhatIsNotARegularFileAlone) {
    struct Case {
        const char* name;
        std::function<fs::path(const fs::path&)> make; // makes the target in the folder
        FileError error;
        std::errc reason;
    } const cases[] = {
        {"folder",
         [](const fs::path& d) {
             fs::create_directory(d / "t");
             return d / "t";
         },
         FileError::NotRegular,
         {}},
        {"pipe",
         [](const fs::path& d) {
             ::mkfifo((d / "t").c_str(), 0600);
             return d / "t";
         },
         FileError::NotRegular,
         {}},
        {"socket",
         [](const fs::path& d) {
             makeSocket(d / "t");
             return d / "t";
         },
         FileError::NotRegular,
         {}},
        {"device", [](const fs::path&) { return fs::path("/dev/null"); }, FileError::NotRegular, {}},
        {"link to a pipe",
         [](const fs::path& d) {
             ::mkfifo((d / "p").c_str(), 0600);
             fs::create_symlink(d / "p", d / "t");
             return d / "t";
         },
         FileError::NotRegular,
         {}},
        {"folder that is a file",
         [](const fs::path& d) {
             put(d / "f", {1});
             return d / "f" / "t";
         },
         FileError::System, std::errc::not_a_directory},
        {"missing folder", [](const fs::path& d) { return d / "none" / "t"; }, FileError::System,
         std::errc::no_such_file_or_directory},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        const fs::path target = c.make(dir.path);
        const auto namesBefore = dir.names();
        const fs::file_type typeBefore = fs::symlink_status(target).type();
        const FileProblem problem = saveFile(target, pattern(100, 3));
        EXPECT_EQ(problem.error, c.error);
        if (c.error == FileError::System) {
            EXPECT_EQ(problem.reason, c.reason);
        }
        EXPECT_EQ(fs::symlink_status(target).type(), typeBefore);
        EXPECT_EQ(dir.names(), namesBefore);
    }
}

TEST(SaveFile, WritesThroughALinkAndUnderAnyName) {
    TempFolder dir;
    put(dir.path / "real.dat", pattern(10, 4));
    fs::create_symlink("real.dat", dir.path / "link.dat");
    ASSERT_FALSE(saveFile(dir.path / "link.dat", pattern(20, 5)));
    EXPECT_TRUE(fs::is_symlink(dir.path / "link.dat"));
    EXPECT_EQ(contents(dir.path / "real.dat"), pattern(20, 5));

    // Names are bytes: one written on a GBK system is not valid UTF-8 and must still round trip.
    for (const char* name : {"\xB2\xE2\xCA\xD4.dat", "-starts-with-a-dash.dat", "\xE4\xB8\xAD.dat"}) {
        const fs::path p = dir.path / name;
        ASSERT_FALSE(saveFile(p, pattern(30, 6))) << name;
        const ReadResult back = readFile(p, 100);
        EXPECT_FALSE(back.problem);
        EXPECT_EQ(back.bytes, pattern(30, 6));
    }
}

TEST(ReadFile, RefusesSpecialFilesAtOnce) {
    struct Case {
        const char* name;
        std::function<fs::path(const fs::path&)> make;
        FileError error;
    } const cases[] = {
        // Opened plainly, a pipe without a writer would wait for ever.
        {"pipe",
         [](const fs::path& d) {
             ::mkfifo((d / "t").c_str(), 0600);
             return d / "t";
         },
         FileError::NotRegular},
        {"endless device", [](const fs::path&) { return fs::path("/dev/zero"); }, FileError::NotRegular},
        {"folder", [](const fs::path& d) { return d; }, FileError::NotRegular},
        {"socket",
         [](const fs::path& d) {
             makeSocket(d / "t");
             return d / "t";
         },
         FileError::NotRegular},
        {"missing", [](const fs::path& d) { return d / "none.dat"; }, FileError::System},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        const ReadResult r = readFile(c.make(dir.path), 1000);
        EXPECT_EQ(r.problem.error, c.error);
        EXPECT_TRUE(r.bytes.empty());
    }
}
