// Times ZoltW's main window on a large result set: the filter run filling the grid, painting
// the visible rows, paging through every row, and sorting by column 5 (and back). Prints one
// line per step in seconds; the window is real but may be shown offscreen.
#include "BenchSetup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    zoltw::MainSetup setup;
    std::string dataSet;
    if (!BenchSetup(argc, argv, "grid-bench", setup, dataSet)) return 2;
    zoltw::ScreenerWindow w(setup);
    if (!w.HostFound()) return 1;
    w.resize(w.MaxFormWidth, 700);
    w.show();
    w.DataSetChosen(dataSet, true);
    QApplication::processEvents();

    QElapsedTimer t;
    t.start();
    w.RunFilter(screener::EveryTicker());
    const double fill = t.nsecsElapsed() / 1e9;
    t.restart();
    w.sgdData->viewport()->repaint();
    const double paint = t.nsecsElapsed() / 1e9;
    t.restart();
    QScrollBar* bar = w.sgdData->verticalScrollBar();
    int pages = 0;
    for (int v = 0; v <= bar->maximum(); v += bar->pageStep(), ++pages) {
        bar->setValue(v);
        w.sgdData->viewport()->repaint();
    }
    const double paging = t.nsecsElapsed() / 1e9;
    t.restart();
    w.SortResults(5);
    const double sort = t.nsecsElapsed() / 1e9;
    t.restart();
    w.SortResults(5);
    const double reverse = t.nsecsElapsed() / 1e9;
    const screener::ResultState& st = w.Results();
    std::printf("rows %d\nfill %.3f\npaint %.4f\npages %d\npaging %.3f\nsort %.3f\nreverse %.3f\n",
                st.LastResultRow - st.FirstResultRow + 1, fill, paint, pages, paging, sort,
                reverse);
    return 0;
}
