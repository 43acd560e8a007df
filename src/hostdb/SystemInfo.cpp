#include "hostdb/SystemInfo.h"

#include "hostdb/Format.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace hostdb {

namespace {

// free as a whole percentage of total; a total under 100 bytes (no swap) shows 0.
std::uint64_t PercentFree(std::uint64_t total, std::uint64_t available) {
    std::uint64_t hundredth = total / 100;
    return hundredth == 0 ? 0 : available / hundredth;
}

// The host's ",#######" pattern writes nothing for 0; a machine without swap must still read 0.
std::string Megabytes(std::uint64_t mb, const platform::Locale& locale) {
    if (mb == 0) return "0";
    return FormatFixed(static_cast<long double>(mb), 0, locale, true);
}

} // namespace

void ParseRelease(const std::string& release, unsigned& major, unsigned& minor, unsigned& build) {
    unsigned parts[3] = {0, 0, 0};
    size_t pos = 0;
    for (int i = 0; i < 3 && pos < release.size(); ++i) {
        unsigned v = 0;
        bool any = false;
        while (pos < release.size() && release[pos] >= '0' && release[pos] <= '9' && v < 100000) {
            v = v * 10 + static_cast<unsigned>(release[pos++] - '0');
            any = true;
        }
        if (!any) break;
        parts[i] = v;
        if (pos >= release.size() || release[pos] != '.') break;
        ++pos;
    }
    major = parts[0];
    minor = parts[1];
    build = parts[2] & 0xFFFF;
}

int ProcessorTypeOfFamily(int family) { return family >= 3 && family <= 6 ? family * 100 + 86 : 0; }

SystemFacts ReadSystemFacts() {
    SystemFacts f;
    utsname u{};
    if (uname(&u) == 0) {
        f.versionKnown = true;
        f.platformName = std::string(" ") + u.sysname;
        ParseRelease(u.release, f.major, f.minor, f.build);
        std::string machine = u.machine;
        f.intelArchitecture = machine == "x86_64" || machine == "i386" || machine == "i486" ||
                              machine == "i586" || machine == "i686";
    }
    std::ifstream cpu("/proc/cpuinfo");
    std::string line;
    int processors = 0, family = 0;
    while (std::getline(cpu, line)) {
        auto colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string key = line.substr(0, line.find_last_not_of(" \t", colon - 1) + 1);
        if (key == "processor") ++processors;
        if (key == "cpu family" && family == 0) family = std::atoi(line.c_str() + colon + 1);
    }
    if (processors == 0) processors = static_cast<int>(std::max(1L, sysconf(_SC_NPROCESSORS_ONLN)));
    f.processorCount = processors;
    f.processorType = ProcessorTypeOfFamily(family);

    struct sysinfo si {};
    if (sysinfo(&si) == 0) {
        std::uint64_t unit = si.mem_unit ? si.mem_unit : 1;
        f.totalPhysical = si.totalram * unit;
        f.availablePhysical = (si.freeram + si.bufferram) * unit;
        f.totalPageFile = si.totalswap * unit;
        f.availablePageFile = si.freeswap * unit;
    }
    // Memory the kernel can hand out at once also counts its caches, as the platform's does.
    std::ifstream mem("/proc/meminfo");
    while (std::getline(mem, line)) {
        if (line.rfind("MemAvailable:", 0) == 0) {
            std::istringstream in(line.substr(13));
            std::uint64_t kb = 0;
            if (in >> kb) f.availablePhysical = kb * 1024;
        }
    }
    return f;
}

std::string OperatingSystemLine(const SystemFacts& f) {
    if (!f.versionKnown) return "  v . build  ";
    return f.platformName + " v" + std::to_string(f.major) + "." + std::to_string(f.minor) +
           " build " + std::to_string(f.build & 0xFFFF);
}

std::string ProcessorLine(const SystemFacts& f) {
    if (!f.intelArchitecture) return " ";
    std::string type;
    switch (f.processorType) {
    case 386: type = " 386,"; break;
    case 486: type = " 486,"; break;
    case 586: type = " Pentium,"; break;
    case 686: type = " Pentium Pro,"; break;
    default: type = " ";
    }
    if (f.processorCount == 1) return type + " 1 processor";
    return type + " " + std::to_string(f.processorCount) + " processors";
}

std::string RealMemoryLine(std::uint64_t total, std::uint64_t available,
                           const platform::Locale& locale) {
    std::uint64_t mb = (total + 352256) / 1048576;
    return " Real memory: " + Megabytes(mb, locale) + "MB (" +
           std::to_string(PercentFree(total, available)) + "% free)";
}

std::string PageFileLine(std::uint64_t total, std::uint64_t available,
                         const platform::Locale& locale) {
    return " Page file: " + Megabytes(total / 1048576, locale) + "MB (" +
           std::to_string(PercentFree(total, available)) + "% free)";
}

std::array<std::string, 4> SystemInfoLines(const SystemFacts& f, const platform::Locale& locale) {
    return {OperatingSystemLine(f), ProcessorLine(f),
            RealMemoryLine(f.totalPhysical, f.availablePhysical, locale),
            PageFileLine(f.totalPageFile, f.availablePageFile, locale)};
}

} // namespace hostdb
