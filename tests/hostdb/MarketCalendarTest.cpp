// The market calendar: day numbering, the built-in holidays, the host's holiday file and broken
// ones, and the cache of years.
#include "hostdb/MarketCalendar.h"

#include "support/TestUtil.h"

#include <gtest/gtest.h>

using namespace hostdb;

namespace {

int Day(int y, int m, int d) { return MarketCalendar::DateToDay(EncodeDate(y, m, d)); }

// A holiday file with records for the given years; other records are zero-filled.
std::vector<std::uint8_t> HolidayFile(const std::vector<std::pair<int, std::vector<int>>>& years,
                                      int storedYearOverride = -1) {
    std::vector<std::uint8_t> bytes;
    for (const auto& [year, days] : years) {
        size_t off = static_cast<size_t>(year - 1970) * 222;
        if (bytes.size() < off + 222) bytes.resize(off + 222, 0);
        testutil::PutInt16LE(bytes, off, storedYearOverride >= 0 ? storedYearOverride : year);
        for (size_t i = 0; i < days.size(); ++i)
            testutil::PutInt16LE(bytes, off + 202 + 2 * i, days[i]);
    }
    return bytes;
}

void Save(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    testutil::WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

} // namespace

TEST(Calendar, DayNumbering) {
    EXPECT_EQ(Day(1979, 12, 31), 0);
    EXPECT_EQ(Day(1980, 1, 1), 1);
    EXPECT_EQ(Day(2000, 1, 1), 7306);
    EXPECT_EQ(Day(2030, 1, 1), 18264);
    EXPECT_EQ(MarketCalendar::DateToDay(EncodeDateTime(2000, 1, 1, 12, 0)), 7306);
    EXPECT_EQ(MarketCalendar::DayToDate(7306), EncodeDate(2000, 1, 1));
    EXPECT_EQ(WeekdayOf(0), 0);
    EXPECT_EQ(WeekdayOf(-1), 6);
    EXPECT_EQ(WeekdayOf(-7), 0);
    // Day numbers are 16 bits: 32767 falls in 2069. (Before 1952 the year formula's
    // truncating division is off, but no host data lies there.)
    for (int y : {1952, 1980, 1999, 2000, 2024, 2068}) {
        EXPECT_EQ(YearOfDay(Day(y, 1, 1)), y);
        EXPECT_EQ(YearOfDay(Day(y, 12, 31)), y);
    }
    EXPECT_EQ(YearOfDay(32767), 2069);
    MarketCalendar cal;
    EXPECT_EQ(cal.DayKind(5), KindSaturday);
    EXPECT_EQ(cal.DayKind(6), KindSunday);
    EXPECT_EQ(cal.DayKind(1), KindHoliday); // New Year's Day 1980
    EXPECT_EQ(cal.DayKind(2), 2);
    EXPECT_EQ(cal.FormatDay("mm/dd/yy", 7306), "01/01/00");
    EXPECT_EQ(cal.TextToDay("1/3/00", EncodeDate(2026, 1, 1)), 7308);
}

TEST(Calendar, BuiltInHolidays) {
    MarketCalendar cal; // no holiday file
    const CivilDate holidays[] = {{1998, 4, 10},  {2004, 7, 5},  {2009, 7, 3},   {2005, 12, 26},
                                  {2004, 12, 24}, {2026, 1, 1},  {2026, 2, 16},  {2026, 4, 3},
                                  {2026, 5, 25},  {2026, 7, 3},  {2026, 9, 7},   {2026, 11, 26},
                                  {2026, 12, 25}, {2000, 2, 21}, {2000, 4, 21},  {2000, 5, 29},
                                  {2000, 7, 4},   {2000, 9, 4},  {2000, 11, 23}, {2000, 12, 25}};
    for (CivilDate d : holidays)
        EXPECT_EQ(cal.DayKind(Day(d.year, d.month, d.day)), KindHoliday)
            << d.year << "-" << d.month << "-" << d.day;
    // Their neighbours trade.
    EXPECT_EQ(cal.DayKind(Day(1998, 4, 9)), 3);
    EXPECT_EQ(cal.DayKind(Day(2004, 7, 6)), 1);
    EXPECT_EQ(cal.DayKind(Day(2009, 7, 2)), 3);
    EXPECT_EQ(cal.DayKind(Day(2026, 12, 24)), 3);
}

TEST(Calendar, NewYearOnSaturdayStaysInItsOwnYear) {
    // 1 January 2011 is a Saturday: its entry is Friday 31 December 2010, which is looked up in
    // the 2010 slot and so stays a trading day.
    EXPECT_EQ(BuiltInHolidays(2011)[0], Day(2010, 12, 31));
    EXPECT_EQ(BuiltInHolidays(2000)[0], Day(1999, 12, 31));
    MarketCalendar cal;
    EXPECT_EQ(cal.DayKind(Day(2010, 12, 31)), 4);
    // On a Sunday it moves to the Monday.
    EXPECT_EQ(BuiltInHolidays(2012)[0], Day(2012, 1, 2));
    EXPECT_EQ(cal.DayKind(Day(2012, 1, 2)), KindHoliday);
    EXPECT_EQ(BuiltInHolidays(2012)[8], 0);
    EXPECT_EQ(BuiltInHolidays(2012)[9], 0);
}

TEST(Calendar, HolidayFileOverridesItsYearsOnly) {
    testutil::TempDir dir;
    // 2001 lists only 14 March (a Wednesday); 2002 lies beyond the end of the file.
    Save(dir / "holiday.idx", HolidayFile({{2001, {Day(2001, 3, 14)}}}));
    MarketCalendar cal;
    cal.HolidayFileName = dir / "holiday.idx";
    EXPECT_EQ(cal.DayKind(Day(2001, 3, 14)), KindHoliday);
    EXPECT_EQ(cal.DayKind(Day(2001, 7, 4)), 2);           // not in the file's list
    EXPECT_EQ(cal.DayKind(Day(2002, 7, 4)), KindHoliday); // built-in
    EXPECT_EQ(cal.DayKind(Day(2002, 3, 14)), 3);

    // A record holding year 0 falls back to the built-in rules.
    Save(dir / "zero.idx", HolidayFile({{2001, {Day(2001, 3, 14)}}}, 0));
    MarketCalendar cal2;
    cal2.HolidayFileName = dir / "zero.idx";
    EXPECT_EQ(cal2.DayKind(Day(2001, 3, 14)), 2);
    EXPECT_EQ(cal2.DayKind(Day(2001, 7, 4)), KindHoliday);

    // Years before 1970 never read the file.
    Save(dir / "old.idx", HolidayFile({{1970, {Day(1970, 3, 4)}}}));
    MarketCalendar cal3;
    cal3.HolidayFileName = dir / "old.idx";
    EXPECT_EQ(cal3.DayKind(Day(1970, 3, 4)), KindHoliday);
    EXPECT_EQ(cal3.DayKind(Day(1969, 7, 4)), KindHoliday);
}

TEST(Calendar, BrokenHolidayFilesFallBack) {
    testutil::TempDir dir;
    std::vector<std::uint8_t> full = HolidayFile({{2001, {Day(2001, 3, 14)}}});
    std::vector<std::uint8_t> cut(full.begin(), full.end() - 1); // last record one byte short
    std::vector<std::uint8_t> garbage(5000);
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<std::uint8_t>(i * 131 + 7);
    const std::pair<const char*, std::vector<std::uint8_t>> files[] = {
        {"empty.idx", {}}, {"short.idx", {0xD1, 0x07}}, {"cut.idx", cut}, {"garbage.idx", garbage}};
    for (const auto& [name, bytes] : files) {
        Save(dir / name, bytes);
        MarketCalendar cal;
        cal.HolidayFileName = dir / name;
        EXPECT_EQ(cal.DayKind(Day(2001, 3, 14)), 2) << name;
        EXPECT_EQ(cal.DayKind(Day(2001, 7, 4)), KindHoliday) << name;
    }
    MarketCalendar missing;
    missing.HolidayFileName = dir / "none.idx";
    EXPECT_EQ(missing.DayKind(Day(2001, 7, 4)), KindHoliday);
    MarketCalendar directory;
    directory.HolidayFileName = dir.Path();
    EXPECT_EQ(directory.DayKind(Day(2001, 7, 4)), KindHoliday);

    MemoryByteSource tiny(std::span<const std::uint8_t>(full.data(), 100));
    HolidayList days{};
    EXPECT_FALSE(ReadHolidayRecord(tiny, 1970, days));
    MemoryByteSource whole(full);
    EXPECT_TRUE(ReadHolidayRecord(whole, 2001, days));
    EXPECT_EQ(days[0], Day(2001, 3, 14));
    EXPECT_FALSE(ReadHolidayRecord(whole, 1969, days));
}

TEST(Calendar, CacheReplacesTheFarthestYear) {
    // A Wednesday early in each year, so that every lookup reaches the cache.
    auto wednesday = [](int y) { return Day(y, 3, 1) + (2 - WeekdayOf(Day(y, 3, 1)) + 7) % 7; };
    MarketCalendar cal;
    for (int y = 2000; y <= 2009; ++y) cal.DayKind(wednesday(y));
    for (int i = 0; i < 10; ++i) EXPECT_EQ(MarketCalendar::CacheSlot(i).year, 2000 + i);

    EXPECT_EQ(cal.DayKind(Day(2015, 7, 3)), KindHoliday); // 2000 is farthest
    EXPECT_EQ(MarketCalendar::CacheSlot(0).year, 2015);
    cal.DayKind(Day(1998, 4, 10)); // now 2015 is
    EXPECT_EQ(MarketCalendar::CacheSlot(0).year, 1998);
    cal.DayKind(Day(2004, 7, 5)); // cached: nothing moves
    EXPECT_EQ(MarketCalendar::CacheSlot(0).year, 1998);
    EXPECT_EQ(MarketCalendar::CacheSlot(4).year, 2004);
    cal.DayKind(wednesday(1990)); // 2009 is farthest
    EXPECT_EQ(MarketCalendar::CacheSlot(9).year, 1990);

    // Equally far: the earliest slot goes.
    MarketCalendar fresh;
    for (int y : {1998, 2001, 2002, 2003, 2004, 2005, 2006, 2008, 2009, 2016})
        fresh.DayKind(wednesday(y));
    fresh.DayKind(wednesday(2007));
    EXPECT_EQ(MarketCalendar::CacheSlot(0).year, 2007);
    EXPECT_EQ(MarketCalendar::CacheSlot(9).year, 2016);

    // A new calendar empties the cache for everybody.
    MarketCalendar another;
    for (int i = 0; i < 10; ++i) EXPECT_EQ(MarketCalendar::CacheSlot(i).year, 0);
}

TEST(Calendar, CalendarsOfDifferentSourcesDoNotShareAYear) {
    testutil::TempDir dir;
    Save(dir / "holiday.idx", HolidayFile({{2001, {Day(2001, 3, 14)}}}));
    const int march14 = Day(2001, 3, 14), july4 = Day(2001, 7, 4);
    // The same questions in both orders give the same answers.
    for (bool fileFirst : {true, false}) {
        MarketCalendar withFile, builtIn;
        withFile.HolidayFileName = dir / "holiday.idx";
        auto askFile = [&] {
            EXPECT_EQ(withFile.DayKind(march14), KindHoliday);
            EXPECT_EQ(withFile.DayKind(july4), 2);
        };
        auto askBuiltIn = [&] {
            EXPECT_EQ(builtIn.DayKind(march14), 2);
            EXPECT_EQ(builtIn.DayKind(july4), KindHoliday);
        };
        if (fileFirst)
            askFile(), askBuiltIn();
        else
            askBuiltIn(), askFile();
        askFile();
        askBuiltIn();
        EXPECT_EQ(MarketCalendar::CacheSlot(0).year, 2001);
        EXPECT_EQ(MarketCalendar::CacheSlot(1).year, 2001);
        EXPECT_EQ(MarketCalendar::CacheSlot(2).year, 0);
    }
}
