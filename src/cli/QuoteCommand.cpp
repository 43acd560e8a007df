// `zolt quote`: a ticker file's header and daily records, to check a suspicious ticker.
#include "cli/Zolt.h"
#include "hostdb/MarketCalendar.h"
#include "hostdb/SearchPath.h"
#include "hostdb/TickerFile.h"
#include "platform/Text.h"

#include <CLI/CLI.hpp>
#include <algorithm>

namespace cli {

namespace {

struct QuoteOptions {
    std::string what, fromText, toText;
};

int Quote(Context& ctx, const QuoteOptions& o) {
    const std::string& what = o.what;
    std::string error;
    int from = -32768, to = 32767;
    if (!o.fromText.empty() && !ParseDay("--from", o.fromText, from, error))
        return UsageError(ctx, error);
    if (!o.toText.empty() && !ParseDay("--to", o.toText, to, error)) return UsageError(ctx, error);

    std::filesystem::path path;
    if (what.find('/') != std::string::npos) {
        path = what;
    } else {
        hostdb::HostInstallation host;
        if (!ReadHost(ctx, hostdb::HostProgram::ZoltW, host, false)) return 2;
        if (!hostdb::FindFileOnPath(host.globals.EquityPathList, platform::UpperCase(what) + ".DTA",
                                    ctx.env.dirs, path)) {
            ctx.err << "zolt: no ticker file " << platform::UpperCase(what)
                    << ".DTA on the data directories\n";
            return 1;
        }
    }

    hostdb::TickerFile ticker;
    ticker.SetFileName(path.string());
    if (!ticker.IsOpen()) {
        ctx.err << "zolt: " << path.string() << " is not a readable ticker file\n";
        return 1;
    }
    hostdb::MarketCalendar calendar(ctx.env.locale);
    auto date = [&](int day) { return calendar.FormatDay("yyyy-mm-dd ddd", day); };
    char kind = ticker.KindCode();
    ctx.out << "File:      " << path.string() << "\n"
            << "Name:      " << ticker.SecurityName() << "\n"
            << "Kind:      " << (kind ? std::string(1, kind) : "") << "\n"
            << "Status A:  " << (ticker.StatusIsA() ? "yes" : "no") << "\n"
            << "Format:    " << ticker.FormatCode() << "\n"
            << "First day: " << ticker.FirstDay() << " " << date(ticker.FirstDay()) << "\n"
            << "Last day:  " << ticker.LastDay() << " " << date(ticker.LastDay()) << "\n"
            << "Date            Open        High        Low         Close       Volume\n";
    int first = std::max(from, ticker.FirstDay()), last = std::min(to, ticker.LastDay());
    for (int day = first; day <= last; ++day) {
        ticker.SetDay(day);
        if (!ticker.HasRecord()) continue;
        ctx.out << Padded(date(day), 16) << Padded(PriceText(ticker.Open()), 12)
                << Padded(PriceText(ticker.High()), 12) << Padded(PriceText(ticker.Low()), 12)
                << Padded(PriceText(ticker.Close()), 12) << ticker.Volume() << "\n";
    }
    return 0;
}

} // namespace

void AddQuoteCommand(CLI::App& zolt, CommandRun& run) {
    auto o = std::make_shared<QuoteOptions>();
    CLI::App* c = zolt.add_subcommand(
        "quote", "Print a ticker file's header and daily records, to check a suspicious ticker");
    c->add_option("SYMBOL|FILE", o->what,
                  "A symbol looked up on the host's data directories, or a file (a name with a /)")
        ->required();
    c->add_option("--from", o->fromText, "The first day printed (default: the file's first)")
        ->type_name("YYYY-MM-DD");
    c->add_option("--to", o->toText, "The last day printed (default: the file's last)")
        ->type_name("YYYY-MM-DD");
    c->callback([&run, o] { run = [o](Context& ctx) { return Quote(ctx, *o); }; });
}

} // namespace cli
