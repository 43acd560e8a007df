#include "cli/Zolt.h"

#include "hostdb/Findfile.h"
#include "hostdb/Format.h"
#include "hostdb/QelTick.h"
#include "hostdb/Qelcalen.h"
#include "platform/Text.h"

#include <charconv>
#include <cstdio>

namespace cli {

namespace {

const char* const Usage =
    "usage: zolt [--windows-dir DIR] [--now \"YYYY-MM-DD HH:MM\"] [--program-dir DIR] "
    "host | quote SYMBOL|FILE [--from YYYY-MM-DD] [--to YYYY-MM-DD]";

int UsageError(std::ostream& err, const std::string& what) {
    err << "zolt: " << what << " (" << Usage << ")\n";
    return 2;
}

const std::map<std::string, Command>& Commands() {
    static const std::map<std::string, Command> commands{{"host", HostCommand},
                                                         {"quote", QuoteCommand}};
    return commands;
}

} // namespace

bool ParseNow(const std::string& text, hostdb::DateTimeValue& now) {
    int y, mo, d, h = 0, mi = 0;
    char tail;
    int n = std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d%c", &y, &mo, &d, &h, &mi, &tail);
    if (n != 3 && n != 5) return false;
    if (!hostdb::IsValidDate(y, mo, d) || h < 0 || h > 23 || mi < 0 || mi > 59) return false;
    now = hostdb::EncodeDateTime(y, mo, d, h, mi);
    return true;
}

int RunZolt(const std::vector<std::string>& args, const platform::Directories& dirs,
            const platform::Locale& locale, hostdb::DateTimeValue now, std::ostream& out,
            std::ostream& err) {
    Context ctx{{dirs, locale, now}, dirs.program, out, err};
    size_t i = 0;
    for (; i < args.size() && args[i].rfind("--", 0) == 0; ++i) {
        std::string name = args[i], value;
        size_t eq = name.find('=');
        if (eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        if (name != "--windows-dir" && name != "--program-dir" && name != "--now")
            return UsageError(err, "unknown option " + name);
        if (eq == std::string::npos) {
            if (i + 1 == args.size()) return UsageError(err, "option " + name + " needs a value");
            value = args[++i];
        }
        if (name == "--windows-dir") {
            ctx.env.dirs.SetWindowsDirectory(value);
        } else if (name == "--program-dir") {
            ctx.programDir = value;
        } else if (!ParseNow(value, ctx.env.now)) {
            return UsageError(err, "--now wants \"YYYY-MM-DD HH:MM\", not \"" + value + "\"");
        }
    }
    if (i == args.size()) return UsageError(err, "no command given");
    auto cmd = Commands().find(args[i]);
    if (cmd == Commands().end()) return UsageError(err, "unknown command " + args[i]);
    return cmd->second(
        ctx, std::vector<std::string>(args.begin() + static_cast<long>(i) + 1, args.end()));
}

int HostCommand(Context& ctx, const std::vector<std::string>& args) {
    if (!args.empty()) return UsageError(ctx.err, "host takes no arguments");
    hostdb::HostInstallation host;
    std::string error;
    if (!hostdb::DiscoverHost(hostdb::HostProgram::ZoltW, ctx.env, host, error)) {
        ctx.err << error << "\n";
        return 2;
    }
    const hostdb::HostGlobals& g = host.globals;
    ctx.out << "Host directory:   " << g.HostDirectory << "\n";
    for (const std::string& dir : hostdb::SearchPathDirectories(g.EquityPathList))
        ctx.out << "Data directory:   " << dir << " (" << ctx.env.dirs.LocalPath(dir).string()
                << ")\n";
    ctx.out << "Host library:     " << g.HostLibraryPath << "\n";
    ctx.out << "Last market date: " << g.LastMarketDateText << "\n";
    ctx.out << "Ticker files:     " << host.tickerFiles.size() << "\n";
    return 0;
}

namespace {

bool ParseDay(const std::string& text, int& day) {
    hostdb::DateTimeValue v;
    if (text.size() != 10 || !ParseNow(text, v)) return false;
    day = hostdb::TQelCalendar::DateToDay(v);
    return true;
}

// The shortest text that reads back as the same single-precision value.
std::string PriceText(float price) {
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, price);
    return ec == std::errc() ? std::string(buf, end) : std::string("?");
}

std::string Column(std::string text, size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

} // namespace

int QuoteCommand(Context& ctx, const std::vector<std::string>& args) {
    std::string what;
    int from = -32768, to = 32767;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--from" || args[i] == "--to") {
            int& bound = args[i] == "--from" ? from : to;
            if (i + 1 == args.size() || !ParseDay(args[i + 1], bound))
                return UsageError(ctx.err, args[i] + " wants a date YYYY-MM-DD");
            ++i;
        } else if (what.empty() && args[i].rfind("--", 0) != 0) {
            what = args[i];
        } else {
            return UsageError(ctx.err, "quote takes one SYMBOL or FILE, not " + args[i]);
        }
    }
    if (what.empty()) return UsageError(ctx.err, "quote needs a SYMBOL or FILE");

    std::filesystem::path path;
    std::error_code ec;
    bool isFile = what.find('/') != std::string::npos && std::filesystem::is_regular_file(what, ec);
    if (isFile) {
        path = what;
    } else {
        hostdb::HostGlobals g;
        std::string error;
        if (!hostdb::ReadHostSettings(hostdb::HostProgram::ZoltW, ctx.env.dirs, g, error)) {
            ctx.err << error << "\n";
            return 2;
        }
        if (!hostdb::FindFileOnPath(g.EquityPathList, platform::UpperCase(what) + ".DTA",
                                    ctx.env.dirs, path)) {
            ctx.err << "zolt: no ticker file " << platform::UpperCase(what)
                    << ".DTA on the data directories\n";
            return 1;
        }
    }

    hostdb::TQelTicker ticker;
    ticker.SetFileName(path.string());
    if (!ticker.IsOpen()) {
        ctx.err << "zolt: " << path.string() << " is not a readable ticker file\n";
        return 1;
    }
    hostdb::TQelCalendar calendar(ctx.env.locale);
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
        ctx.out << Column(date(day), 16) << Column(PriceText(ticker.Open()), 12)
                << Column(PriceText(ticker.High()), 12) << Column(PriceText(ticker.Low()), 12)
                << Column(PriceText(ticker.Close()), 12) << ticker.Volume() << "\n";
    }
    return 0;
}

} // namespace cli
