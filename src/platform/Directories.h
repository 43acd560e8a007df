// Where the host's and the programs' files live on this platform, and how the host's Windows
// paths map onto local ones (Wine drive mappings, either separator, case-insensitive names).
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct Directories {
    std::filesystem::path winePrefix; // drive letters resolve through winePrefix/dosdevices
    std::filesystem::path windows;    // "Qel32.Ini", "QelChart.Ini", "WIN.INI"
    std::filesystem::path settings;   // holds the maker-wide settings file
    std::filesystem::path program;    // data sets, settings files, help

    // From $WINEPREFIX (default ~/.wine), $XDG_CONFIG_HOME (default ~/.config) and the running
    // executable; the program directory as ProgramDirectory decides (made by its first writer).
    static Directories FromEnvironment();

    // The program's own directory for the executable at exe: $XDG_DATA_HOME/zolt (default
    // ~/.local/share/zolt) when installed, i.e. exe is PREFIX/bin/NAME and PREFIX/share/zolt is
    // a directory; otherwise (build tree, portable copy) the executable's directory.
    static std::filesystem::path
    ProgramDirectory(const std::filesystem::path& exe,
                     const std::function<std::string(const char* name)>& getenv,
                     const std::function<bool(const std::filesystem::path&)>& isDirectory);

    // Uses dir as the Windows directory; a dir of the form PREFIX/drive_c/windows also moves
    // the Wine prefix to PREFIX, so the drives of that installation are used.
    void SetWindowsDirectory(const std::filesystem::path& dir);

    // The local path of a host path: "X:\..." through winePrefix/dosdevices/x:, an absolute
    // Unix path as it is, "\" and "/" both separating. Components that do not exist as written
    // are matched without regard to case.
    std::filesystem::path LocalPath(std::string_view hostPath) const;

    // The local path of a file named by the host (any case) in dir; dir/name when none exists.
    static std::filesystem::path FileInDirectory(const std::filesystem::path& dir,
                                                 std::string_view name);
};

// The entry of dir whose name equals name without regard to case, preferring an exact match.
std::optional<std::filesystem::path> FindNoCase(const std::filesystem::path& dir,
                                                std::string_view name);

// True for the host's path separators.
inline bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

} // namespace platform
