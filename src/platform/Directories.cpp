#include "platform/Directories.h"

#include "platform/Text.h"

#include <cstdlib>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace platform {

namespace {

fs::path HomeDirectory() {
    const char* home = std::getenv("HOME");
    return home && *home ? fs::path(home) : fs::path("/");
}

fs::path EnvOr(const char* name, const fs::path& fallback) {
    const char* v = std::getenv(name);
    return v && *v ? fs::path(v) : fallback;
}

} // namespace

Directories Directories::FromEnvironment() {
    Directories d;
    d.winePrefix = EnvOr("WINEPREFIX", HomeDirectory() / ".wine");
    d.windows = d.winePrefix / "drive_c" / "windows";
    d.settings = EnvOr("XDG_CONFIG_HOME", HomeDirectory() / ".config");
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) {
        d.program = fs::current_path(ec);
        return d;
    }
    d.program = ProgramDirectory(
        exe,
        [](const char* name) {
            const char* v = std::getenv(name);
            return std::string(v ? v : "");
        },
        [](const fs::path& p) {
            std::error_code err;
            return fs::is_directory(p, err);
        });
    return d;
}

fs::path Directories::ProgramDirectory(const fs::path& exe,
                                       const std::function<std::string(const char*)>& getenv,
                                       const std::function<bool(const fs::path&)>& isDirectory) {
    const fs::path exeDir = exe.parent_path();
    const fs::path prefix = exeDir.parent_path();
    const bool installed = exeDir.filename() == "bin" && !prefix.empty() && prefix != exeDir &&
                           isDirectory(prefix / "share" / "zolt");
    if (!installed) return exeDir;
    // XDG treats a relative value as unset.
    fs::path dataHome = getenv("XDG_DATA_HOME");
    if (dataHome.empty() || dataHome.is_relative()) {
        fs::path home = getenv("HOME");
        if (home.empty()) home = "/";
        dataHome = home / ".local" / "share";
    }
    return dataHome / "zolt";
}

void Directories::SetWindowsDirectory(const fs::path& dir) {
    windows = dir;
    if (dir.empty()) return;
    fs::path abs = fs::absolute(dir).lexically_normal();
    if (abs.has_filename() == false) abs = abs.parent_path();
    if (EqualNoCase(abs.filename().string(), "windows") &&
        EqualNoCase(abs.parent_path().filename().string(), "drive_c"))
        winePrefix = abs.parent_path().parent_path();
}

std::optional<fs::path> FindNoCase(const fs::path& dir, std::string_view name) {
    std::error_code ec;
    fs::path exact = dir / std::string(name);
    if (fs::exists(exact, ec)) return exact;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (EqualNoCase(it->path().filename().string(), name)) return it->path();
    }
    return std::nullopt;
}

fs::path Directories::FileInDirectory(const fs::path& dir, std::string_view name) {
    return FindNoCase(dir, name).value_or(dir / std::string(name));
}

fs::path Directories::LocalPath(std::string_view hostPath) const {
    // Each component's path, so that ".." goes back lexically and never above the root of a
    // drive or of the file system, as on the host's platform.
    std::vector<fs::path> levels;
    fs::path root;
    size_t pos = 0;
    if (hostPath.size() >= 2 && hostPath[1] == ':' &&
        ((hostPath[0] >= 'A' && hostPath[0] <= 'Z') ||
         (hostPath[0] >= 'a' && hostPath[0] <= 'z'))) {
        char drive = AsciiLower(hostPath[0]);
        root = winePrefix / "dosdevices" / (std::string(1, drive) + ":");
        std::error_code ec;
        if (drive == 'c' && !fs::exists(root, ec)) root = winePrefix / "drive_c";
        pos = 2;
    } else if (!hostPath.empty() && IsPathSeparator(hostPath[0])) {
        root = "/";
    }
    auto current = [&] { return levels.empty() ? root : levels.back(); };
    while (pos < hostPath.size()) {
        while (pos < hostPath.size() && IsPathSeparator(hostPath[pos])) ++pos;
        size_t end = pos;
        while (end < hostPath.size() && !IsPathSeparator(hostPath[end])) ++end;
        if (end == pos) break;
        std::string_view part = hostPath.substr(pos, end - pos);
        pos = end;
        if (part == ".") continue;
        if (part == "..") {
            if (!levels.empty() && levels.back().filename() != "..")
                levels.pop_back();
            else if (root.empty()) // a relative path may start above its directory
                levels.push_back(current() / "..");
            continue;
        }
        fs::path here = current();
        levels.push_back(here.empty() ? fs::path(std::string(part)) : FileInDirectory(here, part));
    }
    return current();
}

} // namespace platform
