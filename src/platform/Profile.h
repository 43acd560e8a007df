// Private-profile (ini) files with the host platform's semantics: case-insensitive sections and
// keys, trimmed values, and writes that change one line and replace the file atomically.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

class Profile {
public:
    explicit Profile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& Path() const { return path_; }

    // The value of the first matching key in the first matching section, trimmed, with one pair
    // of surrounding quotes dropped; the default when the file, section or key is missing.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def) const;

    // A value that is not a whole number (after trimming) gives the default.
    int ReadInteger(std::string_view section, std::string_view key, int def) const;

    // Sets key=value, creating the file and the section when missing; all other bytes of the
    // file stay as they were. False when the file could not be written; the old file is then
    // untouched.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);

    // The same for several keys of one section in order, with one replacement of the file.
    bool WriteStrings(std::string_view section,
                      const std::vector<std::pair<std::string, std::string>>& values);

private:
    std::filesystem::path path_;
};

// The rules of Profile on the text of a file, for callers (and fuzz targets) that hold it.
std::string ReadProfileText(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view def);
std::string WriteProfileText(const std::string& text, std::string_view section,
                             std::string_view key, std::string_view value);

// Writes data to path completely or not at all: a temporary file in the same directory is
// flushed and then renamed over the target.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view data);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::filesystem::path& path, std::string& data);

} // namespace platform
