// `zolt quote`: a ticker file's header and daily records, to check a suspicious ticker.
#include "cli/Zolt.h"
#include "hostdb/MarketCalendar.h"
#include "hostdb/SearchPath.h"
#include "hostdb/TickerFile.h"
#include "platform/Text.h"

#include <algorithm>

namespace cli {

int QuoteCommand(Context& ctx, const std::vector<std::string>& args) {
    std::string what, error;
    int from = -32768, to = 32767;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--from" || args[i] == "--to") {
            int& bound = args[i] == "--from" ? from : to;
            if (i + 1 == args.size()) return UsageError(ctx.err, args[i] + " needs a date");
            if (!ParseDay(args[i], args[i + 1], bound, error)) return UsageError(ctx.err, error);
            ++i;
        } else if (what.empty() && args[i].rfind("--", 0) != 0) {
            what = args[i];
        } else {
            return UsageError(ctx.err, "quote takes one SYMBOL or FILE, not " + args[i]);
        }
    }
    if (what.empty()) return UsageError(ctx.err, "quote needs a SYMBOL or FILE");

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

} // namespace cli
