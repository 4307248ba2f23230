#pragma once

#include <string>
#include <vector>

#include "core/image/radio_image.h"
#include "core/strings/strings.h"

namespace norvik {

// One setting of the option pages as the options window names and shows it.
struct NamedSetting {
    std::string name;  // the field's caption ("Squelch Level", "Fast Call List 3")
    std::string value; // the text or list entry the field shows; "On"/"Off" for a check box
};

// The option pages in the window's order: Function Setting, PTT ID Setting, Common Set, DTMF,
// 2-Tone, 5-Tone, MSK.
inline constexpr int kOptionPageCount = 7;

std::string optionPageTitle(int page, Language lang);
// The settings of a page as an image holds them. Every image gives the same names in the same order.
std::vector<NamedSetting> namedSettings(int page, const RadioImage& image, Language lang, char decimalSeparator);
// Stores a page as `from` holds it into `into`, the way the page's Save does: only its own bits.
void copyOptionPage(int page, const RadioImage& from, RadioImage& into, Language lang);

} // namespace norvik
