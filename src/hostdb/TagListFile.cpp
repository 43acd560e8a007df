#include "hostdb/TagListFile.h"

#include "hostdb/ByteSource.h"
#include "platform/Profile.h"
#include "platform/Text.h"

#include <cstring>
#include <stdexcept>

namespace hostdb {

namespace {

using Page = std::array<std::uint8_t, TagListFile::PageSize>;

// Header fields.
constexpr int HdrMagic = 0, HdrPageCount = 6, HdrSignature = TagListFile::SignatureOffset,
              HdrOne = 42, HdrRoot = 44, HdrKeyLength = 48, HdrEntries = 50, HdrFirstLeaf = 52,
              HdrLastLeaf = 56;
// Tree page fields.
constexpr int PgType = 0, PgParent = 2, PgPrev = 6, PgNext = 10, PgCount = 14, PgLeftmost = 16,
              PgEntries = 20;
constexpr int Leaf = 0, Inner = 1;
constexpr std::uint8_t NumberMark = 'B';

std::int32_t Get32(const Page& p, int at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | p[static_cast<std::size_t>(at + i)];
    return static_cast<std::int32_t>(v);
}

void Put32(Page& p, int at, std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) p[static_cast<std::size_t>(at + i)] = (v >> (8 * i)) & 0xFF;
}

int Get16(const Page& p, int at) {
    return static_cast<std::int16_t>(p[static_cast<std::size_t>(at)] |
                                     (p[static_cast<std::size_t>(at + 1)] << 8));
}

void Put16(Page& p, int at, int value) {
    p[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value & 0xFF);
    p[static_cast<std::size_t>(at + 1)] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

int EntryOffset(int i) { return PgEntries + i * TagListFile::EntrySize; }

// Appends texts and numbers in the key's encoding; what does not fit is dropped.
struct KeyWriter {
    TagListFile::Key key{};
    std::size_t at = 0;
    void Byte(std::uint8_t b) {
        if (at < key.size()) key[at++] = b;
    }
    void Text(std::string_view s) {
        Byte(static_cast<std::uint8_t>(s.size() + 32));
        for (char c : s) Byte(static_cast<std::uint8_t>(c));
    }
    void Number(int n) {
        Byte(NumberMark);
        Byte(static_cast<std::uint8_t>(n % 256));
        Byte(static_cast<std::uint8_t>(n / 256));
    }
};

} // namespace

bool TagListFile::HasSignature(const ByteSource& bytes) {
    std::array<char, SignatureHeadLength> head{};
    if (!bytes.IsOpen() || !bytes.ReadAt(0, head.data(), head.size())) return false;
    return std::string_view(head.data() + SignatureOffset, Signature.size()) == Signature;
}

bool IsTagListFile(const std::filesystem::path& path) {
    return TagListFile::HasSignature(FileByteSource(path));
}

TagListFile::TagListFile() {
    Put16(header_, HdrMagic, 329);
    Put32(header_, HdrPageCount, 1);
    std::memcpy(header_.data() + HdrSignature, Signature.data(), Signature.size()); // zero after
    Put16(header_, HdrOne, 1);
    Put16(header_, HdrKeyLength, KeyLength);
    Put16(header_, HdrEntries, EntriesPerPage);
    pages_.emplace_back(); // page 0 is the header
}

TagListFile::~TagListFile() {
    if (!unwritten_) return;
    try {
        Write();
    } catch (...) { // a destructor must not throw
    }
}

int TagListFile::PageCount() const { return Get32(header_, HdrPageCount); }

std::string TagListFile::ListNameOf(std::string_view fileName) {
    std::size_t slash = fileName.find_last_of("\\/");
    if (slash != std::string_view::npos) fileName.remove_prefix(slash + 1);
    return platform::UpperCase(fileName.substr(0, fileName.find('.')));
}

TagListFile::Key TagListFile::ListOrderKey(std::string_view list, int number,
                                           std::string_view ticker) {
    KeyWriter w;
    w.Byte(0xA1);
    w.Byte(0);
    w.Text(list);
    w.Byte(0);
    w.Number(number);
    w.Text(ticker);
    return w.key;
}

TagListFile::Key TagListFile::TickerOrderKey(std::string_view ticker, std::string_view list,
                                             int number) {
    KeyWriter w;
    w.Byte(0xA1);
    w.Byte(1);
    w.Text(ticker);
    w.Byte(0);
    w.Text(list);
    w.Byte(0);
    w.Number(number);
    return w.key;
}

TagListFile::Form TagListFile::ComparisonForm(const Key& key) {
    Form form{};
    // Reads past the key (possible only with a foreign key) see zero.
    auto at = [&](std::size_t i) -> std::uint8_t { return i < key.size() ? key[i] : 0; };
    auto copyText = [&](std::size_t to, std::size_t from, std::size_t length) {
        for (std::size_t i = 0; i < length && i < MaxTextLength; ++i) form[to + i] = at(from + i);
    };
    form[0] = key[1];
    std::size_t n = key[2] % 32;
    copyText(1, 3, n);
    std::size_t p = n + 4, q = 9;
    if (at(p) == NumberMark) {
        form[9] = at(p + 2);
        form[10] = at(p + 1);
        q = 11;
        p = n + 7;
    }
    std::size_t m = at(p) % 32;
    copyText(q, p + 1, m);
    p = p + m + 2;
    if (at(p) == NumberMark && q + 9 < form.size()) {
        form[q + 8] = at(p + 2);
        form[q + 9] = at(p + 1);
    }
    return form;
}

int TagListFile::CompareKeys(const Key& a, const Key& b) {
    Form fa = ComparisonForm(a), fb = ComparisonForm(b);
    return std::memcmp(fa.data(), fb.data(), fa.size());
}

TagListFile::Page& TagListFile::P(int page) {
    return const_cast<Page&>(static_cast<const TagListFile*>(this)->P(page));
}

const TagListFile::Page& TagListFile::P(int page) const {
    if (page <= 0 || static_cast<std::size_t>(page) >= pages_.size())
        throw std::logic_error("tag list: no page " + std::to_string(page));
    return *pages_[static_cast<std::size_t>(page)];
}

int TagListFile::CreatePage(int type) {
    int number = PageCount();
    pages_.push_back(std::make_unique<Page>());
    Put16(P(number), PgType, type);
    Put32(header_, HdrPageCount, number + 1);
    return number;
}

std::vector<TagListFile::Entry> TagListFile::Entries(int page) const {
    const Page& p = P(page);
    std::vector<Entry> all(static_cast<std::size_t>(Get16(p, PgCount)));
    for (std::size_t i = 0; i < all.size(); ++i) {
        int at = EntryOffset(static_cast<int>(i));
        std::memcpy(all[i].key.data(), p.data() + at, KeyLength);
        all[i].value = Get32(p, at + KeyLength);
    }
    return all;
}

void TagListFile::SetEntries(int page, const std::vector<Entry>& all, std::size_t from,
                             std::size_t count) {
    Page& p = P(page);
    std::memset(p.data() + PgEntries, 0, EntriesPerPage * EntrySize);
    for (std::size_t i = 0; i < count; ++i) {
        int at = EntryOffset(static_cast<int>(i));
        std::memcpy(p.data() + at, all[from + i].key.data(), KeyLength);
        Put32(p, at + KeyLength, all[from + i].value);
    }
    Put16(p, PgCount, static_cast<int>(count));
}

void TagListFile::InsertAt(int page, int at, const Entry& e) {
    std::vector<Entry> all = Entries(page);
    all.insert(all.begin() + at, e);
    SetEntries(page, all, 0, all.size());
}

void TagListFile::AdoptChildren(int page) {
    Put32(P(Get32(P(page), PgLeftmost)), PgParent, page);
    for (const Entry& e : Entries(page)) Put32(P(e.value), PgParent, page);
}

TagListFile::Position TagListFile::FindPosition(int page, const Key& key) const {
    const Page& p = P(page);
    Position pos{0, Get32(p, PgLeftmost)};
    for (int count = Get16(p, PgCount); pos.index < count; ++pos.index) {
        int at = EntryOffset(pos.index);
        Key k;
        std::memcpy(k.data(), p.data() + at, KeyLength);
        if (CompareKeys(k, key) >= 0) break;
        pos.child = Get32(p, at + KeyLength);
    }
    return pos;
}

bool TagListFile::AddTicker(std::string_view fileName, std::string_view ticker, int position) {
    if (fileName.empty() || ticker.empty()) return false;
    std::string list = ListNameOf(fileName);
    if (list.empty() || list.size() + ticker.size() > MaxNamesLength || position < 0 ||
        position > MaxPosition)
        return false;
    fileName_ = std::string(fileName);
    listName_ = std::move(list);
    std::string t = platform::UpperCase(ticker);
    Insert(ListOrderKey(listName_, position, t));
    Insert(TickerOrderKey(t, listName_, position));
    unwritten_ = true;
    return true;
}

void TagListFile::Insert(const Key& key) {
    if (Get32(header_, HdrFirstLeaf) == 0) {
        int page = CreatePage(Leaf);
        Put32(header_, HdrRoot, page);
        Put32(header_, HdrFirstLeaf, page);
        Put32(header_, HdrLastLeaf, page);
        SetEntries(page, {Entry{key, 1}}, 0, 1);
        Insert(ListOrderKey("", 0, listName_));
        Insert(TickerOrderKey(listName_, "", 0));
        return;
    }
    int page = Get32(header_, HdrRoot);
    for (;;) {
        Position pos = FindPosition(page, key);
        if (Get16(P(page), PgType) != Leaf) {
            page = pos.child;
            continue;
        }
        if (Get16(P(page), PgCount) < EntriesPerPage)
            InsertAt(page, pos.index, Entry{key, 1});
        else
            ResolveOverflow(page, Entry{key, 1}, pos.index);
        return;
    }
}

void TagListFile::ResolveOverflow(int page, const Entry& e, int at) {
    int prev = Get32(P(page), PgPrev);
    if (prev != 0 && Get16(P(prev), PgCount) < EntriesPerPage && Share(prev, page, page, e, at))
        return;
    int next = Get32(P(page), PgNext);
    if (next != 0 && Get16(P(next), PgCount) < EntriesPerPage && Share(page, next, page, e, at))
        return;
    Split(page, e, at);
}

bool TagListFile::Share(int left, int right, int full, const Entry& e, int at) {
    int parent = Get32(P(left), PgParent);
    if (parent == 0) return false;
    std::vector<Entry> parentEntries = Entries(parent);
    int separator = -1;
    for (std::size_t i = 0; i < parentEntries.size() && separator < 0; ++i)
        if (parentEntries[i].value == right) separator = static_cast<int>(i);
    if (separator < 0) return false; // the right page hangs from the next parent

    std::vector<Entry> all = Entries(left);
    if (full == left) all.insert(all.begin() + at, e);
    all.push_back(
        Entry{parentEntries[static_cast<std::size_t>(separator)].key, Get32(P(right), PgLeftmost)});
    std::vector<Entry> rightEntries = Entries(right);
    if (full == right) rightEntries.insert(rightEntries.begin() + at, e);
    all.insert(all.end(), rightEntries.begin(), rightEntries.end());

    std::size_t t = all.size(), rightCount = t / 2, leftCount = t - t / 2 - 1;
    const Entry& middle = all[leftCount];
    SetEntries(left, all, 0, leftCount);
    SetEntries(right, all, leftCount + 1, rightCount);
    Put32(P(right), PgLeftmost, middle.value);
    std::memcpy(P(parent).data() + EntryOffset(separator), middle.key.data(), KeyLength);
    if (Get16(P(left), PgType) == Inner) {
        AdoptChildren(left);
        AdoptChildren(right);
    }
    return true;
}

void TagListFile::Split(int page, const Entry& e, int at) {
    int type = Get16(P(page), PgType);
    int created = CreatePage(type);
    int next = Get32(P(page), PgNext);
    Put32(P(created), PgNext, next);
    if (next != 0)
        Put32(P(next), PgPrev, created);
    else if (type == Leaf)
        Put32(header_, HdrLastLeaf, created);
    Put32(P(page), PgNext, created);
    Put32(P(created), PgPrev, page);

    std::vector<Entry> all = Entries(page);
    all.insert(all.begin() + at, e);
    const std::size_t keep = 8;
    Entry middle = all[keep];
    SetEntries(page, all, 0, keep);
    Put32(P(created), PgLeftmost, middle.value);
    SetEntries(created, all, keep + 1, all.size() - keep - 1);
    if (type == Inner) AdoptChildren(created);

    int parent = Get32(P(page), PgParent);
    if (parent != 0) {
        Put32(P(created), PgParent, parent);
        Entry up{middle.key, created};
        int pos = FindPosition(parent, up.key).index;
        if (Get16(P(parent), PgCount) >= EntriesPerPage)
            ResolveOverflow(parent, up, pos);
        else
            InsertAt(parent, pos, up);
        return;
    }
    int root = CreatePage(Inner);
    Put32(header_, HdrRoot, root);
    Put32(P(root), PgLeftmost, page);
    SetEntries(root, {Entry{middle.key, created}}, 0, 1);
    Put32(P(page), PgParent, root);
    Put32(P(created), PgParent, root);
}

std::string TagListFile::Bytes() const {
    std::string bytes(header_.begin(), header_.end());
    bytes.reserve(static_cast<std::size_t>(PageCount()) * PageSize);
    for (int page = 1; page < PageCount(); ++page) bytes.append(P(page).begin(), P(page).end());
    return bytes;
}

void TagListFile::Write(platform::WriteMode mode) {
    unwritten_ = false; // a failed write is reported once, not retried by the destructor
    if (fileName_.empty()) return;
    std::string problem;
    if (!platform::WriteFileAtomically(fileName_, Bytes(), mode, &problem))
        throw std::runtime_error("cannot write the tag list " + fileName_ + ": " + problem);
}

} // namespace hostdb
