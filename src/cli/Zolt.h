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

namespace CLI {
class App;
}

namespace cli {

using hostdb::ParseDay;

struct Context {
    hostdb::HostEnvironment env;
    std::filesystem::path programDir;
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false; // progress lines only for a person watching
    int threads = 1;            // for the scans: --threads, ZOLT_THREADS or the processor's
    std::string command;        // the command running, for the usage errors' pointer to its help
};

// Exit statuses: 0 done, 1 the command failed, 2 bad usage or no host installation.
// What runs once a command's options are parsed.
using CommandRun = std::function<int(Context&)>;

// Runs `zolt args...` (args without the program name). The environment and locale are given so
// tests do not depend on the machine's. What reaches a terminal has its control characters
// replaced, so that a hostile ticker file cannot drive the terminal. An error writing `out` is
// reported and fails the command.
int RunZolt(const std::vector<std::string>& args, const platform::Directories& dirs,
            const platform::Locale& locale, hostdb::DateTimeValue now, std::ostream& out,
            std::ostream& err, bool errIsTerminal = false, bool outIsTerminal = false);

// Each command adds its sub-command, with its options and their help, to zolt's parser, and sets
// `run` when it is the one given. One file per command.
void AddHostCommand(CLI::App& zolt, CommandRun& run);     // HostCommand.cpp
void AddQuoteCommand(CLI::App& zolt, CommandRun& run);    // QuoteCommand.cpp
void AddGenerateCommand(CLI::App& zolt, CommandRun& run); // GenerateCommand.cpp
void AddDataSetCommand(CLI::App& zolt, CommandRun& run);  // DataSetCommand.cpp
void AddFilterCommand(CLI::App& zolt, CommandRun& run);   // FilterCommand.cpp
void AddTagListCommand(CLI::App& zolt, CommandRun& run);  // TagListCommand.cpp
void AddFindCommand(CLI::App& zolt, CommandRun& run);     // FindCommand.cpp
void AddChartCommand(CLI::App& zolt, CommandRun& run);    // ChartCommand.cpp

// Prints a usage error, the one offending point and where the options are told, and gives exit
// status 2.
int UsageError(Context& ctx, const std::string& what);

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
void AddRunOptions(CLI::App& command, RunOptions& o, const std::string& settingsKind, int lowest,
                   int highest, const std::string& orderFlag, const std::string& orderHelp);
// 0, or the usage error's status when the order flag came without --sort.
int CheckRunOptions(Context& ctx, const RunOptions& o, const std::string& orderFlag);

// Grid rows first..last as tab-separated cell texts, exactly as the grid holds them.
void WriteGridRows(std::ostream& out, const grid::CellGrid& g, int first, int last);

// Grid rows first..last laid out in columns of the given widths, as the screen shows them.
void WriteGridTable(std::ostream& out, const grid::CellGrid& g, int first, int last,
                    const std::vector<int>& widths);

// One ticker a line, as a tag list of those rows would hold them.
void WriteTickers(std::ostream& out, const grid::CellGrid& g, int column, int first, int last);

} // namespace cli
