// Pictures of Zimra's windows for the documentation: the main window at start, during and after
// a find, with our own chart beside the results, and the settings dialog. Usage: zimra-shots
// --windows-dir DIR --program-dir DIR OUTDIR.
#include "finder/app/FinderSettingsDialog.h"
#include "finder/app/FinderWindow.h"
#include "screenshots/SideBySide.h"

#include <QApplication>
#include <QProgressBar>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    hostdb::ProgramPlaces places;
    std::vector<std::string> args;
    std::string error;
    if (!hostdb::ProgramPlacesFromArguments(std::vector<std::string>(argv + 1, argv + argc), places,
                                            args, error) ||
        args.size() != 1) {
        std::fprintf(stderr, "usage: zimra-shots --windows-dir DIR --program-dir DIR OUTDIR\n");
        return 2;
    }
    // Pictures that do not depend on the machine's locale or clock.
    zimra::MainSetup setup{places, nullptr};
    setup.ownSettings = places.programDir / "zimra-shots.ini";
    setup.env.locale = platform::Locale::Posix();
    setup.env.now = hostdb::EncodeDateTime(2026, 12, 4, 18, 0);
    const QString out = QString::fromStdString(args[0]) + "/";
    zimra::FinderWindow w(setup);
    if (!w.HostFound()) return 1;
    w.show();
    QApplication::processEvents();
    bool ok = w.grab().save(out + "zimra-start.png");
    zimra::FinderSettingsDialog* settings = w.FindWhatDialog();
    settings->show();
    QApplication::processEvents();
    ok = settings->grab().save(out + "zimra-settings.png") && ok;
    settings->hide();

    finder::FinderSettings s; // crossed above the 10-day short-term line, trades evaluated
    s.MarketDate = w.Host().globals.LastMarketDay - 7;
    s.MarketAction = 1;
    s.MarketLine = 6;
    s.DoEval = true;
    QTimer poll; // taken while the find lets events through
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!w.Running() || w.ProgressGauge->value() < w.ProgressGauge->maximum() / 3) return;
        poll.stop();
        ok = w.grab().save(out + "zimra-finding.png") && ok;
    });
    poll.start(5);
    w.RunFind(s);
    QApplication::processEvents();
    ok = w.grab().save(out + "zimra-results.png") && ok;

    // Our own chart beside the results, with the line the row crossed.
    w.WalkResults(1);
    w.ShowChartHere();
    w.Chart()->resize(640, w.height());
    QApplication::processEvents();
    ok = SideBySide(w, *w.Chart()).save(out + "zimra-chart.png") && ok;
    w.Chart()->close();
    return ok ? 0 : 1;
}
