#include "screener/app/ResultChart.h"

#include "platform/Text.h"

namespace screener {

int PreviousExtremeBar(const hostdb::PriceHistory& history, int marketBar, bool high) {
    if (marketBar < 0) return -1;
    const hostdb::PriceBar& today = history.bars[static_cast<size_t>(marketBar)];
    for (int i = marketBar - 1; i >= 0; --i) {
        const hostdb::PriceBar& b = history.bars[static_cast<size_t>(i)];
        if (high ? b.high == 0 : b.low == 0) continue;
        if (high ? b.high > today.high : b.low < today.low) return i;
    }
    return -1;
}

ui::ChartContent ResultChart(hostdb::PriceHistory history, const ResultChartFacts& facts) {
    ui::ChartContent c;
    c.history = std::move(history);
    c.marketDay = facts.marketDay;
    const int market = c.history.BarAtOrBefore(facts.marketDay);
    if (facts.evaluated) {
        const int open = c.history.BarAtOrBefore(facts.openDay);
        const int close = c.history.BarAtOrBefore(facts.closeDay);
        if (open > market) c.marks.push_back({open, "entry", QColor(0x20, 0x70, 0x20), true});
        if (close > market)
            c.marks.push_back({close,
                               QStringLiteral("exit %1").arg(QString::fromStdString(
                                   std::string(platform::Trim(facts.change)))),
                               QColor(0xA0, 0x20, 0x20), false});
    }
    if (facts.page == PageHigh || facts.page == PageLow) {
        const bool high = facts.page == PageHigh;
        const int previous = PreviousExtremeBar(c.history, market, high);
        if (previous >= 0)
            c.marks.push_back({previous, high ? "previous high" : "previous low",
                               QColor(0x60, 0x30, 0x90), !high});
    }
    return c;
}

} // namespace screener
