// Tag-list files byte for byte: key layout and order, the B-tree's splits, large lists, whole or
// nothing writes, and the signature.
#include "hostdb/TagListFile.h"

#include "TagListReader.h"
#include "hostdb/ByteSource.h"
#include "platform/Text.h"
#include "support/TestUtil.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <set>

using hostdb::TagListFile;
namespace fs = std::filesystem;

namespace {

std::string Raw(const TagListFile::Key& k) { return std::string(k.begin(), k.end()); }

std::string Bytes(std::initializer_list<int> bytes, std::size_t size) {
    std::string s;
    for (int b : bytes) s += static_cast<char>(b);
    s.resize(size, '\0');
    return s;
}

std::string Text(std::string_view s) { return static_cast<char>(s.size() + 32) + std::string(s); }

std::int32_t I32(const std::string& b, std::size_t at) {
    return static_cast<std::int32_t>(
        static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
        static_cast<std::uint8_t>(b[at + 2]) << 16 |
        static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24);
}
int I16(const std::string& b, std::size_t at) {
    return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8;
}
std::string PageOf(const std::string& file, int page) {
    return file.substr(static_cast<std::size_t>(page) * 512, 512);
}

// Distinct tickers (without regard to case) of 1 to 8 characters, some with bytes from 128.
std::vector<std::string> RandomTickers(std::mt19937& rng, std::size_t count) {
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-&\xC9\xFF";
    std::set<std::string> seen;
    std::vector<std::string> tickers;
    while (tickers.size() < count) {
        std::string t(1 + rng() % 8, ' ');
        for (char& c : t) c = alphabet[rng() % alphabet.size()];
        if (!seen.insert(t).second) continue;
        if (rng() % 3 == 0) std::transform(t.begin(), t.end(), t.begin(), ::tolower);
        tickers.push_back(t);
    }
    return tickers;
}

// Adds the tickers at the given positions and checks the whole file against the keys it must
// hold, each exactly once, in order.
void CheckList(const std::string& file, const std::vector<std::string>& tickers,
               const std::vector<int>& positions) {
    TagListFile list;
    std::vector<taglisttest::Key> expected;
    std::string name = TagListFile::ListNameOf(file);
    expected.push_back(taglisttest::DecodeKey(Raw(TagListFile::ListOrderKey("", 0, name))));
    expected.push_back(taglisttest::DecodeKey(Raw(TagListFile::TickerOrderKey(name, "", 0))));
    for (std::size_t i = 0; i < tickers.size(); ++i) {
        ASSERT_TRUE(list.AddTicker(file, tickers[i], positions[i])) << tickers[i];
        std::string upper = platform::UpperCase(tickers[i]);
        expected.push_back(
            taglisttest::DecodeKey(Raw(TagListFile::ListOrderKey(name, positions[i], upper))));
        expected.push_back(
            taglisttest::DecodeKey(Raw(TagListFile::TickerOrderKey(upper, name, positions[i]))));
    }
    std::sort(expected.begin(), expected.end(), taglisttest::KeyLess);
    taglisttest::Contents c = taglisttest::ReadTagList(list.Bytes());
    ASSERT_EQ(c.error, "") << tickers.size() << " tickers";
    ASSERT_EQ(c.keys.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(c.keys[i].raw, expected[i].raw);
}

using TagListOnDisk = taglisttest::InTempDir;
using TagListTree = taglisttest::InTempDir;

} // namespace

TEST(TagListKeys, LayoutAndOrder) {
    EXPECT_EQ(Raw(TagListFile::ListOrderKey("MYLIST", 0, "IBM")),
              Bytes({0xA1, 0x00, 0x26, 'M', 'Y', 'L', 'I', 'S', 'T', 0x00, 0x42, 0x00, 0x00, 0x23,
                     'I', 'B', 'M'},
                    26));
    EXPECT_EQ(Raw(TagListFile::TickerOrderKey("IBM", "MYLIST", 0x1234)),
              Bytes({0xA1, 0x01, 0x23, 'I', 'B', 'M', 0x00, 0x26, 'M', 'Y', 'L', 'I', 'S', 'T',
                     0x00, 0x42, 0x34, 0x12},
                    26));

    // Position 256 is stored low byte first but compared high byte first.
    auto k256 = TagListFile::ListOrderKey("L", 256, "A");
    EXPECT_EQ(k256[5], 0x42);
    EXPECT_EQ(k256[6], 0x00);
    EXPECT_EQ(k256[7], 0x01);
    EXPECT_GT(TagListFile::CompareKeys(k256, TagListFile::ListOrderKey("L", 255, "ZZZ")), 0);
    EXPECT_LT(TagListFile::CompareKeys(TagListFile::ListOrderKey("L", 1, "Z"), k256), 0);
    EXPECT_GT(TagListFile::CompareKeys(TagListFile::TickerOrderKey("A", "L", 256),
                                       TagListFile::TickerOrderKey("A", "L", 255)),
              0);

    // List name, then position, then ticker; ticker, then list, then number; kind 0 first.
    EXPECT_LT(TagListFile::CompareKeys(TagListFile::ListOrderKey("A", 9, "Z"),
                                       TagListFile::ListOrderKey("B", 0, "A")),
              0);
    EXPECT_LT(TagListFile::CompareKeys(TagListFile::TickerOrderKey("A", "Z", 9),
                                       TagListFile::TickerOrderKey("B", "A", 0)),
              0);
    EXPECT_LT(TagListFile::CompareKeys(TagListFile::ListOrderKey("ZZ", 65535, "ZZ"),
                                       TagListFile::TickerOrderKey("", "", 0)),
              0);
    EXPECT_LT(TagListFile::CompareKeys(TagListFile::TickerOrderKey("AB", "", 0),
                                       TagListFile::TickerOrderKey("AB", "A", 0)),
              0);
    // Bytes from 128 sort after ASCII.
    EXPECT_GT(TagListFile::CompareKeys(TagListFile::TickerOrderKey("\xC9", "L", 0),
                                       TagListFile::TickerOrderKey("Z", "L", 0)),
              0);
    EXPECT_EQ(TagListFile::CompareKeys(TagListFile::ListOrderKey("L", 3, "X"),
                                       TagListFile::ListOrderKey("L", 3, "X")),
              0);
}

TEST_F(TagListOnDisk, SingleTickerExample) {
    TagListFile list;
    ASSERT_TRUE(list.AddTicker("C:\\HOST\\MYLIST.LIS", "ibm", 0));
    EXPECT_EQ(list.ListName(), "MYLIST");
    std::string file = list.Bytes();
    ASSERT_EQ(file.size(), 1024u);

    std::string header = Bytes({0x49, 0x01}, 512);
    header[6] = 2;
    header.replace(10, 8, std::string("ordered\0", 8));
    header[42] = 1;
    header[44] = 1;
    header[48] = 26;
    header[50] = 16;
    header[52] = 1;
    header[56] = 1;
    EXPECT_EQ(PageOf(file, 0), header);

    std::string leaf = Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4}, 20);
    const std::string keys[] = {
        Bytes({0xA1, 0x00}, 2) + Text("") + Bytes({0, 'B', 0, 0}, 4) + Text("MYLIST"),
        Bytes({0xA1, 0x00}, 2) + Text("MYLIST") + Bytes({0, 'B', 0, 0}, 4) + Text("IBM"),
        Bytes({0xA1, 0x01}, 2) + Text("IBM") + Bytes({0}, 1) + Text("MYLIST") +
            Bytes({0, 'B', 0, 0}, 4),
        Bytes({0xA1, 0x01}, 2) + Text("MYLIST") + Bytes({0}, 1) + Text("") +
            Bytes({0, 'B', 0, 0}, 4)};
    for (const std::string& k : keys) leaf += k + std::string(26 - k.size(), '\0') + Bytes({1}, 4);
    leaf.resize(512, '\0');
    EXPECT_EQ(PageOf(file, 1), leaf);
}

