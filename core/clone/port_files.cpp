#include "core/clone/port_files.h"

namespace norvik {

std::string portFileStem(std::string_view device) {
    for (const std::string_view prefix : {std::string_view("/dev/"), std::string_view("\\\\.\\")}) {
        if (device.starts_with(prefix)) {
            device.remove_prefix(prefix.size());
            break;
        }
    }
    std::string stem(device);
    for (char& c : stem) {
        if (c == '/' || c == '\\' || c == ':')
            c = '-';
    }
    return stem;
}

std::string portReadFileName(std::string_view device, std::string_view time,
                             const std::function<bool(const std::string&)>& taken) {
    std::string base = portFileStem(device);
    if (!time.empty())
        base += ' ' + std::string(time);
    std::string name = base + ".dat";
    for (int n = 2; taken(name); ++n)
        name = base + " (" + std::to_string(n) + ").dat";
    return name;
}

} // namespace norvik
