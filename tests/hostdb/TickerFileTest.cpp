// The host's per-ticker files: price encodings, record locations, header facts and volume,
// rereading on change, broken files, and what the writer of made hosts wrote.
#include "hostdb/TickerFile.h"

#include "support/TestUtil.h"
#include "tools/make-host/HostWriter.h"

#include <cstring>
#include <gtest/gtest.h>
#include <map>

using namespace hostdb;

namespace {

// A ticker file built byte by byte, independent of the writer used elsewhere.
struct RawTicker {
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(1024, 0);

    RawTicker(char format, int storedFirst, int last, const char* name = "TEST CORP") {
        std::copy_n(name, std::strlen(name), bytes.begin() + 8);
        bytes[43] = 'S';
        bytes[44] = static_cast<std::uint8_t>(format);
        bytes[55] = 'A';
        std::copy_n("ZQELZ", 5, bytes.begin() + 67);
        testutil::PutInt16LE(bytes, 72, storedFirst);
        testutil::PutInt16LE(bytes, 74, last);
    }
    void U8(size_t at, int v) {
        if (bytes.size() <= at) bytes.resize(at + 1, 0);
        bytes[at] = static_cast<std::uint8_t>(v);
    }
    void U16(size_t at, int v) { U8(at, v & 0xFF), U8(at + 1, (v >> 8) & 0xFF); }
    void I32(size_t at, std::int32_t v) {
        auto u = static_cast<std::uint32_t>(v);
        for (int i = 0; i < 4; ++i)
            U8(at + static_cast<size_t>(i), static_cast<int>((u >> (8 * i)) & 0xFF));
    }
};

// Serves byte buffers by name and counts opens and reads.
struct FakeFiles {
    std::map<std::string, std::vector<std::uint8_t>> files;
    int opens = 0;
    int reads = 0;

    struct Source : ByteSource {
        Source(const std::vector<std::uint8_t>& b, int& reads) : mem(b), reads(reads) {}
        bool IsOpen() const override { return true; }
        std::uint64_t Size() const override { return mem.Size(); }
        std::size_t ReadSome(std::uint64_t off, void* buf, std::size_t n) const override {
            ++reads;
            return mem.ReadSome(off, buf, n);
        }
        MemoryByteSource mem;
        int& reads;
    };

    TickerFile Reader() {
        return TickerFile([this](const std::string& path) -> std::unique_ptr<ByteSource> {
            ++opens;
            auto it = files.find(path);
            if (it == files.end()) return nullptr;
            return std::make_unique<Source>(it->second, reads);
        });
    }
};

const int Fri31Dec1999 = 7305, Mon3Jan2000 = 7308;

// The day whose record has the given index in a file starting on `first`.
int DayOfIndex(int first, int index) {
    int d = first;
    for (int i = 0; i < index; ++d)
        if (WeekdayOf(d + 1) < 5) ++i;
    return d;
}

} // namespace

TEST(TickerFile, PriceEncodings) {
    FakeFiles fs;
    RawTicker d('D', Fri31Dec1999, Mon3Jan2000), f('F', Fri31Dec1999, Mon3Jan2000);
    RawTicker four('4', Fri31Dec1999, Mon3Jan2000), i('I', Fri31Dec1999, Mon3Jan2000);
    for (int field = 0; field < 4; ++field) {
        d.U16(1024 + 3 * field, 12), d.U8(1024 + 3 * field + 2, 50);
        f.U16(1024 + 3 * field, 12), f.U8(1024 + 3 * field + 2, 16);
        four.U16(1024 + 4 * field, 12), four.U16(1024 + 4 * field + 2, 5000);
        i.I32(1024 + 4 * field, 12345 + field);
    }
    d.I32(1024 + 12, 777);
    i.I32(1024 + 16, 888);
    fs.files = {{"d", d.bytes}, {"f", f.bytes}, {"4", four.bytes}, {"i", i.bytes}};
    for (const char* name : {"d", "f", "4"}) {
        TickerFile t = fs.Reader();
        t.SetFileName(name);
        t.SetDay(Fri31Dec1999);
        EXPECT_EQ(t.Open(), 12.5f) << name;
        EXPECT_EQ(t.High(), 12.5f) << name;
        EXPECT_EQ(t.Low(), 12.5f) << name;
        EXPECT_EQ(t.Close(), 12.5f) << name;
    }
    TickerFile t = fs.Reader();
    t.SetFileName("d");
    t.SetDay(Fri31Dec1999);
    EXPECT_EQ(t.Volume(), 777);
    t.SetFileName("i");
    EXPECT_EQ(t.Open(), 12345.0f);
    EXPECT_EQ(t.Close(), 12348.0f);
    EXPECT_EQ(t.Volume(), 888);
    EXPECT_EQ(t.FormatCode(), 'I');
}

