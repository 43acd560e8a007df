// `zolt chart`: the host's chart window on a ticker, or on a tag list and its first ticker, as
// Go to Charts and the chart icon of a results row do, through the Wine bridge.
#include "cli/Zolt.h"
#include "hostdb/SearchPath.h"
#include "hostlink/BridgeLink.h"
#include "hostlink/ChartLink.h"

#include <CLI/CLI.hpp>

namespace cli {

namespace {

struct ChartOptions {
    std::string ticker, list;
};

int Chart(Context& ctx, const ChartOptions& o) {
    const std::string& ticker = o.ticker;
    const std::string& list = o.list;
    hostdb::HostInstallation host;
    if (!ReadHost(ctx, hostdb::HostProgram::ZoltW, host, false)) return 2;
    const hostdb::HostGlobals& g = host.globals;

    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    hostlink::BridgeLink link(hostlink::HostBridge(exe, ctx.env.dirs, g.HostLibraryPath));
    link.SetWaitHook(TerminalWaitHook(ctx));
    bool posted;
    std::string missing; // what the request needed and did not find
    if (!list.empty()) {
        if (hostlink::ActivateChartWindow(link, hostlink::ChartWindowTitle, g.HostProgramPath) ==
            0) {
            ctx.err << "zolt: the chart window is not there and " << g.HostProgramPath
                    << " did not bring it"
                    << (link.Problem().empty() ? "" : " (" + link.Problem() + ")") << "\n";
            return 1;
        }
        bool listPosted = link.Post(g.HostLibraryPath, hostlink::CodeOpenTagList, list);
        posted = link.Post(g.HostLibraryPath, hostlink::CodeShowTicker, ticker) && listPosted;
    } else {
        // As the chart icon of a results row: the post is made whatever the window's result,
        // which only names what was missing when the post fails.
        const std::string program = hostdb::JoinHostPath(g.HostDirectory, "qelch32.exe");
        const std::string library = hostdb::JoinHostPath(g.HostDirectory, "qelio32.dll");
        const bool window =
            hostlink::ActivateChartWindow(link, hostlink::ChartWindowTitle, program) != 0;
        posted = link.Post(library, hostlink::CodeShowTicker, ticker);
        if (!window)
            missing = std::string("the chart window \"") + hostlink::ChartWindowTitle +
                      "\" was not there and " + program + " did not bring it";
        else
            missing = "the host library " + library + " did not take it";
    }
    if (!posted) {
        std::string why = link.Problem();
        if (!missing.empty()) why = why.empty() ? missing : missing + " (" + why + ")";
        ctx.err << "zolt: the host did not take the request" << (why.empty() ? "" : ": " + why)
                << "\n";
        return 1;
    }
    ctx.out << "The chart shows " << ticker << (list.empty() ? "" : " of the tag list " + list)
            << "\n";
    return 0;
}

} // namespace

void AddChartCommand(CLI::App& zolt, CommandRun& run) {
    auto o = std::make_shared<ChartOptions>();
    CLI::App* c = zolt.add_subcommand(
        "chart", "Show a ticker in the host's chart window, under Wine, as a chart icon does");
    c->add_option("TICKER", o->ticker, "The ticker shown")->required();
    c->add_option("--list", o->list,
                  "Open this tag list in the chart window first, as Go to Charts does")
        ->type_name("NAME");
    c->callback([&run, o] { run = [o](Context& ctx) { return Chart(ctx, *o); }; });
}

} // namespace cli
