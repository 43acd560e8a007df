// Reader of the host's per-ticker daily files: the header facts and, for one day at a time, the
// open, high, low, close and volume, read a 1024-byte block at a time.
#pragma once

#include "hostdb/ByteSource.h"
#include "hostdb/DateTime.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace hostdb {

// Weekdays from day 0 to day d (negative before day 0); weekend values are not meaningful.
int WeekdayCount(int day);

class TickerFile {
public:
    // Opens the source of a path; the default opens the file on disk.
    using SourceOpener = std::function<std::unique_ptr<ByteSource>(const std::string& path)>;

    TickerFile();
    explicit TickerFile(SourceOpener opener);

    // Reopens only when the path differs (exactly) from the current one.
    void SetFileName(const std::string& path);
    // Re-reads only when the day differs from the current one.
    void SetDay(int day);

    const std::string& FileName() const { return fileName_; }
    int CurrentDay() const { return day_; }
    bool IsOpen() const { return source_ != nullptr; }
    bool HasRecord() const { return hasRecord_; }

    int FirstDay() const; // 0 when not open
    int LastDay() const;
    bool StatusIsA() const;
    char KindCode() const;            // '\0' when not open
    char FormatCode() const;          // '\0' when not open
    std::string SecurityName() const; // " " when empty or not open

    float Open() const { return Price(0); }
    float High() const { return Price(1); }
    float Low() const { return Price(2); }
    float Close() const { return Price(3); }
    std::int32_t Volume() const; // a negative stored value reads as 2147483647

    // What SetDay and the getters give for every weekday from `fromDay` to `toDay`, in day order
    // (zeros where a day has no record), read many blocks at a time. Weekends are left out.
    struct Bar {
        float open = 0, high = 0, low = 0, close = 0;
        std::int32_t volume = 0;
    };
    void ReadBars(int fromDay, int toDay, std::vector<Bar>& out);
    void ReadCloses(int fromDay, int toDay, std::vector<float>& out);

    static constexpr int BlockSize = 1024;

private:
    void Position();
    float Price(int field) const {
        return hasRecord_ ? Decode(block_.data() + recordOffset_, field) : 0;
    }
    float Decode(const std::uint8_t* record, int field) const;
    std::int32_t DecodeVolume(const std::uint8_t* record) const;
    // Calls visit(record) for each weekday of the range, with nullptr where there is none.
    template <class Visit> void ForEachWeekday(int fromDay, int toDay, Visit visit);
    const std::uint8_t* RunBlock(int block, int lastBlock);

    SourceOpener opener_;
    std::unique_ptr<ByteSource> source_; // set while the file is open with a valid header
    std::string fileName_;
    int day_ = -20000;
    bool hasRecord_ = false;
    std::array<std::uint8_t, BlockSize> header_{};
    std::array<std::uint8_t, BlockSize> block_{};
    int loadedBlock_ = 0;
    int recordOffset_ = 0;
    int fieldSize_ = 0; // 0 for an unknown format code: no record is ever found
    int recordSize_ = 0;
    int recordsPerBlock_ = 0;
    int firstDay_ = 0;
    // The blocks the range readers loaded, runFirst_ onwards.
    std::vector<std::uint8_t> run_;
    int runFirst_ = 0;
    int runBlocks_ = 0;
};

} // namespace hostdb