TEST(TickerFile, RecordLocations) {
    FakeFiles fs;
    RawTicker d('D', Fri31Dec1999, 8000);
    d.U16(1024 + 16, 7); // index 1: Monday 3 January 2000
    int day64 = DayOfIndex(Fri31Dec1999, 64);
    d.U16(2048, 64); // index 64: first record of block 2
    d.U16(1024 + 63 * 16, 63);
    RawTicker four('4', Fri31Dec1999, 8000);
    int day50 = DayOfIndex(Fri31Dec1999, 50), day51 = DayOfIndex(Fri31Dec1999, 51);
    four.U16(1024 + 50 * 20, 50);
    four.U16(1024 + 1020, 999); // the 4 spare bytes of block 1
    four.U16(2048, 51);
    fs.files = {{"d", d.bytes}, {"4", four.bytes}};

    TickerFile t = fs.Reader();
    t.SetFileName("d");
    t.SetDay(Mon3Jan2000);
    EXPECT_EQ(t.Open(), 7.0f);
    t.SetDay(Mon3Jan2000 - 1); // Sunday
    EXPECT_FALSE(t.HasRecord());
    EXPECT_EQ(t.Open(), 0.0f);
    EXPECT_EQ(t.Volume(), 0);
    t.SetDay(DayOfIndex(Fri31Dec1999, 63));
    EXPECT_EQ(t.Open(), 63.0f);
    t.SetDay(day64);
    EXPECT_EQ(t.Open(), 64.0f);

    t.SetFileName("4");
    t.SetDay(day50);
    EXPECT_EQ(t.Open(), 50.0f);
    t.SetDay(day51);
    EXPECT_EQ(t.Open(), 51.0f);
    EXPECT_EQ(WeekdayCount(day51) - WeekdayCount(Fri31Dec1999), 51);
}

TEST(TickerFile, DaysBeforeDayZeroAndNegativeFirstDay) {
    FakeFiles fs;
    // Stored -1000 is used as -1256 (a Friday); Monday -1253 is index 1.
    RawTicker d('D', -1000, 10);
    d.U16(1024 + 16, 11);
    int toDayZero = WeekdayCount(0) - WeekdayCount(-1256);
    d.U16(static_cast<size_t>(toDayZero / 64 + 1) * 1024 + static_cast<size_t>(toDayZero % 64) * 16,
          99);
    fs.files = {{"d", d.bytes}};
    TickerFile t = fs.Reader();
    t.SetFileName("d");
    EXPECT_EQ(t.FirstDay(), -1256);
    t.SetDay(-1253);
    EXPECT_EQ(t.Open(), 11.0f);
    t.SetDay(0); // Monday 31 December 1979 follows Friday 28 December
    EXPECT_EQ(t.Open(), 99.0f);
    EXPECT_EQ(WeekdayCount(0) - WeekdayCount(-3), 1);
    EXPECT_EQ(WeekdayCount(-7) - WeekdayCount(-10), 1);
    EXPECT_EQ(WeekdayCount(7) - WeekdayCount(0), 5);
}

