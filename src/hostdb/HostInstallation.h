// The host's installation as the programs find it at start-up: its settings in "Qel32.Ini" and
// "QelCom.Ini", the derived paths, the last market date and the list of ticker files.
#pragma once

#include "hostdb/DateTime.h"
#include "platform/Directories.h"
#include "platform/Locale.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace hostdb {

// Set once at start-up, read-only afterwards. Paths are the host's own text.
struct HostGlobals {
    std::string EquityPathList;
    std::string HostProgramPath;
    std::string HostDirectory;
    std::string HostLibraryPath;
    DayNumber LastMarketDay = 0;
    std::string LastMarketDateText;
};

enum class HostProgram { ZoltW, Zimra };

// Everything the host rules depend on besides the host's files.
struct HostEnvironment {
    platform::Directories dirs;
    platform::Locale locale;
    DateTimeValue now = 0;
};

// The directory of a program path: the text before its last separator (after the first
// character); empty when there is none.
std::string HostDirectoryOf(std::string_view programPath);

// The text before the last separator or drive colon (the directory part with its delimiter,
// less that last character).
std::string DirectoryPartWithoutDelimiter(std::string_view path);

// hhmm as minutes after midnight (1700 -> 1020).
int HhmmToMinutes(int hhmm);

std::filesystem::path Qel32IniPath(const platform::Directories& dirs);

// Reads "Qel32.Ini" and derives the paths; false with the program's own error text when the
// program must stop, and in `reason` which file and why (missing, empty, not a file, not
// readable, no chart program or data directories named).
bool ReadHostSettings(HostProgram program, const platform::Directories& dirs, HostGlobals& g,
                      std::string& error, std::string* reason = nullptr);

// What the programs should tell the user although they go on: a data directory or a holiday file
// that exists but cannot be read (the tickers or holidays in it would otherwise be lost without a
// word).
std::vector<std::string> HostWarnings(const HostGlobals& g, const platform::Directories& dirs);

// The screener's procedure, deriving the host directory from "PATHNAME" itself. On failure
// the outputs are untouched and error holds the text to show.
bool FindLastMarketDate(std::string_view format, const HostEnvironment& env, DayNumber& day,
                        std::string& text, std::string& error);

// The finder's variant: only "mktclose", today through its short date text, and its own format.
void FindLastMarketDateZimra(const HostGlobals& g, const HostEnvironment& env, DayNumber& day,
                             std::string& text);

// The local path of the host's holiday file.
std::filesystem::path HolidayFilePath(const HostGlobals& g, const platform::Directories& dirs);

// The ticker files of the data directories, sorted as the host's list box sorts them.
std::vector<std::filesystem::path> ListTickerFiles(const HostGlobals& g,
                                                   const platform::Directories& dirs);

// The start-up discovery of either program: settings, checks, last market date, ticker files.
struct HostInstallation {
    HostGlobals globals;
    std::vector<std::filesystem::path> tickerFiles;
    std::vector<std::string> warnings; // see HostWarnings
};
bool DiscoverHost(HostProgram program, const HostEnvironment& env, HostInstallation& host,
                  std::string& error, std::string* reason = nullptr);

} // namespace hostdb
