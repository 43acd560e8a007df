#include "screener/engine/FilterRun.h"

#include "hostdb/Evaluation.h"
#include "hostdb/Format.h"
#include "hostdb/SearchPath.h"
#include "hostdb/TickerFile.h"
#include "hostdb/TickerRules.h"
#include "platform/Text.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace screener {

namespace {

using LD = long double; // the host compares and computes in extended precision

// Entries of VolumePercent a test covers; a hand-edited VolumeDays must not read past them.
int VolumeEntries(const FilterSettings& s) { return std::min(s.VolumeDays, 10); }

bool Weeks(int run, int prevRun, int weeks, bool only) {
    int w5 = weeks * 5;
    return only ? run >= w5 && prevRun < w5 : run >= w5;
}

bool Within(LD low, LD value, LD high) { return low <= value && value <= high; }

} // namespace

bool TestNewHigh(const FilterSettings& s, const DataSetRecord& r) {
    return Weeks(r.HighRun, r.PrevHighRun, s.NewHighWeeks, s.NewHighOnly);
}

bool TestNewLow(const FilterSettings& s, const DataSetRecord& r) {
    return Weeks(r.LowRun, r.PrevLowRun, s.NewLowWeeks, s.NewLowOnly);
}

bool TestCloseUp(const FilterSettings& s, const DataSetRecord& r) {
    if (s.CloseUpDollar && Within(s.CloseUpMinDollar, r.Change, s.CloseUpMaxDollar)) return true;
    return s.CloseUpPerC && Within(s.CloseUpMinPerC * 0.01L, static_cast<LD>(r.Change) / r.Close,
                                   s.CloseUpMaxPerC * 0.01L);
}

bool TestCloseDown(const FilterSettings& s, const DataSetRecord& r) {
    LD fall = -static_cast<LD>(r.Change);
    if (s.CloseDownDollar && Within(s.CloseDownMinDollar, fall, s.CloseDownMaxDollar)) return true;
    return s.CloseDownPerC &&
           Within(s.CloseDownMinPerC * 0.01L, fall / r.Close, s.CloseDownMaxPerC * 0.01L);
}

bool TestGapUp(const FilterSettings& s, const DataSetRecord& r) {
    return 0 <= r.GapUpAge && r.GapUpAge <= s.GapUpDays;
}

bool TestGapDown(const FilterSettings& s, const DataSetRecord& r) {
    return 0 <= r.GapDownAge && r.GapDownAge <= s.GapDownDays;
}

bool TestVolumeAbove(const FilterSettings& s, const DataSetRecord& r) {
    for (int k = 0; k < VolumeEntries(s); ++k)
        if (!(r.VolumePercent[static_cast<size_t>(k)] >= s.VolumeAbovePerC)) return false;
    return true;
}

bool TestVolumeBelow(const FilterSettings& s, const DataSetRecord& r) {
    for (int k = 0; k < VolumeEntries(s); ++k)
        if (!(-static_cast<LD>(r.VolumePercent[static_cast<size_t>(k)]) >= s.VolumeBelowPerC))
            return false;
    return true;
}

bool TestCombo(const FilterSettings& s, const DataSetRecord& r) {
    using Test = bool (*)(const FilterSettings&, const DataSetRecord&);
    const Test tests[8] = {TestNewHigh, TestNewLow,  TestCloseUp,     TestCloseDown,
                           TestGapUp,   TestGapDown, TestVolumeAbove, TestVolumeBelow};
    const auto flags = ComboFlags(s);
    bool anySelected = false;
    for (const auto& column : flags) {
        bool selected = false, passed = false;
        for (int t = 0; t < 8 && !passed; ++t) {
            if (!column[t]) continue;
            selected = true;
            passed = tests[t](s, r);
        }
        anySelected = anySelected || selected;
        if (selected && !passed) return false;
    }
    return anySelected;
}

bool TestPage(const FilterSettings& s, const DataSetRecord& r) {
    switch (s.Page) {
    case PageHigh: return TestNewHigh(s, r);
    case PageLow: return TestNewLow(s, r);
    case PageUp: return TestCloseUp(s, r);
    case PageDown: return TestCloseDown(s, r);
    case PageGapU: return TestGapUp(s, r);
    case PageGapD: return TestGapDown(s, r);
    case PageVolU: return TestVolumeAbove(s, r);
    case PageVolD: return TestVolumeBelow(s, r);
    case PageCombo: return TestCombo(s, r);
    default: return true; // All
    }
}

