// The headless command line: global options, then one command over the same engines the
// windows use, one file per command. Run in-process by the tests.
#pragma once

#include "grid/model/CellGrid.h"
#include "hostdb/HostInstallation.h"
#include "hostdb/ProgramOptions.h"
#include "hostlink/HostLink.h"

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace cli {

using hostdb::ParseDay;

struct Context {
    hostdb::HostEnvironment env;
    std::filesystem::path programDir;
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false; // progress lines only for a person watching
    int threads = 1;            // for the scans: --threads, ZOLT_THREADS or the processor's
};

// Exit statuses: 0 done, 1 the command failed, 2 bad usage or no host installation.
using Command = std::function<int(Context&, const std::vector<std::string>& args)>;

// Runs `zolt args...` (args without the program name). The environment and locale are given so
// tests do not depend on the machine's. What reaches a terminal has its control characters
// replaced, so that a hostile ticker file cannot drive the terminal. An error writing `out` is
// reported and fails the command.
int RunZolt(const std::vector<std::string>& args, const platform::Directories& dirs,
            const platform::Locale& locale, hostdb::DateTimeValue now, std::ostream& out,
            std::ostream& err, bool errIsTerminal = false, bool outIsTerminal = false);

int HostCommand(Context& ctx, const std::vector<std::string>& args);     // HostCommand.cpp
int QuoteCommand(Context& ctx, const std::vector<std::string>& args);    // QuoteCommand.cpp
int GenerateCommand(Context& ctx, const std::vector<std::string>& args); // GenerateCommand.cpp
int DataSetCommand(Context& ctx, const std::vector<std::string>& args);  // DataSetCommand.cpp
int FilterCommand(Context& ctx, const std::vector<std::string>& args);   // FilterCommand.cpp
int TagListCommand(Context& ctx, const std::vector<std::string>& args);  // TagListCommand.cpp
int FindCommand(Context& ctx, const std::vector<std::string>& args);     // FindCommand.cpp
int ChartCommand(Context& ctx, const std::vector<std::string>& args);    // ChartCommand.cpp

// Prints a usage error (one line) and gives exit status 2.
int UsageError(std::ostream& err, const std::string& what);

// Reads the host's settings (and, with `discover`, lists its ticker files) for a command,
// printing the program's message and the reason when the host is not found, and any warnings
// about unreadable data directories or holiday files.
bool ReadHost(Context& ctx, hostdb::HostProgram program, hostdb::HostInstallation& host,
              bool discover);

// A text as one CSV field: quoted when it holds a comma, a quote or a line break.
// The command line's waits on the host: each that passes two seconds is named once on stderr
// ("zolt: starting the host link under Wine..."); `stopped` (Ctrl+C) gives the wait up.
hostlink::WaitHook TerminalWaitHook(Context& ctx, std::function<bool()> stopped = {});

std::string CsvField(const std::string& text);

// The shortest text that reads back as the same single-precision value.
std::string PriceText(float price);

// text padded with blanks to width.
std::string Padded(std::string text, std::size_t width);

// A --settings argument: a bare NAME lives in the program directory, NAME.EXT names a file; the
// name is matched without regard to case. An empty argument means the defaults. False, with a
// message, when there is no such file or it cannot be read as a settings file.
bool LocateSettings(Context& ctx, const std::string& arg, const std::string& extension,
                    std::filesystem::path& dir, std::string& name);

// The options filter and find share: --settings, --format table|csv|grid|tickers, --sort with
// a column from lowest to highest and its order flag.
struct RunOptions {
    std::string settings;
    std::string format = "table";
    int sortColumn = -1;
    bool otherOrder = false; // --reverse or --descending
};
// The command's own options go to `more` (option, a reader of its value); false from it means
// an unknown option. 0, or the usage error's status.
using MoreOptions =
    std::function<bool(const std::string& option, const std::function<bool(std::string&)>& value)>;
int ParseRunOptions(Context& ctx, const std::vector<std::string>& args, const std::string& command,
                    int lowest, int highest, const std::string& orderFlag, RunOptions& options,
                    const MoreOptions& more);

// Grid rows first..last as tab-separated cell texts, exactly as the grid holds them.
void WriteGridRows(std::ostream& out, const grid::CellGrid& g, int first, int last);

// Grid rows first..last laid out in columns of the given widths, as the screen shows them.
void WriteGridTable(std::ostream& out, const grid::CellGrid& g, int first, int last,
                    const std::vector<int>& widths);

// One ticker a line, as a tag list of those rows would hold them.
void WriteTickers(std::ostream& out, const grid::CellGrid& g, int column, int first, int last);

} // namespace cli
