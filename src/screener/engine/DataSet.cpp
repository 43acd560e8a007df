#include "screener/engine/DataSet.h"

#include "hostdb/ByteSource.h"
#include "hostdb/MarketCalendar.h"
#include "platform/Text.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace screener {

namespace {

constexpr std::size_t SymbolOffset = 0, SymbolMax = 9;
constexpr std::size_t NameOffset = 10, NameMax = 36;
constexpr std::size_t CloseOffset = 47, ChangeOffset = 51, HighRunOffset = 55;
constexpr std::size_t VolumeOffset = 67, PercentOffset = 71;
constexpr std::uint64_t BufferRecords = 256;

void PutString(std::uint8_t* out, const std::string& s, std::size_t max) {
    std::size_t n = s.size() < max ? s.size() : max;
    out[0] = static_cast<std::uint8_t>(n);
    std::memcpy(out + 1, s.data(), n);
}

std::string GetString(const std::uint8_t* in, std::size_t max) {
    std::size_t n = in[0] < max ? in[0] : max;
    return std::string(reinterpret_cast<const char*>(in + 1), n);
}

void PutU32(std::uint8_t* out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void PutI16(std::uint8_t* out, std::int16_t v) {
    auto u = static_cast<std::uint16_t>(v);
    out[0] = static_cast<std::uint8_t>(u & 0xFF);
    out[1] = static_cast<std::uint8_t>(u >> 8);
}

float GetFloat(const std::uint8_t* in) {
    return std::bit_cast<float>(static_cast<std::uint32_t>(hostdb::ReadInt32LE(in)));
}

int GroupValue(std::string_view name, std::size_t at) {
    int v = 0;
    if (name.size() < at + 2 || !platform::ParseInteger(name.substr(at, 2), v)) return 0;
    return v;
}

} // namespace

void DataSetRecord::Encode(std::uint8_t* out) const {
    std::memset(out, 0, Size);
    PutString(out + SymbolOffset, Symbol, SymbolMax);
    PutString(out + NameOffset, Name, NameMax);
    PutU32(out + CloseOffset, std::bit_cast<std::uint32_t>(Close));
    PutU32(out + ChangeOffset, std::bit_cast<std::uint32_t>(Change));
    const std::int16_t runs[6] = {HighRun, PrevHighRun, LowRun, PrevLowRun, GapUpAge, GapDownAge};
    for (std::size_t i = 0; i < 6; ++i) PutI16(out + HighRunOffset + 2 * i, runs[i]);
    PutU32(out + VolumeOffset, static_cast<std::uint32_t>(Volume));
    for (std::size_t k = 0; k < 10; ++k)
        PutU32(out + PercentOffset + 4 * k, std::bit_cast<std::uint32_t>(VolumePercent[k]));
}

DataSetRecord DataSetRecord::Decode(const std::uint8_t* in) {
    DataSetRecord r;
    r.Symbol = GetString(in + SymbolOffset, SymbolMax);
    r.Name = GetString(in + NameOffset, NameMax);
    r.Close = GetFloat(in + CloseOffset);
    r.Change = GetFloat(in + ChangeOffset);
    std::int16_t* runs[6] = {&r.HighRun,    &r.PrevHighRun, &r.LowRun,
                             &r.PrevLowRun, &r.GapUpAge,    &r.GapDownAge};
    for (std::size_t i = 0; i < 6; ++i) *runs[i] = hostdb::ReadInt16LE(in + HighRunOffset + 2 * i);
    r.Volume = hostdb::ReadInt32LE(in + VolumeOffset);
    for (std::size_t k = 0; k < 10; ++k) r.VolumePercent[k] = GetFloat(in + PercentOffset + 4 * k);
    return r;
}

std::string DataSetSizeProblem(std::uint64_t bytes) {
    if (bytes <= MaxDataSetRecords * DataSetRecord::Size) return "";
    return "is too large to be a data set: " + std::to_string(bytes) + " bytes, more than " +
           std::to_string(MaxDataSetRecords) + " tickers of " +
           std::to_string(DataSetRecord::Size) + " bytes";
}

DataSetReader::DataSetReader(const hostdb::ByteSource& source, std::string name)
    : source_(source), name_(std::move(name)), count_(source.Size() / DataSetRecord::Size) {
    const std::string problem = DataSetSizeProblem(source.Size());
    if (!problem.empty()) throw std::runtime_error("The data set " + name_ + " " + problem);
}

bool DataSetReader::Next(DataSetRecord& record) {
    if (at_ == held_) {
        if (next_ >= count_) return false;
        const std::uint64_t wanted = std::min<std::uint64_t>(count_ - next_, BufferRecords);
        buffer_.resize(static_cast<std::size_t>(wanted) * DataSetRecord::Size);
        errno = 0;
        std::size_t got =
            source_.ReadSome(next_ * DataSetRecord::Size, buffer_.data(), buffer_.size());
        if (got < buffer_.size() && errno != 0)
            throw std::runtime_error("Cannot read the data set " + name_ + ": " +
                                     std::strerror(errno));
        // A file that shrank under the reader ends with its last whole record.
        held_ = got - got % DataSetRecord::Size;
        at_ = 0;
        if (held_ == 0) {
            count_ = next_;
            return false;
        }
    }
    record = DataSetRecord::Decode(buffer_.data() + at_);
    at_ += DataSetRecord::Size;
    ++next_;
    return true;
}

std::unique_ptr<hostdb::ByteSource> OpenDataSet(const std::filesystem::path& path) {
    errno = 0;
    auto source = std::make_unique<hostdb::FileByteSource>(path);
    if (!source->IsOpen()) {
        int reason = errno;
        std::error_code ec;
        if (reason == 0 && std::filesystem::is_directory(path, ec)) reason = EISDIR;
        throw std::runtime_error("Cannot open the data set " + path.string() + ": " +
                                 (reason != 0 ? std::strerror(reason) : "not a regular file"));
    }
    return source;
}

std::vector<DataSetRecord> ReadDataSet(const std::filesystem::path& path) {
    std::unique_ptr<hostdb::ByteSource> source = OpenDataSet(path);
    DataSetReader reader(*source, path.string());
    std::vector<DataSetRecord> records;
    DataSetRecord r;
    while (reader.Next(r)) records.push_back(std::move(r));
    return records;
}

std::string DataSetFileName(int year, int month, int day, int moveAveLength) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%2d%2d%2d%2d.vds", year % 100, month, day, moveAveLength);
    std::string name(buf);
    for (char& c : name)
        if (c == ' ') c = '0';
    return name;
}