namespace {

class FilterRun {
public:
    FilterRun(const FilterRunInput& in, grid::CellGrid& g, ResultState& s, const ScreenerFormats& f)
        : in_(in), g_(g), s_(s), f_(f), search_(in.equityPathList, in.dirs) {}

    std::string Fmt(std::string_view pattern, std::initializer_list<hostdb::FormatArg> args) {
        return hostdb::FormatText(pattern, args, in_.locale);
    }

    // The current row is full: it stays, and a new cleared row becomes current.
    void AppendRow() {
        g_.SetRowCount(g_.RowCount() + 1);
        s_.CurrentRow = g_.RowCount() - 1;
        ClearRow(g_, f_, s_.CurrentRow);
    }

    // A ticker file on the data directories, of status A, with both prices.
    bool Prices(const std::string& symbol, hostdb::EvaluatedTicker& found) {
        return hostdb::LookUpTradePrices(search_, symbol, in_.evalOpenDay, in_.evalCloseDay,
                                         found) &&
               found.prices.Complete();
    }

    void AddResultRow(const DataSetRecord& r) {
        const FilterSettings& s = in_.settings;
        const int row = s_.CurrentRow;
        auto right = [&](int col, std::string text) {
            g_.Set(col, row, std::move(text), &f_.FormatRight);
        };
        g_.Set(ColChart, row, " ", &f_.FormatChart);
        g_.Set(ColTicker, row, r.Symbol, &f_.FormatPlain);
        if (r.HighRun > 0) right(ColWeeksSinceHigh, Fmt("%5.1f ", {r.HighRun * 0.2L}));
        if (r.LowRun > 0) right(ColWeeksSinceLow, Fmt("%5.1f ", {r.LowRun * 0.2L}));
        right(ColChangeDollars, Fmt("%6.2f ", {r.Change}));
        right(ColChangePercent, Fmt("%5.1f ", {static_cast<LD>(r.Change) * 100 / r.Close}));
        if (r.GapUpAge >= 0) right(ColDaysSinceGapUp, Fmt("%2d ", {static_cast<int>(r.GapUpAge)}));
        if (r.GapDownAge >= 0) right(ColDaysSinceGapDown, Fmt("%2d ", {static_cast<int>(r.GapDownAge)}));
        const int n = VolumeEntries(s);
        LD sum = 0;
        for (int k = 0; k < n; ++k) sum += r.VolumePercent[static_cast<size_t>(k)];
        if (n > 0) right(ColVolumePercent, Fmt("%5.0f ", {sum / n})); // a hand-edited 0 days: no mean
        int leading = 0;
        for (float v : r.VolumePercent) {
            if (!(sum > 0 ? v >= s.VolumeAbovePerC : v <= -static_cast<LD>(s.VolumeBelowPerC)))
                break;
            ++leading;
        }
        if (leading > 0) right(ColDaysOverVolume, Fmt("%2d ", {leading}));
        if (s.DoEval) {
            hostdb::EvaluatedTicker found;
            if (Prices(r.Symbol, found)) {
                float perf =
                    hostdb::TradePerformance(found.prices.open, found.prices.close, s.TradeChoice);
                right(ColPerformance, Fmt("%5.1f%% ", {perf}));
                evalSum_ = static_cast<float>(static_cast<LD>(evalSum_) + perf);
                ++evalCount_;
            }
        }
        s_.LastResultRow = s_.PrintLastRow = row;
        AppendRow();
        g_.Selection = {ColTicker, row, ColTicker, row};
    }

    void Summary() {
        const FilterSettings& s = in_.settings;
        AppendRow(); // the empty row stays as a separator
        const int avgRow = s_.CurrentRow;
        float average = static_cast<float>(static_cast<LD>(evalSum_) / evalCount_);
        g_.Set(ColTicker, avgRow,
               Fmt("AVERAGE (of %.0n ticker%s)",
                   {static_cast<long long>(evalCount_), evalCount_ == 1 ? "" : "s"}),
               &f_.FormatSpan3);
        g_.Set(ColWeeksSinceHigh, avgRow, " ", &f_.FormatSpan3);
        g_.Set(ColWeeksSinceLow, avgRow, " ", &f_.FormatSpan3);
        g_.Set(ColPerformance, avgRow, Fmt("%.1f%% ", {average}), &f_.FormatRight);
        AppendRow();
        for (const std::string& symbol : hostdb::CompareSymbols(s.Compare)) {
            hostdb::EvaluatedTicker found;
            if (!Prices(symbol, found)) continue;
            // Comparison tickers use the long formula, negated for short trades.
            float perf = hostdb::TradePerformance(found.prices.open, found.prices.close, 0);
            if (s.TradeChoice != 0) perf = -perf;
            const int row = s_.CurrentRow;
            g_.Set(ColChart, row, " ", &f_.FormatChart);
            g_.Set(ColTicker, row, hostdb::SymbolOfFileName(found.path.filename().string()),
                   &f_.FormatPlain);
            g_.Set(ColPerformance, row, Fmt("%.1f%% ", {perf}), &f_.FormatRight);
            AppendRow();
        }
    }

