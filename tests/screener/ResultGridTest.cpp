// The screener's result grid: column titles and sorting, against a stable reference, with its
// steps reported and Stop.
#include "screener/engine/ResultGrid.h"

#include <gtest/gtest.h>
#include <set>

using namespace screener;

namespace {

// A grid with the given texts in column 5 of its result rows.
struct Sorted {
    ScreenerFormats f;
    grid::CellGrid g = MakeResultGrid();
    ResultState s;
    ColumnTitleInfo info;

    explicit Sorted(const std::vector<std::string>& values) {
        g.SetRowCount(TitleRows + static_cast<int>(values.size()) + 3);
        for (int r = TitleRows; r < g.RowCount(); ++r) ClearRow(g, f, r);
        for (size_t i = 0; i < values.size(); ++i) {
            int row = TitleRows + static_cast<int>(i);
            g.Set(1, row, "T" + std::to_string(i), &f.FormatPlain);
            g.Set(5, row, values[i], &f.FormatRight);
        }
        s.FirstResultRow = TitleRows;
        s.LastResultRow = TitleRows + static_cast<int>(values.size()) - 1;
        g.Set(1, s.LastResultRow + 2, "AVERAGE (of 2 tickers)", &f.FormatSpan3);
        g.Selection = {1, s.FirstResultRow, 1, s.FirstResultRow};
    }

    std::vector<std::string> Column(int c) const {
        std::vector<std::string> v;
        for (int r = s.FirstResultRow; r <= s.LastResultRow; ++r) v.push_back(g.Text(c, r));
        return v;
    }
};

} // namespace

TEST(ResultGrid, ColumnTitles) {
    ScreenerFormats f;
    grid::CellGrid g = MakeResultGrid();
    ColumnTitleInfo info{5, false, 0, "", ""};
    SetColumnTitles(g, f, -1, info);
    EXPECT_EQ(g.Text(1, 2), " Ticker");
    EXPECT_EQ(g.Text(2, 0), "Weeks since previous");
    EXPECT_EQ(g.Format(2, 0), &f.FormatCentreSpan2);
    EXPECT_EQ(g.Text(3, 0), " ");
    EXPECT_EQ(g.Format(3, 0), &f.FormatCentreSpan2);
    EXPECT_EQ(g.Text(2, 1), "Highest ");
    EXPECT_EQ(g.Format(2, 1), &f.FormatRight);
    EXPECT_EQ(g.Text(5, 2), "(%) ");
    EXPECT_EQ(g.Format(4, 1), &f.FormatCentreSpan2);
    EXPECT_EQ(g.Text(8, 0), "5-day % ");
    EXPECT_EQ(g.Text(9, 2), "vol % ");
    EXPECT_EQ(g.Text(10, 0), "Perf");
    EXPECT_EQ(g.Format(10, 1), &f.FormatCentreDim);

    info = {1, true, 1, "12/3/26", "12/8/26"};
    SetColumnTitles(g, f, 10, info);
    EXPECT_EQ(g.Text(8, 0), "1-day % ");
    EXPECT_EQ(g.Text(10, 0), "12/3/26 ");
    EXPECT_EQ(g.Text(10, 1), "Short to ");
    EXPECT_EQ(g.Text(10, 2), "12/8/26 ");
    EXPECT_EQ(g.Format(10, 2), &f.FormatRightBold);
    SetColumnTitles(g, f, 1, info);
    EXPECT_EQ(g.Format(1, 0), &f.FormatBold);
    EXPECT_EQ(g.Format(10, 2), &f.FormatRight);
    SetColumnTitles(g, f, 2, info);
    EXPECT_EQ(g.Format(2, 0), &f.FormatCentreSpan2); // the spanning row never turns bold
    EXPECT_EQ(g.Format(2, 2), &f.FormatRightBold);
}

