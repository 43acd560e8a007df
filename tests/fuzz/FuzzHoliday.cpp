// Fuzz target: a holiday file of any content, asked for every year a caller might want.
#include "hostdb/MarketCalendar.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    hostdb::MemoryByteSource file(std::span<const std::uint8_t>(data, size));
    volatile int sink = 0;
    for (int year = 1960; year <= 2100; ++year) {
        hostdb::HolidayList days{};
        if (hostdb::ReadHolidayRecord(file, year, days))
            for (hostdb::DayNumber d : days) sink = sink + d;
    }
    return 0;
}
