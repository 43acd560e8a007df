// `zolt host`: what the programs find of the host installation.
#include "cli/Zolt.h"
#include "hostdb/SearchPath.h"

#include <CLI/CLI.hpp>

namespace cli {

namespace {

int Host(Context& ctx) {
    hostdb::HostInstallation host;
    if (!ReadHost(ctx, hostdb::HostProgram::ZoltW, host, true)) return 2;
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

} // namespace

void AddHostCommand(CLI::App& zolt, CommandRun& run) {
    zolt.add_subcommand("host", "Print what the programs find of the host installation")
        ->callback([&run] { run = Host; });
}

} // namespace cli
