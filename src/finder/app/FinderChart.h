// What Zimra's own chart of a result row shows: the ticker's bars with the find's chart line, and
// the previous-action line when it differs, computed by the find's own engine.
#pragma once

#include "finder/engine/FinderSettings.h"
#include "ui/PriceChart.h"

namespace finder {

// `history` is read up to the last market date.
ui::ChartContent FinderChart(hostdb::PriceHistory history, const FinderSettings& settings);

} // namespace finder
