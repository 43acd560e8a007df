#include "hostdb/SearchPath.h"

#include "platform/Text.h"

#include <algorithm>
#include <unistd.h>

namespace fs = std::filesystem;

namespace hostdb {

bool IsVisibleFile(const fs::path& path) {
    std::string name = path.filename().string();
    if (name.empty() || name[0] == '.') return false;
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return false;
    return ::access(path.c_str(), R_OK) == 0;
}

namespace {

std::string LowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = platform::AsciiLower(c);
    return r;
}

} // namespace

bool MatchesWildcard(std::string_view name, std::string_view pattern) {
    // Iterative match with backtracking to the last "*".
    size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || platform::AsciiLower(pattern[p]) ==
                                                            platform::AsciiLower(name[n]))) {
            ++n, ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

SearchPath::SearchPath(std::string_view pathList, const platform::Directories& dirs) {
    for (const std::string& d : SearchPathDirectories(pathList))
        local_.push_back(dirs.LocalPath(d));
    names_.resize(local_.size());
    indexed_.assign(local_.size(), false);
}

std::vector<fs::path> SearchPath::ListFiles(std::string_view pattern,
                                            const Progress& progress) const {
    std::vector<fs::path> result;
    for (const fs::path& dir : local_) {
        std::vector<fs::path> entries;
        std::error_code ec;
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
            if (MatchesWildcard(it->path().filename().string(), pattern) &&
                IsVisibleFile(it->path()))
                entries.push_back(it->path());
        }
        std::sort(entries.begin(), entries.end(), [](const fs::path& a, const fs::path& b) {
            return platform::LessNoCase(a.filename().string(), b.filename().string());
        });
        for (fs::path& e : entries) {
            result.push_back(std::move(e));
            if (!Report(progress, static_cast<std::int64_t>(result.size()), 0)) return result;
        }
    }
    return result;
}

bool SearchPath::FindFile(std::string_view fileName, fs::path& fullPath) {
    fullPath.clear();
    for (size_t i = 0; i < local_.size(); ++i) {
        fs::path exact = local_[i] / std::string(fileName);
        fullPath = exact;
        // A name from a data set or a grid cell must not lead out of the directory.
        if (fileName.empty() || fileName.find_first_of("/\\") != std::string_view::npos ||
            fileName == "." || fileName == "..")
            continue;
        if (IsVisibleFile(exact)) return true;
        if (!indexed_[i]) {
            std::error_code ec;
            for (fs::directory_iterator it(local_[i], ec), end; !ec && it != end;
                 it.increment(ec)) {
                std::string name = it->path().filename().string();
                names_[i].emplace(LowerCase(name), name);
            }
            indexed_[i] = true;
        }
        auto hit = names_[i].find(LowerCase(fileName));
        if (hit != names_[i].end() && IsVisibleFile(local_[i] / hit->second)) {
            fullPath = local_[i] / hit->second;
            return true;
        }
    }
    return false;
}

std::vector<fs::path> ListFilesOnPath(std::string_view pathList, std::string_view pattern,
                                      const platform::Directories& dirs, const Progress& progress) {
    return SearchPath(pathList, dirs).ListFiles(pattern, progress);
}

bool FindFileOnPath(std::string_view pathList, std::string_view fileName,
                    const platform::Directories& dirs, fs::path& fullPath) {
    SearchPath path(pathList, dirs);
    return path.FindFile(fileName, fullPath);
}

void SortFileList(std::vector<fs::path>& files) {
    std::stable_sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
        return platform::LessNoCase(a.string(), b.string());
    });
}

} // namespace hostdb
