// Private-profile (ini) files with the host platform's semantics: case-insensitive sections and
// keys, trimmed values, and writes that change one line and replace the file atomically.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// Ini and settings files larger than this are refused rather than read: a hand-made or hostile
// file must not hold the program for long or exhaust its memory.
constexpr std::uint64_t MaxProfileSize = 1024 * 1024;
// The reason ReadRegularFile gives for a name with no file.
inline constexpr std::string_view MissingFileReason = "does not exist";

// The first value of every key in the first of each section, as the host's lookup finds it.
class ProfileIndex {
public:
    explicit ProfileIndex(std::string_view text);
    // Trimmed, one pair of surrounding quotes dropped; nullptr when the section or key is missing.
    const std::string* Find(std::string_view section, std::string_view key) const;

private:
    struct Impl;
    std::shared_ptr<const Impl> impl_;
};

class Profile {
public:
    explicit Profile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& Path() const { return path_; }

    // The file is read once, on the first lookup; later lookups take their keys from that read.
    // The value of the first matching key in the first matching section, trimmed, with one pair
    // of surrounding quotes dropped; the default when the file, section or key is missing.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def) const;

    // A value that is not a whole number (after trimming) gives the default.
    int ReadInteger(std::string_view section, std::string_view key, int def) const;

    // Why the file could not be read ("does not exist", "is a directory", "is larger than 1 MB",
    // the system's reason); empty when it was read. Reading it gives defaults either way.
    const std::string& Problem() const;

    // Sets key=value, creating the file and the section when missing; all other bytes of the
    // file stay as they were. False when the file could not be written; the old file is then
    // untouched.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);

    // The same for several keys of one section in order, with one replacement of the file.
    // The read, the change and the replacement are one step that no other writer of the file
    // through this class interleaves: each waits at most LockWaitMs for the one before it.
    bool WriteStrings(std::string_view section,
                      const std::vector<std::pair<std::string, std::string>>& values);
    static constexpr int LockWaitMs = 5000;

    // Why a write through this object failed, in words (the first reason); empty while none has.
    const std::string& WriteProblem() const { return writeProblem_; }

private:
    void Load() const;
    void Failed(std::string reason) {
        if (writeProblem_.empty()) writeProblem_ = std::move(reason);
    }

    std::filesystem::path path_;
    mutable bool loaded_ = false;
    mutable std::string problem_;
    std::string writeProblem_;
    mutable std::unique_ptr<ProfileIndex> index_;
};

// A whole number read from a file, made safe for arithmetic: inside low..high it stays; outside,
// it is clamped into the range, or, when `clamp` is false (a choice from a list), it is def.
inline int IntegerInRange(int value, int def, int low, int high, bool clamp) {
    if (value >= low && value <= high) return value;
    if (!clamp) return def;
    return value < low ? low : high;
}

// The rules of Profile on the text of a file, for callers (and fuzz targets) that hold it.
std::string ReadProfileText(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view def);
std::string WriteProfileText(const std::string& text, std::string_view section,
                             std::string_view key, std::string_view value);

enum class WriteMode {
    Replace,   // an existing file of that name is replaced
    NoReplace, // fails with EEXIST when the name exists, also as a dangling link
};

// Writes data to path completely or not at all. The data goes to an unnamed file in the target's
// directory that appears under the name only when whole, so an interrupted write leaves nothing
// behind. A name that is a symbolic link keeps being one: the file it points to is written. A
// new file gets 0666 less the umask; a replaced one keeps its permission bits, less set-user-ID
// and set-group-ID. Only a regular file is ever replaced: a device, FIFO, socket or directory in
// the name's place, or at the end of its links, is refused and left as it is. False with errno
// set on failure, and the reason in words in `problem` when given.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view data,
                         WriteMode mode = WriteMode::Replace, std::string* problem = nullptr);

// Reads a whole regular file of at most maxSize bytes without ever blocking on a FIFO or device.
// False with the reason in words ("is a FIFO", "does not exist", "is larger than 1 MB", ...).
bool ReadRegularFile(const std::filesystem::path& path, std::string& data, std::string& reason,
                     std::uint64_t maxSize = UINT64_MAX);

// Opens a file for reading only when it is a regular file, never blocking on a FIFO or device;
// -1 with the reason in words otherwise. The caller closes the descriptor.
int OpenRegularFile(const std::filesystem::path& path, std::string& reason);

// "1 MB", "512 KB", "100 bytes": a size limit in words.
std::string SizeText(std::uint64_t bytes);

} // namespace platform
