// What ZoltW's own chart of a result row shows: the ticker's bars, the evaluated trade's entry and
// exit with its change, and the previous high or low a new-high or new-low row counts from.
#pragma once

#include "screener/engine/FilterSettings.h"
#include "ui/PriceChart.h"

#include <string>

namespace screener {

struct ResultChartFacts {
    int marketDay = 0;
    int page = PageAll;
    bool evaluated = false; // the run evaluated the trade
    int openDay = 0, closeDay = 0;
    std::string change; // the row's result cell, "12.5%"
};

ui::ChartContent ResultChart(hostdb::PriceHistory history, const ResultChartFacts& facts);

// The last bar before the market bar whose high lies above the market bar's high (or whose low
// lies below its low), days without one passed over as the data set's count passes them; -1 when
// none does.
int PreviousExtremeBar(const hostdb::PriceHistory& history, int marketBar, bool high);

} // namespace screener
