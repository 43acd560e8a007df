// The about box's system lines: memory, processor and operating system.
#include "hostdb/SystemInfo.h"

#include <gtest/gtest.h>

using namespace hostdb;

TEST(SystemInfo, MemoryLines) {
    platform::Locale loc = platform::Locale::Posix();
    EXPECT_EQ(RealMemoryLine(67108864, 33554432, loc), " Real memory: 64MB (50% free)");
    // The 344 KB added before dividing rounds a total just short of a megabyte boundary up.
    EXPECT_EQ(RealMemoryLine(67108864 - 300000, 0, loc), " Real memory: 64MB (0% free)");
    EXPECT_EQ(RealMemoryLine(17179869184ULL, 4294967296ULL, loc),
              " Real memory: 16,384MB (25% free)");
    EXPECT_EQ(PageFileLine(67108864 + 1048575, 0, loc), " Page file: 64MB (0% free)");

    // No swap, or less than the rounding makes a megabyte: 0, never an empty number, and no
    // division by zero.
    EXPECT_EQ(PageFileLine(0, 0, loc), " Page file: 0MB (0% free)");
    EXPECT_EQ(PageFileLine(1048575, 1048575, loc), " Page file: 0MB (100% free)");
    EXPECT_EQ(RealMemoryLine(0, 0, loc), " Real memory: 0MB (0% free)");
    EXPECT_EQ(RealMemoryLine(1048576 - 352256 - 1, 99, loc), " Real memory: 0MB (0% free)");
    EXPECT_EQ(RealMemoryLine(1048576 - 352256, 0, loc), " Real memory: 1MB (0% free)");
}

TEST(SystemInfo, ProcessorAndSystemLines) {
    SystemFacts f;
    f.intelArchitecture = true;
    f.processorType = 586;
    f.processorCount = 2;
    EXPECT_EQ(ProcessorLine(f), " Pentium, 2 processors");
    f.processorType = 386;
    f.processorCount = 1;
    EXPECT_EQ(ProcessorLine(f), " 386, 1 processor");
    f.processorType = 0;
    f.processorCount = 16;
    EXPECT_EQ(ProcessorLine(f), "  16 processors");
    f.intelArchitecture = false;
    EXPECT_EQ(ProcessorLine(f), " ");
    EXPECT_EQ(ProcessorTypeOfFamily(6), 686);
    EXPECT_EQ(ProcessorTypeOfFamily(25), 0);

    f.versionKnown = true;
    f.platformName = " Linux";
    ParseRelease("6.1.0-18-amd64", f.major, f.minor, f.build);
    EXPECT_EQ(OperatingSystemLine(f), " Linux v6.1 build 0");
    ParseRelease("5.15.167.4-microsoft-standard", f.major, f.minor, f.build);
    EXPECT_EQ(OperatingSystemLine(f), " Linux v5.15 build 167");
    ParseRelease("", f.major, f.minor, f.build);
    EXPECT_EQ(OperatingSystemLine(f), " Linux v0.0 build 0");
    f.versionKnown = false;
    EXPECT_EQ(OperatingSystemLine(f).find_first_not_of(" v.build"), std::string::npos);

    // This machine: every line is there and in its format.
    auto lines = SystemInfoLines(ReadSystemFacts(), platform::Locale::Posix());
    EXPECT_EQ(lines[0].rfind(" ", 0), 0u);
    EXPECT_NE(lines[0].find(" build "), std::string::npos);
    EXPECT_EQ(lines[2].rfind(" Real memory: ", 0), 0u);
    EXPECT_EQ(lines[3].rfind(" Page file: ", 0), 0u);
    EXPECT_EQ(lines[3].find(" Page file: MB"), std::string::npos);
}
