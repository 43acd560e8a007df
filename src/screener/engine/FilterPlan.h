// What a filter run needs decided before it starts, the same for the window and the command line:
// the run's settings, the evaluated trade's days and the results grid's column titles.
#pragma once

#include "hostdb/MarketCalendar.h"
#include "screener/engine/FilterSettings.h"
#include "screener/engine/ResultGrid.h"

#include <string>

namespace screener {

struct FilterPlan {
    int marketDay = 0; // the data set's market date
    // The settings the run uses: EvalDays limited as the dialog limits it, and the evaluation off
    // when the market date is not before the last market date (no prices exist to evaluate).
    FilterSettings settings;
    int evalOpenDay = 0;
    int evalCloseDay = 0;
    ColumnTitleInfo titles;
};

// False when the data set's name does not stand for a market date.
bool MakeFilterPlan(const FilterSettings& settings, const std::string& dataSetName,
                    int lastMarketDay, hostdb::MarketCalendar& calendar, FilterPlan& plan);

} // namespace screener
