// The directory side of the named-file dialogs: the bare names of one kind of file, the
// tag-list signature, and the characters a typed name may hold.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// A file whose first 32 bytes can be read and whose bytes 10 to 16 read "ordered".
bool IsTagListFile(const std::filesystem::path& path);

// Names (without directory and extension) of the ordinary files in dir whose extension matches
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

} // namespace ui
