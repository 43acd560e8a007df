// The places a benchmark of ZoltW's main window runs on, from its arguments, with the locale and
// the clock fixed so that its figures do not depend on the machine's.
#pragma once

#include "platform/Locale.h"
#include "screener/app/ScreenerWindow.h"

#include <cstdio>
#include <string>
#include <vector>

// False after printing the usage when the arguments are not the global options and one data set.
inline bool BenchSetup(int argc, char** argv, const char* name, zoltw::MainSetup& setup,
                       std::string& dataSet) {
    std::vector<std::string> args;
    std::string error;
    if (!ui::MainSetupFromArguments(std::vector<std::string>(argv + 1, argv + argc), setup, args,
                                    error) ||
        args.size() != 1) {
        std::fprintf(stderr, "usage: %s --windows-dir DIR --program-dir DIR DATASET\n", name);
        return false;
    }
    dataSet = args[0];
    setup.env.locale = platform::Locale::Posix();
    setup.env.now = hostdb::EncodeDateTime(2026, 12, 4, 18, 0);
    setup.ownSettings = setup.programDir / (std::string(name) + ".ini");
    return true;
}
