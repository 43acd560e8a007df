#include "ui/NamedFiles.h"

#include "platform/Directories.h"
#include "platform/Text.h"

#include <algorithm>
#include <fstream>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace ui {

namespace {

bool EndsWithNoCase(std::string_view name, std::string_view ext) {
    return name.size() >= ext.size() &&
           platform::EqualNoCase(name.substr(name.size() - ext.size()), ext);
}

bool IsOrdinaryFile(const fs::directory_entry& entry) {
    std::error_code ec;
    if (!entry.is_regular_file(ec)) return false;
    std::string name = entry.path().filename().string();
    if (name.empty() || name.front() == '.') return false;
    return ::access(entry.path().c_str(), R_OK) == 0;
}

} // namespace

bool IsTagListFile(const fs::path& path) {
    std::ifstream f(path, std::ios::binary);
    char head[32];
    if (!f.read(head, sizeof head)) return false;
    return std::string_view(head + 10, 7) == "ordered";
}

std::vector<std::string> ListNamedFiles(const fs::path& dir, std::string_view extension,
                                        bool signatureCheck) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (!IsOrdinaryFile(*it)) continue;
        std::string file = it->path().filename().string();
        if (!EndsWithNoCase(file, extension) || file.size() == extension.size()) continue;
        if (signatureCheck && !IsTagListFile(it->path())) continue;
        names.push_back(file.substr(0, file.size() - extension.size()));
    }
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return platform::LessNoCase(a, b);
    });
    return names;
}

std::optional<fs::path> FindNamedFile(const fs::path& dir, std::string_view name,
                                      std::string_view extension) {
    std::string file = std::string(name) + std::string(extension);
    std::optional<fs::path> found = platform::FindNoCase(dir, file);
    std::error_code ec;
    if (found && fs::is_regular_file(*found, ec)) return found;
    return std::nullopt;
}

char32_t FilterSaveNameKey(char32_t key) {
    if (key >= U'a' && key <= U'z') return key - U'a' + U'A';
    if (key >= 128) return 0;
    switch (key) {
    case U' ':
    case U'"':
    case U'*':
    case U'+':
    case U',':
    case U'.':
    case U'/':
    case U';':
    case U'<':
    case U'=':
    case U'>':
    case U'?':
    case U'[':
    case U'\\':
    case U']':
    case U'|': return 0;
    default: return key;
    }
}

bool IsAcceptableSaveName(std::u32string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char32_t c) { return c >= 32 && FilterSaveNameKey(c) != 0; });
}

} // namespace ui
