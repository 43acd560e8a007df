#include "cli/Zolt.h"
#include "platform/Locale.h"

#include <exception>
#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    try {
        std::vector<std::string> args(argv + 1, argv + argc);
        return cli::RunZolt(args, platform::Directories::FromEnvironment(),
                            platform::SystemLocale(), hostdb::LocalNow(), std::cout, std::cerr,
                            ::isatty(STDERR_FILENO) != 0, ::isatty(STDOUT_FILENO) != 0);
    } catch (const std::exception& e) {
        std::cerr << "zolt: " << e.what() << "\n";
    } catch (...) {
        std::cerr << "zolt: an unexpected error ended the command\n";
    }
    return 2;
}