    FilterRunOutput Run(const hostdb::ByteSource& dataSet, const ColumnTitleInfo& titles,
                        const hostdb::Progress& progress) {
        s_.SortedColumn = -1;
        g_.SetRowCount(TitleRows + 1);
        SetColumnTitles(g_, f_, -1, titles);
        s_.CurrentRow = TitleRows;
        ClearRow(g_, f_, s_.CurrentRow);
        s_.FirstResultRow = s_.CurrentRow;
        s_.LastResultRow = s_.CurrentRow - 1;
        g_.Selection = {ColTicker, s_.CurrentRow, ColTicker, s_.CurrentRow};

        DataSetReader reader(dataSet, in_.dataSetPath.string());
        const auto total = static_cast<std::int64_t>(reader.Count());

        FilterRunOutput out;
        const FilterSettings& s = in_.settings;
        // The minimum is in thousands of shares, the volume in hundreds; 32 bits as the host.
        const auto minVolume =
            static_cast<std::int32_t>(static_cast<std::uint32_t>(s.MinVolume) * 10u);
        DataSetRecord r;
        while (reader.Next(r)) {
            if (hostdb::HasControlCharacter(r.Symbol))
                out.leftOut.push_back(hostdb::WithoutControlCharacters(r.Symbol));
            else if (r.Close >= s.MinClose && r.Volume >= minVolume && TestPage(s, r))
                AddResultRow(r);
            ++out.inspected;
            if (!hostdb::Report(progress, out.inspected, total)) {
                out.stopped = true;
                break;
            }
        }
        s_.LastResultRow = s_.CurrentRow - 1;

        out.inspectedText = Fmt("%.0n ticker%s inspected", {static_cast<long long>(out.inspected),
                                                            out.inspected == 1 ? "" : "s"});
        if (s_.LastResultRow >= s_.FirstResultRow) {
            long long shown = s_.LastResultRow - s_.FirstResultRow + 1;
            out.displayedText = Fmt("%.0n ticker%s displayed", {shown, shown == 1 ? "" : "s"});
        } else {
            out.displayedText = "None found";
        }
        if (evalCount_ != 0) Summary();
        if (out.stopped) {
            g_.Set(ColTicker, s_.CurrentRow, "Stopped", &f_.FormatBold);
            g_.Selection = {ColTicker, s_.CurrentRow, ColTicker, s_.CurrentRow};
            g_.SetRowCount(g_.RowCount() + 1);
        }
        s_.PrintLastRow = s_.CurrentRow;
        return out;
    }

private:
    const FilterRunInput& in_;
    grid::CellGrid& g_;
    ResultState& s_;
    const ScreenerFormats& f_;
    hostdb::SearchPath search_;
    float evalSum_ = 0;
    std::uint32_t evalCount_ = 0; // 32 bits: a large data set must not wrap it
};

} // namespace

FilterRunOutput RunFilter(const FilterRunInput& in, const hostdb::ByteSource& dataSet,
                          grid::CellGrid& g, ResultState& state, const ScreenerFormats& f,
                          const ColumnTitleInfo& titles, const hostdb::Progress& progress) {
    return FilterRun(in, g, state, f).Run(dataSet, titles, progress);
}

FilterRunOutput RunFilter(const FilterRunInput& in, grid::CellGrid& g, ResultState& state,
                          const ScreenerFormats& f, const ColumnTitleInfo& titles,
                          const hostdb::Progress& progress) {
    std::unique_ptr<hostdb::ByteSource> dataSet = OpenDataSet(in.dataSetPath);
    return RunFilter(in, *dataSet, g, state, f, titles, progress);
}

} // namespace screener
