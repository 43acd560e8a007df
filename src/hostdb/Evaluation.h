// The trade evaluation both programs show: a trade opened at the open of the first trading day
// after the market date and closed at a later close (its days: TradingDays.h), and the
// comparison tickers' list.
#pragma once

#include <string>
#include <vector>

namespace hostdb {

// Percent result of a trade from its open and close prices; short trades negated.
float TradePerformance(float open, float close, int tradeChoice);

// The symbols of a comparison list: blanks dropped, split at ";", empty ones passed over.
std::vector<std::string> CompareSymbols(const std::string& compare);

} // namespace hostdb
