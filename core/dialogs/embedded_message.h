#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace norvik {

// What typing or pasting `typed` into the message box puts there, given the box holds `length`
// characters of which `selected` are selected (and replaced). Only codes a message byte can hold
// go in: nothing above 255, no control codes and not 255 itself (that byte marks an empty
// position and would vanish). What does not fit into the 16 characters is cut off, so a
// character typed into a full box without a selection gives nothing.
std::u32string messageInsertion(std::size_t length, std::size_t selected, std::u32string_view typed);

} // namespace norvik
