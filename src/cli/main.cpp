#include "cli/Zolt.h"
#include "platform/Locale.h"

#include <ctime>
#include <iostream>
#include <unistd.h>

namespace {

// The local clock as a date-time value.
hostdb::DateTimeValue LocalNow() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return hostdb::EncodeDateTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                                  tm.tm_min, tm.tm_sec);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return cli::RunZolt(args, platform::Directories::FromEnvironment(), platform::SystemLocale(),
                        LocalNow(), std::cout, std::cerr, ::isatty(STDERR_FILENO) != 0);
}
