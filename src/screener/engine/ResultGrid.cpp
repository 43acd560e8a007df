#include "screener/engine/ResultGrid.h"

#include "hostdb/Format.h"

#include <vector>

namespace screener {

grid::CellGrid MakeResultGrid() {
    return grid::CellGrid(ResultColumns, TitleRows + 1, 1, TitleRows);
}

void ClearRow(grid::CellGrid& g, const ScreenerFormats& f, int row) {
    for (int c = 0; c < g.ColCount(); ++c) g.Set(c, row, " ", &f.FormatPlain);
}

void SetColumnTitles(grid::CellGrid& g, const ScreenerFormats& f, int sorted,
                     const ColumnTitleInfo& info) {
    auto plain = [&](int c) { return c == sorted ? &f.FormatBold : &f.FormatPlain; };
    auto right = [&](int c) { return c == sorted ? &f.FormatRightBold : &f.FormatRight; };
    auto column = [&](int c, const char* r0, const char* r1, const char* r2,
                      const grid::CellFormat* f0, const grid::CellFormat* f1,
                      const grid::CellFormat* f2) {
        g.Set(c, 0, r0, f0);
        g.Set(c, 1, r1, f1);
        g.Set(c, 2, r2, f2);
    };
    column(ColChart, " ", " ", " ", plain(ColChart), plain(ColChart), plain(ColChart));
    column(ColTicker, " ", " ", " Ticker", plain(ColTicker), plain(ColTicker), plain(ColTicker));
    column(ColWeeksSinceHigh, "Weeks since previous", "Highest ", "High ", &f.FormatCentreSpan2,
           right(ColWeeksSinceHigh), right(ColWeeksSinceHigh));
    column(ColWeeksSinceLow, " ", "Lowest ", "Low ", &f.FormatCentreSpan2, right(ColWeeksSinceLow),
           right(ColWeeksSinceLow));
    column(ColChangeDollars, "1-day Closing", "Price Change", "($) ", &f.FormatCentreSpan2,
           &f.FormatCentreSpan2, right(ColChangeDollars));
    column(ColChangePercent, " ", " ", "(%) ", &f.FormatCentreSpan2, &f.FormatCentreSpan2,
           right(ColChangePercent));
    column(ColDaysSinceGapUp, "Days since", "Last Gap", "Up ", &f.FormatCentreSpan2,
           &f.FormatCentreSpan2, right(ColDaysSinceGapUp));
    column(ColDaysSinceGapDown, " ", " ", "Down ", &f.FormatCentreSpan2, &f.FormatCentreSpan2,
           right(ColDaysSinceGapDown));
    std::string days =
        hostdb::FormatText("%d-day %% ", {info.volumeDays}, platform::Locale::Posix());
    column(ColVolumePercent, days.c_str(), "+/- from ", "avg vol ", right(ColVolumePercent),
           right(ColVolumePercent), right(ColVolumePercent));
    column(ColDaysOverVolume, "# days ", "exceeding ", "vol % ", right(ColDaysOverVolume),
           right(ColDaysOverVolume), right(ColDaysOverVolume));
    if (info.doEval) {
        g.Set(ColPerformance, 0, info.openDayText + " ", right(ColPerformance));
        g.Set(ColPerformance, 1, info.tradeChoice == 0 ? "Long to " : "Short to ",
              right(ColPerformance));
        g.Set(ColPerformance, 2, info.closeDayText + " ", right(ColPerformance));
    } else {
        column(ColPerformance, "Perf", "not", "done", &f.FormatCentreDim, &f.FormatCentreDim,
               &f.FormatCentreDim);
    }
}

namespace {

bool IsNegative(const std::string& s) {
    if (s.find('-') == std::string::npos) return false;
    size_t i = s.find_first_not_of(' ');
    return i != std::string::npos && s[i] == '-';
}

int Ordinal(const std::string& a, const std::string& b) {
    int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

} // namespace

int CompareSortTexts(const std::string& a, const std::string& b) {
    bool na = IsNegative(a), nb = IsNegative(b);
    if (!na && !nb) return Ordinal(a, b);
    if (na && !nb) return -1;
    if (!na && nb) return 1;
    return Ordinal(b, a);
}

bool SortResults(grid::CellGrid& g, const ScreenerFormats& f, ResultState& s, int column,
                 const ColumnTitleInfo& info, const hostdb::Progress& progress) {
    if (column < ColTicker || column >= ResultColumns || s.LastResultRow <= s.FirstResultRow) return false;
    const int first = s.FirstResultRow, last = s.LastResultRow;
    const bool reverse = column == s.SortedColumn;
    std::int64_t steps = 1, done = 0; // the inner steps of every gap, and placing the rows
    if (!reverse)
        for (int gap = last - first + 1; gap > 1;) {
            gap = gap < 5 ? 1 : (gap - 1) / 3;
            steps += last - first + 1 - gap;
        }
    if (!hostdb::Report(progress, done, steps)) return false;
    const grid::CellGrid copy = g;
    std::vector<int> index(static_cast<size_t>(g.RowCount()));
    if (reverse) {
        for (int i = first; i <= last; ++i) index[static_cast<size_t>(i)] = first + last - i;
    } else {
        for (int i = first; i <= last; ++i) index[static_cast<size_t>(i)] = i;
        auto compare = [&](int a, int b) {
            return CompareSortTexts(copy.Text(column, a), copy.Text(column, b));
        };
        int gap = last - first + 1;
        while (gap > 1) {
            gap = gap < 5 ? 1 : (gap - 1) / 3;
            for (int i = last - gap; i >= first; --i) {
                if (!hostdb::Report(progress, ++done, steps)) return false;
                int t = index[static_cast<size_t>(i)];
                int j = i + gap;
                while (j <= last && compare(t, index[static_cast<size_t>(j)]) > 0) {
                    index[static_cast<size_t>(j - gap)] = index[static_cast<size_t>(j)];
                    j += gap;
                }
                index[static_cast<size_t>(j - gap)] = t;
            }
        }
        s.SortedColumn = column;
    }
    // The selection follows its row to the row's new place.
    int selected = g.Selection.top, newSelected = first;
    for (int i = first; i <= last; ++i) {
        g.CopyRow(i, copy, index[static_cast<size_t>(i)]);
        if (index[static_cast<size_t>(i)] == selected) newSelected = i;
    }
    hostdb::Report(progress, steps, steps); // the rows are placed: too late to stop
    s.CurrentRow = newSelected;
    g.Selection.top = g.Selection.bottom = newSelected;
    SetColumnTitles(g, f, column, info);
    return true;
}

} // namespace screener
