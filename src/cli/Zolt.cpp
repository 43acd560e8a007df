#include "cli/Zolt.h"

#include "grid/model/CellLayout.h"
#include "hostdb/MarketCalendar.h"
#include "hostdb/TagListBuild.h"
#include "platform/Locale.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "platform/Workers.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <streambuf>

namespace cli {

namespace {

// Passes text on with its control characters (but line ends and tabs) shown as "?", so a name
// from a hostile file cannot send escape sequences to a terminal.
class ControlFilter final : public std::streambuf {
public:
    ControlFilter(std::streambuf* to, bool carriageReturn) : to_(to), cr_(carriageReturn) {}

protected:
    int overflow(int c) override {
        if (c == traits_type::eof()) return 0;
        char ch = Shown(static_cast<char>(c));
        return to_->sputc(ch) == traits_type::eof() ? traits_type::eof() : c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        std::string shown(s, static_cast<std::size_t>(n));
        for (char& c : shown) c = Shown(c);
        return to_->sputn(shown.data(), n);
    }
    int sync() override { return to_->pubsync(); }

private:
    char Shown(char c) const {
        auto u = static_cast<unsigned char>(c);
        bool control = u < 0x20 || u == 0x7F;
        bool kept = c == '\n' || c == '\t' || (cr_ && c == '\r');
        return control && !kept ? '?' : c;
    }

    std::streambuf* to_;
    bool cr_;
};

// The global options given (option, value, in order), applied once the parse is through.
using GlobalValues = std::vector<std::pair<std::string, std::string>>;

std::unique_ptr<CLI::App> ZoltParser(CommandRun& run, GlobalValues& globals) {
    auto app = std::make_unique<CLI::App>(
        "The screener's and the finder's engines without their windows, over a QEL host "
        "installation.",
        "zolt");
    app->set_version_flag("--version", "zolt " ZOLT_VERSION, "Print the version and exit");
    app->set_help_flag("-h,--help", "Print this help and exit");
    app->require_subcommand(1);
    app->option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast); // as before
    app->get_formatter()->column_width(26);
    auto global = [&](const char* name, const char* help) {
        app->add_option_function<std::string>(
               name, [&globals, name](const std::string& v) { globals.emplace_back(name, v); },
               help)
            ->type_name(std::string(name) == "--now"       ? "\"YYYY-MM-DD HH:MM\""
                        : std::string(name) == "--threads" ? "N"
                                                           : "DIR");
    };
    global("--windows-dir",
           "The host's Windows directory; PREFIX/drive_c/windows also takes its drives from PREFIX "
           "(default: $WINEPREFIX/drive_c/windows, else ~/.wine/drive_c/windows)");
    global("--now", "The clock, from 1980-01-02 to 2069-09-16 (default: the system's)");
    global("--program-dir",
           "Where data sets and settings files live (default: $XDG_DATA_HOME/zolt for an installed "
           "zolt, else beside the executable)");
    global("--threads",
           "Threads the find and the generation read and compute tickers on, 1 to 256 (default: "
           "$ZOLT_THREADS, else as many as the processor has)");
    AddHostCommand(*app, run);
    AddQuoteCommand(*app, run);
    AddGenerateCommand(*app, run);
    AddDataSetCommand(*app, run);
    AddFilterCommand(*app, run);
    AddTagListCommand(*app, run);
    AddFindCommand(*app, run);
    AddChartCommand(*app, run);
    return app;
}

int Dispatch(Context& ctx, const std::vector<std::string>& args) {
    CommandRun run;
    GlobalValues globals;
    std::unique_ptr<CLI::App> app = ZoltParser(run, globals);
    std::vector<std::string> reversed(args.rbegin(), args.rend()); // the parser reads from the back
    try {
        app->parse(reversed);
    } catch (const CLI::CallForHelp& e) {
        return app->exit(e, ctx.out, ctx.err);
    } catch (const CLI::CallForVersion& e) {
        return app->exit(e, ctx.out, ctx.err);
    } catch (const CLI::ParseError& e) {
        for (const CLI::App* c : app->get_subcommands()) ctx.command = c->get_name();
        return UsageError(ctx, e.what());
    }
    for (const CLI::App* c : app->get_subcommands()) ctx.command = c->get_name();
    int threads = 0;
    std::string error;
    for (const auto& [name, value] : globals)
        if (!hostdb::ApplyGlobalOption(name, value, ctx.env, ctx.programDir, error, &threads)) {
            ctx.command.clear();
            return UsageError(ctx, error);
        }
    if (threads > 0) {
        ctx.threads = threads;
    } else {
        std::string warning;
        ctx.threads = platform::WorkerThreads(&warning);
        if (!warning.empty()) ctx.err << "zolt: " << warning << "\n";
    }
    return run ? run(ctx) : UsageError(ctx, "no command given");
}

} // namespace

int UsageError(Context& ctx, const std::string& what) {
    ctx.err << "zolt: " << what << "\nRun 'zolt" << (ctx.command.empty() ? "" : " " + ctx.command)
            << " --help' for the options.\n";
    return 2;
}

