// Data set generation: one record per eligible ticker for a market date, from a backward scan
// of each ticker's daily history, written to the data set file.
#pragma once

#include "hostdb/MarketCalendar.h"
#include "hostdb/Progress.h"
#include "hostdb/TickerFile.h"
#include "screener/engine/DataSet.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace screener {

struct GenerateInput {
    int marketDay = 0;      // a trading day no later than the last market date
    int moveAveLength = 10; // 1 to 99
    std::filesystem::path outputPath;
    std::vector<std::filesystem::path> tickerFiles; // sorted as the host lists them
    // The labels of each ticker in the list's order, just before its progress: its symbol, and
    // its name or " " when the header checks refused it.
    std::function<void(const std::string& symbol, const std::string& name)> onTicker;
    int threads = 1; // that read and build records; the callbacks come on the calling thread
};

struct GenerateResult {
    bool written = false; // at least one ticker accepted
    int accepted = 0;
    int visited = 0;
    bool stopped = false;
    bool keptEarlier = false; // stopped, and the set it would have replaced was left as it was
};

// Builds the record of one ticker for market day M with previous trading day P; false when the
// ticker is rejected (its symbol set, and its name when the header checks passed, else " ").
// `reader` is used for this ticker only.
bool BuildRecord(hostdb::TickerFile& reader, const std::filesystem::path& path, int M, int P,
                 int moveAveLength, DataSetRecord& record);

// The market date the chooser settles on for a wanted day: the last market date when the day
// lies after it, else the day or the trading day before it.
int ChooseMarketDate(hostdb::MarketCalendar& calendar, int wanted, int lastMarketDay);

// Runs the generation; the file is written only when the run ends, so an error leaves an older
// data set of the same name as it was. A stopped run keeps what it read for a new set, but never
// replaces an existing one with its part. Progress after every ticker
// visited, of the list; false stops there unless it was the last. Throws std::runtime_error with
// the path and the system's reason when the file cannot be written, and for a length outside
// 1 to 99 before anything is read.
GenerateResult GenerateDataSet(const GenerateInput& input, hostdb::MarketCalendar& calendar,
                               const hostdb::Progress& progress = {},
                               const hostdb::TickerFile::SourceOpener& opener = {});

} // namespace screener
