// Writes synthetic host installations for tests, the demo and benchmarks: settings files, a
// holiday file and ticker files, byte for byte the same for the same options.
#pragma once

#include "hostdb/MarketCalendar.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace hostgen {

// Prices in whole ticks of the format: 1/100 for "D", 1/32 for "F", 1/10000 for "4", 1 for "I".
int TicksPerUnit(char format);

struct DayRecord {
    std::array<std::int64_t, 4> ticks{}; // open, high, low, close; 0 = no data
    std::int32_t volume = 0;
};

struct TickerSpec {
    std::string name;
    char kind = 'S';
    char format = 'D';
    char status = 'A';
    int firstDay = 0;
    int lastDay = 0;
    // One record per weekday from firstDay to lastDay, in order (weekends have none).
    std::vector<DayRecord> records;
};

// The bytes of a ticker file: the header block, then the records in 1024-byte blocks, ending
// after the last record.
std::vector<std::uint8_t> EncodeTicker(const TickerSpec& spec);

// The bytes of a holiday file holding a record for each year given (1970 onwards); years in
// between are zero-filled records, so they hold year 0.
std::vector<std::uint8_t> EncodeHolidays(const std::map<int, hostdb::HolidayList>& years);

struct Options {
    std::filesystem::path root;
    int tickers = 300;
    int years = 10;
    hostdb::CivilDate end{2026, 12, 4};
    std::uint64_t seed = 1;
    bool broken = false;
    // A folder holding the host stand-in's qelch32.exe and qelio32.dll, installed as the host's
    // chart program and interface library with a ratings.txt for the tickers; empty: none.
    std::filesystem::path standin;
};

struct Summary {
    std::filesystem::path windowsDirectory;
    std::vector<std::filesystem::path> tickerFiles;
};

// Writes the installation under options.root (a Wine prefix: drive_c, dosdevices/c:).
// Throws std::runtime_error when a file cannot be written.
Summary MakeHost(const Options& options);

} // namespace hostgen
