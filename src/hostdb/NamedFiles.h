// The programs' own short-named files (tag lists, settings files): listing and finding them by
// bare name, and the rules for a name typed in the save dialog or given on the command line.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hostdb {

// Names (without directory and extension) of the visible files in dir whose extension matches
// without regard to case, in the order of the platform's sorted lists; with signatureCheck only
// tag lists. Hidden (dot) files, unreadable files and directories are left out.
std::vector<std::string> ListNamedFiles(const std::filesystem::path& dir,
                                        std::string_view extension, bool signatureCheck);

// The file of that name and extension in dir, the extension and name in any case.
std::optional<std::filesystem::path>
FindNamedFile(const std::filesystem::path& dir, std::string_view name, std::string_view extension);

// What a key typed into the save dialog's name edit becomes: a-z upper case, 0 when refused (a
// blank, " * + , . / ; < = > ? [ \ ] | and anything from 128 up), any other key as it is.
char32_t FilterSaveNameKey(char32_t key);

// True when every character of text passes FilterSaveNameKey unchanged or upper-cased.
bool IsAcceptableSaveName(std::u32string_view text);

constexpr int MaxSaveNameLength = 8;

// Why the host's platform cannot open a file of this name, as the end of a sentence ("is a
// device name on the host's platform", "may not hold \":\""); empty when it can.
std::string UnopenableNameReason(std::string_view name);

// A name typed for a tag list, checked as the save dialog's keys would be and then whole: name
// receives it upper-cased. False with error set for a blank, control, 8-bit or refused
// character, an empty or too long name, a device name (any case, with or without extension)
// and a name holding ":".
bool CheckTagListName(const std::string& typed, std::string& name, std::string& error);

} // namespace hostdb
