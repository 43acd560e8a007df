#include "hostdb/Evaluation.h"

#include <cstdint>

namespace hostdb {

int NextTradingDay(TQelCalendar& calendar, int day) {
    int d = day + 1;
    while (calendar.DayKind(d) > 4) ++d;
    return d;
}

int EvalOpenDay(TQelCalendar& calendar, int M) { return NextTradingDay(calendar, M); }

int EvalCloseDay(TQelCalendar& calendar, int M, int evalDays) {
    int d = M;
    // Bounded by the last day a day number holds, whatever evalDays says.
    for (int i = 0; i <= evalDays && d < INT16_MAX; ++i) d = NextTradingDay(calendar, d);
    return d;
}

int MaxEvalDays(TQelCalendar& calendar, int M, int lastMarketDay) {
    if (M >= lastMarketDay) return -1;
    int count = 0, d = M;
    while (d < lastMarketDay && count < 1001) {
        d = NextTradingDay(calendar, d);
        ++count;
    }
    return count - 1;
}

float TradePerformance(float open, float close, int tradeChoice) {
    // Extended precision as the host computes; the result is kept as a single.
    long double ratio = static_cast<long double>(close) / open;
    return static_cast<float>(tradeChoice == 0 ? (ratio - 1) * 100 : (1 - ratio) * 100);
}

std::vector<std::string> CompareSymbols(const std::string& compare) {
    std::vector<std::string> symbols;
    std::string current;
    for (char c : compare + ";") {
        if (c == ';') {
            if (!current.empty()) symbols.push_back(current);
            current.clear();
        } else if (c != ' ') {
            current += c;
        }
    }
    return symbols;
}

} // namespace hostdb
