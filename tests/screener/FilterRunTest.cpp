// The screener's filter tests (new highs and lows, closes, gaps, volumes, Combo) and the filter
// run's rows, counts, minimums, Stop and evaluation.
#include "screener/engine/FilterRun.h"

#include "hostdb/Evaluation.h"
#include "support/TestUtil.h"
#include "tools/make-host/HostWriter.h"

#include <gtest/gtest.h>

using namespace screener;

namespace {

DataSetRecord Rec(const std::string& symbol, float close = 10, float change = 0.5f) {
    DataSetRecord r;
    r.Symbol = symbol;
    r.Name = symbol + " Inc";
    r.Close = close;
    r.Change = change;
    r.HighRun = 0, r.PrevHighRun = 0, r.LowRun = 0, r.PrevLowRun = 0;
    r.GapUpAge = -1, r.GapDownAge = -1;
    r.Volume = 1000;
    r.VolumePercent.fill(0);
    return r;
}

int Day(int y, int m, int d) {
    return hostdb::MarketCalendar::DateToDay(hostdb::EncodeDate(y, m, d));
}

// A data set file, a host data directory and a grid to run the filter into.
struct Scenario {
    testutil::TempDir dir;
    FilterRunInput in;
    ScreenerFormats f;
    grid::CellGrid g = MakeResultGrid();
    ResultState state;
    FilterRunOutput out;

    explicit Scenario(const std::vector<DataSetRecord>& records) {
        std::string bytes;
        for (const DataSetRecord& r : records) {
            std::uint8_t raw[DataSetRecord::Size];
            r.Encode(raw);
            bytes.append(reinterpret_cast<char*>(raw), sizeof raw);
        }
        in.dataSetPath = dir / "26120210.vds";
        testutil::WriteFile(in.dataSetPath, bytes);
        std::filesystem::create_directories(dir / "data");
        in.equityPathList = (dir / "data").string();
        in.settings.Page = PageAll;
        in.settings.DoEval = false;
    }

    // A ticker file whose only prices are the open on `openDay` and the close on `closeDay`.
    void Ticker(const std::string& file, int openDay, float open, int closeDay, float close,
                char status = 'A', char kind = 'S') {
        hostgen::TickerSpec spec;
        spec.format = 'D';
        spec.kind = kind;
        spec.status = status;
        spec.firstDay = openDay - 14;
        spec.lastDay = closeDay;
        for (int d = spec.firstDay; d <= spec.lastDay; ++d) {
            if (hostdb::WeekdayOf(d) > 4) continue;
            hostgen::DayRecord r;
            auto t = [](float p) { return static_cast<std::int64_t>(p * 100 + 0.5f); };
            if (d == openDay) r.ticks[0] = t(open), r.ticks[1] = t(open), r.ticks[2] = t(open);
            if (d == closeDay) r.ticks[3] = t(close), r.ticks[1] = t(close), r.ticks[2] = t(close);
            spec.records.push_back(r);
        }
        std::vector<std::uint8_t> b = hostgen::EncodeTicker(spec);
        testutil::WriteFile(dir / "data" / file, std::string(b.begin(), b.end()));
    }

    FilterRunOutput Go(const hostdb::Progress& progress = {}) {
        ColumnTitleInfo titles{in.settings.VolumeDays, in.settings.DoEval, in.settings.TradeChoice,
                               "12/3/26", "12/8/26"};
        out = RunFilter(in, g, state, f, titles, progress);
        return out;
    }

    std::vector<std::string> Column(int c) const {
        std::vector<std::string> v;
        for (int r = state.FirstResultRow; r <= state.LastResultRow; ++r) v.push_back(g.Text(c, r));
        return v;
    }
};

} // namespace

TEST(FilterTests, NewHighAndLow) {
    FilterSettings s;
    DataSetRecord r = Rec("A");
    r.HighRun = 195, r.PrevHighRun = 194; // 39 weeks just reached
    EXPECT_TRUE(TestNewHigh(s, r));
    r.PrevHighRun = 195;
    EXPECT_FALSE(TestNewHigh(s, r));
    s.NewHighOnly = false;
    EXPECT_TRUE(TestNewHigh(s, r));
    r.HighRun = 194;
    EXPECT_FALSE(TestNewHigh(s, r));
    // 0 weeks: nothing "just reached" it, everything is at it.
    s.NewHighWeeks = 0;
    r.HighRun = r.PrevHighRun = 0;
    EXPECT_TRUE(TestNewHigh(s, r));
    s.NewHighOnly = true;
    EXPECT_FALSE(TestNewHigh(s, r));
    r.LowRun = 5, r.PrevLowRun = 4;
    s.NewLowWeeks = 1;
    EXPECT_TRUE(TestNewLow(s, r));
}

