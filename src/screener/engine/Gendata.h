// Data set generation: one record per eligible ticker for a market date, from a backward scan
// of each ticker's daily history, written to the data set file.
#pragma once

#include "hostdb/QelTick.h"
#include "hostdb/Qelcalen.h"
#include "screener/engine/DataSet.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace screener {

struct GenerateProgress {
    int done = 0;  // tickers visited
    int total = 0; // tickers in the list
    std::string symbol;
    std::string name; // " " until the ticker has passed the header checks
};

// Returns false to stop the run after the ticker just reported.
using GenerateCallback = std::function<bool(const GenerateProgress&)>;

struct GenerateInput {
    int marketDay = 0;      // a trading day no later than the last market date
    int moveAveLength = 10; // 1 to 99
    std::filesystem::path outputPath;
    std::vector<std::filesystem::path> tickerFiles; // sorted as the host lists them
};

struct GenerateResult {
    bool written = false; // at least one ticker accepted
    int accepted = 0;
    int visited = 0;
    bool stopped = false;
};

// Builds the record of one ticker for market day M with previous trading day P; false when the
// ticker is rejected. `reader` is used for this ticker only.
bool BuildRecord(hostdb::TQelTicker& reader, const std::filesystem::path& path, int M, int P,
                 int moveAveLength, DataSetRecord& record,
                 const std::function<void(const DataSetRecord&)>& onHeader = {});

// The previous trading day of day M.
int PreviousTradingDay(hostdb::TQelCalendar& calendar, int M);

// Runs the generation; the file is replaced only when the run ends (also when stopped), so an
// error leaves an older data set of the same name as it was. Throws std::runtime_error with the
// path and the system's reason when the file cannot be written.
GenerateResult GenerateDataSet(const GenerateInput& input, hostdb::TQelCalendar& calendar,
                               const GenerateCallback& progress = {},
                               const hostdb::TQelTicker::SourceOpener& opener = {});

} // namespace screener
