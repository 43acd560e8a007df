// `zolt find`: the finder's line-crossing search over the host database.
#include "cli/Zolt.h"
#include "finder/engine/FindRun.h"
#include "hostdb/SearchPath.h"
#include "hostlink/BridgeLink.h"
#include "hostlink/ChartDriver.h"
#include "platform/Text.h"

#include <CLI/CLI.hpp>
#include <chrono>
#include <csignal>
#include <memory>
#include <optional>
#include <thread>

namespace cli {

namespace {

const std::vector<int> FindWidths = {8, 9, 8, 12, 9, 36};

// The command line has no window of its own to move; its waits only let time pass.
struct TerminalSide final : hostlink::MainWindowSide {
    void SaveAndPlace(int, int, int) override {}
    void PointerToStop() override {}
    void RestoreAndFocus() override {}
    void ProcessMessages() override { std::this_thread::sleep_for(std::chrono::milliseconds(5)); }
};

double SteadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The report's bullet byte shown as the terminal's bullet.
std::string Printable(const std::string& line) {
    std::string out;
    for (char c : line) out += c == '\x95' ? std::string("\xE2\x80\xA2") : std::string(1, c);
    return out;
}

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void OnInterrupt(int) { g_interrupted = 1; }

// While the chart is driven, Ctrl+C (or a TERM) acts as the window's Stop: the find ends where
// it stands and the chart window and its settings file are put back before the program ends.
class InterruptAsStop {
public:
    InterruptAsStop() {
        g_interrupted = 0;
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &oldInt_);
        ::sigaction(SIGTERM, &action, &oldTerm_);
    }
    ~InterruptAsStop() {
        ::sigaction(SIGINT, &oldInt_, nullptr);
        ::sigaction(SIGTERM, &oldTerm_, nullptr);
    }
    InterruptAsStop(const InterruptAsStop&) = delete;
    InterruptAsStop& operator=(const InterruptAsStop&) = delete;

private:
    struct sigaction oldInt_ {
    }, oldTerm_{};
};

// The link to the host's chart window that the expert-ratings check drives; 0, or the exit
// status when the link does not work.
int OpenChartLink(Context& ctx, const hostdb::HostGlobals& g, const finder::FinderSettings& s,
                  hostlink::MainWindowSide& side, std::unique_ptr<hostlink::BridgeLink>& link,
                  std::unique_ptr<hostlink::ChartDriver>& chart) {
    std::error_code ec;
    link = std::make_unique<hostlink::BridgeLink>(hostlink::HostBridge(
        std::filesystem::read_symlink("/proc/self/exe", ec), ctx.env.dirs, g.HostLibraryPath));
    link->SetWaitHook(TerminalWaitHook(ctx, [] { return g_interrupted != 0; }));
    if (link->Screen().width == 0) {
        ctx.err << "zolt: these settings check expert ratings, which only the host's chart "
                   "window shows, and the link to it does not work ("
                << link->Problem() << "); add --ignore-er to find without them\n";
        return 2;
    }
    chart = std::make_unique<hostlink::ChartDriver>(
        *link, side,
        hostlink::ChartDriverSetup{
            hostdb::JoinHostPath(g.HostDirectory, "qelio32.dll"), g.HostProgramPath,
            platform::Directories::FileInDirectory(ctx.env.dirs.windows, "QelChart.Ini"),
            finder::IndicatorsValue(s), ctx.env.locale, ctx.env.now, SteadySeconds,
            [] { return g_interrupted != 0; }});
    return 0;
}

// The rows in the format asked for: every row up to the one before the end row as the report
// prints them, the tickers alone, CSV, or the report's description over the table.
void WriteFindResults(Context& ctx, const grid::CellGrid& g, const finder::FinderState& state,
                      const finder::FinderSettings& s, int last, const std::string& format) {
    if (format == "grid") {
        WriteGridRows(ctx.out, g, 0, state.EndRow - 1);
    } else if (format == "tickers") {
        WriteTickers(ctx.out, g, finder::ColTicker, state.FirstResultRow, state.LastResultRow);
    } else if (format == "csv") {
        ctx.out << "Found on prev day #,Prev. date's ER,# days,Result,Ticker,Name\n";
        for (int r = state.FirstResultRow; r <= state.LastResultRow; ++r) {
            for (int c = 0; c < g.ColCount(); ++c)
                ctx.out << (c ? "," : "") << CsvField(std::string(platform::Trim(g.Text(c, r))));
            ctx.out << "\n";
        }
    } else {
        for (const std::string& line : finder::ReportDescription(s, last, ctx.env.locale))
            ctx.out << Printable(line) << "\n";
        WriteGridTable(ctx.out, g, 0, state.EndRow - 1, FindWidths);
    }
}

struct FindOptions {
    std::string date;
    bool ignoreEr = false;
    RunOptions run;
};

int Find(Context& ctx, const FindOptions& fo) {
    const std::string& date = fo.date;
    const bool ignoreEr = fo.ignoreEr;
    const RunOptions& o = fo.run;
    if (int usage = CheckRunOptions(ctx, o, "--descending")) return usage;

    int day = 0;
    std::string error;
    if (!date.empty() && !ParseDay("--date", date, day, error)) return UsageError(ctx, error);

    hostdb::HostInstallation host;
    if (!ReadHost(ctx, hostdb::HostProgram::Zimra, host, true)) return 2;
    const int last = host.globals.LastMarketDay;
    std::filesystem::path settingsDir;
    std::string settingsName;
    if (!LocateSettings(ctx, o.settings, ".MNI", settingsDir, settingsName)) return 1;
    finder::FinderSettings s = finder::LoadFinderSettings(settingsDir, settingsName, last);
    if (!date.empty()) s.MarketDate = day;
    finder::AcceptSettings(s, last);
    // Expert ratings are read from the host's chart window, through the Wine bridge.
    std::unique_ptr<hostlink::BridgeLink> link;
    std::unique_ptr<hostlink::ChartDriver> chart;
    TerminalSide side;
    std::optional<InterruptAsStop> interrupt;
    if (finder::ErCheckWanted(s) && ignoreEr) s.PrevChoice = finder::DontCare;
    if (finder::ErCheckWanted(s)) {
        if (int status = OpenChartLink(ctx, host.globals, s, side, link, chart)) return status;
        interrupt.emplace();
    }

    finder::FindInput in;
    in.settings = s;
    in.lastMarketDay = last;
    in.tickerFiles = std::move(host.tickerFiles);
    in.threads = ctx.threads;
    in.equityPathList = host.globals.EquityPathList;
    in.dirs = ctx.env.dirs;
    in.locale = ctx.env.locale;
    in.chart = chart.get();
    const finder::FinderFormats formats;
    grid::CellGrid g(finder::FinderColumns, finder::FinderTitleRows + 1, 0,
                     finder::FinderTitleRows);
    finder::FinderState state;
    finder::RunFind(in, g, state, formats,
                    [&](std::int64_t, std::int64_t) { return !interrupt || g_interrupted == 0; });
    interrupt.reset();
    if (chart && !chart->Problem().empty()) {
        // Without the chart no ticker can meet the ratings test: no result to show.
        ctx.err << "zolt: no expert ratings could be read: " << chart->Problem() << "\n";
        return 1;
    }
    if (o.sortColumn >= 0 &&
        finder::SortFinderResults(g, formats, state, o.sortColumn, o.otherOrder, ctx.env.locale) ==
            finder::SortOutcome::TooManyItems) {
        ctx.err << "zolt: Sorry, but there are more items than can be sorted by this column. The "
                   "Ticker and Full Name columns have no upper limit, however.\n";
        return 1;
    }
    WriteFindResults(ctx, g, state, s, last, o.format);
    // Interrupted: the rows found so far and the "Stopped" row are still shown.
    return state.stopped ? 130 : 0;
}

} // namespace

void AddFindCommand(CLI::App& zolt, CommandRun& run) {
    auto o = std::make_shared<FindOptions>();
    CLI::App* c = zolt.add_subcommand(
        "find", "Find the tickers whose close met a chart line on the market date");
    AddRunOptions(*c, o->run, ".MNI", finder::ColFoundDay, finder::ColName, "--descending",
                  "Sort in falling order, as a right click on a title does");
    c->add_option("--date", o->date, "The market date (default: the settings file's)")
        ->type_name("YYYY-MM-DD");
    c->add_flag("--ignore-er", o->ignoreEr,
                "Find without the expert-ratings check the settings ask for, which needs the "
                "host's chart under Wine");
    c->callback([&run, o] { run = [o](Context& ctx) { return Find(ctx, *o); }; });
}

} // namespace cli