TEST(TickerFile, HeaderFactsAndVolume) {
    FakeFiles fs;
    RawTicker d('D', Fri31Dec1999, Mon3Jan2000, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789XYZ");
    d.I32(1024 + 12, -5);
    RawTicker blank('D', Fri31Dec1999, Mon3Jan2000, "");
    blank.bytes[55] = 'D';
    blank.bytes[43] = 'F';
    fs.files = {{"d", d.bytes}, {"blank", blank.bytes}};
    TickerFile t = fs.Reader();
    t.SetFileName("d");
    EXPECT_EQ(t.SecurityName(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345678"); // 35 characters
    EXPECT_TRUE(t.StatusIsA());
    EXPECT_EQ(t.KindCode(), 'S');
    EXPECT_EQ(t.FirstDay(), Fri31Dec1999);
    EXPECT_EQ(t.LastDay(), Mon3Jan2000);
    t.SetDay(Fri31Dec1999);
    EXPECT_EQ(t.Volume(), 2147483647);
    t.SetFileName("blank");
    EXPECT_EQ(t.SecurityName(), " ");
    EXPECT_FALSE(t.StatusIsA());
    EXPECT_EQ(t.KindCode(), 'F');
}

TEST(TickerFile, ReopensAndRereadsOnlyOnChange) {
    FakeFiles fs;
    RawTicker a('D', Fri31Dec1999, 8000), b('D', Fri31Dec1999, 8000);
    fs.files = {{"a", a.bytes}, {"b", b.bytes}};
    TickerFile t = fs.Reader();
    t.SetFileName("a");
    t.SetFileName("a");
    EXPECT_EQ(fs.opens, 1);
    int afterOpen = fs.reads;
    t.SetDay(Mon3Jan2000);
    t.SetDay(Mon3Jan2000);
    EXPECT_EQ(fs.reads, afterOpen + 1);
    for (int d = Mon3Jan2000; d < Mon3Jan2000 + 50; ++d) t.SetDay(d); // all in block 1
    EXPECT_EQ(fs.reads, afterOpen + 1);
    t.SetDay(DayOfIndex(Fri31Dec1999, 64));
    EXPECT_EQ(fs.reads, afterOpen + 2);
    t.SetFileName("b"); // a new file re-reads even the same block number
    t.SetDay(Mon3Jan2000);
    EXPECT_EQ(fs.opens, 2);
    t.SetFileName("A"); // names compare exactly
    EXPECT_EQ(fs.opens, 3);
    EXPECT_FALSE(t.IsOpen());
    EXPECT_EQ(t.CurrentDay(), Mon3Jan2000);
}

TEST(TickerFile, BrokenFilesReadAsNoData) {
    FakeFiles fs;
    RawTicker good('D', Fri31Dec1999, 8000);
    good.U16(1024, 5);
    std::vector<std::uint8_t> badSig = good.bytes;
    badSig[71] = 'z';
    RawTicker backwards('D', 8000, Fri31Dec1999);
    RawTicker pastEnd('D', Fri31Dec1999, 30000); // far beyond the 1 block it has
    pastEnd.U16(1024, 5);
    RawTicker odd('X', Fri31Dec1999, 8000);
    odd.U16(1024, 5);
    RawTicker sunday('D', Fri31Dec1999 + 2, 8000); // first day on a weekend
    sunday.U16(1024, 5);
    fs.files = {
        {"empty", {}},
        {"short", std::vector<std::uint8_t>(good.bytes.begin(), good.bytes.begin() + 500)},
        {"header", std::vector<std::uint8_t>(good.bytes.begin(), good.bytes.begin() + 1023)},
        {"badsig", badSig},
        {"backwards", backwards.bytes},
        {"pastend", pastEnd.bytes},
        {"odd", odd.bytes},
        {"sunday", sunday.bytes}};
    for (const char* name : {"empty", "short", "header", "badsig", "missing"}) {
        TickerFile t = fs.Reader();
        t.SetFileName(name);
        t.SetDay(Fri31Dec1999);
        EXPECT_FALSE(t.IsOpen()) << name;
        EXPECT_EQ(t.FirstDay(), 0) << name;
        EXPECT_EQ(t.LastDay(), 0) << name;
        EXPECT_EQ(t.SecurityName(), " ") << name;
        EXPECT_EQ(t.KindCode(), '\0') << name;
        EXPECT_EQ(t.Close(), 0.0f) << name;
    }
    TickerFile t = fs.Reader();
    t.SetFileName("backwards");
    for (int d = Fri31Dec1999 - 5; d < 8005; ++d) {
        t.SetDay(d);
        ASSERT_FALSE(t.HasRecord()) << d;
    }
    t.SetFileName("pastend");
    t.SetDay(Fri31Dec1999);
    EXPECT_EQ(t.Open(), 5.0f);
    t.SetDay(29000); // block far past the end: zeros, not the previous block
    EXPECT_EQ(t.Open(), 0.0f);
    EXPECT_EQ(t.Volume(), 0);
    t.SetFileName("odd");
    EXPECT_TRUE(t.IsOpen());
    t.SetDay(Fri31Dec1999);
    EXPECT_EQ(t.Open(), 0.0f);
    EXPECT_EQ(t.Volume(), 0);
    t.SetFileName("sunday");
    t.SetDay(Fri31Dec1999 + 3); // Monday: before the first record by weekday count
    EXPECT_EQ(t.Open(), 0.0f);
}

TEST(TickerFile, ReadsWhatTheWriterWrote) {
    testutil::TempDir dir;
    for (char format : {'D', 'F', '4', 'I'}) {
        hostgen::TickerSpec spec;
        spec.format = format;
        spec.firstDay = Fri31Dec1999;
        spec.lastDay = Fri31Dec1999 + 400;
        std::int64_t tick = 12345;
        for (int d = spec.firstDay; d <= spec.lastDay; ++d) {
            if (WeekdayOf(d) > 4) continue;
            tick = (tick * 1103515245 + 12345) % 600000 + 1;
            spec.records.push_back(
                {{tick, tick + 31, tick / 2 + 1, tick + 7}, static_cast<std::int32_t>(tick)});
        }
        std::vector<std::uint8_t> bytes = hostgen::EncodeTicker(spec);
        std::filesystem::path path = dir / (std::string(1, format) + ".DTA");
        testutil::WriteFile(path, std::string(bytes.begin(), bytes.end()));
        TickerFile t;
        t.SetFileName(path.string());
        size_t i = 0;
        double tpu = hostgen::TicksPerUnit(format);
        for (int d = spec.firstDay; d <= spec.lastDay; ++d) {
            t.SetDay(d);
            if (WeekdayOf(d) > 4) continue;
            const hostgen::DayRecord& r = spec.records[i++];
            ASSERT_FLOAT_EQ(t.Open(), static_cast<float>(r.ticks[0] / tpu)) << format << d;
            ASSERT_FLOAT_EQ(t.High(), static_cast<float>(r.ticks[1] / tpu));
            ASSERT_FLOAT_EQ(t.Low(), static_cast<float>(r.ticks[2] / tpu));
            ASSERT_FLOAT_EQ(t.Close(), static_cast<float>(r.ticks[3] / tpu));
            ASSERT_EQ(t.Volume(), r.volume);
        }
    }
}

// The range readers give what SetDay gives, day for day, and read runs of blocks, not blocks.
TEST(TickerFile, RangeReadersAgreeWithDayByDay) {
    FakeFiles fs;
    const int sunday = Fri31Dec1999 + 2, last = Fri31Dec1999 + 7000; // about 5000 records
    RawTicker d('D', sunday, last), four('4', -1000, 10);            // four's first day is -1256
    // Every byte of the records set, truncated part way through the promised range.
    for (size_t at = 1024; at < 1024 + 60 * 1024; ++at) d.U8(at, static_cast<int>(at * 7 % 251));
    for (size_t at = 1024; at < 1024 + 40 * 1024; ++at) four.U8(at, static_cast<int>(at % 253));
    fs.files = {{"d", d.bytes}, {"4", four.bytes}, {"odd", RawTicker('X', sunday, last).bytes}};
    struct Range {
        const char* file;
        int from, to;
    };
    for (Range r : {Range{"d", sunday - 10, last + 10}, Range{"d", sunday + 4000, sunday + 4100},
                    Range{"d", last - 3, last - 3}, Range{"d", sunday + 5, sunday + 4},
                    Range{"4", -1300, 20}, Range{"odd", sunday, sunday + 30}}) {
        TickerFile bulk = fs.Reader(), single = fs.Reader();
        bulk.SetFileName(r.file);
        single.SetFileName(r.file);
        const int readsBefore = fs.reads;
        std::vector<TickerFile::Bar> bars;
        std::vector<float> closes;
        bulk.ReadBars(r.from, r.to, bars);
        bulk.ReadCloses(r.from, r.to, closes);
        EXPECT_LE(fs.reads - readsBefore, 2 * (1 + (r.to - r.from) / 4000)) << r.file << r.from;
        size_t i = 0;
        for (int day = r.from; day <= r.to; ++day) {
            if (WeekdayOf(day) > 4) continue;
            single.SetDay(day);
            ASSERT_LT(i, bars.size()) << r.file << day;
            const TickerFile::Bar& b = bars[i];
            ASSERT_EQ(b.open, single.Open()) << r.file << day;
            ASSERT_EQ(b.high, single.High()) << r.file << day;
            ASSERT_EQ(b.low, single.Low()) << r.file << day;
            ASSERT_EQ(b.close, single.Close()) << r.file << day;
            ASSERT_EQ(closes[i], single.Close()) << r.file << day;
            ASSERT_EQ(b.volume, single.Volume()) << r.file << day;
            ++i;
        }
        EXPECT_EQ(i, bars.size()) << r.file;
        EXPECT_EQ(i, closes.size()) << r.file;
    }
}
