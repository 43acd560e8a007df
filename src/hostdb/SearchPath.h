// The search path: the host's ";"-separated list of data directories, blanks anywhere ignored,
// and the two routines that list files on it and find one file on it.
#pragma once

#include "hostdb/HostPath.h"
#include "hostdb/Progress.h"
#include "platform/Directories.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace hostdb {

// A file the host's directory search reports: a regular file (or a link to one) whose name does
// not start with "." and which can be read; directories, hidden and unreadable files are not.
bool IsVisibleFile(const std::filesystem::path& path);

// Windows-style wildcard match ("*", "?") without regard to case.
bool MatchesWildcard(std::string_view name, std::string_view pattern);

class SearchPath {
public:
    SearchPath(std::string_view pathList, const platform::Directories& dirs);

    const std::vector<std::filesystem::path>& LocalDirectories() const { return local_; }

    // Every visible regular file matching pattern, directory by directory, names in order
    // within a directory. Progress after each file counts the files so far (no total); false
    // ends the list there.
    std::vector<std::filesystem::path> ListFiles(std::string_view pattern,
                                                 const Progress& progress = {}) const;

    // The first directory holding a visible, readable file of that name (any case). When none
    // does, fullPath is the last path tried (empty without directories).
    bool FindFile(std::string_view fileName, std::filesystem::path& fullPath);

private:
    std::vector<std::filesystem::path> local_;
    // Per directory: lower-cased name -> name on disk, read once.
    std::vector<std::unordered_map<std::string, std::string>> names_;
    std::vector<bool> indexed_;
};

std::vector<std::filesystem::path> ListFilesOnPath(std::string_view pathList,
                                                   std::string_view pattern,
                                                   const platform::Directories& dirs,
                                                   const Progress& progress = {});
bool FindFileOnPath(std::string_view pathList, std::string_view fileName,
                    const platform::Directories& dirs, std::filesystem::path& fullPath);

// Sorts paths as the host's sorted list box does: by full path without regard to case.
void SortFileList(std::vector<std::filesystem::path>& files);

} // namespace hostdb
