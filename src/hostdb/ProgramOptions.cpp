#include "hostdb/ProgramOptions.h"

#include "hostdb/DateTime.h"
#include "hostdb/MarketCalendar.h"
#include "platform/Directories.h"
#include "platform/Workers.h"

#include <cstdio>

namespace hostdb {

namespace {

bool IsGlobalOption(const std::string& name, bool withThreads) {
    return name == "--windows-dir" || name == "--program-dir" || name == "--now" ||
           (withThreads && name == "--threads");
}

} // namespace

bool ApplyGlobalOption(const std::string& name, const std::string& value, HostEnvironment& env,
                       std::filesystem::path& programDir, std::string& error, int* threads) {
    if (!IsGlobalOption(name, threads != nullptr)) return error = "unknown option " + name, false;
    if (value.empty()) return error = "option " + name + " needs a value", false;
    if (name == "--windows-dir") {
        env.dirs.SetWindowsDirectory(value);
    } else if (name == "--program-dir") {
        programDir = value;
    } else if (name == "--threads") {
        if (!platform::ParseThreadCount(value, *threads))
            return error = "--threads wants a number from 1 to " +
                           std::to_string(platform::MaxWorkerThreads) + ", not \"" + value + "\"",
                   false;
    } else if (!ParseNow(value, env.now)) {
        error = std::string("--now wants \"YYYY-MM-DD HH:MM\" (dates run from ") + HostDayRange +
                "), not \"" + value + "\"";
        return false;
    }
    return true;
}

bool ParseGlobalOptions(const std::vector<std::string>& args, std::size_t& i, HostEnvironment& env,
                        std::filesystem::path& programDir, std::string& error) {
    for (; i < args.size() && args[i].rfind("--", 0) == 0; ++i) {
        std::string name = args[i], value;
        size_t eq = name.find('=');
        if (eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        } else if (i + 1 < args.size() && IsGlobalOption(name, false)) {
            value = args[++i];
        }
        if (!ApplyGlobalOption(name, value, env, programDir, error)) return false;
    }
    return true;
}

ProgramPlaces DefaultProgramPlaces() {
    ProgramPlaces places;
    places.env.dirs = platform::Directories::FromEnvironment();
    places.env.now = LocalNow();
    places.programDir = places.env.dirs.program;
    places.ownSettings =
        platform::Directories::FileInDirectory(places.env.dirs.settings, "OstravlR.Ini");
    return places;
}

bool ProgramPlacesFromArguments(const std::vector<std::string>& args, ProgramPlaces& places,
                                std::vector<std::string>& rest, std::string& error) {
    places = DefaultProgramPlaces();
    std::size_t i = 0;
    if (!ParseGlobalOptions(args, i, places.env, places.programDir, error)) return false;
    rest.assign(args.begin() + static_cast<long>(i), args.end());
    return true;
}

bool ParseNow(const std::string& text, DateTimeValue& now) {
    int y, mo, d, h = 0, mi = 0;
    char tail;
    int n = std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d%c", &y, &mo, &d, &h, &mi, &tail);
    if (n != 3 && n != 5) return false;
    if (!IsValidDate(y, mo, d) || h < 0 || h > 23 || mi < 0 || mi > 59) return false;
    // Beyond a day number's range every date would wrap to another.
    int day = static_cast<int>(EncodeDate(y, mo, d)) - DayNumberOffset;
    if (!IsHostDay(day)) return false;
    now = EncodeDateTime(y, mo, d, h, mi);
    return true;
}

bool ParseDay(const std::string& option, const std::string& text, int& day, std::string& error) {
    DateTimeValue v;
    if (text.size() != 10 || !ParseNow(text, v)) {
        error = option + " wants a date YYYY-MM-DD (dates run from " + HostDayRange + "), not \"" +
                text + "\"";
        return false;
    }
    day = MarketCalendar::DateToDay(v);
    return true;
}

} // namespace hostdb
