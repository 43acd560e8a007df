// Pictures of ZoltW's windows for the documentation: the main window at start, the data-set
// chooser, the generation and filtering windows at work, the main window after a filter run with
// every ticker listed, with our own chart beside it and in the middle of a sort, and the filter
// dialog on each page.
// Usage: zoltw-shots --windows-dir DIR
// --program-dir DIR DATASET OUTDIR (run on an X server or offscreen).
#include "platform/Locale.h"
#include "screener/app/DataSetChooser.h"
#include "screener/app/FilterDialog.h"
#include "screener/app/ScreenerWindow.h"
#include "screener/app/WorkWindows.h"
#include "screenshots/SideBySide.h"

#include <QApplication>
#include <QTabWidget>
#include <QTimer>
#include <climits>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    zoltw::MainSetup setup;
    std::vector<std::string> args;
    std::string error;
    if (!ui::MainSetupFromArguments(std::vector<std::string>(argv + 1, argv + argc), setup, args,
                                   error) ||
        args.size() != 2) {
        std::fprintf(stderr,
                     "usage: zoltw-shots --windows-dir DIR --program-dir DIR DATASET OUTDIR\n");
        return 2;
    }
    // Figures and pictures that do not depend on the machine's locale or clock.
    setup.env.locale = platform::Locale::Posix();
    setup.env.now = hostdb::EncodeDateTime(2026, 12, 4, 18, 0);
    setup.ownSettings = setup.programDir / "zoltw-shots.ini";
    const QString out = QString::fromStdString(args[1]) + "/";
    zoltw::ScreenerWindow w(setup);
    if (!w.HostFound()) return 1;
    w.show();
    w.resize(w.MaxFormWidth, 520);
    QApplication::processEvents();
    bool ok = w.grab().save(out + "zoltw-start.png");

    zoltw::DataSetChooser* chooser = w.GetDataDialog();
    chooser->show();
    QApplication::processEvents();
    ok = chooser->grab().save(out + "zoltw-chooser.png") && ok;
    chooser->hide();

    // The generation window halfway through the host's tickers (into a scratch file).
    hostdb::MarketCalendar calendar(setup.env.locale);
    screener::GenerateInput in;
    in.marketDay = w.Host().globals.LastMarketDay;
    in.outputPath = setup.programDir / "zoltw-shots.vds";
    in.tickerFiles = w.Host().tickerFiles;
    zoltw::GenerationWindow* generating = nullptr;
    std::size_t n = 0;
    in.onTicker = [&](const std::string&, const std::string&) {
        if (++n == in.tickerFiles.size() / 2)
            ok = generating->grab().save(out + "zoltw-generating.png") && ok;
    };
    zoltw::GenerationWindow generate(in, calendar, &w);
    generating = &generate;
    generate.exec();
    std::filesystem::remove(in.outputPath);

    // The filtering window as it comes up.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* f = qobject_cast<zoltw::FilteringWindow*>(QApplication::activeModalWidget());
        if (!f || !f->isVisible()) return;
        poll.stop();
        ok = f->grab().save(out + "zoltw-filtering.png") && ok;
    });
    poll.start(5);
    w.DataSetChosen(args[0], true);
    w.RunFilter(screener::EveryTicker());
    QApplication::processEvents();
    ok = w.grab().save(out + "zoltw-results.png") && ok;

    // Our own chart beside the results, on the fourth row.
    w.WalkResults(INT_MIN);
    for (int i = 0; i < 3; ++i) w.WalkResults(1);
    w.ShowChartHere();
    w.Chart()->resize(640, w.height());
    QApplication::processEvents();
    ok = SideBySide(w, *w.Chart()).save(out + "zoltw-chart.png") && ok;
    w.Chart()->close();

    // The filter dialog on each of its ten pages.
    zoltw::FilterDialog* filter = w.GetFilterDialog();
    filter->show();
    for (int page = 0; page < filter->FilterPages->count(); ++page) {
        filter->FilterPages->setCurrentIndex(page);
        QApplication::processEvents();
        ok = filter->grab().save(out + QString("zoltw-filter-%1.png").arg(page)) && ok;
    }
    filter->hide();

    // Taken while the sort lets events through.
    QTimer::singleShot(0, &w, [&] { ok = w.grab().save(out + "zoltw-sorting.png") && ok; });
    w.SortResults(5);
    return ok ? 0 : 1;
}
