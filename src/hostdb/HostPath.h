// Host paths as the host writes them: a directory joined with a name, and the directories of a
// ";"-separated path list. Plain strings, so the Win32 host stand-in shares them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hostdb {

// Joins a host directory and a name with the directory's own separator ("\" unless the
// directory uses "/" only).
std::string JoinHostPath(std::string_view dir, std::string_view name);

// The non-empty directories of a path list, blanks removed, each ending in a separator.
std::vector<std::string> SearchPathDirectories(std::string_view pathList);

} // namespace hostdb
