#include "hostdb/NamedFiles.h"

#include "hostdb/SearchPath.h"
#include "hostdb/TagListFile.h"
#include "platform/Directories.h"
#include "platform/Text.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <system_error>

namespace fs = std::filesystem;

namespace hostdb {

namespace {

bool EndsWithNoCase(std::string_view name, std::string_view ext) {
    return name.size() >= ext.size() &&
           platform::EqualNoCase(name.substr(name.size() - ext.size()), ext);
}

std::string CharacterText(unsigned char c) {
    if (c == ' ') return "a blank";
    if (c < 32 || c >= 127) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", c);
        return std::string("the character ") + hex;
    }
    return "\"" + std::string(1, static_cast<char>(c)) + "\"";
}

bool IsDeviceName(std::string_view name) {
    // The platform opens the device whatever extension follows.
    std::string_view stem = name.substr(0, name.find('.'));
    static constexpr std::array<std::string_view, 4> Plain = {"CON", "PRN", "AUX", "NUL"};
    for (std::string_view device : Plain)
        if (platform::EqualNoCase(stem, device)) return true;
    if (stem.size() != 4 || stem[3] < '1' || stem[3] > '9') return false;
    return platform::EqualNoCase(stem.substr(0, 3), "COM") ||
           platform::EqualNoCase(stem.substr(0, 3), "LPT");
}

} // namespace

std::vector<std::string> ListNamedFiles(const fs::path& dir, std::string_view extension,
                                        bool signatureCheck) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (!IsVisibleFile(it->path())) continue;
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

std::string UnopenableNameReason(std::string_view name) {
    if (IsDeviceName(name)) return "is a device name on the host's platform";
    // A drive or stream separator there, so the key filter lets it through but no file opens.
    if (name.find(':') != std::string_view::npos) return "may not hold \":\"";
    return {};
}

bool CheckTagListName(const std::string& typed, std::string& name, std::string& error) {
    name.clear();
    for (char ch : typed) {
        auto c = static_cast<unsigned char>(ch);
        // Control characters never reach the dialog's edit, so they are refused here too.
        if (c <= ' ' || c >= 127 || FilterSaveNameKey(c) == 0) {
            error = "the list name \"" + typed + "\" may not hold " + CharacterText(c);
            return false;
        }
        name += static_cast<char>(FilterSaveNameKey(c));
    }
    if (name.empty()) {
        error = "the list name is empty";
        return false;
    }
    if (name.size() > static_cast<std::size_t>(MaxSaveNameLength)) {
        error = "the list name \"" + typed + "\" is longer than 8 characters";
        return false;
    }
    if (std::string reason = UnopenableNameReason(name); !reason.empty()) {
        error = "the list name \"" + typed + "\" " + reason;
        return false;
    }
    return true;
}

} // namespace hostdb
