// `zolt taglist`: writes a host tag list from tickers given as arguments, in a file or on
// standard input, with the name rules and the collecting rules the windows use.
#include "cli/Zolt.h"
#include "hostdb/NamedFiles.h"
#include "hostdb/TagListBuild.h"
#include "hostdb/TickerRules.h"
#include "platform/Directories.h"
#include "platform/Profile.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <iostream>
#include <iterator>
#include <sys/stat.h>

namespace cli {

namespace {

// Each line is one cell of a grid's ticker column: split at ";" with blanks removed, as the tag
// list procedure reads cells.
std::vector<std::string> CellsOfText(const std::string& text) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        cells.push_back(std::move(line));
        start = end + 1;
    }
    return cells;
}

struct TagListOptions {
    std::string typedName, from;
    std::filesystem::path dir;
    bool haveDir = false, haveFrom = false, replace = false;
    std::vector<std::string> tickers;
};

// The cells given: the tickers of the command, or the text of --from cut into cells; false
// after saying why that text could not be read.
bool GivenCells(Context& ctx, const TagListOptions& o, std::vector<std::string>& cells) {
    if (!o.haveFrom) {
        cells = o.tickers;
        return true;
    }
    std::string text, reason;
    if (o.from == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), {});
    } else if (!platform::ReadRegularFile(o.from, text, reason)) {
        ctx.err << "zolt: cannot read " << o.from << ": it " << reason << "\n";
        return false;
    }
    cells = CellsOfText(text);
    return true;
}

// A ticker no grid cell could hold is refused before it reaches the list; `given` counts every
// ticker of the cells.
std::vector<std::string> KeptCells(Context& ctx, const std::vector<std::string>& cells,
                                   std::size_t& given) {
    std::vector<std::string> kept;
    given = 0;
    for (const std::string& cell : cells) {
        std::string clean;
        for (const std::string& t : hostdb::TickersOfCell(cell)) {
            ++given;
            if (hostdb::HasControlCharacter(t)) {
                ctx.err << "zolt: left out " << t << ": a ticker holds no control characters\n";
                continue;
            }
            clean += (clean.empty() ? "" : ";") + t;
        }
        kept.push_back(clean);
    }
    return kept;
}

// What the build left out and what it wrote; 0, or 1 when nothing was written.
int ReportBuild(Context& ctx, const hostdb::TagListBuild& build, const std::string& name,
                const std::filesystem::path& path, std::size_t given) {
    for (const std::string& t : build.refused)
        ctx.err << "zolt: left out " << t
                << (t.size() + name.size() > hostdb::TagListFile::MaxNamesLength
                        ? ": the ticker is too long for this list's name\n"
                        : ": a tag list holds at most 65536 tickers\n");
    if (build.added == 0) {
        if (given == 0)
            ctx.err << "zolt: no tickers given; no tag list written\n";
        else
            ctx.err << "zolt: all " << given << (given == 1 ? " ticker was" : " tickers were")
                    << " refused (see above); no tag list written\n";
        return 1;
    }
    ctx.out << "Tag list " << path.string() << ": " << build.added
            << (build.added == 1 ? " ticker" : " tickers") << ", the first " << build.firstTicker
            << "\n";
    return 0;
}

int TagList(Context& ctx, const TagListOptions& o) {
    if (o.haveFrom == !o.tickers.empty())
        return UsageError(ctx, "taglist takes either TICKER... or --from FILE|-");

    std::string name, error;
    if (!hostdb::CheckTagListName(o.typedName, name, error)) {
        ctx.err << "zolt: " << error << "\n";
        return 2;
    }
    std::filesystem::path dir = o.dir;
    if (!o.haveDir) {
        hostdb::HostInstallation host;
        if (!ReadHost(ctx, hostdb::HostProgram::ZoltW, host, false)) return 2;
        dir = ctx.env.dirs.LocalPath(host.globals.HostDirectory);
    }
    // The host sees names without regard to case, so an existing list of any case is the one.
    std::filesystem::path path = platform::Directories::FileInDirectory(dir, name + ".LIS");
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && !o.replace) { // a dangling link is a taken name too
        ctx.err << "zolt: The TagList " << name << " already exists (" << path.string()
                << "); give --replace to replace it\n";
        return 1;
    }

    std::vector<std::string> cells;
    if (!GivenCells(ctx, o, cells)) return 1;
    std::size_t given = 0;
    const std::vector<std::string> kept = KeptCells(ctx, cells, given);
    hostdb::TagListBuild build;
    try {
        build = hostdb::BuildTagListFile(path.string(), kept, {},
                                         o.replace ? platform::WriteMode::Replace
                                                   : platform::WriteMode::NoReplace);
    } catch (const std::exception& e) {
        ctx.err << "zolt: " << e.what() << "\n";
        return 1;
    }
    return ReportBuild(ctx, build, name, path, given);
}

} // namespace

void AddTagListCommand(CLI::App& zolt, CommandRun& run) {
    auto o = std::make_shared<TagListOptions>();
    CLI::App* c = zolt.add_subcommand(
        "taglist", "Write a host tag list of tickers, with the name and collecting rules of the "
                   "windows");
    c->add_option("--name", o->typedName, "The list's name, as the tag-list dialog takes it")
        ->required()
        ->type_name("NAME");
    CLI::Option* dir =
        c->add_option("--dir", o->dir, "Where NAME.LIS is written (default: the host directory)")
            ->type_name("DIR");
    c->add_flag("--replace", o->replace, "Replace a list of that name");
    CLI::Option* from =
        c->add_option("--from", o->from,
                      "Read the tickers from a file, or from standard input with -, one a line")
            ->type_name("FILE|-");
    c->add_option("TICKER", o->tickers, "The tickers, when not --from");
    c->callback([&run, o, dir, from] {
        o->haveDir = dir->count() > 0, o->haveFrom = from->count() > 0; // given, even if empty
        run = [o](Context& ctx) { return TagList(ctx, *o); };
    });
}

} // namespace cli
