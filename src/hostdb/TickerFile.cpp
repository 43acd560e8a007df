#include "hostdb/TickerFile.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace hostdb {

namespace {

constexpr int NameOffset = 8, NameLength = 35;
constexpr int KindOffset = 43, FormatOffset = 44, StatusOffset = 55;
constexpr int SignatureOffset = 67, FirstDayOffset = 72, LastDayOffset = 74;
constexpr char Signature[] = "ZQELZ";

} // namespace

int WeekdayCount(int d) {
    if (d >= 0) return 5 * (d / 7) + d % 7;
    return 5 * ((d + 2) / 7) + (d + 2) % 7;
}

TickerFile::TickerFile()
    : TickerFile([](const std::string& path) -> std::unique_ptr<ByteSource> {
          return std::make_unique<FileByteSource>(path);
      }) {}

TickerFile::TickerFile(SourceOpener opener) : opener_(std::move(opener)) {}

void TickerFile::SetFileName(const std::string& path) {
    if (path == fileName_) return;
    fileName_ = path;
    source_.reset();
    hasRecord_ = false;
    if (!path.empty()) {
        std::unique_ptr<ByteSource> source = opener_(path);
        if (source && source->IsOpen() && source->ReadAt(0, header_.data(), BlockSize) &&
            std::memcmp(header_.data() + SignatureOffset, Signature, 5) == 0) {
            source_ = std::move(source);
            loadedBlock_ = 0;
            runBlocks_ = 0;
            switch (header_[FormatOffset]) {
            case '4':
            case 'I': fieldSize_ = 4; break;
            case 'D':
            case 'F': fieldSize_ = 3; break;
            default: fieldSize_ = 0;
            }
            recordSize_ = 4 * fieldSize_ + 4;
            recordsPerBlock_ = BlockSize / recordSize_;
            firstDay_ = ReadInt16LE(header_.data() + FirstDayOffset);
            if (firstDay_ < 0) firstDay_ -= 256;
        }
    }
    Position();
}

void TickerFile::SetDay(int day) {
    if (day == day_) return;
    day_ = day;
    Position();
}

void TickerFile::Position() {
    hasRecord_ = false;
    if (!source_ || fieldSize_ == 0) return;
    int w = day_ % 7;
    if (w < 0) w += 7;
    if (w > 4 || day_ < firstDay_ || day_ > LastDay()) return;
    // A first day on a weekend can put a weekday before the first record.
    int index = WeekdayCount(day_) - WeekdayCount(firstDay_);
    if (index < 0) return;
    int block = index / recordsPerBlock_ + 1;
    recordOffset_ = (index % recordsPerBlock_) * recordSize_;
    if (block != loadedBlock_) {
        std::size_t got = source_->ReadSome(static_cast<std::uint64_t>(block) * BlockSize,
                                            block_.data(), BlockSize);
        // Bytes past the end of the file read as zeros rather than as the previous block's.
        std::memset(block_.data() + got, 0, BlockSize - got);
        loadedBlock_ = block;
    }
    hasRecord_ = true;
}

int TickerFile::FirstDay() const { return source_ ? firstDay_ : 0; }

int TickerFile::LastDay() const {
    return source_ ? ReadInt16LE(header_.data() + LastDayOffset) : 0;
}

bool TickerFile::StatusIsA() const { return source_ && header_[StatusOffset] == 'A'; }

char TickerFile::KindCode() const {
    return source_ ? static_cast<char>(header_[KindOffset]) : '\0';
}

char TickerFile::FormatCode() const {
    return source_ ? static_cast<char>(header_[FormatOffset]) : '\0';
}

std::string TickerFile::SecurityName() const {
    if (!source_) return " ";
    const char* name = reinterpret_cast<const char*>(header_.data() + NameOffset);
    std::string s(name, strnlen(name, NameLength));
    return s.empty() ? " " : s;
}

