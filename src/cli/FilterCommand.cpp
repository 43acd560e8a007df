// `zolt filter`: the screener's filter and its trade evaluation over a data set.
#include "cli/Zolt.h"
#include "hostdb/Format.h"
#include "platform/Text.h"
#include "screener/engine/FilterPlan.h"
#include "screener/engine/FilterRun.h"
#include "screener/engine/SettingsText.h"

#include <CLI/CLI.hpp>
#include <algorithm>

namespace cli {

namespace {

// Screen column widths in characters, as the grid's design widths.
const std::vector<int> Widths = {2, 9, 10, 10, 10, 8, 8, 8, 10, 10, 12};

std::string Trimmed(const std::string& s) { return std::string(platform::Trim(s)); }

// The rows in the format asked for: every row up to the last printed as the report prints them,
// the tickers alone, CSV without the separating blank row, or the settings text over the table
// and the run's counts.
void WriteFilterResults(Context& ctx, const grid::CellGrid& grid,
                        const screener::ResultState& state, const screener::FilterRunOutput& out,
                        const screener::FilterSettings& s, const std::string& dataSetName,
                        hostdb::MarketCalendar& calendar, const std::string& settingsName,
                        const std::string& format) {
    if (format == "grid") {
        WriteGridRows(ctx.out, grid, 0, state.PrintLastRow);
    } else if (format == "tickers") {
        WriteTickers(ctx.out, grid, screener::ColTicker, state.FirstResultRow, state.LastResultRow);
    } else if (format == "csv") {
        ctx.out << "Ticker,Highest High (weeks),Lowest Low (weeks),Change ($),Change (%),"
                   "Days since gap up,Days since gap down,"
                << s.VolumeDays << "-day % from avg vol,Days exceeding vol %,Perf\n";
        for (int r = state.FirstResultRow; r < state.PrintLastRow && r < grid.RowCount(); ++r) {
            if (Trimmed(grid.Text(screener::ColTicker, r)).empty()) continue;
            for (int c = screener::ColTicker; c < grid.ColCount(); ++c)
                ctx.out << (c > screener::ColTicker ? "," : "")
                        << CsvField(Trimmed(grid.Text(c, r)));
            ctx.out << "\n";
        }
    } else {
        std::string caption = screener::DataSetCaption(dataSetName, calendar);
        for (const std::string& line : screener::BuildSettingsText(
                 caption, screener::FilterCaption(s.Page, settingsName, false), s, ctx.env.locale))
            ctx.out << line << "\n";
        WriteGridTable(ctx.out, grid, 0, state.PrintLastRow, Widths);
        ctx.out << out.inspectedText << "\n" << out.displayedText << "\n";
    }
}

struct FilterOptions {
    std::string dataSet;
    RunOptions run;
};

int Filter(Context& ctx, const FilterOptions& fo) {
    const std::string& dataSet = fo.dataSet;
    const RunOptions& o = fo.run;
    if (int usage = CheckRunOptions(ctx, o, "--reverse")) return usage;

    // A bare data set or settings name lives in the program directory.
    std::filesystem::path dataSetPath = dataSet;
    if (dataSet.find('/') == std::string::npos) dataSetPath = ctx.programDir / dataSet;
    std::string dataSetName = dataSetPath.filename().string();
    std::filesystem::path settingsDir;
    std::string settingsName;
    if (!LocateSettings(ctx, o.settings, ".VNI", settingsDir, settingsName)) return 1;

    hostdb::HostInstallation host;
    if (!ReadHost(ctx, hostdb::HostProgram::ZoltW, host, false)) return 2;
    hostdb::HostGlobals& g = host.globals;
    std::string error;
    hostdb::FindLastMarketDate("dddddd", ctx.env, g.LastMarketDay, g.LastMarketDateText, error);
    hostdb::MarketCalendar calendar(ctx.env.locale);
    calendar.HolidayFileName = hostdb::HolidayFilePath(g, ctx.env.dirs);

    screener::FilterPlan plan;
    const screener::FilterSettings loaded =
        screener::LoadSettings(settingsDir, settingsName, ctx.env.locale);
    if (!screener::MakeFilterPlan(loaded, dataSetName, g.LastMarketDay, calendar, plan)) {
        ctx.err << "zolt: " << dataSetName << " " << screener::DataSetNameProblem(dataSetName)
                << "\n";
        return 2;
    }
    screener::FilterRunInput in;
    in.dataSetPath = dataSetPath;
    in.settings = plan.settings;
    in.evalOpenDay = plan.evalOpenDay;
    in.evalCloseDay = plan.evalCloseDay;
    in.equityPathList = g.EquityPathList;
    in.dirs = ctx.env.dirs;
    in.locale = ctx.env.locale;
    const screener::FilterSettings& s = in.settings;
    const screener::ColumnTitleInfo& titles = plan.titles;

    const screener::ScreenerFormats formats;
    grid::CellGrid grid = screener::MakeResultGrid();
    screener::ResultState state;
    screener::FilterRunOutput out;
    try {
        out = screener::RunFilter(in, grid, state, formats, titles);
    } catch (const std::exception& e) {
        ctx.err << "zolt: " << e.what() << "\n";
        return 1;
    }
    for (const std::string& symbol : out.leftOut)
        ctx.err << "zolt: warning: left out " << symbol
                << ": a ticker holds no control characters\n";
    if (o.sortColumn > 0) {
        screener::SortResults(grid, formats, state, o.sortColumn, titles);
        if (o.otherOrder) screener::SortResults(grid, formats, state, o.sortColumn, titles);
    }

    WriteFilterResults(ctx, grid, state, out, s, dataSetName, calendar, settingsName, o.format);
    return 0;
}

} // namespace

void AddFilterCommand(CLI::App& zolt, CommandRun& run) {
    auto o = std::make_shared<FilterOptions>();
    CLI::App* c = zolt.add_subcommand(
        "filter", "Run the screener's filter and its trade evaluation over a data set");
    c->add_option("--dataset", o->dataSet,
                  "The data set: a YYMMDDNN.vds name in the program directory, or a file")
        ->required()
        ->type_name("FILE");
    AddRunOptions(*c, o->run, ".VNI", screener::ColTicker, screener::ColPerformance, "--reverse",
                  "Sort the other way round, as a second click on a title does");
    c->callback([&run, o] { run = [o](Context& ctx) { return Filter(ctx, *o); }; });
}

} // namespace cli
