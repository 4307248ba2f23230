#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace norvik::io {

// A path for people to read, in UTF-8. A name that is not valid UTF-8 (a name written on a
// system with another code page) shows its undecodable bytes as U+FFFD; it is only shown, never
// turned back into a path.
std::string displayName(const std::filesystem::path& path);
// The UTF-8 text with every byte that does not belong to a valid sequence replaced by U+FFFD.
std::string toValidUtf8(std::string_view bytes);
// A path from a UTF-8 text such as a file dialog returns.
std::filesystem::path pathFromUtf8(std::string_view text);

} // namespace norvik::io
