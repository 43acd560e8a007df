// The trade evaluation both programs show: a trade opened at the open of the first trading day
// after the market date and closed at a later close, and the comparison tickers' list.
#pragma once

#include "hostdb/Qelcalen.h"

#include <string>
#include <vector>

namespace hostdb {

int NextTradingDay(TQelCalendar& calendar, int day);
// The first trading day after M.
int EvalOpenDay(TQelCalendar& calendar, int M);
// The trading day reached from M by evalDays + 1 steps; the open day for 0.
int EvalCloseDay(TQelCalendar& calendar, int M, int evalDays);
// The largest evalDays for market day M before the last market day; -1 when M is not before it.
int MaxEvalDays(TQelCalendar& calendar, int M, int lastMarketDay);

// Percent result of a trade from its open and close prices; short trades negated.
float TradePerformance(float open, float close, int tradeChoice);

// The symbols of a comparison list: blanks dropped, split at ";", empty ones passed over.
std::vector<std::string> CompareSymbols(const std::string& compare);

} // namespace hostdb
