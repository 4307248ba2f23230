#include "core/datafile/recent_files.h"

#include <algorithm>

namespace norvik {

std::vector<std::filesystem::path> withRecentFile(std::vector<std::filesystem::path> list,
                                                  const std::filesystem::path& path) {
    const std::filesystem::path entry = path.lexically_normal();
    std::erase_if(list, [&](const std::filesystem::path& p) { return p.lexically_normal() == entry; });
    list.insert(list.begin(), entry);
    if (list.size() > kRecentFileCount)
        list.resize(kRecentFileCount);
    return list;
}

} // namespace norvik