TEST(ResultGrid, SortOrdersNumbersAsTexts) {
    Sorted t({"  -1.5 ", "   0.3 ", " -12.0 ", "   4.0 "});
    ASSERT_TRUE(SortResults(t.g, t.f, t.s, 5, t.info));
    EXPECT_EQ(t.Column(5), (std::vector<std::string>{" -12.0 ", "  -1.5 ", "   0.3 ", "   4.0 "}));
    EXPECT_EQ(t.g.Format(5, 2), &t.f.FormatRightBold);
    // The selection stays with its ticker (T0, now second).
    EXPECT_EQ(t.g.Selection.top, TitleRows + 1);
    EXPECT_EQ(t.g.Text(1, t.g.Selection.top), "T0");
    ASSERT_TRUE(SortResults(t.g, t.f, t.s, 5, t.info));
    EXPECT_EQ(t.Column(5), (std::vector<std::string>{"   4.0 ", "   0.3 ", "  -1.5 ", " -12.0 "}));
    ASSERT_TRUE(SortResults(t.g, t.f, t.s, 5, t.info));
    EXPECT_EQ(t.Column(5)[0], " -12.0 ");
    // Summary rows stay where they are.
    EXPECT_EQ(t.g.Text(1, t.s.LastResultRow + 2), "AVERAGE (of 2 tickers)");

    // A blank comes after the negatives and before every other number.
    Sorted b({"  10.0 ", " ", "  -2.0 ", "   3.5 "});
    SortResults(b.g, b.f, b.s, 5, b.info);
    EXPECT_EQ(b.Column(5), (std::vector<std::string>{"  -2.0 ", " ", "   3.5 ", "  10.0 "}));

    // Tickers: a "-" after the first letter is no sign.
    Sorted n({"B-X", "A", "-Z"});
    for (int r = n.s.FirstResultRow; r <= n.s.LastResultRow; ++r)
        n.g.Set(1, r, n.g.Text(5, r), &n.f.FormatPlain);
    SortResults(n.g, n.f, n.s, 1, n.info);
    EXPECT_EQ(n.Column(1), (std::vector<std::string>{"-Z", "A", "B-X"}));

    // One result row, or column 0: nothing happens.
    Sorted one({"   1.0 "});
    EXPECT_FALSE(SortResults(one.g, one.f, one.s, 5, one.info));
    EXPECT_EQ(one.s.SortedColumn, -1);
    EXPECT_FALSE(SortResults(b.g, b.f, b.s, 0, b.info));
}

TEST(ResultGrid, ShellSortMatchesAStableReference) {
    // Many rows with repeated keys: the result must be in non-decreasing text order.
    std::vector<std::string> values;
    for (int i = 0; i < 257; ++i) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%5.1f ", ((i * 7919) % 201 - 100) / 10.0);
        values.push_back(buf);
    }
    Sorted t(values);
    SortResults(t.g, t.f, t.s, 5, t.info);
    std::vector<std::string> got = t.Column(5);
    for (size_t i = 1; i < got.size(); ++i) ASSERT_LE(CompareSortTexts(got[i - 1], got[i]), 0) << i;
    std::multiset<std::string> before(values.begin(), values.end()), after(got.begin(), got.end());
    EXPECT_EQ(before, after);
}

TEST(ResultGrid, SortReportsItsStepsAndCanBeStopped) {
    const std::vector<std::string> values{"   5 ", "   3 ", "   9 ", "   1 ", "   7 ", "   2 "};
    Sorted t(values);
    std::vector<std::int64_t> done;
    std::int64_t total = -1;
    ASSERT_TRUE(SortResults(t.g, t.f, t.s, 5, t.info, [&](std::int64_t d, std::int64_t n) {
        done.push_back(d);
        total = n;
        return true;
    }));
    // Gaps 1 only for six rows: five steps, then placing the rows.
    EXPECT_EQ(total, 6);
    EXPECT_EQ(done, (std::vector<std::int64_t>{0, 1, 2, 3, 4, 5, 6}));

    // A stop before the rows are placed leaves the grid and its state as they were.
    Sorted u(values);
    const ResultState before = u.s;
    int calls = 0;
    EXPECT_FALSE(SortResults(u.g, u.f, u.s, 5, u.info,
                             [&](std::int64_t, std::int64_t) { return ++calls < 3; }));
    EXPECT_EQ(u.Column(5), values);
    EXPECT_EQ(u.s.SortedColumn, before.SortedColumn);
    EXPECT_EQ(u.s.CurrentRow, before.CurrentRow);
    // Reversing has no steps before placing the rows.
    ASSERT_TRUE(SortResults(u.g, u.f, u.s, 5, u.info));
    done.clear();
    ASSERT_TRUE(SortResults(u.g, u.f, u.s, 5, u.info, [&](std::int64_t d, std::int64_t n) {
        done.push_back(d);
        total = n;
        return true;
    }));
    EXPECT_EQ(total, 1);
    EXPECT_EQ(done, (std::vector<std::int64_t>{0, 1}));
}