TEST(FilterTests, CloseUpAndDownRanges) {
    FilterSettings s; // up 0.50..2.00 dollars
    for (float change : {0.5f, 2.0f, 1.0f})
        EXPECT_TRUE(TestCloseUp(s, Rec("A", 10, change))) << change;
    for (float change : {0.49f, 2.01f, -1.0f})
        EXPECT_FALSE(TestCloseUp(s, Rec("A", 10, change))) << change;
    // Percent of the market date's own close: 0.40 on 10 is 4 %.
    s.CloseUpPerC = true;
    EXPECT_TRUE(TestCloseUp(s, Rec("A", 10, 0.4f)));
    EXPECT_TRUE(TestCloseUp(s, Rec("A", 100, 2.0f))); // the dollar range holds
    s.CloseUpDollar = false;
    EXPECT_FALSE(TestCloseUp(s, Rec("A", 100, 1.0f))); // 1 %
    s.CloseUpPerC = false;
    EXPECT_FALSE(TestCloseUp(s, Rec("A", 10, 1.0f)));

    FilterSettings d; // down exactly 0.50
    EXPECT_TRUE(TestCloseDown(d, Rec("A", 10, -0.5f)));
    EXPECT_FALSE(TestCloseDown(d, Rec("A", 10, -0.51f)));
    EXPECT_FALSE(TestCloseDown(d, Rec("A", 10, 0.5f)));
    d.CloseDownPerC = true; // 2 % exactly
    EXPECT_TRUE(TestCloseDown(d, Rec("A", 50, -1.0f)));
}

TEST(FilterTests, GapsAndVolumes) {
    FilterSettings s;
    s.GapUpDays = 0;
    DataSetRecord r = Rec("A");
    r.GapUpAge = 0;
    EXPECT_TRUE(TestGapUp(s, r));
    r.GapUpAge = 1;
    EXPECT_FALSE(TestGapUp(s, r));
    r.GapUpAge = -1;
    s.GapUpDays = 9;
    EXPECT_FALSE(TestGapUp(s, r));
    r.GapDownAge = 2;
    EXPECT_TRUE(TestGapDown(s, r));

    // A short history (-1000) fails every "above" and passes a "below" of at most 1000 %.
    r.VolumePercent.fill(-1000);
    s.VolumeAbovePerC = -2000;
    EXPECT_TRUE(TestVolumeAbove(s, r));
    s.VolumeAbovePerC = 0;
    EXPECT_FALSE(TestVolumeAbove(s, r));
    s.VolumeBelowPerC = 1000;
    EXPECT_TRUE(TestVolumeBelow(s, r));
    s.VolumeBelowPerC = 1000.5f;
    EXPECT_FALSE(TestVolumeBelow(s, r));
    // Every covered day must qualify.
    r.VolumePercent = {200, 150, 100};
    s.VolumeAbovePerC = 150;
    s.VolumeDays = 2;
    EXPECT_TRUE(TestVolumeAbove(s, r));
    s.VolumeDays = 3;
    EXPECT_FALSE(TestVolumeAbove(s, r));
    s.VolumeDays = 0;
    EXPECT_TRUE(TestVolumeAbove(s, r));
    s.VolumeDays = 40; // hand-edited: the ten entries, no further
    r.VolumePercent.fill(500);
    EXPECT_TRUE(TestVolumeAbove(s, r));
}

TEST(FilterTests, Combo) {
    FilterSettings s;
    s.Page = PageCombo;
    s.NewHighA = false;
    DataSetRecord high = Rec("A"), gap = Rec("B"), both = Rec("C"), low = Rec("D");
    high.HighRun = both.HighRun = 195;
    high.PrevHighRun = both.PrevHighRun = 0;
    gap.GapUpAge = both.GapUpAge = 1;
    low.LowRun = 195;
    EXPECT_FALSE(TestCombo(s, both)) << "no column selected shows nothing";
    s.NewHighA = true;
    s.GapUpB = true;
    EXPECT_TRUE(TestCombo(s, both));
    EXPECT_FALSE(TestCombo(s, high));
    EXPECT_FALSE(TestCombo(s, gap));
    s.GapUpB = false;
    s.NewLowA = true;
    EXPECT_TRUE(TestCombo(s, high));
    EXPECT_TRUE(TestCombo(s, low));
    EXPECT_FALSE(TestCombo(s, gap));
    EXPECT_TRUE(TestPage(s, low));
}

