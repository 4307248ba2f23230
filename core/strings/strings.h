#pragma once

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

// Texts are looked up by their English id (1000..1726); the Chinese text of the same item is
// stored under id + 1000. A missing Chinese text falls back to the English one, a missing id to
// "#<id>" so a gap shows on screen instead of a blank caption.
std::string_view text(int id, Language lang);
std::string textString(int id, Language lang);

// True when the table holds an entry for the id in that language (the test of completeness uses it).
bool hasText(int id, Language lang);

} // namespace norvik