TEST_F(TagListOnDisk, ListNameAndRefusedInput) {
    EXPECT_EQ(TagListFile::ListNameOf("A.B.LIS"), "A");
    EXPECT_EQ(TagListFile::ListNameOf("/tmp/x.y/zolt.lis"), "ZOLT");
    EXPECT_EQ(TagListFile::ListNameOf("C:\\QEL\\Mine"), "MINE");

    TagListFile list;
    EXPECT_FALSE(list.AddTicker("", "IBM", 0));
    EXPECT_FALSE(list.AddTicker("A.LIS", "", 0));
    EXPECT_FALSE(list.AddTicker("ABCDEFGH.LIS", "ABCDEFGHIJ", 0)); // no room left in a key
    EXPECT_FALSE(list.AddTicker("A.LIS", "IBM", -1));
    EXPECT_FALSE(list.AddTicker("A.LIS", "IBM", 65536));
    EXPECT_EQ(list.PageCount(), 1);
    EXPECT_EQ(list.FileName(), "");
    EXPECT_EQ(list.Bytes().size(), 512u);
    EXPECT_NO_THROW(list.Write()); // no file name: nothing to write

    ASSERT_TRUE(list.AddTicker("dir/A.B.LIS", "ABCDEFGH", 65535));
    EXPECT_EQ(list.ListName(), "A");
    taglisttest::Contents c = taglisttest::ReadTagList(list.Bytes());
    ASSERT_EQ(c.error, "");
    EXPECT_EQ(taglisttest::ListTickers(c, "A"), (std::vector<std::string>{"ABCDEFGH"}));
    EXPECT_EQ(c.keys[1].number, 65535);

    // A nine-character ticker (a data set keeps nine) fits beside an eight-character list name.
    TagListFile nine;
    ASSERT_TRUE(nine.AddTicker("ABCDEFGH.LIS", "ABCDEFGHI", 0));
    c = taglisttest::ReadTagList(nine.Bytes());
    ASSERT_EQ(c.error, "");
    EXPECT_EQ(taglisttest::ListTickers(c, "ABCDEFGH"), (std::vector<std::string>{"ABCDEFGHI"}));
}