int RunZolt(const std::vector<std::string>& args, const platform::Directories& dirs,
            const platform::Locale& locale, hostdb::DateTimeValue now, std::ostream& out,
            std::ostream& err, bool errIsTerminal, bool outIsTerminal) {
    ControlFilter outFilter(out.rdbuf(), false), errFilter(err.rdbuf(), true);
    std::ostream shownOut(&outFilter), shownErr(&errFilter);
    std::ostream& o = outIsTerminal ? shownOut : out;
    std::ostream& e = errIsTerminal ? shownErr : err;
    Context ctx{{dirs, locale, now}, dirs.program, o, e, errIsTerminal, 1, {}};
    int status;
    try {
        status = Dispatch(ctx, args);
    } catch (const std::exception& ex) {
        e << "zolt: " << ex.what() << "\n";
        status = 2;
    }
    // A full disk or a closed pipe must not pass for a complete output.
    errno = 0;
    o.flush();
    if (!o || !out.flush()) {
        int error = errno;
        e << "zolt: cannot write the output: " << (error ? std::strerror(error) : "write failed")
          << "\n";
        if (status == 0) status = 1;
    }
    e.flush();
    return status;
}

bool ReadHost(Context& ctx, hostdb::HostProgram program, hostdb::HostInstallation& host,
              bool discover) {
    std::string error, reason;
    bool found =
        discover ? hostdb::DiscoverHost(program, ctx.env, host, error, &reason)
                 : hostdb::ReadHostSettings(program, ctx.env.dirs, host.globals, error, &reason);
    if (!found) {
        ctx.err << error << "\n"
                << "zolt: " << reason << "\n";
        return false;
    }
    if (!discover) host.warnings = hostdb::HostWarnings(host.globals, ctx.env.dirs);
    for (const std::string& w : host.warnings) ctx.err << "zolt: warning: " << w << "\n";
    return true;
}

hostlink::WaitHook TerminalWaitHook(Context& ctx, std::function<bool()> stopped) {
    return [&ctx, stopped = std::move(stopped), told = false, last = 0.0](std::string_view awaited,
                                                                          double seconds) mutable {
        if (seconds < last) told = false; // a new wait
        last = seconds;
        if (!told && seconds >= 2) {
            told = true;
            ctx.err << "zolt: " << awaited << "...\n" << std::flush;
        }
        return !(stopped && stopped());
    };
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
    std::string q = "\"";
    for (char c : text) q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

std::string PriceText(float price) {
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, price);
    return ec == std::errc() ? std::string(buf, end) : std::string("?");
}

std::string Padded(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

bool LocateSettings(Context& ctx, const std::string& arg, const std::string& extension,
                    std::filesystem::path& dir, std::string& name) {
    dir = ctx.programDir;
    name.clear();
    if (arg.empty()) return true;
    std::filesystem::path p = arg;
    bool isFile = platform::EqualNoCase(p.extension().string(), extension);
    name = isFile ? p.stem().string() : arg;
    if (isFile && p.has_parent_path()) dir = p.parent_path();
    std::optional<std::filesystem::path> file = platform::FindNoCase(dir, name + extension);
    if (!file) {
        ctx.err << "zolt: no settings file " << (dir / (name + extension)).string() << "\n";
        return false;
    }
    std::string text, reason;
    if (!platform::ReadRegularFile(*file, text, reason, platform::MaxProfileSize)) {
        ctx.err << "zolt: the settings file " << file->string() << " " << reason << "\n";
        return false;
    }
    return true;
}

void AddRunOptions(CLI::App& command, RunOptions& o, const std::string& settingsKind, int lowest,
                   int highest, const std::string& orderFlag, const std::string& orderHelp) {
    command
        .add_option("--settings", o.settings,
                    "A settings file: NAME in the program directory, or a " + settingsKind +
                        " file (default: the settings' defaults)")
        ->type_name("NAME|FILE" + settingsKind);
    command
        .add_option("--format", o.format,
                    "table as the screen shows it, csv, grid (the cells as the report prints "
                    "them) or tickers (one a line)")
        ->check(CLI::IsMember({"table", "csv", "grid", "tickers"}))
        ->capture_default_str();
    command.add_option("--sort", o.sortColumn, "Sort by this column, as a click on its title does")
        ->check(CLI::Range(lowest, highest))
        ->type_name("COLUMN");
    command.add_flag(orderFlag, o.otherOrder, orderHelp);
}

int CheckRunOptions(Context& ctx, const RunOptions& o, const std::string& orderFlag) {
    if (o.otherOrder && o.sortColumn < 0) return UsageError(ctx, orderFlag + " goes with --sort");
    return 0;
}

void WriteGridRows(std::ostream& out, const grid::CellGrid& g, int first, int last) {
    for (int r = first; r <= last && r < g.RowCount(); ++r) {
        for (int c = 0; c < g.ColCount(); ++c) out << (c ? "\t" : "") << g.Text(c, r);
        out << "\n";
    }
}

void WriteGridTable(std::ostream& out, const grid::CellGrid& g, int first, int last,
                    const std::vector<int>& widths) {
    for (int r = first; r <= last && r < g.RowCount(); ++r)
        out << grid::LayOutRow(g, r, widths) << "\n";
}

void WriteTickers(std::ostream& out, const grid::CellGrid& g, int column, int first, int last) {
    for (const std::string& t :
         hostdb::TickersOfRows(first, last, [&](int row) { return g.Text(column, row); }))
        out << t << "\n";
}

} // namespace cli
