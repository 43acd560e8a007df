// Times data set generation through ZoltW's generation window against the engine alone, on the
// same host, date and length: the window must not cost more than a small part of the run.
// Prints the median of three runs of each, in seconds, and the window's 100 ms kick-off.
#include "screener/app/ScreenerWindow.h"
#include "screener/app/WorkWindows.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    zoltw::MainSetup setup;
    std::vector<std::string> args;
    std::string error;
    if (!ui::MainSetupFromArguments(std::vector<std::string>(argv + 1, argv + argc), setup, args,
                                   error) ||
        !args.empty()) {
        std::fprintf(stderr, "usage: generate-bench --windows-dir DIR --program-dir DIR\n");
        return 2;
    }
    setup.env.locale = platform::Locale::Posix();
    hostdb::HostInstallation host;
    if (!hostdb::DiscoverHost(hostdb::HostProgram::ZoltW, setup.env, host, error)) return 1;
    hostdb::MarketCalendar calendar(setup.env.locale);
    calendar.HolidayFileName = hostdb::HolidayFilePath(host.globals, setup.env.dirs);
    screener::GenerateInput in;
    in.marketDay = hostdb::MarketCalendar::DateToDay(hostdb::EncodeDate(2026, 12, 4));
    in.moveAveLength = 10;
    in.outputPath = setup.programDir / "26120410.vds";
    in.tickerFiles = host.tickerFiles;

    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::vector<double> engine, window;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        t.start();
        screener::GenerateDataSet(in, calendar);
        engine.push_back(t.nsecsElapsed() / 1e9);
        zoltw::GenerationWindow w(in, calendar, nullptr);
        t.restart();
        w.exec();
        window.push_back(t.nsecsElapsed() / 1e9);
    }
    std::printf("tickers %zu\nengine %.3f\nwindow %.3f\nkickoff 0.100\n", in.tickerFiles.size(),
                median(engine), median(window));
    return 0;
}
