// Finder settings files edited by hand or damaged reach the engine without the dialog: every
// value that feeds arithmetic or indexes a list must load safe, and a find on them must end.
#include "finder/engine/FindRun.h"
#include "support/MadeHost.h"

#include <gtest/gtest.h>

namespace {

const int Last = hostdb::MarketCalendar::DateToDay(hostdb::EncodeDate(2026, 12, 4));

finder::FinderSettings LoadMni(const std::string& body) {
    testutil::TempDir dir;
    testutil::WriteFile(dir / "T.MNI", "[Settings]\r\n" + body);
    return finder::LoadFinderSettings(dir.Path(), "T", Last);
}

} // namespace

TEST(FinderSettingsLoad, OutOfRangeValuesLoadSafe) {
    const finder::FinderSettings d = finder::DefaultFinderSettings(Last);
    using F = finder::FinderSettings;
    struct Case {
        const char* line;
        int F::*field;
        int expected;
    } cases[] = {
        {"MarketLine=12", &F::MarketLine, 8},
        {"MarketLine=100000000", &F::MarketLine, 8},
        {"MarketLine=-5", &F::MarketLine, 8},
        {"MarketLine=11", &F::MarketLine, 11},
        {"PrevActLine=1000", &F::PrevActLine, 8},
        {"MarketAction=4", &F::MarketAction, 1},
        {"PrevActAction=2", &F::PrevActAction, 1},
        {"PrevChoice=3", &F::PrevChoice, 2},
        {"PrevChoice=-1", &F::PrevChoice, 2},
        {"TradeChoice=-1", &F::TradeChoice, 0},
        {"PrevActSpentDays=0", &F::PrevActSpentDays, 1},
        {"PrevActOutOfDays=1000", &F::PrevActOutOfDays, 99},
        {"PrevDays=10", &F::PrevDays, 9},
        {"PrevUpMin=-1", &F::PrevUpMin, 0},
        {"PrevDnMax=101", &F::PrevDnMax, 100},
        {"EvalDays=2147483647", &F::EvalDays, 999},
        {"MarketDate=2147483647", &F::MarketDate, Last},
        {"MarketDate=17141", &F::MarketDate, Last}, // after the last market date
        {"MarketDate=-7305", &F::MarketDate, Last}, // 31 December 1959
        {"MarketDate=-7304", &F::MarketDate, -7304},
        {"MarketDate=17000", &F::MarketDate, 17000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoadMni(std::string(c.line) + "\r\n").*c.field, c.expected) << c.line;
    EXPECT_EQ(d.MarketLine, 8);
}

TEST(FinderSettingsLoad, HostileFileRunsToTheEnd) {
    const testutil::MadeHost host({.tickers = 12});
    testutil::WriteFile(host.program / "BAD.MNI",
                        "[Settings]\r\nMarketLine=12\r\nDoPrevAction=1\r\nPrevActLine=1000\r\n"
                        "PrevActSpentDays=2147483647\r\nPrevActOutOfDays=-9\r\nDoEval=1\r\n"
                        "EvalDays=2147483647\r\nMarketDate=-32768\r\nTradeChoice=7\r\n");
    finder::FinderSettings s = finder::LoadFinderSettings(host.program, "bad", Last);
    finder::AcceptSettings(s, Last);
    EXPECT_EQ(s.MarketDate, Last);
    finder::FindInput in;
    in.settings = s;
    in.lastMarketDay = Last;
    in.tickerFiles = host.made.tickerFiles;
    const finder::FinderFormats formats;
    grid::CellGrid g(finder::FinderColumns, finder::FinderTitleRows + 1, 0,
                     finder::FinderTitleRows);
    finder::FinderState state;
    finder::RunFind(in, g, state, formats);
    EXPECT_FALSE(state.stopped);
    EXPECT_GE(state.EndRow, finder::FinderTitleRows + 1);
}
