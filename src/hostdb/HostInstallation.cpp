#include "hostdb/HostInstallation.h"

#include "hostdb/Format.h"
#include "hostdb/MarketCalendar.h"
#include "hostdb/SearchPath.h"
#include "hostdb/TickerRules.h"
#include "hostdb/TradingDays.h"
#include "platform/Profile.h"
#include "platform/Text.h"

#include <unistd.h>

namespace hostdb {

std::string HostDirectoryOf(std::string_view path) {
    // 1-based position as the host counts: move back while above 1 and not on a separator.
    size_t i = path.size();
    while (i > 1 && !platform::IsPathSeparator(path[i - 1])) --i;
    return i == 0 ? std::string() : std::string(path.substr(0, i - 1));
}

std::string DirectoryPartWithoutDelimiter(std::string_view path) {
    size_t pos = path.find_last_of("\\/:");
    if (pos == std::string_view::npos || pos == 0) return std::string();
    return std::string(path.substr(0, pos));
}

int HhmmToMinutes(int hhmm) { return (hhmm / 100) * 60 + hhmm % 100; }

std::filesystem::path Qel32IniPath(const platform::Directories& dirs) {
    return platform::Directories::FileInDirectory(dirs.windows, "Qel32.Ini");
}

bool ReadHostSettings(HostProgram program, const platform::Directories& dirs, HostGlobals& g,
                      std::string& error, std::string* reason) {
    const std::filesystem::path path = Qel32IniPath(dirs);
    std::string text, problem;
    bool read = platform::ReadRegularFile(path, text, problem, platform::MaxProfileSize);
    const platform::ProfileIndex ini(text);
    auto value = [&](std::string_view section, std::string_view key) {
        const std::string* v = ini.Find(section, key);
        return v ? *v : std::string();
    };
    g.EquityPathList = value("PATHS", "EquityPath");
    g.HostProgramPath = value("PROCHART", "PATHNAME");
    g.HostDirectory = HostDirectoryOf(g.HostProgramPath);
    g.HostLibraryPath = JoinHostPath(g.HostDirectory, "qelio32.dll");
    std::string why;
    if (!read)
        why = problem;
    else if (platform::Trim(text).empty())
        why = "is empty";
    else if (g.HostProgramPath.empty())
        why = "names no chart program (PATHNAME in [PROCHART])";
    else if (g.HostDirectory.empty())
        why = "names a chart program without a directory (PATHNAME=" + g.HostProgramPath + ")";
    else if (program == HostProgram::ZoltW && g.EquityPathList.empty())
        why = "names no data directories (EquityPath in [PATHS])";
    if (why.empty()) return true;
    error =
        program == HostProgram::ZoltW ? "Zolt can't find QEL files" : "ZimRA can't find QEL files";
    if (reason) *reason = path.string() + " " + why;
    return false;
}

std::vector<std::string> HostWarnings(const HostGlobals& g, const platform::Directories& dirs) {
    std::vector<std::string> warnings;
    for (const std::string& dir : SearchPathDirectories(g.EquityPathList)) {
        std::filesystem::path local = dirs.LocalPath(dir);
        std::error_code ec;
        if (!std::filesystem::exists(local, ec)) {
            warnings.push_back("the data directory " + local.string() +
                               (ec ? " cannot be read (" + ec.message() + ")" : " does not exist") +
                               "; its tickers are left out");
            continue;
        }
        std::filesystem::directory_iterator it(local, ec);
        if (ec)
            warnings.push_back("the data directory " + local.string() + " cannot be read (" +
                               ec.message() + "); its tickers are left out");
    }
    std::filesystem::path holidays = HolidayFilePath(g, dirs);
    std::string problem;
    std::error_code ec;
    if (std::filesystem::exists(holidays, ec)) {
        int fd = platform::OpenRegularFile(holidays, problem);
        if (fd >= 0)
            ::close(fd);
        else
            warnings.push_back("the holiday file " + holidays.string() + " " + problem +
                               "; the built-in holidays are used");
    } else if (ec || std::filesystem::is_symlink(std::filesystem::symlink_status(holidays, ec))) {
        // A link loop or a link to nothing: meant as a holiday file, yet none can be read.
        warnings.push_back("the holiday file " + holidays.string() + " cannot be read (" +
                           (ec ? ec.message() : std::string("a link to nothing")) +
                           "); the built-in holidays are used");
    }
    return warnings;
}

namespace {

// The last trading day at or before `day`, stepping back a day first when the data of `day`
// can not be complete at `minutes` past midnight.
DayNumber LastTradingDay(MarketCalendar& calendar, int day, int minutes, int cutoff) {
    if (minutes < cutoff) --day;
    return static_cast<DayNumber>(TradingDayAtOrBefore(calendar, day));
}

} // namespace

bool FindLastMarketDate(std::string_view format, const HostEnvironment& env, DayNumber& day,
                        std::string& text, std::string& error) {
    platform::Profile qel32(Qel32IniPath(env.dirs));
    std::string hostDir =
        DirectoryPartWithoutDelimiter(qel32.ReadString("PROCHART", "PATHNAME", " "));
    if (hostDir.empty()) {
        error = "Can't find QEL files";
        return false;
    }
    platform::Profile com(env.dirs.LocalPath(JoinHostPath(hostDir, "QelCom.Ini")));
    int close = com.ReadInteger("config", "mktclose", 1700);
    int open = com.ReadInteger("config", "mktopen", 900);
    bool intraday = platform::EqualNoCase(com.ReadString("config", "intraday", "no"), "yes");
    int cutoff = HhmmToMinutes(intraday ? open : close);

    MarketCalendar calendar(env.locale);
    calendar.HolidayFileName = env.dirs.LocalPath(JoinHostPath(hostDir, "holiday.idx"));
    day =
        LastTradingDay(calendar, MarketCalendar::DateToDay(env.now), MinutesOfDay(env.now), cutoff);
    text = calendar.FormatDay(format, day);
    return true;
}

void FindLastMarketDateZimra(const HostGlobals& g, const HostEnvironment& env, DayNumber& day,
                             std::string& text) {
    platform::Profile com(env.dirs.LocalPath(JoinHostPath(g.HostDirectory, "QelCom.Ini")));
    int cutoff = HhmmToMinutes(com.ReadInteger("config", "mktclose", 1700));
    MarketCalendar calendar(env.locale);
    calendar.HolidayFileName = HolidayFilePath(g, env.dirs);
    std::string today = FormatDateTime("ddddd", env.now, env.locale);
    day =
        LastTradingDay(calendar, calendar.TextToDay(today, env.now), MinutesOfDay(env.now), cutoff);
    text = calendar.FormatDay("dddd, mmmm d, yyyyy", day);
}

std::filesystem::path HolidayFilePath(const HostGlobals& g, const platform::Directories& dirs) {
    return dirs.LocalPath(JoinHostPath(g.HostDirectory, "holiday.idx"));
}

std::vector<std::filesystem::path> ListTickerFiles(const HostGlobals& g,
                                                   const platform::Directories& dirs) {
    std::vector<std::filesystem::path> files = ListFilesOnPath(g.EquityPathList, "*.dta", dirs);
    SortFileList(files);
    return files;
}

bool DiscoverHost(HostProgram program, const HostEnvironment& env, HostInstallation& host,
                  std::string& error, std::string* reason) {
    if (!ReadHostSettings(program, env.dirs, host.globals, error, reason)) return false;
    host.warnings = HostWarnings(host.globals, env.dirs);
    HostGlobals& g = host.globals;
    if (program == HostProgram::ZoltW) {
        // The screener does not test this result: the check above has already stopped it for
        // every "PATHNAME" that makes it fail.
        std::string ignored;
        FindLastMarketDate("dddddd", env, g.LastMarketDay, g.LastMarketDateText, ignored);
    } else {
        FindLastMarketDateZimra(g, env, g.LastMarketDay, g.LastMarketDateText);
    }
    // On the host's first day before the close, the trading day before lies before day 2.
    if (!IsHostDay(g.LastMarketDay)) {
        error = "There is no market date";
        if (reason)
            *reason = "the last trading day for " +
                      FormatDateTime("yyyy-mm-dd", env.now, env.locale) +
                      " lies before 1980-01-02, the host's first market date";
        return false;
    }
    host.tickerFiles = ListTickerFiles(g, env.dirs);
    std::erase_if(host.tickerFiles, [&host](const std::filesystem::path& file) {
        if (!HasControlCharacter(SymbolOfFileName(file.filename().string()))) return false;
        host.warnings.push_back("the ticker file " + WithoutControlCharacters(file.string()) +
                                " is left out: a ticker holds no control characters");
        return true;
    });
    return true;
}

} // namespace hostdb