TEST_F(TagListTree, SeventeenthKeySplitsALoneLeafThenSharesIntoThePreviousLeaf) {
    TagListFile list;
    const std::string file = "Z.LIS";
    const char* tickers[] = {"MA", "KB", "QC", "AD", "ZE", "CF",
                             "PG", "BH", "YI", "DJ", "XK", "EL"};
    for (int i = 0; i < 7; ++i) ASSERT_TRUE(list.AddTicker(file, tickers[i], i));
    std::string b = list.Bytes();
    ASSERT_EQ(list.PageCount(), 2);
    EXPECT_EQ(I16(PageOf(b, 1), 14), 16);

    ASSERT_TRUE(list.AddTicker(file, tickers[7], 7)); // its kind-0 key is the 17th
    b = list.Bytes();
    ASSERT_EQ(list.PageCount(), 4);
    EXPECT_EQ(I32(b, 44), 3); // the new root was made after the new leaf
    EXPECT_EQ(I32(b, 52), 1);
    EXPECT_EQ(I32(b, 56), 2);
    std::string leaf1 = PageOf(b, 1), leaf2 = PageOf(b, 2), root = PageOf(b, 3);
    EXPECT_EQ(I16(leaf1, 14), 8);
    EXPECT_EQ(I16(leaf2, 14), 9); // 8 moved, then the kind-1 key of the 8th ticker
    EXPECT_EQ(I32(leaf1, 10), 2);
    EXPECT_EQ(I32(leaf2, 6), 1);
    EXPECT_EQ(I32(leaf2, 16), 1);
    EXPECT_EQ(I16(root, 0), 1);
    EXPECT_EQ(I16(root, 14), 1);
    EXPECT_EQ(I32(root, 16), 1);
    EXPECT_EQ(I32(root, 46), 2);
    EXPECT_EQ(root.substr(20, 26), Raw(TagListFile::ListOrderKey("Z", 7, "BH")));
    EXPECT_EQ(taglisttest::ReadTagList(b).error, "");

    for (int i = 8; i < 11; ++i) ASSERT_TRUE(list.AddTicker(file, tickers[i], i));
    EXPECT_EQ(I16(PageOf(list.Bytes(), 2), 14), 15);
    // The 12th ticker's kind-1 key finds the right leaf full and the left one with room:
    // 8 + separator + 17 entries are laid out again, 12 left, 13 right, no new page.
    ASSERT_TRUE(list.AddTicker(file, tickers[11], 11));
    b = list.Bytes();
    EXPECT_EQ(list.PageCount(), 4);
    EXPECT_EQ(I16(PageOf(b, 1), 14), 12);
    EXPECT_EQ(I16(PageOf(b, 2), 14), 13);
    taglisttest::Contents c = taglisttest::ReadTagList(b);
    ASSERT_EQ(c.error, "");
    EXPECT_EQ(PageOf(b, 3).substr(20, 26), c.keys[12].raw);
    EXPECT_EQ(taglisttest::ListTickers(c, "Z"),
              std::vector<std::string>(std::begin(tickers), std::end(tickers)));
}

