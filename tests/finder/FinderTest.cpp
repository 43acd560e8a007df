// The finder's engine: indicator lines, the line test and previous action, the find run's rows,
// evaluation and expert ratings, its settings file, and sorting, also in a comma-decimal locale.
#include "finder/engine/FindRun.h"
#include "support/TestUtil.h"
#include "tools/make-host/HostWriter.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <thread>

using namespace finder;

namespace {

int Day(int y, int m, int d) {
    return hostdb::MarketCalendar::DateToDay(hostdb::EncodeDate(y, m, d));
}

// Weekday closes ending on `last` (0 = a day without data); opens equal closes.
hostgen::TickerSpec Closes(int last, const std::vector<double>& closes, char status = 'A') {
    hostgen::TickerSpec spec;
    spec.format = '4';
    spec.status = status;
    spec.name = "Test Co";
    spec.lastDay = last;
    int d = last;
    for (size_t i = 0; i < closes.size(); ++i) {
        if (i > 0) do
                --d;
            while (hostdb::WeekdayOf(d) > 4);
        auto t = static_cast<std::int64_t>(std::llround(closes[closes.size() - 1 - i] * 10000));
        spec.records.insert(spec.records.begin(), hostgen::DayRecord{{t, t, t, t}, 100});
    }
    spec.firstDay = d;
    return spec;
}

LineRings Lines(const hostgen::TickerSpec& spec, int marketLine, int second = -1) {
    std::vector<std::uint8_t> bytes = hostgen::EncodeTicker(spec);
    hostdb::TickerFile t([&](const std::string&) -> std::unique_ptr<hostdb::ByteSource> {
        return std::make_unique<hostdb::MemoryByteSource>(bytes);
    });
    t.SetFileName("t");
    LineRings r;
    ComputeLines(t, spec.lastDay, marketLine, second, r);
    return r;
}

const int Fri = Day(2026, 11, 20);

// A chart that answers ratings from a table of symbol -> day -> (up, dn).
struct FakeChart : ChartWindow {
    std::map<std::string, std::map<int, std::pair<int, int>>> ratings;
    std::string shown;
    int prepared = 0, restored = 0;
    std::vector<std::string> asked;    // every ticker shown, in order
    std::set<std::thread::id> threads; // every thread that drove the chart
    void Prepare() override { ++prepared; }
    Shown ShowTicker(const std::string& symbol, const std::function<bool()>&) override {
        shown = symbol;
        asked.push_back(symbol);
        threads.insert(std::this_thread::get_id());
        return Shown::Yes;
    }
    int day = 0;
    bool MoveToDay(int d) override {
        day = d;
        return true;
    }
    bool ReadEr(int& up, int& dn) override {
        auto it = ratings[shown].find(day);
        up = it == ratings[shown].end() ? 0 : it->second.first;
        dn = it == ratings[shown].end() ? 0 : it->second.second;
        return true;
    }
    void Restore() override { ++restored; }
};

} // namespace

