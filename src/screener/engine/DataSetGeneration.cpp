#include "screener/engine/DataSetGeneration.h"

#include "hostdb/TickerRules.h"
#include "hostdb/TradingDays.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "platform/Workers.h"

#include <algorithm>
#include <stdexcept>

namespace screener {

namespace {

struct DayValues {
    float high = 0, low = 0, close = 0;
    std::int32_t volume = 0;
};

// The ticker's days from M backwards, read in runs of growing length as the scan reaches them.
class History {
public:
    History(hostdb::TickerFile& reader, int M) : reader_(reader), top_(M) {}

    const DayValues& At(int d) {
        while (static_cast<int>(days_.size()) <= top_ - d) ReadBefore();
        return days_[static_cast<std::size_t>(top_ - d)];
    }

private:
    // The next run of days back, weekends (no record) as zeros.
    void ReadBefore() {
        const int newest = top_ - static_cast<int>(days_.size());
        const int oldest = newest - std::max(63, static_cast<int>(days_.size())) + 1;
        reader_.ReadBars(oldest, newest, bars_);
        auto bar = bars_.rbegin();
        for (int d = newest; d >= oldest; --d) {
            if (hostdb::WeekdayOf(d) > 4) {
                days_.emplace_back();
                continue;
            }
            days_.push_back({bar->high, bar->low, bar->close, bar->volume});
            ++bar;
        }
    }

