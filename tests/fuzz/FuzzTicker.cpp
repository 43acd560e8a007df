// Fuzz target: a ticker file of any content, read over its whole promised range.
#include "hostdb/TickerFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> bytes(data, size);
    hostdb::TickerFile t([&](const std::string&) -> std::unique_ptr<hostdb::ByteSource> {
        return std::make_unique<hostdb::MemoryByteSource>(bytes);
    });
    t.SetFileName("input");
    volatile float sink = 0;
    sink = sink + static_cast<float>(t.SecurityName().size() + t.KindCode() + t.StatusIsA());
    auto visit = [&](int day) {
        t.SetDay(day);
        sink = sink + t.Open() + t.High() + t.Low() + t.Close() + static_cast<float>(t.Volume());
    };
    int first = t.FirstDay(), last = t.LastDay();
    // The start, the end and a stride through the middle keep every input quick.
    for (int d = first - 3; d <= last + 3 && d < first + 400; ++d) visit(d);
    for (int d = last - 400; d <= last + 3; ++d) visit(d);
    for (int d = first; d <= last; d += 97) visit(d);
    return 0;
}
