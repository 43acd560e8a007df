// The screener's results grid as data: its ten shared cell formats, the three title rows, the
// run state of the result rows, and sorting the result rows by a column.
#pragma once

#include "grid/model/CellGrid.h"
#include "hostdb/Progress.h"

#include <functional>
#include <string>

namespace screener {

// Created once by the main window and shared by every cell that uses them.
struct ScreenerFormats {
    grid::CellFormat FormatPlain;
    grid::CellFormat FormatSpan3{grid::AlignLeft, false, false, 3, 0};
    grid::CellFormat FormatBold{grid::AlignLeft, false, false, 1, grid::StyleBold};
    grid::CellFormat FormatCentre{grid::AlignCentre, false, false, 1, 0};
    grid::CellFormat FormatCentreSpan2{grid::AlignCentre, false, false, 2, 0};
    grid::CellFormat FormatCentreBold{grid::AlignCentre, false, false, 1, grid::StyleBold};
    grid::CellFormat FormatCentreDim{grid::AlignCentre, true, false, 1, 0};
    grid::CellFormat FormatRight{grid::AlignRight, false, false, 1, 0};
    grid::CellFormat FormatRightBold{grid::AlignRight, false, false, 1, grid::StyleBold};
    grid::CellFormat FormatChart{grid::AlignLeft, false, true, 1, 0};
};

// The result grid's columns.
enum ResultColumn : int {
    ColChart,           // the chart icon
    ColTicker,
    ColWeeksSinceHigh,  // weeks the high has stood
    ColWeeksSinceLow,
    ColChangeDollars,   // the 1-day closing price change
    ColChangePercent,
    ColDaysSinceGapUp,
    ColDaysSinceGapDown,
    ColVolumePercent,   // the volume against its moving average
    ColDaysOverVolume,  // days exceeding the volume percentage
    ColPerformance,     // the evaluated trade
};
constexpr int ResultColumns = ColPerformance + 1;
constexpr int TitleRows = 3;

// Where the results lie in the grid; owned by the window next to its grid.
struct ResultState {
    int FirstResultRow = TitleRows;
    int LastResultRow = TitleRows - 1;
    int SortedColumn = -1;
    int PrintLastRow = TitleRows;
    int CurrentRow = TitleRows;
};

// What the title of columns 8 and 10 depend on.
struct ColumnTitleInfo {
    int volumeDays = 1;
    bool doEval = false;
    int tradeChoice = 0;
    std::string openDayText;  // short date of the evaluation's open day
    std::string closeDayText; // short date of its close day
};

// A grid of the results' shape with only its title rows and one cleared current row.
grid::CellGrid MakeResultGrid();

void SetColumnTitles(grid::CellGrid& g, const ScreenerFormats& f, int sortedColumn,
                     const ColumnTitleInfo& info);

// Every cell of the row a single blank with FormatPlain.
void ClearRow(grid::CellGrid& g, const ScreenerFormats& f, int row);

// The text order of the sort: negative numbers (a "-" first after blanks) before the others,
// longer magnitudes first among them; otherwise ordinal.
int CompareSortTexts(const std::string& a, const std::string& b);

// Sorts the result rows by column 1-10 ascending, or reverses them when the column is the one
// sorted last; summary rows stay; the selection stays on its ticker. False (nothing done) with
// fewer than two result rows or another column, or when progress (counting the sort's steps,
// the last one placing the rows) says stop before that last step.
bool SortResults(grid::CellGrid& g, const ScreenerFormats& f, ResultState& state, int column,
                 const ColumnTitleInfo& info, const hostdb::Progress& progress = {});

} // namespace screener
