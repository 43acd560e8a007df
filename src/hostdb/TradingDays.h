// Stepping between trading days of a market calendar, and the days of the evaluated trade
// derived from them; every step stays inside the 16-bit range of day numbers.
#pragma once

#include "hostdb/MarketCalendar.h"

namespace hostdb {

constexpr int FirstDayNumber = -32768;
constexpr int LastDayNumber = 32767;

// A weekday that is not a holiday.
bool IsTradingDay(MarketCalendar& calendar, int day);

// The first trading day after `day`; the range's last day when none is left before it.
int NextTradingDay(MarketCalendar& calendar, int day);
// The last trading day before `day`; the range's first day when none is left after it.
int PreviousTradingDay(MarketCalendar& calendar, int day);
// `day` itself when it trades, else the trading day before it.
int TradingDayAtOrBefore(MarketCalendar& calendar, int day);
// `day` itself when it trades, else the trading day after it.
int TradingDayAtOrAfter(MarketCalendar& calendar, int day);

// The first trading day after M.
int EvalOpenDay(MarketCalendar& calendar, int M);
// The trading day reached from M by evalDays + 1 steps; the open day for 0, M for a negative
// count. Any count ends: the steps stop at the end of the range.
int EvalCloseDay(MarketCalendar& calendar, int M, int evalDays);
// The largest evalDays for market day M before the last market day (at most 1000); -1 when M
// is not before it.
int MaxEvalDays(MarketCalendar& calendar, int M, int lastMarketDay);

} // namespace hostdb
