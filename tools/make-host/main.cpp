// make-host: writes a synthetic host installation (a Wine prefix) for demos, tests and
// benchmarks.
#include "tools/make-host/HostWriter.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

// The stand-in's build for the machine Wine runs here: 32-bit only where the 32-bit Wine loader
// is installed. Looked for where an installation keeps it, then in the build tree.
fs::path StandinDirectory() {
    std::error_code ec;
    const bool runs32 =
        fs::exists("/usr/lib/wine/wine", ec) || fs::exists("/usr/lib/i386-linux-gnu/wine/wine", ec);
    const std::string sub = runs32 ? "win32" : "win64";
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    for (const fs::path& dir : {exe.parent_path().parent_path() / "share" / "zolt" / "standin",
                                fs::path(ZOLT_BUILD_STANDIN_DIR)}) {
        if (fs::is_regular_file(dir / sub / "qelch32.exe", ec) &&
            fs::is_regular_file(dir / sub / "qelio32.dll", ec))
            return dir / sub;
    }
    return {};
}

int Usage(const std::string& what) {
    std::cerr << "make-host: " << what
              << " (usage: make-host --root DIR [--tickers N] [--years Y] [--end YYYY-MM-DD] "
                 "[--seed S] [--broken] [--standin])\n";
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
        if (a == "--standin") {
            o.standin = StandinDirectory();
            if (o.standin.empty()) {
                std::cerr << "make-host: the host stand-in was not built (no mingw-w64 compiler)\n";
                return 1;
            }
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
        if (!o.standin.empty()) std::cout << "Host stand-in:     " << o.standin.string() << "\n";
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