TEST(FinderLines, Examples) {
    LineRings ma = Lines(Closes(Fri, {10, 12}), 9);
    EXPECT_EQ(ma.Line(9, 0), static_cast<float>(10 + 2.0L / 21));
    EXPECT_EQ(ma.Line(9, 1), 10.0f); // the first-day fill
    LineRings esa = Lines(Closes(Fri, {10, 12}), 8);
    EXPECT_EQ(esa.Line(8, 0), 10.08f);
    // A day without a close in between changes nothing.
    LineRings gap = Lines(Closes(Fri, {10, 0, 12}), 8);
    EXPECT_EQ(gap.Line(8, 0), 10.08f);
    EXPECT_EQ(gap.processed, 2);

    LineRings band = Lines(Closes(Fri, {10}), 4);
    EXPECT_EQ(band.Line(4, 0), static_cast<float>(1.1L * 10));
    EXPECT_EQ(band.Line(5, 0), 9.0f);
    LineRings boll = Lines(Closes(Fri, {10}), 0);
    EXPECT_TRUE(std::isnan(boll.Line(0, 0))) << "no band on the first day";
    // One computation gives both lines of a pair.
    LineRings two = Lines(Closes(Fri, {10, 11, 13, 12}), 0);
    EXPECT_FALSE(std::isnan(two.Line(1, 0)));
    EXPECT_GT(two.Line(0, 0), two.Line(1, 0));
    // Over 20 equal closes the deviation vanishes: both bands sit on the mean.
    LineRings flat = Lines(Closes(Fri, std::vector<double>(25, 7.5)), 1);
    EXPECT_EQ(flat.Line(0, 0), 7.5f);
    EXPECT_EQ(flat.Line(1, 0), 7.5f);

    // Past 200 days the rings wrap; the 100-day MA still drops the close 100 days back.
    std::vector<double> rising;
    for (int i = 1; i <= 250; ++i) rising.push_back(i);
    LineRings wrap = Lines(Closes(Fri, rising), 11);
    EXPECT_NEAR(wrap.Line(11, 0), 200.5, 1e-3); // the mean of 151..250
    EXPECT_EQ(wrap.Close(0), 250.0f);
    EXPECT_EQ(wrap.Close(199), 51.0f);
    EXPECT_EQ(wrap.processed, 250);
}