TEST_F(TagListTree, RandomListsKeepEveryKeyInOrder) {
    for (unsigned seed = 1; seed <= 120; ++seed) {
        std::mt19937 rng(seed);
        std::size_t count = seed <= 40 ? seed : 1 + rng() % 600;
        std::vector<std::string> tickers = RandomTickers(rng, count);
        std::vector<int> positions(count);
        for (std::size_t i = 0; i < count; ++i) positions[i] = static_cast<int>(i);
        // Out-of-order positions put keys all over the tree, not only at the ends.
        if (seed % 2 == 0) std::shuffle(positions.begin(), positions.end(), rng);
        SCOPED_TRACE("seed " + std::to_string(seed));
        CheckList(seed % 3 ? "LIST.LIS" : "\xC9Z.LIS", tickers, positions);
    }
}

TEST_F(TagListTree, FiveThousandTickersOutgrowTheHostsPageTable) {
    std::mt19937 rng(5000);
    std::vector<std::string> tickers = RandomTickers(rng, 5000);
    std::vector<int> positions(tickers.size());
    for (std::size_t i = 0; i < positions.size(); ++i) positions[i] = static_cast<int>(i);
    CheckList("BIG.LIS", tickers, positions);

    TagListFile list;
    for (std::size_t i = 0; i < tickers.size(); ++i)
        list.AddTicker("BIG", tickers[i], positions[i]);
    EXPECT_GT(list.PageCount(), 274);
    taglisttest::Contents c = taglisttest::ReadTagList(list.Bytes());
    ASSERT_EQ(c.error, "");
    std::vector<std::string> upper;
    for (const std::string& t : tickers) upper.push_back(platform::UpperCase(t));
    EXPECT_EQ(taglisttest::ListTickers(c, "BIG"), upper);
}

TEST(TagListWrite, WholeOrNotAtAll) {
    testutil::TempDir tmp;
    const std::string path = (tmp / "MINE.LIS").string();
    std::string expected;
    {
        TagListFile list;
        list.AddTicker(path, "IBM", 0);
        expected = list.Bytes();
        EXPECT_FALSE(fs::exists(path));
    } // written on destruction
    EXPECT_EQ(testutil::ReadFile(path), expected);

    {
        TagListFile list;
        list.AddTicker(path, "MSFT", 0);
        list.Write();
        EXPECT_EQ(testutil::ReadFile(path), list.Bytes());
        fs::remove(path);
    } // not written twice
    EXPECT_FALSE(fs::exists(path));

    const std::string missing = (tmp / "no/dir/X.LIS").string();
    {
        TagListFile list;
        list.AddTicker(missing, "IBM", 0);
        try {
            list.Write();
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos);
        }
    }
    {
        fs::create_directory(tmp / "D.LIS"); // the rename fails after the data was written
        TagListFile list;
        list.AddTicker((tmp / "D.LIS").string(), "IBM", 0);
        EXPECT_THROW(list.Write(), std::runtime_error);
        TagListFile silent; // a failing write in the destructor does not throw
        silent.AddTicker((tmp / "D.LIS").string(), "IBM", 0);
    }
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(tmp.Path())) names.push_back(e.path().filename());
    EXPECT_EQ(names, std::vector<std::string>{"D.LIS"}); // nor any temporary file
    EXPECT_TRUE(fs::is_empty(tmp / "D.LIS"));
}

TEST(TagListSignature, RecognisedByTheHeadOnly) {
    auto has = [](const std::string& bytes) {
        return TagListFile::HasSignature(hostdb::MemoryByteSource(
            {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}));
    };
    TagListFile list;
    list.AddTicker("MINE.LIS", "IBM", 0);
    const std::string written = list.Bytes();
    EXPECT_TRUE(has(written));
    EXPECT_TRUE(has(written.substr(0, 32))); // the tree behind the head is not looked at
    EXPECT_FALSE(has(written.substr(0, 31)));
    EXPECT_FALSE(has(""));

    std::string head(32, '\0');
    head.replace(10, 7, "ordered"); // no zero byte needed after it
    head[17] = 'x';
    EXPECT_TRUE(has(head));
    head[10] = 'O';
    EXPECT_FALSE(has(head));
    EXPECT_FALSE(has(std::string(32, '\0')));
    EXPECT_FALSE(has("ordered" + std::string(40, '\0'))); // at the start, not at its place

    testutil::TempDir tmp;
    testutil::WriteFile(tmp / "A.LIS", written);
    EXPECT_TRUE(hostdb::IsTagListFile(tmp / "A.LIS"));
    EXPECT_FALSE(hostdb::IsTagListFile(tmp / "missing.LIS"));
    fs::create_directory(tmp / "D.LIS");
    EXPECT_FALSE(hostdb::IsTagListFile(tmp / "D.LIS"));
}
