#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace norvik {

enum class Language : std::uint8_t { English = 0, Chinese = 1 };

// The language index as stored in the settings: 0 English, 1 Chinese.
constexpr int languageIndex(Language lang) {
    return static_cast<int>(lang);
}
constexpr Language languageFromIndex(int index) {
    return index == 1 ? Language::Chinese : Language::English;
}

inline constexpr int kFirstStringId = 1000;
// Ids up to 1726 are the numbered captions and messages; texts added since take 1727..1999, then
// 3000..3999. 2000..2999 stay unused: in the old numbering a caption's Chinese text had its id
// plus 1000, and a table from there must not land on our texts.
inline constexpr int kLastStringId = 1999;
inline constexpr int kFirstAddedStringId = 3000;
inline constexpr int kLastAddedStringId = 3999;

// The slot of an id in a table, or -1 for an id outside both ranges.
constexpr int stringSlot(int id) {
    if (id >= kFirstStringId && id <= kLastStringId)
        return id - kFirstStringId;
    if (id >= kFirstAddedStringId && id <= kLastAddedStringId)
        return kLastStringId - kFirstStringId + 1 + id - kFirstAddedStringId;
    return -1;
}
inline constexpr int kStringSlots = kLastStringId - kFirstStringId + 1 + kLastAddedStringId - kFirstAddedStringId + 1;

// A parsed string table. Lines are "id<TAB>English<TAB>Chinese"; "#" starts a comment line; CR LF
// line ends are accepted; "\n", "\t" and "\\" in a text are unescaped. Ids outside both ranges and
// malformed lines are skipped; a later line for the same id replaces the earlier one.
class StringTable {
public:
    static StringTable parse(std::string_view source);

    // A missing Chinese text falls back to the English one, a missing id to "#<id>" so a gap shows
    // on screen instead of a blank caption.
    std::string_view text(int id, Language lang) const;
    bool has(int id, Language lang) const;

private:
    struct Entry {
        std::string english;
        std::string chinese;
        bool hasEnglish = false;
        bool hasChinese = false;
    };
    const Entry* find(int id) const;

    std::array<Entry, kStringSlots> m_entries{};
};

// The program's own table (built from resources/strings.tsv). Texts are looked up by their
// English id; the Chinese text of item n is numbered n + 1000 elsewhere, here both
// live on one line.
std::string_view text(int id, Language lang);
std::string textString(int id, Language lang);

// True when the table holds an entry for the id in that language (the test of completeness uses it).
bool hasText(int id, Language lang);

} // namespace norvik
