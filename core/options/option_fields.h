#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace norvik {

// What a text field of the options pages does with one typed or pasted character: drops it
// (nothing) or inserts the returned character, which may be the typed one upper-cased.
using KeyFilter = std::optional<char> (*)(char);

std::optional<char> digitKey(char c);
// "0"-"9", "A"-"D", "#", "*"; "a"-"d" go in upper case.
std::optional<char> dtmfKey(char c);
// Space, "*", "+", "-", "0"-"9", "A"-"Z"; "a"-"z" go in upper case.
std::optional<char> powerOnMessageKey(char c);
// Any printable ASCII character; "a"-"z" go in upper case.
std::optional<char> mskNameKey(char c);

// The text as the filter lets it in, character by character (what a paste inserts).
std::string filterText(std::string_view text, KeyFilter filter);

// The number at the start of a text (0 when there is none), rounded to an integer. Huge numbers
// are held to +-1e9 so that no field's arithmetic can overflow.
int leadingInteger(std::string_view text);

} // namespace norvik
