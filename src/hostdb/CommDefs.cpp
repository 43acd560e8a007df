#include "hostdb/CommDefs.h"

#include "hostdb/Findfile.h"
#include "hostdb/Format.h"
#include "hostdb/Qelcalen.h"
#include "hostdb/TradingDays.h"
#include "platform/Profile.h"
#include "platform/Text.h"

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
                      std::string& error) {
    platform::Profile ini(Qel32IniPath(dirs));
    g.EquityPathList = ini.ReadString("PATHS", "EquityPath", "");
    g.HostProgramPath = ini.ReadString("PROCHART", "PATHNAME", "");
    g.HostDirectory = HostDirectoryOf(g.HostProgramPath);
    g.HostLibraryPath = JoinHostPath(g.HostDirectory, "qelio32.dll");
    bool missing = g.HostProgramPath.empty() || g.HostDirectory.empty();
    if (program == HostProgram::ZoltW) missing = missing || g.EquityPathList.empty();
    if (!missing) return true;
    error =
        program == HostProgram::ZoltW ? "Zolt can't find QEL files" : "ZimRA can't find QEL files";
    return false;
}

namespace {

// The last trading day at or before `day`, stepping back a day first when the data of `day`
// can not be complete at `minutes` past midnight.
DayNumber LastTradingDay(TQelCalendar& calendar, int day, int minutes, int cutoff) {
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

    TQelCalendar calendar(env.locale);
    calendar.HolidayFileName = env.dirs.LocalPath(JoinHostPath(hostDir, "holiday.idx"));
    day = LastTradingDay(calendar, TQelCalendar::DateToDay(env.now), MinutesOfDay(env.now), cutoff);
    text = calendar.FormatDay(format, day);
    return true;
}

void FindLastMarketDateZimra(const HostGlobals& g, const HostEnvironment& env, DayNumber& day,
                             std::string& text) {
    platform::Profile com(env.dirs.LocalPath(JoinHostPath(g.HostDirectory, "QelCom.Ini")));
    int cutoff = HhmmToMinutes(com.ReadInteger("config", "mktclose", 1700));
    TQelCalendar calendar(env.locale);
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
                  std::string& error) {
    if (!ReadHostSettings(program, env.dirs, host.globals, error)) return false;
    HostGlobals& g = host.globals;
    if (program == HostProgram::ZoltW) {
        // The screener does not test this result: the check above has already stopped it for
        // every "PATHNAME" that makes it fail.
        std::string ignored;
        FindLastMarketDate("dddddd", env, g.LastMarketDay, g.LastMarketDateText, ignored);
    } else {
        FindLastMarketDateZimra(g, env, g.LastMarketDay, g.LastMarketDateText);
    }
    host.tickerFiles = ListTickerFiles(g, env.dirs);
    return true;
}

} // namespace hostdb
