// The search path: its directories, joined host paths, wildcards, listing and finding files on
// disk, and the order of file lists.
#include "hostdb/SearchPath.h"

#include "support/TestUtil.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace hostdb;
using Strings = std::vector<std::string>;

TEST(SearchPath, SearchPathDirectories) {
    EXPECT_EQ(SearchPathDirectories("D:\\DATA; E:\\MORE"), (Strings{"D:\\DATA\\", "E:\\MORE\\"}));
    EXPECT_EQ(SearchPathDirectories(" C:\\My Data "), Strings{"C:\\MyData\\"});
    EXPECT_EQ(SearchPathDirectories("C:\\A;;C:\\B\\"), (Strings{"C:\\A\\", "C:\\B\\"}));
    EXPECT_EQ(SearchPathDirectories("C:\\A;"), Strings{"C:\\A\\"});
    EXPECT_EQ(SearchPathDirectories(";C:\\A; ;"), Strings{"C:\\A\\"});
    EXPECT_TRUE(SearchPathDirectories("   ").empty());
    EXPECT_TRUE(SearchPathDirectories("").empty());
    EXPECT_EQ(SearchPathDirectories("/abs/dir;/abs/dir/"), (Strings{"/abs/dir/", "/abs/dir/"}));
}

TEST(SearchPath, JoinHostPath) {
    EXPECT_EQ(JoinHostPath("C:\\DATA", "X.DTA"), "C:\\DATA\\X.DTA");
    EXPECT_EQ(JoinHostPath("C:\\DATA\\", "X.DTA"), "C:\\DATA\\X.DTA");
    EXPECT_EQ(JoinHostPath("C:/DATA/", "X.DTA"), "C:/DATA/X.DTA");
    EXPECT_EQ(JoinHostPath("/d/data", "x"), "/d/data/x");
    EXPECT_EQ(JoinHostPath("C:", "X.DTA"), "C:\\X.DTA");
}

TEST(SearchPath, MatchesWildcard) {
    EXPECT_TRUE(MatchesWildcard("AAPL.DTA", "*.dta"));
    EXPECT_FALSE(MatchesWildcard("AAPL.DTA.BAK", "*.dta"));
    EXPECT_TRUE(MatchesWildcard("AAPL.DTA.BAK", "*.dta*"));
    EXPECT_TRUE(MatchesWildcard("aapl.dta", "A?PL.*"));
    EXPECT_FALSE(MatchesWildcard("APL.DTA", "A?PL.*"));
    EXPECT_TRUE(MatchesWildcard("ab.c", "*?*?*"));
    EXPECT_TRUE(MatchesWildcard("abcabd", "*abd"));
    EXPECT_TRUE(MatchesWildcard("X", "**"));
    EXPECT_FALSE(MatchesWildcard("X", "?*?"));
    EXPECT_TRUE(MatchesWildcard("", "*"));
    EXPECT_TRUE(MatchesWildcard("", ""));
    EXPECT_FALSE(MatchesWildcard("", "?"));
    EXPECT_FALSE(MatchesWildcard("a", ""));
}

namespace {

struct SearchPathOnDisk : ::testing::Test {
    testutil::TempDir root;
    platform::Directories dirs;
    std::string one, two, list;

    void SetUp() override {
        dirs.winePrefix = root / "prefix";
        one = (root / "one").string();
        two = (root / "two").string();
        list = one + "; ;" + root.Path().string() + "/missing;" + two + "/";
        testutil::WriteFile(root / "one/y.dta", "");
        testutil::WriteFile(root / "one/x.DTA", "");
        testutil::WriteFile(root / "one/.h.dta", "");
        testutil::WriteFile(root / "one/n.txt", "");
        testutil::WriteFile(root / "one/aapl.dta", "");
        fs::create_directories(root / "one/z.dta");
        testutil::WriteFile(root / "two/b.dta", "");
        testutil::WriteFile(root / "two/AAPL.DTA", "");
        testutil::WriteFile(root / "two/only.dta", "");
    }
};

} // namespace

TEST_F(SearchPathOnDisk, ListFiles) {
    std::vector<fs::path> expect = {root / "one/aapl.dta", root / "one/x.DTA",
                                    root / "one/y.dta",    root / "two/AAPL.DTA",
                                    root / "two/b.dta",    root / "two/only.dta"};
    std::vector<std::int64_t> counts;
    EXPECT_EQ(ListFilesOnPath(list, "*.dta", dirs,
                              [&](std::int64_t done, std::int64_t total) {
                                  EXPECT_EQ(total, 0); // not known while listing
                                  counts.push_back(done);
                                  return true;
                              }),
              expect);
    EXPECT_EQ(counts, (std::vector<std::int64_t>{1, 2, 3, 4, 5, 6}));
    // A stop ends the list with the file just reported.
    auto stopAtFour = [](std::int64_t done, std::int64_t) { return done < 4; };
    EXPECT_EQ(ListFilesOnPath(list, "*.dta", dirs, stopAtFour),
              std::vector<fs::path>(expect.begin(), expect.begin() + 4));
    EXPECT_TRUE(ListFilesOnPath("", "*", dirs).empty());
}

TEST_F(SearchPathOnDisk, FindFile) {
    fs::path full;
    EXPECT_TRUE(FindFileOnPath(list, "AAPL.DTA", dirs, full));
    EXPECT_EQ(full, root / "one/aapl.dta");
    EXPECT_TRUE(FindFileOnPath(list, "ONLY.dta", dirs, full));
    EXPECT_EQ(full, root / "two/only.dta");
    EXPECT_FALSE(FindFileOnPath(list, "none.dta", dirs, full));
    EXPECT_EQ(full, root / "two/none.dta");
    for (const char* bad : {"z.dta", ".h.dta", "../two/b.dta", "..\\two\\b.dta", "..", ".", ""})
        EXPECT_FALSE(FindFileOnPath(list, bad, dirs, full)) << bad;
}

// With no directory there is no path tried, so a caller's old value must not survive.
TEST_F(SearchPathOnDisk, FindFileWithoutDirectories) {
    fs::path full = root / "one/y.dta";
    EXPECT_FALSE(FindFileOnPath(" ; ", "b.dta", dirs, full));
    EXPECT_TRUE(full.empty()) << full;
}

TEST(SearchPath, SortFileList) {
    std::vector<fs::path> v = {"/d/data2/y", "/D/DATA/x", "/d/Data/B", "/d/data/a", "/d/data_/c"};
    SortFileList(v);
    EXPECT_EQ(v, (std::vector<fs::path>{"/d/data/a", "/d/Data/B", "/D/DATA/x", "/d/data_/c",
                                        "/d/data2/y"}));
}
