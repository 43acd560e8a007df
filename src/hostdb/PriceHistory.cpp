#include "hostdb/PriceHistory.h"

#include "hostdb/TickerFile.h"
#include "hostdb/TickerRules.h"
#include "hostdb/TradingDays.h"

#include <algorithm>

namespace hostdb {

int PriceHistory::BarAtOrBefore(int day) const {
    auto after = std::upper_bound(bars.begin(), bars.end(), day,
                                  [](int d, const PriceBar& b) { return d < b.day; });
    return static_cast<int>(after - bars.begin()) - 1;
}

PriceHistory ReadPriceHistory(const std::filesystem::path& file, MarketCalendar& calendar,
                              int lastDay) {
    PriceHistory h;
    h.file = file;
    h.symbol = SymbolOfFileName(file.filename().string());
    TickerFile t;
    t.SetFileName(file.string());
    if (!t.IsOpen()) {
        h.problem = "The ticker file " + file.string() + " cannot be read.";
        return h;
    }
    h.name = t.SecurityName();
    std::vector<TickerFile::Bar> bars;
    const int first = t.FirstDay();
    if (first > lastDay) return h;
    t.ReadBars(first, lastDay, bars);
    int d = first;
    for (const TickerFile::Bar& b : bars) {
        while (WeekdayOf(d) > 4) ++d; // the reader's bars are the weekdays in order
        if (IsTradingDay(calendar, d))
            h.bars.push_back({d, b.open, b.high, b.low, b.close, b.volume});
        ++d;
    }
    return h;
}

PriceHistory ReadPriceHistory(SearchPath& search, const std::string& symbol,
                              MarketCalendar& calendar, int lastDay) {
    std::filesystem::path file;
    if (search.FindFile(symbol + ".DTA", file)) return ReadPriceHistory(file, calendar, lastDay);
    PriceHistory h;
    h.symbol = symbol;
    h.problem = "No ticker file " + symbol + ".DTA is in the data directories.";
    return h;
}

} // namespace hostdb
