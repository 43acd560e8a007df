// make-host: writes a synthetic host installation (a Wine prefix) for demos, tests and
// benchmarks.
#include "tools/make-host/HostWriter.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <stdexcept>

namespace {

int Usage(const std::string& what) {
    std::cerr << "make-host: " << what
              << " (usage: make-host --root DIR [--tickers N] [--years Y] [--end YYYY-MM-DD] "
                 "[--seed S] [--broken])\n";
    return 2;
}

bool ParseInt(const std::string& s, long long& v) {
    char* end = nullptr;
    v = std::strtoll(s.c_str(), &end, 10);
    return !s.empty() && *end == '\0';
}

} // namespace

static int Run(int argc, char** argv) {
    hostgen::Options o;
    bool haveRoot = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--broken") {
            o.broken = true;
            continue;
        }
        if (i + 1 >= argc) return Usage("option " + a + " needs a value");
        std::string v = argv[++i];
        long long n;
        if (a == "--root") {
            o.root = v;
            haveRoot = true;
        } else if (a == "--tickers" && ParseInt(v, n) && n >= 0 && n <= 100000) {
            o.tickers = static_cast<int>(n);
        } else if (a == "--years" && ParseInt(v, n) && n >= 1 && n <= 60) {
            o.years = static_cast<int>(n);
        } else if (a == "--seed" && ParseInt(v, n) && n >= 0) {
            o.seed = static_cast<std::uint64_t>(n);
        } else if (a == "--end" &&
                   std::sscanf(v.c_str(), "%d-%d-%d", &o.end.year, &o.end.month, &o.end.day) == 3 &&
                   hostdb::IsValidDate(o.end.year, o.end.month, o.end.day)) {
        } else {
            return Usage("bad option " + a + " " + v);
        }
    }
    if (!haveRoot) return Usage("--root is required");
    try {
        hostgen::Summary s = hostgen::MakeHost(o);
        std::cout << "Windows directory: " << s.windowsDirectory.string() << "\n"
                  << "Ticker files:      " << s.tickerFiles.size() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "make-host: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "make-host: " << e.what() << "\n";
    } catch (...) {
        std::cerr << "make-host: an unexpected error ended the run\n";
    }
    return 2;
}
