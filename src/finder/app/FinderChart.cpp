#include "finder/app/FinderChart.h"

#include "finder/engine/IndicatorLines.h"
#include "hostdb/TickerFile.h"

#include <cmath>

namespace finder {

ui::ChartContent FinderChart(hostdb::PriceHistory history, const FinderSettings& s) {
    ui::ChartContent c;
    c.history = std::move(history);
    c.marketDay = s.MarketDate;
    if (!c.history.problem.empty() || c.history.bars.empty()) return c;
    const int lastDay = c.history.bars.back().day;
    std::vector<int> lines{s.MarketLine};
    if (s.DoPrevAction && s.PrevActLine != s.MarketLine) lines.push_back(s.PrevActLine);
    const QColor colours[] = {QColor(0x10, 0x40, 0xC0), QColor(0xD0, 0x70, 0x00)};
    hostdb::TickerFile ticker;
    ticker.SetFileName(c.history.file.string());
    std::vector<int> days;
    std::vector<float> values;
    for (size_t k = 0; k < lines.size(); ++k) {
        LineByDay(ticker, lastDay, lines[k], days, values);
        ui::ChartLine line{LineNames[lines[k]], colours[k],
                           std::vector<float>(c.history.bars.size(), NAN)};
        // Both run in day order; the bars are the trading days among the weekdays.
        size_t w = 0;
        for (size_t b = 0; b < c.history.bars.size(); ++b) {
            while (w < days.size() && days[w] < c.history.bars[b].day) ++w;
            if (w < days.size() && days[w] == c.history.bars[b].day) line.values[b] = values[w];
        }
        c.lines.push_back(std::move(line));
    }
    return c;
}

} // namespace finder