    hostdb::TickerFile& reader_;
    int top_;
    std::vector<DayValues> days_;
    std::vector<hostdb::TickerFile::Bar> bars_;
};

// Gap age: 0 when day `start` itself gapped, k when the gap was k trading days before it,
// -1 when none within 10. `gapSide` is the price that must clear the reference (the high for a
// gap up), `refSide` the price that becomes the next reference; a 0 gap side passes a day over.
std::int16_t GapAge(History& h, int start, int F, float ref, float DayValues::*gapSide,
                    float DayValues::*refSide, bool up) {
    int n = 0;
    for (int d = start - 1; d >= F && n < 10; --d) {
        const DayValues& v = h.At(d);
        if (v.*gapSide == 0) continue;
        if (up ? v.*gapSide < ref : v.*gapSide > ref) return static_cast<std::int16_t>(n);
        ++n;
        ref = v.*refSide;
    }
    return -1;
}

// Trading days before `start`, without a break, that `holds(v)`.
template <class Holds> std::int16_t Run(History& h, int start, int F, Holds holds) {
    int count = 0;
    for (int d = start - 1; d >= F; --d) {
        const DayValues& v = h.At(d);
        if (!holds.counts(v)) continue;
        if (!holds(v)) break;
        ++count;
    }
    return static_cast<std::int16_t>(count);
}

} // namespace

int ChooseMarketDate(hostdb::MarketCalendar& calendar, int wanted, int lastMarketDay) {
    if (wanted > lastMarketDay) return lastMarketDay;
    return hostdb::TradingDayAtOrBefore(calendar, wanted);
}

bool BuildRecord(hostdb::TickerFile& reader, const std::filesystem::path& path, int M, int P, int N,
                 DataSetRecord& r) {
    r = DataSetRecord{};
    reader.SetFileName(path.string());
    r.Symbol = hostdb::SymbolOfFileName(path.filename().string()).substr(0, 9); // the field's size
    r.Name = " ";
    const int F = reader.FirstDay();
    if (!hostdb::IsEligible(reader, M)) return false;
    r.Name = reader.SecurityName().substr(0, 36);

    History h(reader, M);
    const DayValues today = h.At(M);
    const DayValues before = h.At(P);
    r.Close = today.close;
    r.Volume = today.volume;
    if (today.close == 0 || before.close == 0) return false;
    r.Change = today.close - before.close;

    r.GapUpAge = GapAge(h, M, F, today.low, &DayValues::high, &DayValues::low, true);
    r.GapDownAge = GapAge(h, M, F, today.high, &DayValues::low, &DayValues::high, false);

    struct NotAbove {
        float limit;
        bool counts(const DayValues& v) const { return v.high != 0; }
        bool operator()(const DayValues& v) const { return !(v.high > limit); }
    };
    struct NotBelow {
        float limit;
        bool counts(const DayValues& v) const { return v.low != 0; }
        bool operator()(const DayValues& v) const { return !(v.low < limit); }
    };
    r.HighRun = Run(h, M, F, NotAbove{today.high});
    r.PrevHighRun = Run(h, P, F, NotAbove{before.high});
    r.LowRun = Run(h, M, F, NotBelow{today.low});
    r.PrevLowRun = Run(h, P, F, NotBelow{before.low});

    // Volumes of the days with a nonzero close, newest first, and their running sums (64 bits:
    // a few volumes stored negative read as 2147483647 and would overflow 32).
    std::vector<std::int32_t> v;
    std::vector<std::int64_t> cum;
    const std::size_t wanted = static_cast<std::size_t>(N) + 10;
    std::int64_t S = 0;
    int d = M;
    do {
        const DayValues& day = h.At(d);
        if (day.close != 0) {
            v.push_back(day.volume);
            S += day.volume;
            cum.push_back(S);
        }
        --d;
    } while (d >= F && v.size() != wanted);

    const std::size_t n = v.size();
    for (std::size_t k = 0; k < 10; ++k) {
        if (n < static_cast<std::size_t>(N) + k + 1) {
            r.VolumePercent[k] = -1000;
            continue;
        }
        // The host computes in extended precision and keeps the average as a single.
        float avg = static_cast<float>(static_cast<long double>(cum[N + k] - cum[k]) / N);
        r.VolumePercent[k] =
            avg == 0 ? 0.0f
                     : static_cast<float>((static_cast<long double>(v[k]) / avg - 1.0L) * 100.0L);
    }
    return true;
}

GenerateResult GenerateDataSet(const GenerateInput& in, hostdb::MarketCalendar& calendar,
                               const hostdb::Progress& progress,
                               const hostdb::TickerFile::SourceOpener& opener) {
    // A length of 0 would divide 0 by 0 into every volume percentage; a name holds two digits.
    if (in.moveAveLength < 1 || in.moveAveLength > 99)
        throw std::runtime_error("The moving-average length must be from 1 to 99, not " +
                                 std::to_string(in.moveAveLength));
    GenerateResult result;
    const int P = hostdb::PreviousTradingDay(calendar, in.marketDay);
    const int total = static_cast<int>(in.tickerFiles.size());
    const int threads = std::clamp(in.threads, 1, platform::MaxWorkerThreads);
    std::vector<hostdb::TickerFile> readers;
    for (int w = 0; w < threads; ++w)
        readers.push_back(opener ? hostdb::TickerFile(opener) : hostdb::TickerFile());
    struct Built {
        bool accepted = false;
        DataSetRecord record;
    };
    std::string bytes;
    platform::RunInOrder<Built>(
        total, threads,
        [&](int i, int w) {
            Built b;
            b.accepted = BuildRecord(readers[static_cast<std::size_t>(w)],
                                     in.tickerFiles[static_cast<std::size_t>(i)], in.marketDay, P,
                                     in.moveAveLength, b.record);
            return b;
        },
        [&](int i, const Built& b) {
            if (in.onTicker) in.onTicker(b.record.Symbol, b.record.Name);
            if (b.accepted) {
                std::uint8_t raw[DataSetRecord::Size];
                b.record.Encode(raw);
                bytes.append(reinterpret_cast<const char*>(raw), sizeof raw);
                ++result.accepted;
            }
            result.visited = i + 1;
            if (!hostdb::Report(progress, i + 1, total) && i + 1 < total) {
                result.stopped = true;
                return false;
            }
            return true;
        },
        [&] {
            if (hostdb::Report(progress, result.visited, total)) return true;
            return !(result.stopped = true);
        });
    std::error_code ec;
    if (result.stopped && std::filesystem::exists(in.outputPath, ec)) {
        result.keptEarlier = true;
        return result;
    }
    result.written = result.accepted > 0;
    std::string problem;
    if (!platform::WriteFileAtomically(in.outputPath, bytes, platform::WriteMode::Replace,
                                       &problem))
        throw std::runtime_error("Cannot write the data set " + in.outputPath.string() + ": " +
                                 problem);
    return result;
}

} // namespace screener
