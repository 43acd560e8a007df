// Made host installations: the same options give the same bytes, a smaller run leaves nothing
// behind, and the programs discover the result with its holidays and tickers.
#include "hostdb/HostInstallation.h"
#include "hostdb/TickerFile.h"
#include "support/TestUtil.h"
#include "tools/make-host/HostWriter.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

namespace fs = std::filesystem;
using namespace hostdb;

namespace {

std::map<std::string, std::string> Tree(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        std::string rel = fs::relative(e.path(), root).string();
        if (e.is_symlink())
            files[rel] = "-> " + fs::read_symlink(e.path()).string();
        else if (e.is_regular_file())
            files[rel] = testutil::ReadFile(e.path());
    }
    return files;
}

hostgen::Options Small(const fs::path& root, std::uint64_t seed) {
    hostgen::Options o;
    o.root = root;
    o.tickers = 24;
    o.years = 3;
    o.end = {2026, 12, 4};
    o.seed = seed;
    o.broken = true;
    return o;
}

} // namespace

TEST(MakeHost, SameOptionsSameBytes) {
    testutil::TempDir a, b, c;
    hostgen::MakeHost(Small(a.Path(), 5));
    hostgen::MakeHost(Small(b.Path(), 5));
    hostgen::MakeHost(Small(c.Path(), 6));
    auto treeA = Tree(a.Path());
    EXPECT_EQ(treeA, Tree(b.Path()));
    EXPECT_NE(treeA, Tree(c.Path()));
    EXPECT_EQ(treeA.size(), 4 + 26 + 7u); // two ini files, holidays, drive link; tickers; broken

    // A smaller run into the same place leaves none of the larger one's tickers behind.
    hostgen::Options fewer = Small(a.Path(), 5);
    fewer.tickers = 3;
    fewer.broken = false;
    EXPECT_EQ(hostgen::MakeHost(fewer).tickerFiles.size(), 5u);
    EXPECT_EQ(Tree(a.Path()).size(), 4 + 5u);
}

TEST(MakeHost, RealisticInstallation) {
    testutil::TempDir root;
    hostgen::Options o = Small(root.Path(), 11);
    o.tickers = 60;
    hostgen::Summary s = hostgen::MakeHost(o);

    HostEnvironment env;
    env.dirs.SetWindowsDirectory(s.windowsDirectory);
    env.now = EncodeDateTime(2026, 12, 7, 12, 0);
    HostInstallation host;
    std::string error;
    ASSERT_TRUE(DiscoverHost(HostProgram::ZoltW, env, host, error)) << error;
    EXPECT_EQ(host.globals.LastMarketDateText, "Friday, December 4, 2026");
    EXPECT_EQ(host.tickerFiles.size(), 62u + 7u);

    // Holidays: the host's own list (Juneteenth), and some years left to the built-in rules.
    fs::path holidays = root.Path() / "drive_c/QEL/holiday.idx";
    MarketCalendar calendar;
    calendar.HolidayFileName = holidays;
    FileByteSource file(holidays);
    int inFile = 0;
    for (int y = 2023; y <= 2026; ++y) {
        int june19 = MarketCalendar::DateToDay(EncodeDate(y, 6, 19));
        int w = WeekdayOf(june19);
        int observed = june19 + (w == 5 ? -1 : w == 6 ? 1 : 0);
        HolidayList days;
        bool listed = ReadHolidayRecord(file, y, days);
        inFile += listed;
        EXPECT_EQ(calendar.DayKind(observed) == KindHoliday, listed) << y;
    }
    EXPECT_GT(inFile, 0);
    EXPECT_LT(inFile, 4);

    std::set<char> formats, kinds;
    int notA = 0, late = 0, early = 0, zeroDays = 0;
    for (const fs::path& path : s.tickerFiles) {
        TickerFile t;
        t.SetFileName(path.string());
        ASSERT_TRUE(t.IsOpen()) << path;
        formats.insert(t.FormatCode());
        kinds.insert(t.KindCode());
        notA += !t.StatusIsA();
        late += t.FirstDay() > MarketCalendar::DateToDay(EncodeDate(2024, 1, 1));
        early += t.LastDay() < MarketCalendar::DateToDay(EncodeDate(2026, 12, 4));
        for (int d = t.FirstDay(); d <= t.LastDay(); ++d) {
            t.SetDay(d);
            if (!t.HasRecord()) continue;
            if (t.Close() == 0) {
                ++zeroDays;
                continue;
            }
            ASSERT_LE(t.Low(), std::min(t.Open(), t.Close())) << path << " " << d;
            ASSERT_GE(t.High(), std::max(t.Open(), t.Close())) << path << " " << d;
            ASSERT_GT(t.Low(), 0.0f);
            ASSERT_GT(t.Volume(), 0);
            ASSERT_LE(calendar.DayKind(d), 4) << "prices on a holiday";
        }
    }
    EXPECT_EQ(formats, (std::set<char>{'4', 'D', 'F', 'I'}));
    EXPECT_GT(kinds.size(), 2u); // "S", the indexes' "I", and others
    EXPECT_GT(notA, 0);
    EXPECT_GT(late, 0);
    EXPECT_GT(early, 0);
    EXPECT_GT(zeroDays, 0);

    for (const char* name : {"ZZTRUNC", "ZZBADSIG", "ZZEMPTY"}) {
        TickerFile t;
        t.SetFileName((root.Path() / "drive_c/QEL/DATA2" / (std::string(name) + ".DTA")).string());
        EXPECT_FALSE(t.IsOpen()) << name;
    }
}