// Bands worked out where they are read are the bands of the every-day pass, bit for bit, on
// every day a read reaches: short and long histories, gaps, and closes that turn the pass back
// to its first day (negative, NaN, infinite), with every second line.
TEST(FinderLines, BandsWhereReadAreEveryDayBands) {
    std::vector<std::vector<float>> histories;
    std::uint32_t seed = 7;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
    for (int length : {1, 2, 19, 20, 21, 199, 200, 201, 219, 220, 256, 300, 700}) {
        std::vector<float> h;
        float c = 50;
        for (int i = 0; i < length; ++i) {
            c *= 1 + static_cast<float>(static_cast<int>(next() % 2001) - 1000) / 20000;
            h.push_back(next() % 13 == 0 ? 0 : c);
        }
        histories.push_back(h);
    }
    std::vector<float> turned(300, 10.0f);
    turned[150] = -400, turned[151] = 3; // the mean goes below zero: the first-day rule again
    histories.push_back(turned);
    turned[150] = NAN;
    histories.push_back(turned);
    turned[150] = INFINITY;
    histories.push_back(turned);
    auto same = [](float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    for (size_t h = 0; h < histories.size(); ++h)
        for (int second : {-1, 1, 2, 4, 7, 11}) {
            LineRings lazy, everyDay;
            ComputeLines(histories[h], 0, second, lazy);
            ComputeLines(histories[h], 0, second, everyDay, true);
            for (int j = 0; j < 200; ++j)
                for (int line : {0, 1, second}) {
                    if (line < 0) continue;
                    float a = lazy.Line(line, j), b = everyDay.Line(line, j);
                    ASSERT_TRUE(same(a, b) || (std::isnan(a) && std::isnan(b)))
                        << "history " << h << " line " << line << " day " << j << ": " << a
                        << " against " << b;
                }
        }
}

// The chart's line on each day is the value the find tests with that day as the market date.
TEST(FinderLines, LineByDayIsTheFindsLine) {
    std::vector<double> closes;
    double c = 40;
    for (int i = 0; i < 320; ++i)
        closes.push_back(i % 17 == 5 ? 0 : (c += (i * 7919 % 13) - 6.2) > 1 ? c : c = 3);
    const hostgen::TickerSpec spec = Closes(Fri, closes);
    std::vector<std::uint8_t> bytes = hostgen::EncodeTicker(spec);
    hostdb::TickerFile t([&](const std::string&) -> std::unique_ptr<hostdb::ByteSource> {
        return std::make_unique<hostdb::MemoryByteSource>(bytes);
    });
    t.SetFileName("t");
    std::vector<int> days;
    std::array<std::vector<float>, 2> byDay;
    for (int line = 0; line < LineCount; ++line) {
        LineByDay(t, Fri, line, -1, days, byDay);
        const std::vector<float>& values = byDay[0];
        ASSERT_EQ(days.size(), values.size());
        ASSERT_EQ(days.back(), Fri);
        for (size_t i = 0; i < days.size(); i += 7) {
            t.SetDay(days[i]);
            if (t.Close() == 0) {
                EXPECT_TRUE(std::isnan(values[i])) << "a day without a close has no value";
                continue;
            }
            auto rings = std::make_unique<LineRings>();
            ComputeLines(t, days[i], line, -1, *rings);
            const float find = rings->Line(line, 0);
            EXPECT_TRUE(std::memcmp(&find, &values[i], sizeof find) == 0 ||
                        (std::isnan(find) && std::isnan(values[i])))
                << LineNames[line] << " on day " << days[i] << ": " << values[i] << " against "
                << find;
        }
    }
}

TEST(FinderLines, LineTestAndPreviousAction) {
    FinderSettings s;
    s.MarketLine = 9;
    s.MarketAction = CrossedAbove;
    // Yesterday's close equal to yesterday's line: no cross.
    EXPECT_FALSE(LineTest(s, Lines(Closes(Fri, {10, 10, 12}), 9)));
    EXPECT_TRUE(LineTest(s, Lines(Closes(Fri, {10, 9, 12}), 9)));
    s.MarketAction = ClosedAbove;
    EXPECT_TRUE(LineTest(s, Lines(Closes(Fri, {10, 10, 12}), 9)));
    s.MarketAction = ClosedBelow;
    EXPECT_FALSE(LineTest(s, Lines(Closes(Fri, {10, 10, 10}), 9)));

    s.PrevActLine = 9;
    s.PrevActAction = 0; // above
    s.PrevActSpentDays = 3;
    s.PrevActOutOfDays = 5;
    // Falling first, then eight days in a row above the rising average: shows 8.
    std::vector<double> c{20, 15, 10, 8, 6};
    for (int i = 0; i < 9; ++i) c.push_back(30 + i);
    EXPECT_EQ(PreviousActionCount(s, Lines(Closes(Fri, c), 9)), 8);
    // 3 of the previous 5 above, the 4th day back below: shows 3.
    std::vector<double> d{10, 10, 10, 10, 10, 10, 2, 1, 30, 31, 32, 33};
    EXPECT_EQ(PreviousActionCount(s, Lines(Closes(Fri, d), 9)), 3);
    s.PrevActSpentDays = 4;
    EXPECT_EQ(PreviousActionCount(s, Lines(Closes(Fri, d), 9)), -1);
    // Days before the history never qualify.
    s.PrevActSpentDays = 1;
    s.PrevActLine = 8;
    EXPECT_EQ(PreviousActionCount(s, Lines(Closes(Fri, {5, 6, 7}), 8)), 1);
}

TEST(FinderEr, Conditions) {
    FinderSettings s;
    s.PrevUp = true;
    s.PrevUpMin = 90, s.PrevUpMax = 100;
    EXPECT_TRUE(ErMatches(s, 90, 5));
    EXPECT_FALSE(ErMatches(s, 89, 5));
    EXPECT_FALSE(ErMatches(s, 0, 0));
    s.PrevUp = false;
    s.PrevExact = true;
    s.PrevExactText = "85-95";
    EXPECT_TRUE(ErMatches(s, 5, 95)); // a substring of 85-95
    EXPECT_TRUE(ErMatches(s, 85, 95));
    EXPECT_FALSE(ErMatches(s, 95, 85));
    s.PrevExactText = "0-0";
    EXPECT_FALSE(ErMatches(s, 0, 0));
}

namespace {

// A host data directory of ticker files and a find over it.
struct FindScenario {
    testutil::TempDir dir;
    FindInput in;
    FinderFormats f;
    grid::CellGrid g{FinderColumns, FinderTitleRows + 1, 0, FinderTitleRows};
    FinderState st;

    FindScenario() {
        in.settings = DefaultFinderSettings(Fri);
        in.settings.DoPrevAction = false;
        in.settings.MarketAction = ClosedAbove;
        in.settings.MarketLine = 9;
        in.lastMarketDay = Day(2026, 12, 4);
        in.equityPathList = dir.Path().string();
    }
    void Add(const std::string& file, const hostgen::TickerSpec& spec) {
        std::vector<std::uint8_t> b = hostgen::EncodeTicker(spec);
        testutil::WriteFile(dir / file, std::string(b.begin(), b.end()));
        in.tickerFiles.push_back(dir / file);
    }
    void Go() {
        EvaluationDays(in.settings);
        RunFind(in, g, st, f);
    }
    std::string Row(int r) const {
        std::string s;
        for (int c = 0; c < FinderColumns; ++c) s += (c ? "|" : "") + g.Text(c, r);
        return s;
    }
};

} // namespace

TEST(FindRun, NothingFoundAndHeaders) {
    FindScenario none;
    none.Go();
    EXPECT_EQ(none.Row(2), " | | | | Ticker| Name");
    EXPECT_EQ(none.g.Format(4, 2), &none.f.BoldLeft);
    EXPECT_EQ(none.Row(3), " |None |Found| | | ");
    EXPECT_EQ(none.g.Format(1, 3), &none.f.BoldRight);
    EXPECT_EQ(none.st.EndRow, 6);
    EXPECT_EQ(none.st.listed, 0);

    FindScenario low;
    low.Add("LOW.DTA", Closes(Fri, {10, 10, 9}));
    low.in.settings.DoPrevAction = true;
    low.in.settings.DoEval = true;
    low.Go();
    EXPECT_EQ(low.Row(0), " | |# days|11/23/26| | ");
    EXPECT_EQ(low.Row(1), " | |below|long, to| | ");
    EXPECT_EQ(low.Row(2), " | |the line|12/01/26| Ticker| Name"); // 5 days on, past Thanksgiving
    EXPECT_EQ(low.Row(3), " |None |Found| | | ");
}

TEST(FindRun, RowsEvaluationAndCompare) {
    FindScenario sc;
    const int mon = Day(2026, 11, 23), wed = Day(2026, 11, 25), last = Day(2026, 12, 4);
    // Up 5 % from the entry day's open to the exit's close (EvalDays 2: Monday to Wednesday).
    // Weekdays from Wednesday 18 November to Friday 4 December; the market date is the 20th.
    std::vector<double> up{10, 10, 12, 20, 20.5, 21, 21, 21, 21, 21, 21, 21, 21};
    sc.Add("UP.DTA", Closes(last, up));
    sc.Add("BELOW.DTA", Closes(last, {10, 10, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8}));
    sc.Add("NOTA.DTA", Closes(last, up, 'D'));
    sc.Add("SPX.DTA",
           Closes(last, {100, 100, 100, 100, 101, 102, 102, 102, 102, 102, 102, 102, 102}));
    sc.in.tickerFiles.pop_back(); // only a compare ticker
    sc.in.settings.DoEval = true;
    sc.in.settings.EvalDays = 2;
    sc.in.settings.Compare = " SPX ; nosuch;";
    sc.Go();
    EXPECT_EQ(sc.in.settings.EntryDay, mon);
    EXPECT_EQ(sc.in.settings.ExitDay, wed);
    EXPECT_EQ(sc.Row(3), " | | |5.0%   |UP|Test Co");
    EXPECT_EQ(sc.g.Format(3, 3), &sc.f.Right);
    EXPECT_EQ(sc.st.LastResultRow, 3);
    EXPECT_EQ(sc.Row(4), " | | | | | "); // separating row
    EXPECT_EQ(sc.Row(5), " | | |5.0%   |average|change over 1 tickers");
    EXPECT_EQ(sc.g.Format(4, 5), &sc.f.Centred);
    EXPECT_EQ(sc.Row(6), " | | |2.0%   |SPX|Test Co");
    EXPECT_EQ(sc.st.EndRow, 8);

    sc.in.settings.TradeChoice = 1;
    sc.Go();
    EXPECT_EQ(sc.g.Text(3, 3), "-5.0%   ");
    EXPECT_EQ(sc.g.Text(3, 6), "-2.0%   ");

    // Evaluation on but no prices after the market date: no average, no compare rows.
    FindScenario late;
    late.Add("UP.DTA", Closes(Fri, {10, 10, 12}));
    late.in.settings.DoEval = true;
    late.Go();
    EXPECT_EQ(late.g.Text(3, 3), " ");
    EXPECT_EQ(late.st.EndRow, 6);
}

TEST(FindRun, ExpertRatings) {
    FakeChart chart;
    const int thu = Day(2026, 11, 19), wed = Day(2026, 11, 18);
    chart.ratings["UP"][wed] = {95, 5};
    for (int prevDays : {1, 2}) {
        FindScenario sc;
        sc.Add("UP.DTA", Closes(Fri, {10, 10, 12}));
        sc.in.chart = &chart;
        sc.in.settings.PrevChoice = Require;
        sc.in.settings.PrevUp = true;
        sc.in.settings.PrevDays = prevDays;
        sc.Go();
        if (prevDays == 1)
            EXPECT_EQ(sc.Row(3), " |None |Found| | | ");
        else
            EXPECT_EQ(sc.Row(3), "2|95-5| | |UP|Test Co");
        EXPECT_EQ(sc.Row(0).substr(0, 11), "Found|Prev.");
    }
    (void)thu;
    FindScenario tell;
    tell.Add("UP.DTA", Closes(Fri, {10, 10, 12}));
    tell.in.chart = &chart;
    tell.in.settings.PrevChoice = JustLetMeKnow;
    tell.in.settings.PrevDn = true;
    tell.Go();
    EXPECT_EQ(tell.Row(3), " | | | |UP|Test Co");
    EXPECT_GE(chart.prepared, 1);
    EXPECT_EQ(chart.prepared, chart.restored);

    // On worker threads the chart is still driven from the calling thread, ticker by ticker in
    // the list's order, and the rows are those of one thread.
    std::vector<std::string> rows[2];
    std::vector<std::string> asked[2];
    for (int run = 0; run < 2; ++run) {
        FakeChart many;
        FindScenario sc;
        for (int i = 0; i < 30; ++i) {
            const std::string symbol = "T" + std::to_string(i);
            sc.Add(symbol + ".DTA", Closes(Fri, {10, 10, i % 3 ? 12.0 : 8.0}));
            many.ratings[symbol][Fri] = {60 + i, 5};
        }
        sc.in.chart = &many;
        sc.in.threads = run == 0 ? 1 : 7;
        sc.in.settings.PrevChoice = Require;
        sc.in.settings.PrevUp = true;
        sc.in.settings.PrevUpMin = 70;
        sc.Go();
        for (int r = 0; r < sc.g.RowCount(); ++r) rows[run].push_back(sc.Row(r));
        asked[run] = many.asked;
        EXPECT_EQ(many.threads, std::set{std::this_thread::get_id()});
    }
    EXPECT_EQ(asked[0].size(), 20u);
    EXPECT_EQ(asked[1], asked[0]);
    EXPECT_EQ(rows[1], rows[0]);

    FindScenario noChart;
    noChart.in.settings.PrevChoice = Require;
    noChart.in.settings.PrevUp = true;
    EXPECT_THROW(noChart.Go(), std::invalid_argument);
}

TEST(FinderSettingsFile, DefaultsAndSwaps) {
    testutil::TempDir dir;
    FinderSettings d = LoadFinderSettings(dir.Path(), "", Fri);
    EXPECT_EQ(d.MarketDate, Fri);
    EXPECT_EQ(d.MarketAction, CrossedAbove);
    EXPECT_EQ(std::string(LineNames[d.MarketLine]), "49d LT ESA");
    EXPECT_TRUE(d.DoPrevAction);
    EXPECT_EQ(d.PrevActAction, 1);
    EXPECT_EQ(d.PrevActSpentDays, 3);
    EXPECT_EQ(d.PrevActOutOfDays, 5);
    EXPECT_EQ(std::string(PrevChoiceNames[d.PrevChoice]), " I don't really care");
    EXPECT_FALSE(d.DoEval);
    EXPECT_EQ(d.Compare, "SPX");
    // A file without DoPrevAction turns it off.
    testutil::WriteFile(dir / "A.MNI", "[Settings]\r\nMarketLine=3\r\nCompare=spx;rut\r\n");
    FinderSettings a = LoadFinderSettings(dir.Path(), "A", Fri);
    EXPECT_FALSE(a.DoPrevAction);
    EXPECT_EQ(a.MarketLine, 3);
    EXPECT_EQ(a.Compare, "SPX;RUT"); // as the dialog takes it

    d.PrevUpMin = 100, d.PrevUpMax = 95;
    SwapReversedRanges(d);
    EXPECT_EQ(d.PrevUpMin, 95);
    EXPECT_EQ(d.PrevUpMax, 100);
    d.PrevExactText = "85-95;5-95";
    SaveFinderSettings(d, dir.Path(), "B");
    std::string text = testutil::ReadFile(dir / "B.MNI");
    EXPECT_EQ(
        text.rfind("[Settings]\r\nMarketDate=" + std::to_string(Fri) + "\r\nMarketAction=1\r\n", 0),
        0u);
    EXPECT_EQ(LoadFinderSettings(dir.Path(), "B", Fri), d);
    EXPECT_EQ(FinderDialogCaption("B", true), "ZimRA Settings (B - modified)");
    EXPECT_EQ(FinderDialogCaption("", false), "ZimRA Settings");
    EXPECT_EQ(FindButtonCaption(true), "&Find using these unsaved settings");
}

TEST(FinderSort, KeysAndOrders) {
    EXPECT_FLOAT_EQ(ErKey("95-5", '.'), 34 + 95 + 0.94f);
    EXPECT_FLOAT_EQ(ErKey("20-80", '.'), 20 + 0.2f);
    EXPECT_EQ(ErKey(" ", '.'), -1);
    EXPECT_EQ(NumberKey(" ", '.'), -1);
    EXPECT_EQ(NumberKey("12", '.'), 12);

    const platform::Locale posix = platform::Locale::Posix();
    FinderFormats f;
    grid::CellGrid g(FinderColumns, 3 + 4 + 2, 0, 3);
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < FinderColumns; ++c) g.Set(c, r, " ", &f.PlainLeft);
    for (int c = 0; c < FinderColumns; ++c) g.Set(c, 2, "h", &f.Centred);
    const char* er[] = {"90-10", "20-80", "95-5", " "};
    const char* day[] = {"1", "1", "1", " "};
    const char* result[] = {"12.3%   ", " ", "-4.0%   ", "0.5%   "};
    const char* ticker[] = {"bb", "AA", "cc", "Ab"};
    for (int i = 0; i < 4; ++i) {
        g.Set(0, 3 + i, day[i], &f.Centred);
        g.Set(1, 3 + i, er[i], &f.Dash);
        g.Set(3, 3 + i, result[i], &f.Right);
        g.Set(4, 3 + i, ticker[i], &f.PlainLeft);
    }
    FinderState s;
    s.FirstResultRow = 3, s.LastResultRow = 6;
    auto column = [&](int c) {
        std::vector<std::string> v;
        for (int r = 3; r <= 6; ++r) v.push_back(g.Text(c, r));
        return v;
    };
    ASSERT_EQ(SortFinderResults(g, f, s, 0, true, posix), SortOutcome::Sorted);
    EXPECT_EQ(column(1), (std::vector<std::string>{"95-5", "90-10", "20-80", " "}));
    EXPECT_EQ(g.Format(0, 2), &f.BoldCentred);
    SortFinderResults(g, f, s, 3, false, posix);
    EXPECT_EQ(column(3), (std::vector<std::string>{" ", "-4.0%   ", "0.5%   ", "12.3%   "}));
    EXPECT_EQ(g.Format(0, 2), &f.Centred);
    EXPECT_EQ(g.Format(3, 2), &f.BoldCentred);
    SortFinderResults(g, f, s, 4, false, posix);
    EXPECT_EQ(column(4), (std::vector<std::string>{"AA", "Ab", "bb", "cc"}));
    EXPECT_EQ(g.Text(0, 7), " "); // the spare row is left clear

    FinderState one = s;
    one.LastResultRow = 3;
    EXPECT_EQ(SortFinderResults(g, f, one, 4, false, posix), SortOutcome::NotSortable);
    grid::CellGrid big(FinderColumns, 3 + 2502, 0, 3);
    FinderState many;
    many.FirstResultRow = 3, many.LastResultRow = 3 + 2500;
    EXPECT_EQ(SortFinderResults(big, f, many, 0, false, posix), SortOutcome::TooManyItems);
    EXPECT_EQ(SortFinderResults(big, f, many, 5, false, posix), SortOutcome::Sorted);
}

