// The arithmetic of the popup calendar's month page: which of the 42 cells hold which days,
// and where each move key leads within the permitted dates.
#pragma once

#include "hostdb/DateTime.h"

#include <array>
#include <string>

namespace ui {

constexpr int CalendarCells = 42; // six weeks of seven days, Sunday first

// 1 (Sunday) to 7 (Saturday): the cell of the first day of the month.
int FirstDayCell(int year, int month);
// The cell (1 to 42) of a day of the month.
int CellOfDay(int year, int month, int day);
// The day in a cell, 0 for a blank cell.
int DayInCell(int year, int month, int cell);
// The 42 two-character texts of a page: the day number, or two blanks outside the month.
std::array<std::string, CalendarCells> MonthCells(int year, int month);

// Days moved by the keys: Page Up back by the previous month's length, Page Down on by this
// month's, End and Home a year on or back (366 days when a 29 February lies in between).
int PageUpDays(hostdb::DateTimeValue current);
int PageDownDays(hostdb::DateTimeValue current);
int EndDays(hostdb::DateTimeValue current);
int HomeDays(hostdb::DateTimeValue current);

// Where a move of n days from current goes: past a limit that lies in the shown month it does
// not move at all; past a limit in another month it stops at the limit.
hostdb::DateTimeValue MoveTarget(hostdb::DateTimeValue current, int n,
                                 hostdb::DateTimeValue minDate, hostdb::DateTimeValue maxDate);

} // namespace ui