std::string DataSetFileName(int day, int moveAveLength) {
    hostdb::CivilDate d = hostdb::DecodeDate(hostdb::MarketCalendar::DayToDate(day));
    return DataSetFileName(d.year, d.month, d.day, moveAveLength);
}

DataSetNameParts DecodeDataSetName(std::string_view name) {
    DataSetNameParts p;
    int yy = GroupValue(name, 0);
    // One window over the host's whole range of dates.
    p.year = yy >= 80 ? 1900 + yy : 2000 + yy;
    p.month = GroupValue(name, 2);
    p.day = GroupValue(name, 4);
    p.moveAveLength = GroupValue(name, 6);
    return p;
}

namespace {

// The day a name's groups stand for, before it is narrowed to a day number.
bool WideDataSetDay(std::string_view fileName, long long& day) {
    DataSetNameParts p = DecodeDataSetName(fileName);
    if (!hostdb::IsValidDate(p.year, p.month, p.day)) return false;
    day = static_cast<long long>(hostdb::EncodeDate(p.year, p.month, p.day)) -
          hostdb::DayNumberOffset;
    return true;
}

} // namespace

bool DataSetDay(std::string_view fileName, int& day) {
    long long wide = 0;
    if (!WideDataSetDay(fileName, wide) || !hostdb::IsHostDay(wide)) return false;
    day = static_cast<int>(wide);
    return true;
}

std::string DataSetNameProblem(std::string_view fileName) {
    long long wide = 0;
    if (!WideDataSetDay(fileName, wide)) return "is not named after a market date (YYMMDDNN.vds)";
    if (!hostdb::IsHostDay(wide))
        return std::string("is named after a date outside ") + hostdb::HostDayRange;
    return "";
}

} // namespace screener