TEST(FinderSort, CommaDecimalLocale) {
    EXPECT_FLOAT_EQ(NumberKey("12,5", ','), 12.5f);
    EXPECT_EQ(NumberKey("12.5", ','), -1); // not how that locale writes it
    EXPECT_FLOAT_EQ(NumberKey("-3,25", ','), -3.25f);
    for (const char* no : {"", ",", "1,5x", "inf", "nan", "0x10", "1e", "1 5"})
        EXPECT_EQ(NumberKey(no, ','), -1) << no;
    EXPECT_FLOAT_EQ(ResultKey("12,3%   ", ','), 12.3f);
    EXPECT_EQ(ResultKey(" ", ','), -9999999.0f);
    EXPECT_FLOAT_EQ(ErKey("95-5", ','), 34 + 95 + 0.94f);
}

TEST(FindRun, CommaDecimalLocaleDatesAndSorting) {
    platform::Locale german;
    german.decimalSeparator = ',';
    german.thousandSeparator = '.';
    german.dateSeparator = '.';
    FindScenario sc;
    const int last = Day(2026, 12, 4);
    // Up 5 %, down 10 % and up 2 % from Monday's open to Wednesday's close.
    auto ticker = [&](double wed) {
        return Closes(last, {10, 10, 12, 20, 20, wed, 21, 21, 21, 21, 21, 21, 21});
    };
    sc.Add("UP.DTA", ticker(21));
    sc.Add("DOWN.DTA", ticker(18));
    sc.Add("LITTLE.DTA", ticker(20.4));
    sc.in.locale = german;
    sc.in.settings.DoEval = true;
    sc.in.settings.EvalDays = 2;
    sc.Go();
    EXPECT_EQ(sc.g.Text(3, 0), "11.23.26");
    EXPECT_EQ(sc.g.Text(3, 2), "11.25.26");
    EXPECT_EQ(sc.g.Text(3, 3), "5,0%   ");
    ASSERT_EQ(SortFinderResults(sc.g, sc.f, sc.st, 3, false, german), SortOutcome::Sorted);
    auto column = [&](int c) {
        std::vector<std::string> v;
        for (int r = sc.st.FirstResultRow; r <= sc.st.LastResultRow; ++r)
            v.push_back(sc.g.Text(c, r));
        return v;
    };
    EXPECT_EQ(column(4), (std::vector<std::string>{"DOWN", "LITTLE", "UP"}));
    SortFinderResults(sc.g, sc.f, sc.st, 3, true, german);
    EXPECT_EQ(column(3), (std::vector<std::string>{"5,0%   ", "2,0%   ", "-10,0%   "}));
}
