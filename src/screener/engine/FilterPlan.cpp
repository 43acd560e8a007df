#include "screener/engine/FilterPlan.h"

#include "hostdb/Evaluation.h"
#include "screener/engine/DataSet.h"

namespace screener {

bool MakeFilterPlan(const FilterSettings& settings, const std::string& dataSetName,
                    int lastMarketDay, hostdb::MarketCalendar& calendar, FilterPlan& plan) {
    int M = 0;
    if (!DataSetDay(dataSetName, M)) return false;
    plan.marketDay = M;
    plan.settings = settings;
    FilterSettings& s = plan.settings;
    s.EvalDays = LimitEvalDays(s, calendar, M, lastMarketDay);
    // Open and close days after the last market date have no prices.
    if (M >= lastMarketDay) s.DoEval = false;
    plan.evalOpenDay = hostdb::EvalOpenDay(calendar, M);
    plan.evalCloseDay = hostdb::EvalCloseDay(calendar, M, s.EvalDays);
    plan.titles = ColumnTitleInfo{s.VolumeDays, s.DoEval, s.TradeChoice,
                                  calendar.FormatDay("ddddd", plan.evalOpenDay),
                                  calendar.FormatDay("ddddd", plan.evalCloseDay)};
    return true;
}

} // namespace screener