TEST(FilterRun, RowsCountsAndMinimums) {
    std::vector<DataSetRecord> recs{Rec("CHEAP", 4.99f), Rec("THIN"), Rec("OK"),
                                    Rec("NEG", 20, -3.25f), Rec("NL\nX")};
    recs[1].Volume = 99; // below 10 thousand shares
    recs[2].HighRun = 7, recs[2].LowRun = 0, recs[2].GapUpAge = 0, recs[2].GapDownAge = 9;
    recs[2].VolumePercent = {200, 180, -1000, 5};
    recs[3].VolumePercent = {-1000, -40, -50};
    Scenario run(recs);
    run.in.settings.VolumeDays = 2;
    run.in.settings.VolumeBelowPerC = 30;
    run.Go();
    EXPECT_EQ(run.out.inspectedText, "5 tickers inspected");
    EXPECT_EQ(run.out.displayedText, "2 tickers displayed");
    EXPECT_EQ(run.Column(1), (std::vector<std::string>{"OK", "NEG"}));
    EXPECT_EQ(run.out.leftOut, std::vector<std::string>{"NL?X"}); // no symbol with a line feed
    const grid::CellGrid& g = run.g;
    int ok = run.state.FirstResultRow, neg = ok + 1;
    EXPECT_EQ(g.Text(0, ok), " ");
    EXPECT_EQ(g.Format(0, ok), &run.f.FormatChart);
    EXPECT_EQ(g.Text(2, ok), "  1.4 ");
    EXPECT_EQ(g.Text(3, ok), " ");
    EXPECT_EQ(g.Format(3, ok), &run.f.FormatPlain);
    EXPECT_EQ(g.Text(4, ok), "  0.50 ");
    EXPECT_EQ(g.Text(5, ok), "  5.0 ");
    EXPECT_EQ(g.Text(6, ok), " 0 ");
    EXPECT_EQ(g.Text(7, ok), " 9 ");
    EXPECT_EQ(g.Text(8, ok), "  190 ");
    EXPECT_EQ(g.Text(9, ok), " 2 "); // 200, 180 reach 150; -1000 ends the run
    EXPECT_EQ(g.Text(10, ok), " ");
    EXPECT_EQ(g.Text(4, neg), " -3.25 ");
    EXPECT_EQ(g.Text(5, neg), "-16.3 ");
    EXPECT_EQ(g.Text(8, neg), " -520 ");
    EXPECT_EQ(g.Text(9, neg), " 3 "); // all at or below -30 until 0
    EXPECT_EQ(run.state.PrintLastRow, neg + 1);
    EXPECT_EQ(g.RowCount(), neg + 2);
    EXPECT_EQ(g.Selection.top, neg);

    // A hand-edited VolumeDays of 0 must not divide by zero: column 8 stays blank.
    run.in.settings.VolumeDays = 0;
    run.Go();
    EXPECT_EQ(run.g.Text(8, run.state.FirstResultRow), " ");
}

TEST(FilterRun, EmptyOneAndStopped) {
    Scenario empty({});
    empty.Go();
    EXPECT_EQ(empty.out.inspectedText, "0 tickers inspected");
    EXPECT_EQ(empty.out.displayedText, "None found");
    EXPECT_LT(empty.state.LastResultRow, empty.state.FirstResultRow);
    EXPECT_EQ(empty.state.PrintLastRow, 3);

    Scenario one({Rec("A")});
    one.Go();
    EXPECT_EQ(one.out.inspectedText, "1 ticker inspected");
    EXPECT_EQ(one.out.displayedText, "1 ticker displayed");

    std::vector<DataSetRecord> many;
    for (int i = 0; i < 1500; ++i) many.push_back(Rec("T" + std::to_string(i)));
    Scenario big(many);
    big.Go();
    EXPECT_EQ(big.out.inspectedText, "1,500 tickers inspected");
    big.Go([](std::int64_t done, std::int64_t total) {
        EXPECT_EQ(total, 1500);
        return done < 3;
    });
    EXPECT_TRUE(big.out.stopped);
    EXPECT_EQ(big.out.inspectedText, "3 tickers inspected");
    int stoppedRow = big.state.FirstResultRow + 3;
    EXPECT_EQ(big.g.Text(1, stoppedRow), "Stopped");
    EXPECT_EQ(big.g.Format(1, stoppedRow), &big.f.FormatBold);
    EXPECT_EQ(big.state.PrintLastRow, stoppedRow);
    EXPECT_EQ(big.g.RowCount(), stoppedRow + 2);

    Scenario gone({});
    gone.in.dataSetPath = gone.dir / "missing.vds";
    EXPECT_THROW(gone.Go(), std::runtime_error);
}

