// The about box's four lines of system information (operating system, processor, real memory,
// page file), read from uname, /proc/cpuinfo and sysinfo and written in the system's formats.
#pragma once

#include "platform/Locale.h"

#include <array>
#include <cstdint>
#include <string>

namespace hostdb {

struct SystemFacts {
    bool versionKnown = false;
    std::string platformName; // " Linux"
    unsigned major = 0, minor = 0, build = 0;

    bool intelArchitecture = false;
    int processorType = 0; // 386, 486, 586, 686; 0 for others
    int processorCount = 1;

    std::uint64_t totalPhysical = 0, availablePhysical = 0;
    std::uint64_t totalPageFile = 0, availablePageFile = 0;
};

// This machine's facts: the kernel's name and release, the x86 family of /proc/cpuinfo, the
// memory and swap of sysinfo(2) (available memory from /proc/meminfo when it says).
SystemFacts ReadSystemFacts();

// Reads "6.1.0-18-amd64" as major 6, minor 1, build 0.
void ParseRelease(const std::string& release, unsigned& major, unsigned& minor, unsigned& build);
// The processor type of an x86 family number (3 -> 386 ... 6 -> 686), 0 for others.
int ProcessorTypeOfFamily(int family);

std::string OperatingSystemLine(const SystemFacts& facts);
std::string ProcessorLine(const SystemFacts& facts);
// The megabytes are written with thousands separators and never empty: no memory or no swap
// reads "0MB" and "0% free".
std::string RealMemoryLine(std::uint64_t total, std::uint64_t available,
                           const platform::Locale& locale);
std::string PageFileLine(std::uint64_t total, std::uint64_t available,
                         const platform::Locale& locale);

std::array<std::string, 4> SystemInfoLines(const SystemFacts& facts,
                                           const platform::Locale& locale);

} // namespace hostdb
