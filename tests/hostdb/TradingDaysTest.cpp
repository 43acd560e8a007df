// Stepping by trading days over weekends and holidays, at the edges of the day range, and the
// evaluation days of any count.
#include "hostdb/TradingDays.h"

#include <climits>
#include <gtest/gtest.h>

using namespace hostdb;

namespace {

int Day(int y, int m, int d) { return MarketCalendar::DateToDay(EncodeDate(y, m, d)); }

} // namespace

TEST(TradingDays, StepsOverWeekendsAndHolidays) {
    MarketCalendar cal;
    const int goodFriday = Day(2026, 4, 3), thursday = Day(2026, 4, 2), monday = Day(2026, 4, 6);
    EXPECT_FALSE(IsTradingDay(cal, goodFriday));
    EXPECT_TRUE(IsTradingDay(cal, monday));
    EXPECT_EQ(NextTradingDay(cal, thursday), monday);
    EXPECT_EQ(PreviousTradingDay(cal, monday), thursday);
    EXPECT_EQ(PreviousTradingDay(cal, monday + 1), monday);
    EXPECT_EQ(TradingDayAtOrBefore(cal, monday), monday);
    EXPECT_EQ(TradingDayAtOrBefore(cal, monday - 1), thursday); // Sunday
    EXPECT_EQ(TradingDayAtOrBefore(cal, goodFriday), thursday);
    EXPECT_EQ(TradingDayAtOrAfter(cal, thursday), thursday);
    EXPECT_EQ(TradingDayAtOrAfter(cal, goodFriday), monday);
}

TEST(TradingDays, StepsEndAtTheEdgesOfTheDayRange) {
    MarketCalendar cal;
    EXPECT_EQ(NextTradingDay(cal, LastDayNumber), LastDayNumber);
    EXPECT_EQ(NextTradingDay(cal, LastDayNumber + 100), LastDayNumber);
    EXPECT_EQ(PreviousTradingDay(cal, FirstDayNumber), FirstDayNumber);
    EXPECT_EQ(PreviousTradingDay(cal, FirstDayNumber - 100), FirstDayNumber);
    EXPECT_LE(NextTradingDay(cal, LastDayNumber - 1), LastDayNumber);
    EXPECT_GE(PreviousTradingDay(cal, FirstDayNumber + 1), FirstDayNumber);
    EXPECT_TRUE(IsTradingDay(cal, LastDayNumber)); // a Monday
    EXPECT_EQ(TradingDayAtOrBefore(cal, LastDayNumber + 5), LastDayNumber);
    EXPECT_EQ(TradingDayAtOrAfter(cal, LastDayNumber + 5), LastDayNumber);
}

TEST(TradingDays, EvaluationDaysOfAnyCountEnd) {
    MarketCalendar cal;
    const int M = Day(2026, 12, 1);
    EXPECT_EQ(EvalCloseDay(cal, M, -1), M);
    EXPECT_EQ(EvalCloseDay(cal, M, 0), EvalOpenDay(cal, M));
    // Counts far past the range stop at its last day instead of looping or overflowing.
    EXPECT_EQ(EvalCloseDay(cal, M, INT_MAX), LastDayNumber);
    EXPECT_EQ(EvalCloseDay(cal, LastDayNumber - 3, 999), LastDayNumber);
    EXPECT_EQ(EvalOpenDay(cal, LastDayNumber), LastDayNumber);
    // The largest count is capped, also for a last day beyond the range.
    EXPECT_EQ(MaxEvalDays(cal, M, INT_MAX), 1000);
    EXPECT_EQ(MaxEvalDays(cal, LastDayNumber - 3, INT_MAX), 0);
    EXPECT_EQ(MaxEvalDays(cal, M, EvalOpenDay(cal, M)), 0);
}
