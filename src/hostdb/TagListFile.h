// The host's tag-list files: an ordered index of 512-byte pages holding a B-tree of 26-byte keys,
// built in memory as tickers are added and written in one pass.
#pragma once

#include "platform/Profile.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace hostdb {

class ByteSource;

class TagListFile {
public:
    static constexpr int PageSize = 512;
    static constexpr int KeyLength = 26;
    static constexpr int EntriesPerPage = 16;
    static constexpr int EntrySize = KeyLength + 4;
    static constexpr int FormLength = 19;
    // The host compares only this many characters of a text.
    static constexpr std::size_t MaxTextLength = 8;
    // A list name and a ticker longer than this together would overflow a 26-byte key.
    static constexpr std::size_t MaxNamesLength = 17;
    static constexpr int MaxPosition = 65535; // two bytes in a key
    // The header's signature (followed by a zero byte) and where it stands.
    static constexpr std::string_view Signature = "ordered";
    static constexpr int SignatureOffset = 10;
    // The host judges a file by this much of its head; a shorter file is no tag list.
    static constexpr int SignatureHeadLength = 32;

    // True when the first SignatureHeadLength bytes can be read and the signature stands at its
    // place; what the rest of the file holds does not matter.
    static bool HasSignature(const ByteSource& bytes);

    using Key = std::array<std::uint8_t, KeyLength>;
    using Form = std::array<std::uint8_t, FormLength>;

    TagListFile();
    // Writes the file when tickers were added and Write() has not been called since; errors are
    // dropped here, so call Write() to hear about them.
    ~TagListFile();
    TagListFile(const TagListFile&) = delete;
    TagListFile& operator=(const TagListFile&) = delete;

    // Stores the file name, derives the list name and inserts the ticker's two keys. False, with
    // nothing changed, when a text is empty, the list name and the ticker together are longer
    // than MaxNamesLength or the position is outside 0..MaxPosition.
    bool AddTicker(std::string_view fileName, std::string_view ticker, int position);

    // Writes the file whole or not at all; nothing when no file name was ever stored. Throws
    // std::runtime_error naming the path and the reason (also when NoReplace finds the name
    // taken).
    void Write(platform::WriteMode mode = platform::WriteMode::Replace);

    // The bytes Write() puts in the file.
    std::string Bytes() const;

    const std::string& FileName() const { return fileName_; }
    const std::string& ListName() const { return listName_; }
    int PageCount() const;

    // The file name without directory and without everything from its first ".", upper case.
    static std::string ListNameOf(std::string_view fileName);
    // Keys for texts of up to MaxTextLength characters. Kind 0: list, number, ticker.
    static Key ListOrderKey(std::string_view list, int number, std::string_view ticker);
    // Kind 1: ticker, list, number.
    static Key TickerOrderKey(std::string_view ticker, std::string_view list, int number);
    static Form ComparisonForm(const Key& key);
    static int CompareKeys(const Key& a, const Key& b);

private:
    struct Entry {
        Key key{};
        std::int32_t value = 0;
    };
    using Page = std::array<std::uint8_t, PageSize>;

    Page& P(int page);
    const Page& P(int page) const;
    int CreatePage(int type);
    void Insert(const Key& key);
    struct Position {
        int index;
        int child;
    };
    Position FindPosition(int page, const Key& key) const;
    void ResolveOverflow(int page, const Entry& e, int at);
    bool Share(int left, int right, int full, const Entry& e, int at);
    void Split(int page, const Entry& e, int at);

    std::vector<Entry> Entries(int page) const;
    void SetEntries(int page, const std::vector<Entry>& all, std::size_t from, std::size_t count);
    void InsertAt(int page, int at, const Entry& e);
    void AdoptChildren(int page);

    Page header_{};
    std::vector<std::unique_ptr<Page>> pages_; // index = page number; 0 is the header's
    std::string fileName_;
    std::string listName_;
    bool unwritten_ = false;
};

// HasSignature of the file at path; a file that cannot be opened or read is no tag list.
bool IsTagListFile(const std::filesystem::path& path);

} // namespace hostdb
