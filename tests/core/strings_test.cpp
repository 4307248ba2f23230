#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>

#include "core/helpers.h"
#include "core/strings/string_ids.h"
#include "core/strings/strings.h"

using namespace norvik;
namespace fs = std::filesystem;

namespace {

constexpr int kEnglishOnlyId = ids::VoxLevel; // the one entry that has no Chinese text

std::string readSource(const fs::path& relative) {
    const test::Bytes bytes = test::readFile(fs::path(NORVIK_SOURCE_DIR) / relative);
    return std::string(bytes.begin(), bytes.end());
}

// Checks every id matched by `pattern` (group `group`) in `source`; returns how many.
int expectBothLanguages(const std::string& source, const std::regex& pattern, int group, const std::string& where) {
    int count = 0;
    for (std::sregex_iterator it(source.begin(), source.end(), pattern), end; it != end; ++it, ++count) {
        const int id = std::stoi((*it)[group]);
        EXPECT_TRUE(hasText(id, Language::English)) << id << " in " << where << " has no English text";
        if (id != kEnglishOnlyId) {
            EXPECT_TRUE(hasText(id, Language::Chinese)) << id << " in " << where << " has no Chinese text";
        }
    }
    return count;
}

} // namespace

TEST(StringTable, EveryIdUsedInCodeExistsInBothLanguages) {
    const std::regex named(R"(constexpr\s+int\s+\w+\s*=\s*(\d+)\s*;)");
    EXPECT_GT(expectBothLanguages(readSource("core/strings/string_ids.h"), named, 1, "string_ids.h"), 100);
    EXPECT_EQ(text(kEnglishOnlyId, Language::Chinese), "VOX Level"); // falls back to English

    // Numeric ids in calls; a member call such as table.text(0, col) is a cell, not a string id.
    const std::regex call(R"((?:^|[^.>\w])(?:q?text|textString)\(\s*(\d+))");
    for (const char* folder : {"core", "app", "cli", "transport"}) {
        if (!fs::exists(fs::path(NORVIK_SOURCE_DIR) / folder))
            continue;
        for (const auto& entry : fs::recursive_directory_iterator(fs::path(NORVIK_SOURCE_DIR) / folder)) {
            const auto ext = entry.path().extension();
            if (entry.is_regular_file() && (ext == ".cpp" || ext == ".h")) {
                const fs::path rel = entry.path().lexically_relative(NORVIK_SOURCE_DIR);
                expectBothLanguages(readSource(rel), call, 1, rel.string());
            }
        }
    }
}

TEST(StringTable, ResourceFileIsSortedWithoutRepeatedIds) {
    std::istringstream lines(readSource("resources/strings.tsv"));
    int previous = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        const int id = std::stoi(line.substr(0, line.find('\t')));
        EXPECT_GT(id, previous) << "line: " << line;
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 2) << "line: " << line;
        previous = id;
    }
}

TEST(StringTable, ParserHandlesTheFileFormat) {
    const StringTable t = StringTable::parse("# a comment\t1001\tnot an entry\n"
                                             "1000\tFile\t文件\r\n"
                                             "1001\tTwo\\nlines\t两\\n行\n"
                                             "1002\tEnglish only\n"
                                             "1003\tEmpty Chinese\t\r\n"
                                             "1004\tBack\\\\slash\t\n"
                                             "abc\tnot an id\tx\n"
                                             "2000\tout of range\tx\n"
                                             "3000\tAdded\t加\n"
                                             "4000\tout of range\tx\n"
                                             "1005\tno line end\t末");
    struct Case {
        int id;
        Language lang;
        const char* expected;
        bool present;
    };
    const Case cases[] = {
        {1000, Language::Chinese, "文件", true}, // CR of CR LF dropped
        {1001, Language::English, "Two\nlines", true},
        {1001, Language::Chinese, "两\n行", true},
        {1002, Language::Chinese, "English only", false},
        {1003, Language::English, "Empty Chinese", true},
        {1003, Language::Chinese, "Empty Chinese", false},
        {1004, Language::English, "Back\\slash", true},
        {1005, Language::Chinese, "末", true},
        {1099, Language::Chinese, "#1099", false},
        {2000, Language::English, "#2000", false},
        {3000, Language::Chinese, "加", true},
        {4000, Language::English, "#4000", false},
        {1726, Language::English, "#1726", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(t.text(c.id, c.lang), c.expected);
        EXPECT_EQ(t.has(c.id, c.lang), c.present);
    }
}