TEST(FilterRun, Evaluation) {
    const int M = Day(2026, 12, 2), open = Day(2026, 12, 3), close = Day(2026, 12, 4);
    Scenario run({Rec("UP"), Rec("DOWN"), Rec("NOFILE"), Rec("NOTA"), Rec("SIX")});
    run.Ticker("UP.DTA", open, 20, close, 21);
    run.Ticker("down.dta", open, 20, close, 19.6f);
    run.Ticker("NOTA.DTA", open, 20, close, 21, 'D');
    run.Ticker("SIX.DTA", open, 10, close, 10.6f);
    run.Ticker("SPX.DTA", open, 100, close, 101, 'A', 'I');
    run.Ticker("RUT.DTA", open, 50, close, 49);
    run.in.settings.DoEval = true;
    run.in.settings.Compare = " SPX ; ;RUT;";
    run.in.evalOpenDay = open;
    run.in.evalCloseDay = close;
    (void)M;
    run.Go();
    const grid::CellGrid& g = run.g;
    int first = run.state.FirstResultRow;
    EXPECT_EQ(g.Text(10, first), "  5.0% ");
    EXPECT_EQ(g.Text(10, first + 1), " -2.0% ");
    EXPECT_EQ(g.Text(10, first + 2), " ");
    EXPECT_EQ(g.Text(10, first + 3), " ");
    EXPECT_EQ(g.Text(10, first + 4), "  6.0% ");
    int avg = run.state.LastResultRow + 2; // after one blank separating row
    EXPECT_EQ(g.Text(1, avg - 1), " ");
    EXPECT_EQ(g.Text(1, avg), "AVERAGE (of 3 tickers)");
    EXPECT_EQ(g.Format(1, avg), &run.f.FormatSpan3);
    EXPECT_EQ(g.Format(3, avg), &run.f.FormatSpan3);
    EXPECT_EQ(g.Text(10, avg), "3.0% ");
    EXPECT_EQ(g.Text(1, avg + 1), "SPX");
    EXPECT_EQ(g.Text(10, avg + 1), "1.0% ");
    EXPECT_EQ(g.Format(0, avg + 1), &run.f.FormatChart);
    EXPECT_EQ(g.Text(1, avg + 2), "RUT");
    EXPECT_EQ(g.Text(10, avg + 2), "-2.0% ");
    EXPECT_EQ(run.state.PrintLastRow, avg + 3);
    EXPECT_EQ(run.out.displayedText, "5 tickers displayed");

    // Short trades: the results and the comparison rows turn over.
    run.in.settings.TradeChoice = 1;
    run.in.settings.Compare = "SPX";
    run.Go();
    EXPECT_EQ(g.Text(10, first), " -5.0% ");
    EXPECT_EQ(g.Text(1, avg), "AVERAGE (of 3 tickers)");
    EXPECT_EQ(g.Text(10, avg), "-3.0% ");
    EXPECT_EQ(g.Text(10, avg + 1), "-1.0% ");

    // One value: singular; no values: no summary rows at all.
    Scenario single({Rec("UP")});
    single.Ticker("UP.DTA", open, 20, close, 21);
    single.in.settings.DoEval = true;
    single.in.evalOpenDay = open, single.in.evalCloseDay = close;
    single.Go();
    EXPECT_EQ(single.g.Text(1, single.state.LastResultRow + 2), "AVERAGE (of 1 ticker)");
    Scenario none({Rec("NOFILE")});
    none.in.settings.DoEval = true;
    none.Go();
    EXPECT_EQ(none.state.PrintLastRow, none.state.LastResultRow + 1);
    EXPECT_EQ(hostdb::TradePerformance(20, 21, 0), 5.0f);
    EXPECT_EQ(hostdb::CompareSymbols(" SPX ; ;RUT;"), (std::vector<std::string>{"SPX", "RUT"}));
}
