#include "hostdb/TradingDays.h"

namespace hostdb {

bool IsTradingDay(MarketCalendar& calendar, int day) { return !(calendar.DayKind(day) > 4); }

int NextTradingDay(MarketCalendar& calendar, int day) {
    if (day >= LastDayNumber) return LastDayNumber;
    int d = day < FirstDayNumber ? FirstDayNumber : day + 1;
    while (d < LastDayNumber && !IsTradingDay(calendar, d)) ++d;
    return d;
}

int PreviousTradingDay(MarketCalendar& calendar, int day) {
    if (day <= FirstDayNumber) return FirstDayNumber;
    int d = day > LastDayNumber ? LastDayNumber : day - 1;
    while (d > FirstDayNumber && !IsTradingDay(calendar, d)) --d;
    return d;
}

int TradingDayAtOrBefore(MarketCalendar& calendar, int day) {
    if (day <= LastDayNumber && day >= FirstDayNumber && IsTradingDay(calendar, day)) return day;
    return PreviousTradingDay(calendar, day);
}

int TradingDayAtOrAfter(MarketCalendar& calendar, int day) {
    if (day <= LastDayNumber && day >= FirstDayNumber && IsTradingDay(calendar, day)) return day;
    return NextTradingDay(calendar, day);
}

int EvalOpenDay(MarketCalendar& calendar, int M) { return NextTradingDay(calendar, M); }

int EvalCloseDay(MarketCalendar& calendar, int M, int evalDays) {
    int d = M;
    for (long long i = 0; i <= evalDays; ++i) {
        int next = NextTradingDay(calendar, d);
        if (next == d) break; // the end of the range
        d = next;
    }
    return d;
}

int MaxEvalDays(MarketCalendar& calendar, int M, int lastMarketDay) {
    if (M >= lastMarketDay) return -1;
    int count = 0, d = M;
    while (d < lastMarketDay && count < 1001) {
        int next = NextTradingDay(calendar, d);
        if (next == d) break;
        d = next;
        ++count;
    }
    return count - 1;
}

} // namespace hostdb
