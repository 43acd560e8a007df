#include "hostdb/HostPath.h"

#include "platform/Directories.h"

namespace hostdb {

std::string JoinHostPath(std::string_view dir, std::string_view name) {
    std::string r(dir);
    bool slashOnly = r.find('\\') == std::string::npos && r.find('/') != std::string::npos;
    if (r.empty() || !platform::IsPathSeparator(r.back())) r += slashOnly ? '/' : '\\';
    r += name;
    return r;
}

std::vector<std::string> SearchPathDirectories(std::string_view pathList) {
    std::vector<std::string> dirs;
    std::string current;
    auto flush = [&] {
        if (!current.empty()) dirs.push_back(JoinHostPath(current, ""));
        current.clear();
    };
    for (char c : pathList) {
        if (c == ';')
            flush();
        else if (c != ' ')
            current += c;
    }
    flush();
    return dirs;
}

} // namespace hostdb
