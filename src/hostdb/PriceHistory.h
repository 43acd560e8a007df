// A ticker's daily bars over the trading days up to a market date, as a chart draws them: the
// file's records with weekends and holidays left out, or the sentence that says why there are none.
#pragma once

#include "hostdb/MarketCalendar.h"
#include "hostdb/SearchPath.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace hostdb {

struct PriceBar {
    int day = 0;
    float open = 0, high = 0, low = 0, close = 0; // a zero close is a day without a price
    std::int32_t volume = 0;
};

struct PriceHistory {
    std::filesystem::path file;
    std::string symbol, name;
    std::vector<PriceBar> bars; // every trading day from the file's first to the last day asked
    std::string problem;        // why nothing can be drawn; empty when the file was read

    // The bar of `day`, or of the last trading day before it; -1 when there is none.
    int BarAtOrBefore(int day) const;
};

// Reads a ticker file's bars up to `lastDay`. A file that cannot be opened as a ticker file gives
// no bars and its problem.
PriceHistory ReadPriceHistory(const std::filesystem::path& file, MarketCalendar& calendar,
                              int lastDay);
// The same for a symbol's file on the search path; no bars and the sentence when none is there.
PriceHistory ReadPriceHistory(SearchPath& search, const std::string& symbol,
                              MarketCalendar& calendar, int lastDay);

} // namespace hostdb
