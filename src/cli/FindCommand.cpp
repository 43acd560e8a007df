// `zolt find`: the finder's line-crossing search over the host database.
#include "cli/Zolt.h"
#include "finder/engine/Findem.h"
#include "platform/Text.h"

namespace cli {

namespace {

const std::vector<int> FindWidths = {8, 9, 8, 12, 9, 36};

// The report's bullet byte shown as the terminal's bullet.
std::string Printable(const std::string& line) {
    std::string out;
    for (char c : line) out += c == '\x95' ? std::string("\xE2\x80\xA2") : std::string(1, c);
    return out;
}

} // namespace

int FindCommand(Context& ctx, const std::vector<std::string>& args) {
    std::string date;
    bool ignoreEr = false;
    RunOptions o;
    int usage = ParseRunOptions(ctx, args, "find", 0, 5, "--descending", o,
                                [&](const std::string& a, const auto& value) {
                                    if (a == "--ignore-er") return ignoreEr = true;
                                    return a == "--date" && value(date);
                                });
    if (usage) return usage;

    int day = 0;
    std::string error;
    if (!date.empty() && !ParseDay("--date", date, day, error)) return UsageError(ctx.err, error);

    hostdb::HostInstallation host;
    if (!ReadHost(ctx, hostdb::HostProgram::Zimra, host, true)) return 2;
    const int last = host.globals.LastMarketDay;
    std::filesystem::path settingsDir;
    std::string settingsName;
    if (!LocateSettings(ctx, o.settings, ".MNI", settingsDir, settingsName)) return 1;
    finder::FinderSettings s = finder::LoadFinderSettings(settingsDir, settingsName, last);
    if (!date.empty()) s.MarketDate = day;
    finder::AcceptSettings(s, last);
    if (finder::ErCheckWanted(s)) {
        if (!ignoreEr) {
            ctx.err << "zolt: these settings check expert ratings, which only the host's chart "
                       "window shows; run the finder program, or add --ignore-er\n";
            return 2;
        }
        s.PrevChoice = finder::DontCare;
    }

    finder::FindInput in;
    in.settings = s;
    in.lastMarketDay = last;
    in.tickerFiles = std::move(host.tickerFiles);
    in.equityPathList = host.globals.EquityPathList;
    in.dirs = ctx.env.dirs;
    in.locale = ctx.env.locale;
    const finder::FinderFormats formats;
    grid::CellGrid g(finder::FinderColumns, finder::FinderTitleRows + 1, 0,
                     finder::FinderTitleRows);
    finder::FinderState state;
    finder::RunFind(in, g, state, formats);
    if (o.sortColumn >= 0 &&
        finder::SortFinderResults(g, formats, state, o.sortColumn, o.otherOrder, ctx.env.locale) ==
            finder::SortOutcome::TooManyItems) {
        ctx.err << "zolt: Sorry, but there are more items than can be sorted by this column. The "
                   "Ticker and Full Name columns have no upper limit, however.\n";
        return 1;
    }

    // Every row up to the one before the end row, as the report prints them.
    if (o.format == "grid") {
        WriteGridRows(ctx.out, g, 0, state.EndRow - 1);
        return 0;
    }
    if (o.format == "tickers") {
        WriteTickers(ctx.out, g, 4, state.FirstResultRow, state.LastResultRow);
        return 0;
    }
    if (o.format == "csv") {
        ctx.out << "Found on prev day #,Prev. date's ER,# days,Result,Ticker,Name\n";
        for (int r = state.FirstResultRow; r <= state.LastResultRow; ++r) {
            for (int c = 0; c < g.ColCount(); ++c) {
                ctx.out << (c ? "," : "") << CsvField(std::string(platform::Trim(g.Text(c, r))));
            }
            ctx.out << "\n";
        }
        return 0;
    }
    for (const std::string& line : finder::ReportDescription(s, last, ctx.env.locale))
        ctx.out << Printable(line) << "\n";
    WriteGridTable(ctx.out, g, 0, state.EndRow - 1, FindWidths);
    return 0;
}

} // namespace cli
