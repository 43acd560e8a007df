// The find run: every ticker's close against a chart line on the market date, optionally a
// run of earlier closes and an expert rating read from the chart, with trade results.
#pragma once

#include "finder/engine/ChartWindow.h"
#include "finder/engine/FinderSettings.h"
#include "finder/engine/IndicatorLines.h"
#include "grid/model/CellGrid.h"
#include "hostdb/Progress.h"
#include "platform/Directories.h"
#include "platform/Locale.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace finder {

// The finder's eight shared cell formats.
struct FinderFormats {
    grid::CellFormat PlainLeft{grid::AlignLeft, false, false, 1, 0};
    grid::CellFormat BoldLeft{grid::AlignLeft, false, false, 1, grid::StyleBold};
    grid::CellFormat Centred{grid::AlignCentre, false, false, 1, 0};
    grid::CellFormat BoldCentred{grid::AlignCentre, false, false, 1, grid::StyleBold};
    grid::CellFormat Dash{grid::AlignDash, false, false, 1, 0};
    grid::CellFormat BoldDash{grid::AlignDash, false, false, 1, grid::StyleBold};
    grid::CellFormat Right{grid::AlignRight, false, false, 1, 0};
    grid::CellFormat BoldRight{grid::AlignRight, false, false, 1, grid::StyleBold};

    // The bold or normal variant of a format of this set.
    const grid::CellFormat* Variant(const grid::CellFormat* f, bool bold) const;
};

// The result grid's columns.
enum FinderColumn : int {
    ColFoundDay,       // the day back from the market date the rating was found on
    ColRating,         // the expert ratings, "up-down"
    ColPrevActionDays, // days the close stayed on the other side of the line
    ColResult,         // the evaluated trade
    ColTicker,
    ColName,
};
constexpr int FinderColumns = ColName + 1;
constexpr int FinderTitleRows = 3;

struct FinderState {
    int FirstResultRow = FinderTitleRows;
    int LastResultRow = FinderTitleRows - 1;
    int CurrentRow = FinderTitleRows;
    int EndRow = FinderTitleRows; // bounds printing; the spare row of sorting
    int SelectedRow = -1;
    int listed = 0;
    bool stopped = false;
};

// Whether a rating pair meets the settings' ER condition; 0-0 is no rating.
bool ErMatches(const FinderSettings& s, int up, int dn);

// The line test on the market day and the previous-action count (-1 when it fails).
bool LineTest(const FinderSettings& s, const LineRings& rings);
int PreviousActionCount(const FinderSettings& s, const LineRings& rings);

struct FindInput {
    FinderSettings settings;
    int lastMarketDay = 0;
    std::vector<std::filesystem::path> tickerFiles;
    std::string equityPathList; // where compare tickers are looked up
    platform::Directories dirs;
    platform::Locale locale;
    ChartWindow* chart = nullptr; // required when the settings want the ER check
    int threads = 1; // that read and test tickers; the chart is driven from the calling thread
};

// Runs the find into `g` (reset first). Progress after every ticker tested, inside every wait
// for the chart and while the calling thread waits for a worker (done = tickers tested so far,
// in the list's order); false stops there. Called on the calling thread only.
void RunFind(const FindInput& in, grid::CellGrid& g, FinderState& state, const FinderFormats& f,
             const hostdb::Progress& progress = {});

// Sorting on a header click: columns 4 and 5 by text without regard to case, columns 0-3 by
// their numeric keys (refused above 2,500 rows); the sorted column's titles turn bold.
enum class SortOutcome { Sorted, TooManyItems, NotSortable };
// The numbers are read with the decimal separator of the locale the cells were written with.
SortOutcome SortFinderResults(grid::CellGrid& g, const FinderFormats& f, const FinderState& s,
                              int column, bool descending, const platform::Locale& locale);

// The numeric sort keys of a row's cells, numbers written with `decimalSeparator`.
float ErKey(const std::string& text, char decimalSeparator);
float NumberKey(const std::string& text, char decimalSeparator);
// The result column's key: the cell without its "%", -9999999 when not a number.
float ResultKey(const std::string& text, char decimalSeparator);

} // namespace finder
