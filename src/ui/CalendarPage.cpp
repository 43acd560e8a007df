#include "ui/CalendarPage.h"

#include <cmath>
#include <cstdio>

using hostdb::CivilDate;
using hostdb::DateTimeValue;
using hostdb::DaysInMonth;
using hostdb::DecodeDate;
using hostdb::IsLeapYear;

namespace ui {

int FirstDayCell(int year, int month) {
    return hostdb::DayOfWeekSunday(hostdb::EncodeDate(year, month, 1)) + 1;
}

int CellOfDay(int year, int month, int day) { return FirstDayCell(year, month) + day - 1; }

int DayInCell(int year, int month, int cell) {
    int day = cell - FirstDayCell(year, month) + 1;
    return day >= 1 && day <= DaysInMonth(year, month) ? day : 0;
}

std::array<std::string, CalendarCells> MonthCells(int year, int month) {
    std::array<std::string, CalendarCells> cells;
    for (int cell = 1; cell <= CalendarCells; ++cell) {
        int day = DayInCell(year, month, cell);
        char text[8];
        std::snprintf(text, sizeof text, "%2d", day);
        cells[static_cast<size_t>(cell - 1)] = day ? text : "  ";
    }
    return cells;
}

int PageUpDays(DateTimeValue current) {
    CivilDate d = DecodeDate(current);
    return d.month == 1 ? DaysInMonth(d.year - 1, 12) : DaysInMonth(d.year, d.month - 1);
}

int PageDownDays(DateTimeValue current) {
    CivilDate d = DecodeDate(current);
    return DaysInMonth(d.year, d.month);
}

int EndDays(DateTimeValue current) {
    CivilDate d = DecodeDate(current);
    int yearAhead = DecodeDate(current + 365).year;
    bool leap = (IsLeapYear(d.year) && d.month <= 2) || (IsLeapYear(yearAhead) && d.month > 2);
    return leap ? 366 : 365;
}

int HomeDays(DateTimeValue current) {
    CivilDate d = DecodeDate(current);
    int yearBack = DecodeDate(current - 365).year;
    bool leap = (IsLeapYear(d.year) && d.month > 2) || (IsLeapYear(yearBack) && d.month < 3);
    return leap ? 366 : 365;
}

namespace {

bool SameMonth(DateTimeValue a, DateTimeValue b) {
    CivilDate x = DecodeDate(a), y = DecodeDate(b);
    return x.year == y.year && x.month == y.month;
}

} // namespace

DateTimeValue MoveTarget(DateTimeValue current, int n, DateTimeValue minDate,
                         DateTimeValue maxDate) {
    current = std::floor(current);
    maxDate = std::floor(maxDate);
    minDate = std::floor(minDate);
    DateTimeValue target = current + n;
    if (target > maxDate) {
        if (SameMonth(maxDate, current)) return current;
        target = maxDate;
    }
    if (target < minDate) {
        if (SameMonth(minDate, current)) return current;
        target = minDate;
    }
    return target;
}

} // namespace ui
