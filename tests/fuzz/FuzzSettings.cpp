// Fuzz target: the bytes of a settings file loaded both as filter settings (.VNI) and as finder
// settings (.MNI), then the filter and the find run on a tiny host: any content must load safe
// and both runs must end.
#include "finder/engine/FindRun.h"
#include "screener/engine/DataSetGeneration.h"
#include "screener/engine/FilterPlan.h"
#include "screener/engine/FilterRun.h"
#include "tools/make-host/HostWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// Answers every ticker with the same rating, so that the expert-rating path runs too.
struct SteadyChart : finder::ChartWindow {
    void Prepare() override {}
    Shown ShowTicker(const std::string&, const std::function<bool()>&) override {
        return Shown::Yes;
    }
    bool MoveToDay(int) override { return true; }
    bool ReadEr(int& up, int& dn) override {
        up = 95, dn = 5;
        return true;
    }
    void Restore() override {}
};

struct TinyHost {
    fs::path dir;
    hostgen::Summary host;
    platform::Directories dirs;
    int last = 0;
    fs::path dataSet;

    TinyHost() {
        std::string tmpl = (fs::temp_directory_path() / "zolt-fuzz-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) std::abort();
        dir = tmpl;
        hostgen::Options options;
        options.root = dir / "host";
        options.tickers = 6;
        options.years = 2;
        host = hostgen::MakeHost(options);
        dirs.winePrefix = dir / "host";
        dirs.windows = host.windowsDirectory;
        last = hostdb::MarketCalendar::DateToDay(hostdb::EncodeDate(2026, 12, 4));
        // A data set a few days before the last market date, so the evaluation can run.
        screener::GenerateInput in;
        in.marketDay = last - 3;
        in.outputPath = dataSet = dir / screener::DataSetFileName(in.marketDay, 10);
        in.tickerFiles = host.tickerFiles;
        hostdb::MarketCalendar calendar;
        screener::GenerateDataSet(in, calendar);
    }
    ~TinyHost() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TinyHost h;
    for (const char* name : {"F.VNI", "F.MNI"}) {
        std::ofstream f(h.dir / name, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const platform::Locale locale;
    hostdb::MarketCalendar calendar(locale);

    screener::FilterPlan plan;
    screener::FilterSettings s = screener::LoadSettings(h.dir, "F", locale);
    if (!screener::MakeFilterPlan(s, h.dataSet.filename().string(), h.last, calendar, plan))
        std::abort();
    screener::FilterRunInput in;
    in.dataSetPath = h.dataSet;
    in.settings = plan.settings;
    in.evalOpenDay = plan.evalOpenDay;
    in.evalCloseDay = plan.evalCloseDay;
    in.equityPathList = "C:\\QEL\\DATA1;C:\\QEL\\DATA2";
    in.dirs = h.dirs;
    in.locale = locale;
    const screener::ScreenerFormats formats;
    grid::CellGrid g = screener::MakeResultGrid();
    screener::ResultState state;
    screener::RunFilter(in, g, state, formats, plan.titles);

    finder::FinderSettings fs = finder::LoadFinderSettings(h.dir, "F", h.last);
    finder::AcceptSettings(fs, h.last);
    SteadyChart chart;
    finder::FindInput find;
    find.settings = fs;
    find.lastMarketDay = h.last;
    find.tickerFiles = h.host.tickerFiles;
    find.equityPathList = in.equityPathList;
    find.dirs = h.dirs;
    find.locale = locale;
    find.chart = &chart;
    const finder::FinderFormats finderFormats;
    grid::CellGrid fg(finder::FinderColumns, finder::FinderTitleRows + 1, 0,
                      finder::FinderTitleRows);
    finder::FinderState fstate;
    finder::RunFind(find, fg, fstate, finderFormats);
    return 0;
}
