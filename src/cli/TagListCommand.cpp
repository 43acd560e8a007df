// `zolt taglist`: writes a host tag list from tickers given as arguments, in a file or on
// standard input, with the name rules and the collecting rules the windows use.
#include "cli/Zolt.h"
#include "hostdb/BuildLst5.h"
#include "platform/Directories.h"
#include "platform/Profile.h"

#include <cstdio>
#include <iostream>
#include <iterator>

namespace cli {

namespace {

constexpr std::size_t MaxNameLength = 8;

std::string CharacterText(unsigned char c) {
    if (c == ' ') return "a blank";
    if (c < 32 || c >= 127) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", c);
        return std::string("the character ") + hex;
    }
    return "\"" + std::string(1, static_cast<char>(c)) + "\"";
}

// The save dialog's key filter over a whole name. Control characters never reach the dialog's
// edit, so they are refused here too.
bool CheckListName(const std::string& typed, std::string& name, std::string& error) {
    name.clear();
    for (char ch : typed) {
        auto c = static_cast<unsigned char>(ch);
        if (c <= ' ' || c >= 127 ||
            std::string_view("\"*+,./;<=>?[\\]|").find(ch) != std::string_view::npos) {
            error = "the list name \"" + typed + "\" may not hold " + CharacterText(c);
            return false;
        }
        name += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : ch;
    }
    if (name.empty()) {
        error = "the list name is empty";
        return false;
    }
    if (name.size() > MaxNameLength) {
        error = "the list name \"" + typed + "\" is longer than 8 characters";
        return false;
    }
    return true;
}

// Each line is one cell; blanks, tabs and carriage returns also separate tickers, so a plain
// list of words works as well as the grid's ";" lists.
std::vector<std::string> CellsOfText(const std::string& text) {
    std::vector<std::string> cells;
    std::string cell;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        char c = i < text.size() ? text[i] : '\n';
        if (c == '\n') {
            cells.push_back(std::move(cell));
            cell.clear();
        } else {
            bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
            cell += blank ? ';' : c;
        }
    }
    if (!text.empty() && text.back() == '\n') cells.pop_back();
    return cells;
}

} // namespace

int TagListCommand(Context& ctx, const std::vector<std::string>& args) {
    std::string typedName, from;
    std::filesystem::path dir;
    bool haveName = false, haveDir = false, haveFrom = false, replace = false;
    std::vector<std::string> tickers;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--name" || a == "--dir" || a == "--from") {
            if (i + 1 == args.size()) return UsageError(ctx.err, a + " needs a value");
            const std::string& value = args[++i];
            if (a == "--name") typedName = value, haveName = true;
            if (a == "--dir") dir = value, haveDir = true;
            if (a == "--from") from = value, haveFrom = true;
        } else if (a == "--replace") {
            replace = true;
        } else if (a.rfind("--", 0) == 0) {
            return UsageError(ctx.err, "unknown taglist option " + a);
        } else {
            tickers.push_back(a);
        }
    }
    if (!haveName) return UsageError(ctx.err, "taglist needs --name");
    if (haveFrom == !tickers.empty())
        return UsageError(ctx.err, "taglist takes either TICKER... or --from FILE|-");

    std::string name, error;
    if (!CheckListName(typedName, name, error)) {
        ctx.err << "zolt: " << error << "\n";
        return 2;
    }
    if (!haveDir) {
        hostdb::HostGlobals globals;
        if (!hostdb::ReadHostSettings(hostdb::HostProgram::ZoltW, ctx.env.dirs, globals, error)) {
            ctx.err << error << "\n";
            return 2;
        }
        dir = ctx.env.dirs.LocalPath(globals.HostDirectory);
    }
    // The host sees names without regard to case, so an existing list of any case is the one.
    std::filesystem::path path = platform::Directories::FileInDirectory(dir, name + ".LIS");
    std::error_code ec;
    if (std::filesystem::exists(path, ec) && !replace) {
        ctx.err << "zolt: The TagList " << name << " already exists (" << path.string()
                << "); give --replace to replace it\n";
        return 1;
    }

    std::vector<std::string> cells;
    if (haveFrom) {
        std::string text;
        if (from == "-") {
            text.assign(std::istreambuf_iterator<char>(std::cin), {});
        } else if (!platform::ReadWholeFile(from, text)) {
            ctx.err << "zolt: cannot read " << from << "\n";
            return 1;
        }
        cells = CellsOfText(text);
    } else {
        for (const std::string& t : tickers)
            for (std::string& cell : CellsOfText(t)) cells.push_back(std::move(cell));
    }

    hostdb::TagListBuild build;
    try {
        build = hostdb::BuildTagListFile(path.string(), cells);
    } catch (const std::exception& e) {
        ctx.err << "zolt: " << e.what() << "\n";
        return 1;
    }
    for (const std::string& t : build.refused)
        ctx.err << "zolt: left out " << t
                << (t.size() + name.size() > hostdb::TQelTagList::MaxNamesLength
                        ? ": the ticker is too long for this list's name\n"
                        : ": a tag list holds at most 65536 tickers\n");
    if (build.added == 0) {
        ctx.err << "zolt: no tickers given; no tag list written\n";
        return 1;
    }
    ctx.out << "Tag list " << path.string() << ": " << build.added
            << (build.added == 1 ? " ticker" : " tickers") << ", the first " << build.firstTicker
            << "\n";
    return 0;
}

} // namespace cli
