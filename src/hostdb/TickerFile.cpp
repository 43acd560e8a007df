#include "hostdb/TickerFile.h"

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

float TickerFile::Price(int field) const {
    if (!hasRecord_) return 0;
    const std::uint8_t* p = block_.data() + recordOffset_ + field * fieldSize_;
    // The host computes in extended precision and stores a single.
    switch (header_[FormatOffset]) {
    case '4': return static_cast<float>(ReadUInt16LE(p) + ReadUInt16LE(p + 2) * 0.0001L);
    case 'D': return static_cast<float>(ReadUInt16LE(p) + p[2] * 0.01L);
    case 'F': return static_cast<float>(ReadUInt16LE(p) + p[2] * 0.03125L);
    case 'I': return static_cast<float>(ReadInt32LE(p));
    default: return 0;
    }
}

std::int32_t TickerFile::Volume() const {
    if (!hasRecord_) return 0;
    std::int32_t v = ReadInt32LE(block_.data() + recordOffset_ + 4 * fieldSize_);
    return v < 0 ? std::numeric_limits<std::int32_t>::max() : v;
}

} // namespace hostdb
