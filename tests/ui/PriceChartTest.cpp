// Our own chart's view on its own: round ticks, short, empty and price-less histories under zoom
// and pan, and a close line where a file holds closes only.
#include "ui/PriceChart.h"

#include <QImage>
#include <QTest>
#include <cmath>

using namespace ui;

namespace {

ChartContent Bars(int count, float open = 10) {
    ChartContent c;
    c.history.symbol = "T";
    for (int i = 0; i < count; ++i)
        c.history.bars.push_back(
            {17000 + i, open, 12, 9, 10.0f + static_cast<float>(i % 3), 100 * i});
    c.marketDay = count ? c.history.bars.back().day : 17000;
    return c;
}

} // namespace

class PriceChartTest : public QObject {
    Q_OBJECT

private slots:
    void roundTicks() {
        QCOMPARE(RoundStep(100, 5), 20.0);
        QCOMPARE(RoundStep(9, 4), 2.5);
        QCOMPARE(RoundStep(0.07, 7), 0.01);
        QCOMPARE(RoundTicks(9.2, 13.9, 5), (std::vector<double>{10, 11, 12, 13}));
        QCOMPARE(RoundTicks(-0.5, 0.5, 2), (std::vector<double>{-0.5, 0, 0.5}));
        QCOMPARE(RoundStep(0, 5), 1.0); // one price: no range
    }

    // Fewer bars than a zoom step keeps, none at all, and none with a price: drawn or told,
    // never out of range.
    void shortAndEmptyHistories() {
        ChartView view;
        view.resize(500, 300);
        QImage canvas(500, 300, QImage::Format_RGB32);
        for (int count : {0, 1, 3, 9, 12}) {
            view.SetContent(Bars(count));
            for (int steps : {3, -3, 10, -10}) {
                view.Zoom(steps, 250);
                view.Pan(steps * 5);
                QVERIFY(view.FirstShown() >= 0);
                QVERIFY(view.LastShown() < count);
                view.render(&canvas);
            }
            QCOMPARE(view.Message().isEmpty(), count > 0);
        }
        ChartContent none = Bars(20);
        for (auto& b : none.history.bars) b.close = 0;
        view.SetContent(none);
        QCOMPARE(view.Message(), QString("T has no prices in the days shown."));
        view.render(&canvas);
        ChartContent broken;
        broken.history.problem = "The ticker file x cannot be read.";
        view.SetContent(broken);
        QCOMPARE(view.Message(), QString("The ticker file x cannot be read."));
    }

    // A file of closes only is drawn as a line: ink between two bars' closes, where OHLC bars
    // would leave the gap between their ticks white.
    void closeLineWhereOnlyClosesAreHeld() {
        ChartView view;
        view.resize(400, 300);
        ChartContent c = Bars(10);
        for (auto& b : c.history.bars) b.open = b.high = b.low = 0, b.close = 10;
        c.history.bars[5].close = 0; // a gap
        view.SetContent(c);
        QImage canvas(400, 300, QImage::Format_RGB32);
        view.render(&canvas);
        auto inkBetween = [&](int a) {
            const int x = static_cast<int>(std::lround((view.XOfBar(a) + view.XOfBar(a + 1)) / 2));
            for (int y = 10; y < 200; ++y)
                if (canvas.pixelColor(x, y).lightness() < 100) return true;
            return false;
        };
        QVERIFY(inkBetween(1));
        QVERIFY(!inkBetween(4)); // broken at the day without a close
        QVERIFY(!inkBetween(5));
    }
};

QTEST_MAIN(PriceChartTest)
#include "PriceChartTest.moc"
