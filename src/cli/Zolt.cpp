#include "cli/Zolt.h"

#include "hostdb/Findfile.h"

#include <cstdio>

namespace cli {

namespace {

const char* const Usage =
    "usage: zolt [--windows-dir DIR] [--now \"YYYY-MM-DD HH:MM\"] [--program-dir DIR] "
    "host";

int UsageError(std::ostream& err, const std::string& what) {
    err << "zolt: " << what << " (" << Usage << ")\n";
    return 2;
}

const std::map<std::string, Command>& Commands() {
    static const std::map<std::string, Command> commands{{"host", HostCommand}};
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
    return cmd->second(ctx, std::vector<std::string>(args.begin() + static_cast<long>(i) + 1, args.end()));
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

} // namespace cli
