// Fuzz target: a ticker file of any content, read over its whole promised range, day by day
// and by the range readers, which must agree.
#include "hostdb/MarketCalendar.h"
#include "hostdb/TickerFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

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

    // The range readers against SetDay: a window around each end of the range, and a long one
    // that crosses from one run of blocks read at once into the next.
    std::vector<hostdb::TickerFile::Bar> bars;
    std::vector<float> closes;
    auto same = [](float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    for (auto [from, to] : {std::pair{first - 9, first + 66}, std::pair{last - 60, last + 15},
                            std::pair{first - 2, first + 4700}}) {
        t.ReadBars(from, to, bars);
        t.ReadCloses(from, to, closes);
        std::size_t i = 0;
        for (int d = from; d <= to; ++d) {
            if (hostdb::WeekdayOf(d) > 4) continue;
            t.SetDay(d);
            if (i >= bars.size() || i >= closes.size() || !same(bars[i].open, t.Open()) ||
                !same(bars[i].high, t.High()) || !same(bars[i].low, t.Low()) ||
                !same(bars[i].close, t.Close()) || !same(closes[i], t.Close()) ||
                bars[i].volume != t.Volume())
                std::abort();
            ++i;
        }
        if (i != bars.size() || i != closes.size()) std::abort();
    }
    return 0;
}
