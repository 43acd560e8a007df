// Times our own chart in ZoltW's main window over every ticker of a data set: opening it on the
// first result, 100 moves down the results (each a new ticker read, drawn and painted), and
// zooming out to five years. Prints the open time, the median and worst move, and the zoom's
// redraws; the window is real but may be shown offscreen.
#include "BenchSetup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <algorithm>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    zoltw::MainSetup setup;
    std::string dataSet;
    if (!BenchSetup(argc, argv, "chart-bench", setup, dataSet)) return 2;
    zoltw::ScreenerWindow w(setup);
    if (!w.HostFound()) return 1;
    w.show();
    w.DataSetChosen(dataSet, true);
    w.RunFilter(screener::EveryTicker());
    w.WalkResults(INT_MIN);
    QApplication::processEvents();

    // Each step is timed until the chart has painted.
    QElapsedTimer t;
    QImage canvas(720, 460, QImage::Format_RGB32);
    auto painted = [&] {
        w.Chart()->View()->render(&canvas);
        return t.nsecsElapsed() / 1e6;
    };
    t.start();
    w.ShowChartHere();
    w.Chart()->resize(720, 460);
    const double open = painted();
    std::vector<double> moves;
    for (int i = 0; i < 100; ++i) {
        t.restart();
        w.WalkResults(1);
        moves.push_back(painted());
    }
    ui::ChartView* view = w.Chart()->View();
    std::vector<double> zooms;
    const double middle = view->width() / 2.0;
    while (view->LastShown() - view->FirstShown() + 1 < 5 * 252 &&
           view->LastShown() - view->FirstShown() + 1 <
               static_cast<int>(view->Content().history.bars.size())) {
        t.restart();
        view->Zoom(-1, middle);
        zooms.push_back(painted());
    }
    std::sort(moves.begin(), moves.end());
    std::printf("open %.2f\nmove-median %.2f\nmove-worst %.2f\nzoom-steps %zu\nzoom-worst %.2f\n"
                "bars-shown %d\n",
                open, moves[moves.size() / 2], moves.back(), zooms.size(),
                zooms.empty() ? 0.0 : *std::max_element(zooms.begin(), zooms.end()),
                view->LastShown() - view->FirstShown() + 1);
    return 0;
}
