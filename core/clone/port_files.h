#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace norvik {

// The name a read from several ports saves a port's image under, without ".dat": the device
// without its "/dev/" (or "\\.\"), further separators made dashes ("ttyUSB0", "pts-3", "COM23").
std::string portFileStem(std::string_view device);

// A file name in a folder of reads: the port's stem and the time ("ttyUSB0 2026-12-08 023000.dat"),
// with " (2)", " (3)" … added while `taken` says the name is in use, so no file is ever overwritten.
std::string portReadFileName(std::string_view device, std::string_view time,
                             const std::function<bool(const std::string&)>& taken);

} // namespace norvik
