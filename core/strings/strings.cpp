#include "strings/strings.h"

#include <array>
#include <cstddef>

namespace norvik::detail {
extern const unsigned char kStringTable[];
extern const std::size_t kStringTable_size;
} // namespace norvik::detail

namespace norvik {
namespace {

constexpr int kFirstId = 1000;
constexpr int kLastId = 1726;
constexpr int kCount = kLastId - kFirstId + 1;

struct Entry {
    std::string_view english;
    std::string_view chinese;
    bool hasEnglish = false;
    bool hasChinese = false;
};

using Table = std::array<Entry, kCount>;

// Lines are "id<TAB>English<TAB>Chinese"; "#" starts a comment; "\n" in a text is a line break.
// The views point into unescaped copies held by the table itself.
struct ParsedTable {
    Table entries{};
    std::array<std::string, kCount * 2> storage{};
};

std::string unescape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            char c = s[i + 1];
            if (c == 'n') {
                out += '\n';
                ++i;
                continue;
            }
            if (c == 't') {
                out += '\t';
                ++i;
                continue;
            }
            if (c == '\\') {
                out += '\\';
                ++i;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

ParsedTable parse() {
    ParsedTable t;
    std::string_view all(reinterpret_cast<const char*>(detail::kStringTable), detail::kStringTable_size);
    while (!all.empty()) {
        auto eol = all.find('\n');
        std::string_view line = all.substr(0, eol);
        all = eol == std::string_view::npos ? std::string_view{} : all.substr(eol + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        auto tab1 = line.find('\t');
        if (tab1 == std::string_view::npos)
            continue;
        int id = 0;
        for (char c : line.substr(0, tab1)) {
            if (c < '0' || c > '9') {
                id = -1;
                break;
            }
            id = id * 10 + (c - '0');
        }
        if (id < kFirstId || id > kLastId)
            continue;
        std::string_view rest = line.substr(tab1 + 1);
        auto tab2 = rest.find('\t');
        std::string_view en = rest.substr(0, tab2);
        std::string_view zh = tab2 == std::string_view::npos ? std::string_view{} : rest.substr(tab2 + 1);
        const int slot = id - kFirstId;
        t.storage[slot * 2] = unescape(en);
        t.storage[slot * 2 + 1] = unescape(zh);
        t.entries[slot].hasEnglish = true;
        t.entries[slot].hasChinese = tab2 != std::string_view::npos && !zh.empty();
    }
    for (int i = 0; i < kCount; ++i) {
        t.entries[i].english = t.storage[i * 2];
        t.entries[i].chinese = t.storage[i * 2 + 1];
    }
    return t;
}

const ParsedTable& table() {
    static const ParsedTable parsed = parse(); // immutable after the first call
    return parsed;
}

const Entry* find(int id) {
    if (id < kFirstId || id > kLastId)
        return nullptr;
    const Entry& e = table().entries[id - kFirstId];
    return e.hasEnglish ? &e : nullptr;
}

std::string_view missing(int id) {
    static const std::array<std::string, 2000> names = [] {
        std::array<std::string, 2000> n;
        for (int i = 0; i < 2000; ++i)
            n[i] = "#" + std::to_string(i + 1000);
        return n;
    }();
    if (id >= 1000 && id < 3000)
        return names[id - 1000];
    return "#?";
}

} // namespace

std::string_view text(int id, Language lang) {
    const Entry* e = find(id);
    if (!e)
        return missing(id);
    if (lang == Language::Chinese && e->hasChinese)
        return e->chinese;
    return e->english;
}

std::string textString(int id, Language lang) {
    return std::string(text(id, lang));
}

bool hasText(int id, Language lang) {
    const Entry* e = find(id);
    if (!e)
        return false;
    return lang == Language::English ? true : e->hasChinese;
}

} // namespace norvik
