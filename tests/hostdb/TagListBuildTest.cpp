// Collecting a results column into a tag list without the windows: splitting cells, repeats,
// progress, Stop after some rows, and no file without a ticker.
#include "hostdb/TagListBuild.h"

#include "TagListReader.h"
#include "support/TestUtil.h"

#include <gtest/gtest.h>

using namespace hostdb;
namespace fs = std::filesystem;

namespace {

using Strings = std::vector<std::string>;

// The tickers of the built file in list order, after checking the file's tree.
Strings TickersInFile(const fs::path& path, const std::string& name) {
    taglisttest::Contents c = taglisttest::ReadTagList(testutil::ReadFile(path));
    EXPECT_EQ(c.error, "");
    return taglisttest::ListTickers(c, name);
}

using TagListBuilding = taglisttest::InTempDir;

} // namespace

TEST_F(TagListBuilding, CellsSplitAtSemicolonsWithBlanksRemoved) {
    EXPECT_EQ(TickersOfCell(""), Strings{});
    EXPECT_EQ(TickersOfCell(" "), Strings{});
    EXPECT_EQ(TickersOfCell("   "), Strings{});
    EXPECT_EQ(TickersOfCell("AAA; BBB;aaa"), (Strings{"AAA", "BBB", "aaa"}));
    EXPECT_EQ(TickersOfCell(";; A ;"), Strings{"A"});
    EXPECT_EQ(TickersOfCell("B R K"), Strings{"BRK"});
}

TEST_F(TagListBuilding, RepeatsWithoutRegardToCaseAreSkipped) {
    TagListFile list, direct;
    Strings cells{"AAA; BBB;aaa", "", "bbb;ccc", "Ccc"};
    TagListBuild b = CollectTagList(list, "X.LIS", 0, 3, [&](int row) { return cells[row]; });
    EXPECT_EQ(b.added, 3);
    EXPECT_EQ(b.firstTicker, "AAA");
    direct.AddTicker("X.LIS", "AAA", 0);
    direct.AddTicker("X.LIS", "BBB", 1);
    direct.AddTicker("X.LIS", "ccc", 2);
    EXPECT_EQ(list.Bytes(), direct.Bytes());

    // A ticker too long for a key is left out once and takes no position; the first ticker
    // keeps its case.
    TagListFile other;
    b = CollectTagList(other, "Y.LIS", 0, 1, [](int row) {
        return row ? std::string("SEVENTEENCHARSXYZ;x") : std::string("ibm;SEVENTEENCHARSXYZ");
    });
    EXPECT_EQ(b.firstTicker, "ibm");
    EXPECT_EQ(b.added, 2);
    EXPECT_EQ(b.refused, Strings{"SEVENTEENCHARSXYZ"});
    taglisttest::Contents c = taglisttest::ReadTagList(other.Bytes());
    EXPECT_EQ(taglisttest::ListTickers(c, "Y"), (Strings{"IBM", "X"}));
}

TEST_F(TagListBuilding, TickersWithControlCharactersAreLeftOutAndCounted) {
    // An escape sequence from a ticker file's name must not reach the host's list.
    TagListFile list, direct;
    Strings cells{"\x1b[31mRED;AAA", "\x1B[31mred", "B\x7F", "BBB"};
    TagListBuild b = CollectTagList(list, "X.LIS", 0, 3, [&](int row) { return cells[row]; });
    EXPECT_EQ(b.added, 2);
    EXPECT_EQ(b.unprintable, 2); // each once, without regard to case
    EXPECT_EQ(b.firstTicker, "AAA");
    direct.AddTicker("X.LIS", "AAA", 0);
    direct.AddTicker("X.LIS", "BBB", 1);
    EXPECT_EQ(list.Bytes(), direct.Bytes());
}

TEST_F(TagListBuilding, ProgressCountsEveryRowOfTheRange) {
    TagListFile list;
    std::vector<int> progress, rows;
    Progress cb = [&](std::int64_t done, std::int64_t total) {
        progress.push_back(PercentDone(done, total));
        return true;
    };
    Strings cells{"", " ", "X", " ", ""};
    TagListBuild b = CollectTagList(
        list, "P.LIS", 0, 4, [&](int row) { return cells[row]; }, cb);
    EXPECT_EQ(progress, (std::vector<int>{20, 40, 60, 80, 100}));
    EXPECT_EQ(b.added, 1);
    EXPECT_FALSE(b.stopped);

    progress.clear();
    b = CollectTagList(
        list, "P.LIS", 5, 7,
        [&](int row) {
            rows.push_back(row);
            return std::string();
        },
        cb);
    EXPECT_EQ(rows, (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(progress, (std::vector<int>{33, 66, 100}));

    progress.clear();
    rows.clear();
    b = CollectTagList(
        list, "P.LIS", 3, 2,
        [&](int row) {
            rows.push_back(row);
            return std::string("Q");
        },
        cb);
    EXPECT_TRUE(rows.empty());
    EXPECT_TRUE(progress.empty());
    EXPECT_EQ(b.added, 0);
}

TEST_F(TagListBuilding, StoppingAfterTheThirdOfTenRowsWritesThoseRows) {
    testutil::TempDir tmp;
    Strings cells{"R0", "R1;R1B", "R2", "R3", "R4", "R5", "R6", "R7", "R8", "R9"};
    int rowsSeen = 0;
    std::vector<int> progress;
    Progress cb = [&](std::int64_t done, std::int64_t total) {
        progress.push_back(PercentDone(done, total));
        return ++rowsSeen != 3;
    };
    fs::path path = tmp / "STOP.LIS";
    TagListBuild b = BuildTagListFile(path.string(), cells, cb);
    EXPECT_TRUE(b.stopped);
    EXPECT_EQ(b.progress, 30);
    EXPECT_EQ(progress, (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(TickersInFile(path, "STOP"), (Strings{"R0", "R1", "R1B", "R2"}));
}

TEST_F(TagListBuilding, NoTickerMeansNoFile) {
    testutil::TempDir tmp;
    fs::path path = tmp / "NONE.LIS";
    TagListBuild b = BuildTagListFile(path.string(), Strings{"", " ", ";;", "  ;  "});
    EXPECT_EQ(b.added, 0);
    EXPECT_EQ(b.firstTicker, "");
    EXPECT_EQ(b.progress, 100);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(fs::is_empty(tmp.Path()));

    EXPECT_THROW(BuildTagListFile((tmp / "missing/X.LIS").string(), Strings{"IBM"}),
                 std::runtime_error);
}
