#include "cli/Zolt.h"

#include "hostdb/Findfile.h"
#include "hostdb/Format.h"
#include "hostdb/QelTick.h"
#include "hostdb/Qelcalen.h"
#include "platform/Text.h"
#include "screener/engine/Gendata.h"

#include <charconv>
#include <chrono>
#include <cstdio>

namespace cli {

namespace {

const char* const Usage =
    "usage: zolt [--windows-dir DIR] [--now \"YYYY-MM-DD HH:MM\"] [--program-dir DIR] "
    "host | quote SYMBOL|FILE [--from YYYY-MM-DD] [--to YYYY-MM-DD] | "
    "generate --date YYYY-MM-DD --ma N [--out-dir DIR] | dataset FILE [--format table|csv] | "
    "filter --dataset FILE [--settings NAME|FILE.VNI] [--sort COLUMN [--reverse]] "
    "[--format table|csv|grid] | "
    "taglist --name NAME [--dir DIR] [--replace] (TICKER... | --from FILE|-) | "
    "find [--settings NAME|FILE.MNI] [--date YYYY-MM-DD] [--sort COLUMN [--descending]] "
    "[--ignore-er] [--format table|csv|grid]";

const std::map<std::string, Command>& Commands() {
    static const std::map<std::string, Command> commands{
        {"host", HostCommand},       {"quote", QuoteCommand},   {"generate", GenerateCommand},
        {"dataset", DataSetCommand}, {"filter", FilterCommand}, {"taglist", TagListCommand},
        {"find", FindCommand}};
    return commands;
}

} // namespace

int UsageError(std::ostream& err, const std::string& what) {
    err << "zolt: " << what << " (" << Usage << ")\n";
    return 2;
}

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
            std::ostream& err, bool errIsTerminal) {
    Context ctx{{dirs, locale, now}, dirs.program, out, err, errIsTerminal};
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

int GenerateCommand(Context& ctx, const std::vector<std::string>& args) {
    int day = 0, length = 0;
    bool haveDate = false, haveLength = false;
    std::filesystem::path outDir = ctx.programDir;
    for (size_t i = 0; i < args.size(); ++i) {
        if (i + 1 == args.size()) return UsageError(ctx.err, args[i] + " needs a value");
        const std::string& value = args[i + 1];
        if (args[i] == "--date") {
            if (!ParseDay(value, day)) return UsageError(ctx.err, "--date wants YYYY-MM-DD");
            haveDate = true;
        } else if (args[i] == "--ma") {
            haveLength = true;
            if (!platform::ParseInteger(value, length) || length < 1 || length > 99) {
                ctx.err << "zolt: the moving-average length must be a whole number from 1 to 99, "
                           "not \""
                        << value << "\"\n";
                return 2;
            }
        } else if (args[i] == "--out-dir") {
            outDir = value;
        } else {
            return UsageError(ctx.err, "unknown generate option " + args[i]);
        }
        ++i;
    }
    if (!haveDate || !haveLength) return UsageError(ctx.err, "generate needs --date and --ma");
    if (day < 1) { // 2 January 1980 is the earliest market date
        ctx.err << "zolt: the market date must be 1980-01-02 or later\n";
        return 2;
    }

    hostdb::HostInstallation host;
    std::string error;
    if (!hostdb::DiscoverHost(hostdb::HostProgram::ZoltW, ctx.env, host, error)) {
        ctx.err << error << "\n";
        return 2;
    }
    hostdb::TQelCalendar calendar(ctx.env.locale);
    calendar.HolidayFileName = hostdb::HolidayFilePath(host.globals, ctx.env.dirs);
    // As the chooser does: no later than the last market date, and a trading day.
    int wanted = day;
    day = screener::ChooseMarketDate(calendar, wanted, host.globals.LastMarketDay);
    if (day != wanted)
        ctx.out << "Market date " << calendar.FormatDay("yyyy-mm-dd", wanted) << " is "
                << (wanted > host.globals.LastMarketDay ? "after the last market date"
                                                        : "not a trading day")
                << "; using " << calendar.FormatDay("dddddd", day) << ".\n";

    screener::GenerateInput input;
    input.marketDay = day;
    input.moveAveLength = length;
    input.outputPath = outDir / screener::DataSetFileName(day, length);
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
            ctx.err << "\r" << Column(line.substr(0, 78), 78) << std::flush;
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

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\n") == std::string::npos) return text;
    std::string q = "\"";
    for (char c : text) q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
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
    std::filesystem::path file = dir / (name + extension);
    if (!std::filesystem::exists(file)) {
        ctx.err << "zolt: no settings file " << file.string() << "\n";
        return false;
    }
    return true;
}

void WriteGridRows(std::ostream& out, const grid::CellGrid& g, int first, int last) {
    for (int r = first; r <= last && r < g.RowCount(); ++r) {
        for (int c = 0; c < g.ColCount(); ++c) out << (c ? "\t" : "") << g.Text(c, r);
        out << "\n";
    }
}

int DataSetCommand(Context& ctx, const std::vector<std::string>& args) {
    std::string file, format = "table";
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--format" && i + 1 < args.size()) {
            format = args[++i];
            if (format != "table" && format != "csv")
                return UsageError(ctx.err, "--format is table or csv");
        } else if (file.empty() && args[i].rfind("--", 0) != 0) {
            file = args[i];
        } else {
            return UsageError(ctx.err, "dataset takes one FILE, not " + args[i]);
        }
    }
    if (file.empty()) return UsageError(ctx.err, "dataset needs a FILE");
    std::vector<screener::DataSetRecord> records;
    try {
        records = screener::ReadDataSet(file);
    } catch (const std::exception& e) {
        ctx.err << "zolt: " << e.what() << "\n";
        return 1;
    }
    std::string name = std::filesystem::path(file).filename().string();
    screener::DataSetNameParts parts = screener::DecodeDataSetName(name);
    int day = 0;
    hostdb::TQelCalendar calendar(ctx.env.locale);
    std::string date = screener::DataSetDay(name, day) ? calendar.FormatDay("dddddd", day)
                                                       : std::string("(not a date)");
    const char* titles[] = {"Symbol",   "Name",        "Close",  "Change",
                            "HighRun",  "PrevHighRun", "LowRun", "PrevLowRun",
                            "GapUpAge", "GapDownAge",  "Volume"};
    auto fields = [](const screener::DataSetRecord& r) {
        std::vector<std::string> f{r.Symbol,
                                   r.Name,
                                   PriceText(r.Close),
                                   PriceText(r.Change),
                                   std::to_string(r.HighRun),
                                   std::to_string(r.PrevHighRun),
                                   std::to_string(r.LowRun),
                                   std::to_string(r.PrevLowRun),
                                   std::to_string(r.GapUpAge),
                                   std::to_string(r.GapDownAge),
                                   std::to_string(r.Volume)};
        for (float p : r.VolumePercent) f.push_back(PriceText(p));
        return f;
    };
    std::vector<std::string> header(std::begin(titles), std::end(titles));
    for (int k = 0; k < 10; ++k) header.push_back("Vol%" + std::to_string(k));

    if (format == "csv") {
        for (size_t i = 0; i < header.size(); ++i) ctx.out << (i ? "," : "") << header[i];
        ctx.out << "\n";
        for (const auto& r : records) {
            std::vector<std::string> f = fields(r);
            for (size_t i = 0; i < f.size(); ++i) ctx.out << (i ? "," : "") << CsvField(f[i]);
            ctx.out << "\n";
        }
        return 0;
    }
    ctx.out << "Market date:    " << date << "\n"
            << "Moving average: " << parts.moveAveLength << " days\n"
            << "Records:        " << records.size() << "\n";
    // Column widths from the widest cell.
    std::vector<std::vector<std::string>> rows{header};
    for (const auto& r : records) rows.push_back(fields(r));
    std::vector<size_t> width(header.size(), 0);
    for (const auto& row : rows)
        for (size_t i = 0; i < row.size(); ++i) width[i] = std::max(width[i], row[i].size());
    for (const auto& row : rows) {
        std::string line;
        for (size_t i = 0; i < row.size(); ++i) {
            bool left = i < 2;
            std::string cell = row[i];
            std::string pad(width[i] - cell.size(), ' ');
            line += (i ? "  " : "") + (left ? cell + pad : pad + cell);
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        ctx.out << line << "\n";
    }
    return 0;
}

} // namespace cli
