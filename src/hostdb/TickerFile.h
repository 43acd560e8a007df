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

    static constexpr int BlockSize = 1024;

private:
    void Position();
    float Price(int field) const;

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
};

} // namespace hostdb