float TickerFile::Decode(const std::uint8_t* record, int field) const {
    const std::uint8_t* p = record + field * fieldSize_;
    // The host computes in extended precision and stores a single.
    switch (header_[FormatOffset]) {
    case '4': return static_cast<float>(ReadUInt16LE(p) + ReadUInt16LE(p + 2) * 0.0001L);
    case 'D': return static_cast<float>(ReadUInt16LE(p) + p[2] * 0.01L);
    case 'F': return static_cast<float>(ReadUInt16LE(p) + p[2] * 0.03125L);
    case 'I': return static_cast<float>(ReadInt32LE(p));
    default: return 0;
    }
}

std::int32_t TickerFile::DecodeVolume(const std::uint8_t* record) const {
    std::int32_t v = ReadInt32LE(record + 4 * fieldSize_);
    return v < 0 ? std::numeric_limits<std::int32_t>::max() : v;
}

std::int32_t TickerFile::Volume() const {
    return hasRecord_ ? DecodeVolume(block_.data() + recordOffset_) : 0;
}

// Up to 64 blocks from `block` on, no further than `lastBlock`, are read in one call.
const std::uint8_t* TickerFile::RunBlock(int block, int lastBlock) {
    if (block < runFirst_ || block >= runFirst_ + runBlocks_) {
        constexpr int MaxRun = 64;
        const int count = std::clamp(lastBlock - block + 1, 1, MaxRun);
        run_.resize(static_cast<std::size_t>(MaxRun) * BlockSize);
        const std::size_t want = static_cast<std::size_t>(count) * BlockSize;
        std::size_t got =
            source_->ReadSome(static_cast<std::uint64_t>(block) * BlockSize, run_.data(), want);
        std::memset(run_.data() + got, 0, want - got); // as Position: zeros past the end
        runFirst_ = block;
        runBlocks_ = count;
    }
    return run_.data() + static_cast<std::size_t>(block - runFirst_) * BlockSize;
}

template <class Visit> void TickerFile::ForEachWeekday(int fromDay, int toDay, Visit visit) {
    int d = fromDay, w = fromDay % 7;
    if (w < 0) w += 7;
    if (w > 4) d += 7 - w, w = 0;
    if (d > toDay) return;
    // Days with a record: Position's conditions, with the index counted on instead of worked out.
    const bool readable = source_ && fieldSize_ != 0;
    const int lastDay = LastDay();
    const int lastRecordDay = std::min(toDay, lastDay);
    int index = WeekdayCount(d) - WeekdayCount(firstDay_);
    const int lastIndex = WeekdayCount(lastRecordDay) - WeekdayCount(firstDay_);
    const int lastBlock = readable ? lastIndex / std::max(recordsPerBlock_, 1) + 1 : 0;
    const std::uint8_t* block = nullptr;
    int blockNumber = -1;
    for (; d <= toDay; ++index) {
        const std::uint8_t* record = nullptr;
        if (readable && d >= firstDay_ && d <= lastDay && index >= 0) {
            const int number = index / recordsPerBlock_ + 1;
            if (number != blockNumber) block = RunBlock(blockNumber = number, lastBlock);
            record = block + (index % recordsPerBlock_) * recordSize_;
        }
        visit(record);
        if (w == 4)
            d += 3, w = 0;
        else
            ++d, ++w;
    }
}

void TickerFile::ReadBars(int fromDay, int toDay, std::vector<Bar>& out) {
    out.clear();
    ForEachWeekday(fromDay, toDay, [&](const std::uint8_t* r) {
        if (!r)
            out.emplace_back();
        else
            out.push_back(
                {Decode(r, 0), Decode(r, 1), Decode(r, 2), Decode(r, 3), DecodeVolume(r)});
    });
}

void TickerFile::ReadCloses(int fromDay, int toDay, std::vector<float>& out) {
    out.clear();
    ForEachWeekday(fromDay, toDay,
                   [&](const std::uint8_t* r) { out.push_back(r ? Decode(r, 3) : 0); });
}

} // namespace hostdb
