// `zolt generate`: the screener's data set for a market date, moved to a trading day as the
// data-set chooser does.
#include "cli/Zolt.h"
#include "hostdb/MarketCalendar.h"
#include "platform/Text.h"
#include "screener/engine/DataSetGeneration.h"

#include <CLI/CLI.hpp>
#include <chrono>

namespace cli {

namespace {

struct GenerateOptions {
    std::string date, length, outDir;
};

int Generate(Context& ctx, const GenerateOptions& o) {
    int day = 0, length = 0;
    std::string error;
    if (!ParseDay("--date", o.date, day, error)) return UsageError(ctx, error);
    if (!platform::ParseInteger(o.length, length) || length < 1 || length > 99)
        return UsageError(ctx, "the moving-average length must be a whole number from 1 to 99, "
                               "not \"" +
                                   o.length + "\"");
    const std::filesystem::path outDir =
        o.outDir.empty() ? ctx.programDir : std::filesystem::path(o.outDir);

    hostdb::HostInstallation host;
    if (!ReadHost(ctx, hostdb::HostProgram::ZoltW, host, true)) return 2;
    hostdb::MarketCalendar calendar(ctx.env.locale);
    calendar.HolidayFileName = hostdb::HolidayFilePath(host.globals, ctx.env.dirs);
    // As the chooser does: no later than the last market date, and a trading day.
    int wanted = day;
    day = screener::ChooseMarketDate(calendar, wanted, host.globals.LastMarketDay);
    if (day != wanted)
        ctx.out << "Market date " << calendar.FormatDay("yyyy-mm-dd", wanted) << " is "
                << (wanted > host.globals.LastMarketDay ? "after the last market date"
                                                        : "not a trading day")
                << "; using " << calendar.FormatDay("dddddd", day) << ".\n";

    // The installed program's own directory is made on first use; a failure shows when the data
    // set cannot be written there.
    if (outDir == ctx.programDir) {
        std::error_code ec;
        std::filesystem::create_directories(outDir, ec);
    }
    screener::GenerateInput input;
    input.marketDay = day;
    input.moveAveLength = length;
    input.outputPath = outDir / screener::DataSetFileName(day, length);
    input.threads = ctx.threads;
    input.tickerFiles = std::move(host.tickerFiles);

    // One updating line on a terminal, at most ten times a second.
    const bool terminal = ctx.errIsTerminal;
    auto last = std::chrono::steady_clock::now() - std::chrono::seconds(1);
    std::string labels;
    input.onTicker = [&](const std::string& symbol, const std::string& name) {
        labels = symbol + " " + name;
    };
    auto progress = [&](std::int64_t done, std::int64_t total) {
        auto now = std::chrono::steady_clock::now();
        if (terminal && (now - last > std::chrono::milliseconds(100) || done == total)) {
            last = now;
            std::string line = std::to_string(done) + "/" + std::to_string(total) + " " + labels;
            ctx.err << "\r" << Padded(line.substr(0, 78), 78) << std::flush;
        }
        return true;
    };
    screener::GenerateResult result;
    try {
        result = screener::GenerateDataSet(input, calendar, progress);
    } catch (const std::exception& e) {
        if (terminal) ctx.err << "\n";
        ctx.err << "zolt: " << e.what() << "\n";
        return 1;
    }
    if (terminal) ctx.err << "\n";
    ctx.out << "Data set " << input.outputPath.string() << ": " << result.accepted << " of "
            << result.visited << " tickers for " << calendar.FormatDay("dddddd", day) << " with a "
            << length << "-day average of volume\n";
    return 0;
}

} // namespace

void AddGenerateCommand(CLI::App& zolt, CommandRun& run) {
    auto o = std::make_shared<GenerateOptions>();
    CLI::App* c = zolt.add_subcommand(
        "generate", "Generate the screener's data set for a market date and a volume average");
    c->add_option("--date", o->date,
                  "The market date, moved back to the last market date or the trading day "
                  "before, as the data-set chooser does")
        ->required()
        ->type_name("YYYY-MM-DD");
    c->add_option("--ma", o->length, "Days of the moving average of volume, 1 to 99")
        ->required()
        ->type_name("N");
    c->add_option("--out-dir", o->outDir,
                  "Where the data set is written (default: the program "
                  "directory)")
        ->type_name("DIR");
    c->callback([&run, o] { run = [o](Context& ctx) { return Generate(ctx, *o); }; });
}

} // namespace cli
