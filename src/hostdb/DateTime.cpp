#include "hostdb/DateTime.h"

#include <cmath>

namespace hostdb {

namespace {

// Days from 1 January of year 1 (proleptic Gregorian) to the given date.
long DaysFromCivilStart(int y, int m, int d) {
    static const int before[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    long yy = y - 1;
    long days = yy * 365 + yy / 4 - yy / 100 + yy / 400 + before[m - 1] + (d - 1);
    if (m > 2 && IsLeapYear(y)) ++days;
    return days;
}

const long DaysTo1899_12_30 = 693593; // DaysFromCivilStart(1899, 12, 30)

} // namespace

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    static const int len[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : len[m - 1];
}

bool IsValidDate(int y, int m, int d) {
    return y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
}

DateTimeValue EncodeDate(int y, int m, int d) {
    return static_cast<double>(DaysFromCivilStart(y, m, d) - DaysTo1899_12_30);
}

DateTimeValue EncodeDateTime(int y, int m, int d, int hour, int minute, int second) {
    return EncodeDate(y, m, d) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

DateTimeValue LocalDateTime(std::time_t moment) {
    std::tm tm{};
    if (!localtime_r(&moment, &tm)) return 0;
    return EncodeDateTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                          tm.tm_sec);
}

DateTimeValue LocalNow() { return LocalDateTime(std::time(nullptr)); }

CivilDate DecodeDate(DateTimeValue value) {
    // Civil-from-days (H. Hinnant), on days since 1 March of year 0.
    long z = static_cast<long>(std::trunc(value)) + DaysTo1899_12_30 + 306;
    long era = (z >= 0 ? z : z - 146096) / 146097;
    long doe = z - era * 146097;
    long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long mp = (5 * doy + 2) / 153;
    int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    int y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
    return {y, m, d};
}

int DayOfWeekSunday(DateTimeValue value) {
    long days = static_cast<long>(std::trunc(value));
    // 30 December 1899 was a Saturday.
    long w = (days + 6) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

int MinutesOfDay(DateTimeValue value) {
    double frac = std::fabs(value - std::trunc(value));
    long ms = std::lround(frac * 86400000.0);
    return static_cast<int>(ms / 60000);
}

} // namespace hostdb
