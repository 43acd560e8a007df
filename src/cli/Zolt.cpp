#include "cli/Zolt.h"

#include "grid/model/CellLayout.h"
#include "hostdb/MarketCalendar.h"
#include "hostdb/TagListBuild.h"
#include "platform/Locale.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "platform/Workers.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <map>
#include <streambuf>

namespace cli {

namespace {

const char* const Usage =
    "usage: zolt [--windows-dir DIR] [--now \"YYYY-MM-DD HH:MM\"] [--program-dir DIR] "
    "[--threads N] "
    "host | quote SYMBOL|FILE [--from YYYY-MM-DD] [--to YYYY-MM-DD] | "
    "generate --date YYYY-MM-DD --ma N [--out-dir DIR] | dataset FILE [--format table|csv] | "
    "filter --dataset FILE [--settings NAME|FILE.VNI] [--sort COLUMN [--reverse]] "
    "[--format table|csv|grid|tickers] | "
    "taglist --name NAME [--dir DIR] [--replace] (TICKER... | --from FILE|-) | "
    "find [--settings NAME|FILE.MNI] [--date YYYY-MM-DD] [--sort COLUMN [--descending]] "
    "[--ignore-er] [--format table|csv|grid|tickers] | chart [--list NAME] TICKER";

const std::map<std::string, Command>& Commands() {
    static const std::map<std::string, Command> commands{
        {"host", HostCommand},       {"quote", QuoteCommand},   {"generate", GenerateCommand},
        {"dataset", DataSetCommand}, {"filter", FilterCommand}, {"taglist", TagListCommand},
        {"find", FindCommand},       {"chart", ChartCommand}};
    return commands;
}

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

int Dispatch(Context& ctx, const std::vector<std::string>& args) {
    size_t i = 0;
    std::string error;
    int threads = 0;
    if (!ParseGlobalOptions(args, i, ctx.env, ctx.programDir, error, &threads))
        return UsageError(ctx.err, error);
    if (threads > 0) {
        ctx.threads = threads;
    } else {
        std::string warning;
        ctx.threads = platform::WorkerThreads(&warning);
        if (!warning.empty()) ctx.err << "zolt: " << warning << "\n";
    }
    if (i == args.size()) return UsageError(ctx.err, "no command given");
    auto cmd = Commands().find(args[i]);
    if (cmd == Commands().end()) return UsageError(ctx.err, "unknown command " + args[i]);
    return cmd->second(
        ctx, std::vector<std::string>(args.begin() + static_cast<long>(i) + 1, args.end()));
}

} // namespace

int UsageError(std::ostream& err, const std::string& what) {
    err << "zolt: " << what << " (" << Usage << ")\n";
    return 2;
}

int RunZolt(const std::vector<std::string>& args, const platform::Directories& dirs,
            const platform::Locale& locale, hostdb::DateTimeValue now, std::ostream& out,
            std::ostream& err, bool errIsTerminal, bool outIsTerminal) {
    ControlFilter outFilter(out.rdbuf(), false), errFilter(err.rdbuf(), true);
    std::ostream shownOut(&outFilter), shownErr(&errFilter);
    std::ostream& o = outIsTerminal ? shownOut : out;
    std::ostream& e = errIsTerminal ? shownErr : err;
    Context ctx{{dirs, locale, now}, dirs.program, o, e, errIsTerminal};
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

int ParseRunOptions(Context& ctx, const std::vector<std::string>& args, const std::string& command,
                    int lowest, int highest, const std::string& orderFlag, RunOptions& o,
                    const MoreOptions& more) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 == args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--settings" && value(o.settings)) {
        } else if (a == "--format" && value(o.format)) {
            if (o.format != "table" && o.format != "csv" && o.format != "grid" &&
                o.format != "tickers")
                return UsageError(ctx.err, "--format is table, csv, grid or tickers");
        } else if (a == "--sort" && value(v)) {
            if (!platform::ParseInteger(v, o.sortColumn) || o.sortColumn < lowest ||
                o.sortColumn > highest)
                return UsageError(ctx.err, "--sort wants a column from " + std::to_string(lowest) +
                                               " to " + std::to_string(highest));
        } else if (a == orderFlag) {
            o.otherOrder = true;
        } else if (!more(a, value)) {
            return UsageError(ctx.err, "unknown or incomplete " + command + " option " + a);
        }
    }
    if (o.otherOrder && o.sortColumn < 0)
        return UsageError(ctx.err, orderFlag + " goes with --sort");
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
