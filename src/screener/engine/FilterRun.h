// The filter run: reads a data set, keeps the tickers above the minimums that pass the chosen
// page's test, writes their result rows, and adds the evaluation's average and comparison rows.
#pragma once

#include "grid/model/CellGrid.h"
#include "hostdb/ByteSource.h"
#include "hostdb/Progress.h"
#include "platform/Directories.h"
#include "platform/Locale.h"
#include "screener/engine/DataSet.h"
#include "screener/engine/FilterSettings.h"
#include "screener/engine/ResultGrid.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace screener {

// The page tests on one record.
bool TestNewHigh(const FilterSettings& s, const DataSetRecord& r);
bool TestNewLow(const FilterSettings& s, const DataSetRecord& r);
bool TestCloseUp(const FilterSettings& s, const DataSetRecord& r);
bool TestCloseDown(const FilterSettings& s, const DataSetRecord& r);
bool TestGapUp(const FilterSettings& s, const DataSetRecord& r);
bool TestGapDown(const FilterSettings& s, const DataSetRecord& r);
bool TestVolumeAbove(const FilterSettings& s, const DataSetRecord& r);
bool TestVolumeBelow(const FilterSettings& s, const DataSetRecord& r);
bool TestCombo(const FilterSettings& s, const DataSetRecord& r);
bool TestPage(const FilterSettings& s, const DataSetRecord& r); // by s.Page; All passes

struct FilterRunInput {
    std::filesystem::path dataSetPath;
    FilterSettings settings;
    int evalOpenDay = 0;
    int evalCloseDay = 0;
    std::string equityPathList; // where the evaluation finds ticker files
    platform::Directories dirs;
    platform::Locale locale;
};

struct FilterRunOutput {
    std::uint32_t inspected = 0;
    std::string inspectedText; // "%.0n ticker%s inspected"
    std::string displayedText; // "%.0n ticker%s displayed" or "None found"
    bool stopped = false;
    // Inspected but not shown: symbols with control characters, each as "?" there.
    std::vector<std::string> leftOut;
};

// Runs the filter into `g` (reset to the title rows first). Progress after every record
// inspected, of the data set's records; false stops after that record. Throws
// std::runtime_error with the path and the system's reason when the data set cannot be read.
FilterRunOutput RunFilter(const FilterRunInput& in, grid::CellGrid& g, ResultState& state,
                          const ScreenerFormats& f, const ColumnTitleInfo& titles,
                          const hostdb::Progress& progress = {});
// The same over a data set's bytes (in.dataSetPath only names it in messages).
FilterRunOutput RunFilter(const FilterRunInput& in, const hostdb::ByteSource& dataSet,
                          grid::CellGrid& g, ResultState& state, const ScreenerFormats& f,
                          const ColumnTitleInfo& titles, const hostdb::Progress& progress = {});

} // namespace screener
