// The global options every program takes (--windows-dir, --program-dir, --now) and the places
// they choose: where the host is found, where a program keeps its own files and its settings.
#pragma once

#include "hostdb/HostInstallation.h"

#include <filesystem>
#include <string>
#include <vector>

namespace hostdb {

// One global option's value (name with its dashes); false with the message when the value is
// empty or not what the option takes, or the name is none of them. --threads is taken only
// where `threads` is given.
bool ApplyGlobalOption(const std::string& name, const std::string& value, HostEnvironment& env,
                       std::filesystem::path& programDir, std::string& error,
                       int* threads = nullptr);

// The global options from args[i] on; i ends at the first argument that is no option. False
// with the message.
bool ParseGlobalOptions(const std::vector<std::string>& args, std::size_t& i, HostEnvironment& env,
                        std::filesystem::path& programDir, std::string& error);

// The global options over the environment's defaults; `rest` gets the arguments after the
// options. The locale is the caller's to set (the system's needs the Qt side of the platform
// layer).
struct ProgramPlaces {
    HostEnvironment env;
    std::filesystem::path programDir;
    std::filesystem::path ownSettings; // the maker-wide settings file
};
bool ProgramPlacesFromArguments(const std::vector<std::string>& args, ProgramPlaces& places,
                                std::vector<std::string>& rest, std::string& error);
// The places before any option: the environment's, the system's clock.
ProgramPlaces DefaultProgramPlaces();

// "YYYY-MM-DD HH:MM" (or "YYYY-MM-DD") as a date-time value.
bool ParseNow(const std::string& text, DateTimeValue& now);

// A date "YYYY-MM-DD" as a day number; false with the message to show when it is not a date or
// lies outside what a day number holds (1980-01-02 to 2069-09-16).
bool ParseDay(const std::string& option, const std::string& text, int& day, std::string& error);

} // namespace hostdb
