#include "core/strings/strings.h"

#include <cstddef>

namespace norvik::detail {
extern const unsigned char kStringTable[];
extern const std::size_t kStringTable_size;
} // namespace norvik::detail

namespace norvik {
namespace {

std::string unescape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            const char c = s[i + 1];
            const char plain = c == 'n' ? '\n' : c == 't' ? '\t' : c == '\\' ? '\\' : '\0';
            if (plain != '\0') {
                out += plain;
                ++i;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

// -1 unless the whole field is decimal digits (and short enough not to overflow).
int parseId(std::string_view field) {
    if (field.empty() || field.size() > 6)
        return -1;
    int id = 0;
    for (const char c : field) {
        if (c < '0' || c > '9')
            return -1;
        id = id * 10 + (c - '0');
    }
    return id;
}

// "#<id>" for every id a caller may plausibly pass; built once, read-only afterwards.
std::string_view missing(int id) {
    constexpr int kFirst = 0;
    constexpr int kCount = kLastAddedStringId + 2;
    static const std::array<std::string, kCount> names = [] {
        std::array<std::string, kCount> n;
        for (int i = 0; i < kCount; ++i)
            n[i] = "#" + std::to_string(i + kFirst);
        return n;
    }();
    if (id >= kFirst && id < kFirst + kCount)
        return names[id - kFirst];
    return "#?";
}

const StringTable& programTable() {
    static const StringTable table = StringTable::parse(
        std::string_view(reinterpret_cast<const char*>(detail::kStringTable), detail::kStringTable_size));
    return table;
}

} // namespace

StringTable StringTable::parse(std::string_view all) {
    StringTable t;
    while (!all.empty()) {
        const auto eol = all.find('\n');
        std::string_view line = all.substr(0, eol);
        all = eol == std::string_view::npos ? std::string_view{} : all.substr(eol + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        const auto tab1 = line.find('\t');
        if (tab1 == std::string_view::npos)
            continue;
        const int slot = stringSlot(parseId(line.substr(0, tab1)));
        if (slot < 0)
            continue;
        const std::string_view rest = line.substr(tab1 + 1);
        const auto tab2 = rest.find('\t');
        const std::string_view en = rest.substr(0, tab2);
        const std::string_view zh = tab2 == std::string_view::npos ? std::string_view{} : rest.substr(tab2 + 1);
        Entry& e = t.m_entries[static_cast<std::size_t>(slot)];
        e.english = unescape(en);
        e.chinese = unescape(zh);
        e.hasEnglish = true;
        e.hasChinese = !zh.empty();
    }
    return t;
}

const StringTable::Entry* StringTable::find(int id) const {
    const int slot = stringSlot(id);
    if (slot < 0)
        return nullptr;
    const Entry& e = m_entries[static_cast<std::size_t>(slot)];
    return e.hasEnglish ? &e : nullptr;
}

std::string_view StringTable::text(int id, Language lang) const {
    const Entry* e = find(id);
    if (!e)
        return missing(id);
    if (lang == Language::Chinese && e->hasChinese)
        return e->chinese;
    return e->english;
}

bool StringTable::has(int id, Language lang) const {
    const Entry* e = find(id);
    if (!e)
        return false;
    return lang == Language::English || e->hasChinese;
}

std::string_view text(int id, Language lang) {
    return programTable().text(id, lang);
}

std::string textString(int id, Language lang) {
    return std::string(programTable().text(id, lang));
}

bool hasText(int id, Language lang) {
    return programTable().has(id, lang);
}

} // namespace norvik
