// Day numbers and date-time values: the host counts market days from Monday 31 December 1979
// (day 0); a date-time value counts days since 30 December 1899 with the time as fraction.
#pragma once

#include <cstdint>
#include <ctime>

namespace hostdb {

using DayNumber = std::int16_t;
using DateTimeValue = double;

constexpr int DayNumberOffset = 29220; // date-time value of day 0

// The first day a market date can be and the last a day number holds; days outside wrap.
constexpr int FirstHostDay = 2;    // Wednesday 2 January 1980
constexpr int LastHostDay = 32767; // Monday 16 September 2069
inline constexpr const char* HostDayRange = "1980-01-02 to 2069-09-16";
inline bool IsHostDay(long long day) { return day >= FirstHostDay && day <= LastHostDay; }

struct CivilDate {
    int year, month, day;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
bool IsValidDate(int year, int month, int day);

// The whole-day date-time value of a valid date (years 1 to 9999).
DateTimeValue EncodeDate(int year, int month, int day);
CivilDate DecodeDate(DateTimeValue value);
// 0 Sunday .. 6 Saturday, the host formatter's count.
int DayOfWeekSunday(DateTimeValue value);
// Minutes since midnight, the time first rounded to whole milliseconds as the platform's
// decoding does, so 16:00 is 960 and not 959.
int MinutesOfDay(DateTimeValue value);
// A date-time value from a date and a time of day.
DateTimeValue EncodeDateTime(int year, int month, int day, int hour, int minute, int second = 0);

// A moment of the system clock as a local date-time value, to the second, in the time zone of
// the process (TZ).
DateTimeValue LocalDateTime(std::time_t moment);
// The local clock now. Only programs call it; rules take the time as an argument.
DateTimeValue LocalNow();

} // namespace hostdb
