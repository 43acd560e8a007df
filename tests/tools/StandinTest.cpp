// The host stand-in's fixed behaviour without Wine: its ratings file, the bars of a ticker's
// chart, the child's title, and the ratings make-host writes for it.
#include "tools/host-standin/Standin.h"

#include "hostdb/DateTime.h"
#include "hostdb/TickerRules.h"
#include "support/TestUtil.h"
#include "tools/make-host/HostWriter.h"

#include <gtest/gtest.h>
#include <set>

namespace fs = std::filesystem;
using standin::Rating;

namespace {

int Day(int y, int m, int d) {
    return static_cast<int>(hostdb::EncodeDate(y, m, d)) - hostdb::DayNumberOffset;
}

} // namespace

TEST(StandinRatings, LinesCommentsAndWhatIsIgnored) {
    const standin::Ratings r =
        standin::ParseRatings("# SYMBOL YYYY-MM-DD UP DN\r\n"
                              "xyz 2000-01-05 85 15   # a comment after a rating\r\n"
                              "XYZ\t2000-01-06\t0\t0\n"
                              "XYZ 2000-01-07 40 60\n"
                              "XYZ 2000-01-07 41 59\n" // a later line wins
                              "ABC 2000-02-30 50 50\n" // no such day
                              "ABC 2000-1-05 50 50\n"  // not YYYY-MM-DD
                              "ABC 2000-01-05 5x 50\n"
                              "ABC 2000-01-05 50\n"
                              "ABC 2000-01-05 50 50 7\n"
                              "#ABC 2000-01-05 50 50\n"
                              "DEF 2000-01-05 -3 103"); // no newline at the end; values as written
    ASSERT_EQ(r.size(), 2u);
    const auto& xyz = r.at("XYZ");
    EXPECT_EQ(xyz.at(Day(2000, 1, 5)), (Rating{85, 15}));
    EXPECT_EQ(xyz.at(Day(2000, 1, 6)), (Rating{0, 0}));
    EXPECT_EQ(xyz.at(Day(2000, 1, 7)), (Rating{41, 59}));
    EXPECT_EQ(r.at("DEF").at(Day(2000, 1, 5)), (Rating{-3, 103}));
    EXPECT_TRUE(standin::ParseRatings("").empty());
}

TEST(StandinRatings, TitleOfTheCursorsDay) {
    const standin::Ratings r = standin::ParseRatings("XYZ 2000-01-05 85 15\nXYZ 2031-12-31 7 93");
    EXPECT_EQ(standin::ChartTitle("XYZ", Day(2000, 1, 5), r), "XYZ 01/05/00 (85 - 15)");
    // The symbol as requested; the rating looked up without regard to case.
    EXPECT_EQ(standin::ChartTitle("xyz", Day(2031, 12, 31), r), "xyz 12/31/31 (7 - 93)");
    EXPECT_EQ(standin::ChartTitle("XYZ", Day(2000, 1, 6), r), "XYZ 01/06/00");
    EXPECT_EQ(standin::ChartTitle("ABC", Day(1999, 11, 1), r), "ABC 11/01/99");
}

TEST(StandinChart, BarsAreWeekdaysWithAClose) {
    hostgen::TickerSpec spec;
    spec.name = "Test";
    spec.firstDay = Day(2024, 1, 5); // a Friday
    spec.lastDay = Day(2024, 1, 12); // the next Friday
    const int ticks = hostgen::TicksPerUnit(spec.format);
    for (int i = 0; i < 6; ++i) {
        hostgen::DayRecord rec;
        if (i != 3) rec.ticks = {10 * ticks, 11 * ticks, 9 * ticks, 10 * ticks}; // 10 Jan: none
        spec.records.push_back(rec);
    }
    testutil::TempDir tmp;
    const std::vector<std::uint8_t> bytes = hostgen::EncodeTicker(spec);
    testutil::WriteFile(tmp / "T.DTA", std::string(bytes.begin(), bytes.end()));
    hostdb::TickerFile ticker;
    ticker.SetFileName((tmp / "T.DTA").string());
    EXPECT_EQ(standin::ChartBars(ticker),
              (std::vector<int>{Day(2024, 1, 5), Day(2024, 1, 8), Day(2024, 1, 9), Day(2024, 1, 11),
                                Day(2024, 1, 12)}));

    hostdb::TickerFile missing;
    missing.SetFileName((tmp / "NONE.DTA").string());
    EXPECT_TRUE(standin::ChartBars(missing).empty());
}

TEST(StandinChart, MakeHostInstallsItWithRatingsForTheStocks) {
    testutil::TempDir tmp;
    testutil::WriteFile(tmp / "build" / "qelch32.exe", "MZ program");
    testutil::WriteFile(tmp / "build" / "qelio32.dll", "MZ library");
    hostgen::Options o;
    o.root = tmp / "prefix";
    o.tickers = 10;
    o.years = 1;
    o.end = {2026, 12, 4};
    o.standin = tmp / "build";
    hostgen::MakeHost(o);
    const fs::path qel = o.root / "drive_c" / "QEL";
    EXPECT_EQ(testutil::ReadFile(qel / "qelch32.exe"), "MZ program");
    EXPECT_EQ(testutil::ReadFile(qel / "qelio32.dll"), "MZ library");

    const standin::Ratings r = standin::ParseRatings(testutil::ReadFile(qel / "ratings.txt"));
    EXPECT_GE(r.size(), 5u);
    EXPECT_EQ(r.count("SPX"), 0u); // the indexes have none
    std::set<std::string> symbols;
    for (const char* dir : {"DATA1", "DATA2"})
        for (const auto& e : fs::directory_iterator(qel / dir))
            symbols.insert(hostdb::SymbolOfFileName(e.path().filename().string()));
    for (const auto& [symbol, days] : r) {
        EXPECT_EQ(symbols.count(symbol), 1u) << symbol;
        for (const auto& [day, rating] : days) {
            EXPECT_GT(day, Day(2026, 11, 4));
            EXPECT_LE(day, Day(2026, 12, 4));
            EXPECT_EQ(rating.up + rating.dn, 100);
        }
    }
}
