// The headless command line: global options, then one command over the same engines the
// windows use. Run in-process by the tests.
#pragma once

#include "grid/model/CellGrid.h"
#include "hostdb/CommDefs.h"

#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace cli {

struct Context {
    hostdb::HostEnvironment env;
    std::filesystem::path programDir;
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false; // progress lines only for a person watching
};

// Exit statuses: 0 done, 1 the command failed, 2 bad usage or no host installation.
using Command = std::function<int(Context&, const std::vector<std::string>& args)>;

// Runs `zolt args...` (args without the program name). The environment and locale are given so
// tests do not depend on the machine's.
int RunZolt(const std::vector<std::string>& args, const platform::Directories& dirs,
            const platform::Locale& locale, hostdb::DateTimeValue now, std::ostream& out,
            std::ostream& err, bool errIsTerminal = false);

// "YYYY-MM-DD HH:MM" (or "YYYY-MM-DD") as a date-time value.
bool ParseNow(const std::string& text, hostdb::DateTimeValue& now);

int HostCommand(Context& ctx, const std::vector<std::string>& args);
int QuoteCommand(Context& ctx, const std::vector<std::string>& args);
int GenerateCommand(Context& ctx, const std::vector<std::string>& args);
int DataSetCommand(Context& ctx, const std::vector<std::string>& args);
int FilterCommand(Context& ctx, const std::vector<std::string>& args);  // FilterCommand.cpp
int TagListCommand(Context& ctx, const std::vector<std::string>& args); // TagListCommand.cpp
int FindCommand(Context& ctx, const std::vector<std::string>& args);    // FindCommand.cpp

// Prints a usage error (one line) and gives exit status 2.
int UsageError(std::ostream& err, const std::string& what);

// A text as one CSV field: quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text);

// A --settings argument: a bare NAME lives in the program directory, NAME.EXT names a file. An
// empty argument means the defaults. False, with a message, when the file does not exist.
bool LocateSettings(Context& ctx, const std::string& arg, const std::string& extension,
                    std::filesystem::path& dir, std::string& name);

// Grid rows first..last as tab-separated cell texts, exactly as the grid holds them.
void WriteGridRows(std::ostream& out, const grid::CellGrid& g, int first, int last);

} // namespace cli
