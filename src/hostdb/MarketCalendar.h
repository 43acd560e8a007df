// The market calendar: trading days (weekdays less the exchange holidays of the host's holiday
// file, or of built-in rules for years it lacks) and conversions of day numbers.
#pragma once

#include "hostdb/ByteSource.h"
#include "hostdb/DateText.h"
#include "hostdb/DateTime.h"
#include "platform/Locale.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace hostdb {

using HolidayList = std::array<DayNumber, 10>; // 0 = no holiday

// 0-4 a trading weekday (Monday..Friday), 5 Saturday, 6 Sunday, 7 holiday.
enum : int { KindSaturday = 5, KindSunday = 6, KindHoliday = 7 };

// One slot of the process-wide holiday cache. A year is kept per holiday source, so calendars
// with and without a holiday file never answer with each other's holidays.
struct HolidaySlot {
    DayNumber year = 0; // 0 = empty
    std::string source; // the holiday file's path; empty for the built-in rules
    HolidayList days{};
};

// Holidays of a year by the built-in rules for the United States exchanges.
HolidayList BuiltInHolidays(int year);

// The holidays of `year` from a holiday file's bytes; false when its record is missing, short
// or holds another year.
bool ReadHolidayRecord(const ByteSource& file, int year, HolidayList& days);

int WeekdayOf(int day); // 0 Monday .. 6 Sunday
int YearOfDay(int day); // valid from 1901 to 2099

class MarketCalendar {
public:
    // Every calendar created empties the cache shared by all of them.
    explicit MarketCalendar(platform::Locale locale = platform::Locale::Posix());

    std::filesystem::path HolidayFileName; // local path; empty: built-in rules only

    int DayKind(int day);
    static DayNumber DateToDay(DateTimeValue value);
    static DateTimeValue DayToDate(int day) { return day + DayNumberOffset; }
    std::string FormatDay(std::string_view format, int day) const;
    // now is what unreadable text gives (see StrToDate2k).
    DayNumber TextToDay(std::string_view text, DateTimeValue now) const;

    const platform::Locale& Locale() const { return locale_; }

    // The shared cache, for inspection.
    static const HolidaySlot& CacheSlot(int index);

private:
    void LoadYear(HolidaySlot& slot, int year) const;

    platform::Locale locale_;
};

} // namespace hostdb
