// The screener's data set: one 111-byte record per accepted ticker for one market date, in a
// file named after that date and the volume moving-average length ("00012710.vds").
#pragma once

#include "hostdb/ByteSource.h"
#include "hostdb/DateTime.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace screener {

struct DataSetRecord {
    std::string Symbol; // at most 9 characters
    std::string Name;   // at most 36 characters
    float Close = 0;
    float Change = 0;
    std::int16_t HighRun = 0;
    std::int16_t PrevHighRun = 0;
    std::int16_t LowRun = 0;
    std::int16_t PrevLowRun = 0;
    std::int16_t GapUpAge = 0;
    std::int16_t GapDownAge = 0;
    std::int32_t Volume = 0;
    std::array<float, 10> VolumePercent{};

    static constexpr std::size_t Size = 111;

    // Field by field at their offsets, little-endian, zero-filled; longer strings are cut.
    void Encode(std::uint8_t* out) const;
    // Any 111 bytes decode; a string length byte beyond its field is cut to the field.
    static DataSetRecord Decode(const std::uint8_t* in);
};

// More tickers than any host holds: a larger file is no data set (a sparse file would otherwise
// be read as zeros for minutes).
constexpr std::uint64_t MaxDataSetRecords = 1000000;
// Why a file of `bytes` cannot be a data set, to follow its name; empty when it can.
std::string DataSetSizeProblem(std::uint64_t bytes);

// The whole records of a data set, one at a time and in order, a buffer at a time so a large
// file is never held whole; a trailing partial record is ignored.
class DataSetReader {
public:
    // `name` goes into the error messages: the file's path. Throws std::runtime_error for a
    // source larger than a data set can be.
    DataSetReader(const hostdb::ByteSource& source, std::string name);

    std::uint64_t Count() const { return count_; } // size div 111
    // The next record; false after the last. Throws std::runtime_error with the name and the
    // system's reason when a read fails.
    bool Next(DataSetRecord& record);

private:
    const hostdb::ByteSource& source_;
    std::string name_;
    std::uint64_t count_ = 0;
    std::uint64_t next_ = 0; // records handed out
    std::vector<std::uint8_t> buffer_;
    std::size_t at_ = 0, held_ = 0; // position and end of the buffered records
};

// Opens a data set file; throws std::runtime_error with the path and the system's reason when
// it cannot be opened.
std::unique_ptr<hostdb::ByteSource> OpenDataSet(const std::filesystem::path& path);

// Every whole record of a data set file in order. Throws as the reader does.
std::vector<DataSetRecord> ReadDataSet(const std::filesystem::path& path);

// "%2d%2d%2d%2d.vds" of year mod 100, month, day and length, blanks as "0".
std::string DataSetFileName(int year, int month, int day, int moveAveLength);
std::string DataSetFileName(int day, int moveAveLength); // from a day number

struct DataSetNameParts {
    int year = 0; // four digits: 80-99 are 1980-1999, 00-79 are 2000-2079
    int month = 0;
    int day = 0;
    int moveAveLength = 0;
};

// The four two-character groups of a name, each 0 when not a number.
DataSetNameParts DecodeDataSetName(std::string_view fileName);

// The market day a name stands for; false when its groups are not a valid date or the date lies
// outside the host's days (a day number would wrap).
bool DataSetDay(std::string_view fileName, int& day);
// Why DataSetDay refuses the name, to follow it in a message; empty when it does not.
std::string DataSetNameProblem(std::string_view fileName);

} // namespace screener
