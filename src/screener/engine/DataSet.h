// The screener's data set: one 111-byte record per accepted ticker for one market date, in a
// file named after that date and the volume moving-average length ("00012710.vds").
#pragma once

#include "hostdb/DateTime.h"

#include <array>
#include <cstdint>
#include <filesystem>
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

// Whole records of a data set file in order; a trailing partial record is ignored. Throws
// std::runtime_error when the file cannot be read.
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

// The market day a name stands for; false when its groups are not a valid date.
bool DataSetDay(std::string_view fileName, int& day);

} // namespace screener
