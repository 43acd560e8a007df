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
    const int lines[2] = {s.MarketLine,
                          s.DoPrevAction && s.PrevActLine != s.MarketLine ? s.PrevActLine : -1};
    const QColor colours[] = {QColor(0x10, 0x40, 0xC0), QColor(0xD0, 0x70, 0x00)};
    hostdb::TickerFile ticker;
    ticker.SetFileName(c.history.file.string());
    std::vector<int> days;
    std::array<std::vector<float>, 2> byDay;
    LineByDay(ticker, lastDay, lines[0], lines[1], days, byDay);
    for (int k = 0; k < 2 && lines[k] >= 0; ++k) {
        const std::vector<float>& values = byDay[static_cast<size_t>(k)];
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
