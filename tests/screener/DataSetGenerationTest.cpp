// Data sets: the name codec, record fields at their offsets, reading and its errors, and the
// generation's market date, gaps, runs, volume percentages and Stop.
#include "screener/engine/DataSetGeneration.h"

#include "hostdb/TradingDays.h"
#include "support/TestUtil.h"
#include "tools/make-host/HostWriter.h"

#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace screener;
using hostdb::WeekdayOf;

namespace {

// One weekday of a test ticker; a zero close makes a day without data.
struct Bar {
    double high = 11, low = 9, close = 10;
    std::int32_t volume = 100;
};
const Bar NoData{0, 0, 0, 0};

int Day(int y, int m, int d) {
    return hostdb::MarketCalendar::DateToDay(hostdb::EncodeDate(y, m, d));
}

// bars[j] is the j-th weekday before M (bars[0] is M itself); the file starts at the last one.
std::vector<std::uint8_t> Ticker(int M, const std::vector<Bar>& bars, char kind = 'S',
                                 char status = 'A') {
    hostgen::TickerSpec spec;
    spec.name = "Test Ticker Inc";
    spec.kind = kind;
    spec.status = status;
    spec.lastDay = M;
    int d = M;
    for (size_t j = 0; j < bars.size(); ++j) {
        if (j > 0) do
                --d;
            while (WeekdayOf(d) > 4);
        const Bar& b = bars[j];
        auto t = [](double p) { return static_cast<std::int64_t>(p * 100 + 0.5); };
        spec.records.insert(
            spec.records.begin(),
            hostgen::DayRecord{{t(b.close), t(b.high), t(b.low), t(b.close)}, b.volume});
    }
    spec.firstDay = d;
    return hostgen::EncodeTicker(spec);
}

// Ticker files held in memory; records which blocks each open read.
struct Files {
    std::map<std::string, std::vector<std::uint8_t>> bytes;
    std::vector<std::uint64_t> blockReads;

    struct Source : hostdb::ByteSource {
        Source(const std::vector<std::uint8_t>& b, std::vector<std::uint64_t>& log)
            : mem(b), log(log) {}
        bool IsOpen() const override { return true; }
        std::uint64_t Size() const override { return mem.Size(); }
        std::size_t ReadSome(std::uint64_t off, void* buf, std::size_t n) const override {
            log.push_back(off);
            return mem.ReadSome(off, buf, n);
        }
        hostdb::MemoryByteSource mem;
        std::vector<std::uint64_t>& log;
    };

    hostdb::TickerFile::SourceOpener Opener() {
        return [this](const std::string& path) -> std::unique_ptr<hostdb::ByteSource> {
            auto it = bytes.find(path);
            if (it == bytes.end()) return nullptr;
            return std::make_unique<Source>(it->second, blockReads);
        };
    }

    // Builds one record the way a run does.
    bool Build(const std::string& path, int M, int N, DataSetRecord& r) {
        hostdb::MarketCalendar calendar;
        hostdb::TickerFile reader(Opener());
        return BuildRecord(reader, path, M, hostdb::PreviousTradingDay(calendar, M), N, r);
    }
};

const int Wed = Day(2026, 12, 2);

std::vector<Bar> Flat(size_t n) { return std::vector<Bar>(n); }

} // namespace

TEST(DataSetName, BothDirections) {
    EXPECT_EQ(DataSetFileName(2000, 1, 27, 10), "00012710.vds");
    EXPECT_EQ(DataSetFileName(1998, 3, 5, 5), "98030505.vds");
    EXPECT_EQ(DataSetFileName(Day(2001, 9, 9), 5), "01090905.vds");
    EXPECT_EQ(DataSetFileName(Day(2026, 12, 4), 99), "26120499.vds");

    int day = 0;
    ASSERT_TRUE(DataSetDay("01090905.vds", day));
    EXPECT_EQ(day, Day(2001, 9, 9));
    ASSERT_TRUE(DataSetDay("26120410.vds", day));
    EXPECT_EQ(day, Day(2026, 12, 4));
    ASSERT_TRUE(DataSetDay("99123110.vds", day));
    EXPECT_EQ(day, Day(1999, 12, 31));
    ASSERT_TRUE(DataSetDay("80010210.vds", day));
    EXPECT_EQ(day, Day(1980, 1, 2));
    EXPECT_EQ(DecodeDataSetName("79123110.vds").year, 2079);
    DataSetNameParts p = DecodeDataSetName("00012710.vds");
    EXPECT_EQ(p.year, 2000);
    EXPECT_EQ(p.month, 1);
    EXPECT_EQ(p.day, 27);
    EXPECT_EQ(p.moveAveLength, 10);

    for (const char* bad : {"00130110.vds", "000230.vds", "0001xx10.vds", "x", ""})
        EXPECT_FALSE(DataSetDay(bad, day)) << bad;
    // A group that is not a number reads as 0.
    ASSERT_TRUE(DataSetDay("ab012710.vds", day));
    EXPECT_EQ(day, Day(2000, 1, 27));
}

TEST(DataSetRecord, FieldsAtTheirOffsets) {
    DataSetRecord r;
    r.Symbol = "ABCDEFGHIJK"; // cut to 9
    r.Name = "N";
    r.Close = 12.5f;
    r.Change = -0.25f;
    r.HighRun = 1, r.PrevHighRun = 2, r.LowRun = 3, r.PrevLowRun = 4, r.GapUpAge = -1,
    r.GapDownAge = 9;
    r.Volume = 0x01020304;
    r.VolumePercent[0] = -1000;
    r.VolumePercent[9] = 1.0f;
    std::uint8_t b[111];
    r.Encode(b);
    EXPECT_EQ(b[0], 9);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(b + 1), 9), "ABCDEFGHI");
    EXPECT_EQ(b[10], 1);
    EXPECT_EQ(b[11], 'N');
    EXPECT_EQ(b[12], 0);
    const std::uint8_t close[4] = {0x00, 0x00, 0x48, 0x41}; // 12.5f
    EXPECT_EQ(std::memcmp(b + 47, close, 4), 0);
    EXPECT_EQ(b[55], 1);
    EXPECT_EQ(b[63], 0xFF); // -1
    EXPECT_EQ(b[64], 0xFF);
    EXPECT_EQ(b[65], 9);
    EXPECT_EQ(b[67], 0x04);
    EXPECT_EQ(b[70], 0x01);
    const std::uint8_t one[4] = {0x00, 0x00, 0x80, 0x3F};
    EXPECT_EQ(std::memcmp(b + 107, one, 4), 0);

    DataSetRecord back = DataSetRecord::Decode(b);
    EXPECT_EQ(back.Symbol, "ABCDEFGHI");
    EXPECT_EQ(back.Change, -0.25f);
    EXPECT_EQ(back.GapDownAge, 9);
    EXPECT_EQ(back.Volume, 0x01020304);
    EXPECT_EQ(back.VolumePercent[0], -1000.0f);

    b[0] = 200; // a hostile length byte stays inside its field
    EXPECT_EQ(DataSetRecord::Decode(b).Symbol.size(), 9u);

    testutil::TempDir dir;
    std::string file(reinterpret_cast<char*>(b), 111);
    testutil::WriteFile(dir / "x.vds", file + file + "partial");
    EXPECT_EQ(ReadDataSet(dir / "x.vds").size(), 2u);
}

TEST(DataSetFile, ReaderGoesRecordByRecordAcrossBuffers) {
    // More records than one buffer holds, each telling its place, and a partial record.
    std::vector<std::uint8_t> bytes(700 * DataSetRecord::Size + 50);
    for (int i = 0; i < 700; ++i) {
        DataSetRecord r;
        r.Symbol = "S" + std::to_string(i);
        r.Volume = i;
        r.Encode(bytes.data() + i * DataSetRecord::Size);
    }
    hostdb::MemoryByteSource source(bytes);
    DataSetReader reader(source, "mem");
    EXPECT_EQ(reader.Count(), 700u);
    DataSetRecord r;
    int n = 0;
    while (reader.Next(r)) {
        ASSERT_EQ(r.Volume, n);
        ASSERT_EQ(r.Symbol, "S" + std::to_string(n));
        ++n;
    }
    EXPECT_EQ(n, 700);
    EXPECT_FALSE(reader.Next(r)); // stays at the end

    std::vector<std::uint8_t> tiny(110);
    hostdb::MemoryByteSource shortSource(tiny);
    DataSetReader none(shortSource, "mem");
    EXPECT_EQ(none.Count(), 0u);
    EXPECT_FALSE(none.Next(r));
}

TEST(DataSetFile, ErrorsNameThePathAndTheReason) {
    testutil::TempDir dir;
    auto message = [](const std::filesystem::path& p) {
        try {
            ReadDataSet(p);
        } catch (const std::runtime_error& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message(dir / "none.vds"), "Cannot open the data set " + (dir / "none.vds").string() +
                                             ": No such file or directory");
    EXPECT_EQ(message(dir.Path()),
              "Cannot open the data set " + dir.Path().string() + ": Is a directory");
}

TEST(DataSetGeneration, ChooseMarketDate) {
    hostdb::MarketCalendar calendar;
    const int last = Day(2026, 12, 4), thursday = Day(2026, 4, 2);
    EXPECT_EQ(ChooseMarketDate(calendar, last + 3, last), last);
    EXPECT_EQ(ChooseMarketDate(calendar, last, last), last);
    EXPECT_EQ(ChooseMarketDate(calendar, Day(2026, 4, 5), last), thursday); // Easter Sunday
    EXPECT_EQ(ChooseMarketDate(calendar, thursday, last), thursday);
}

TEST(DataSetGeneration, HeaderChecksAndPreviousTradingDay) {
    Files f;
    const int monday = Day(2026, 4, 6); // after Good Friday
    std::vector<Bar> bars = Flat(30);
    bars[1] = NoData; // Good Friday
    bars[2].close = 9.5;
    f.bytes["ok"] = Ticker(monday, bars);
    std::vector<Bar> noThursday = bars;
    noThursday[2] = NoData;
    f.bytes["nothu"] = Ticker(monday, noThursday);
    f.bytes["kind"] = Ticker(monday, bars, 'F');
    f.bytes["status"] = Ticker(monday, bars, 'S', 'D');
    f.bytes["starts"] = Ticker(monday, Flat(1)); // first day = market day
    f.bytes["notoday"] = Ticker(monday - 3, Flat(30));

    DataSetRecord r;
    ASSERT_TRUE(f.Build("ok", monday, 10, r));
    EXPECT_EQ(r.Close, 10.0f);
    EXPECT_EQ(r.Change, 0.5f);
    EXPECT_EQ(r.Symbol, "");
    EXPECT_EQ(r.Name, "Test Ticker Inc");
    for (const char* rejected : {"nothu", "kind", "status", "starts", "notoday", "missing"})
        EXPECT_FALSE(f.Build(rejected, monday, 10, r)) << rejected;

    f.bytes["/data/abcdefghijk.dta"] = Ticker(monday, bars);
    ASSERT_TRUE(f.Build("/data/abcdefghijk.dta", monday, 10, r));
    EXPECT_EQ(r.Symbol, "ABCDEFGHI");
}

TEST(DataSetGeneration, GapAges) {
    Files f;
    // Everything up to and including bar k sits 10 above the rest: bar k gapped up.
    auto stepped = [](int k, double by) {
        std::vector<Bar> bars = Flat(40);
        for (int j = 0; j <= k; ++j) bars[j] = {11 + by, 9 + by, 10 + by, 100};
        return bars;
    };
    const std::pair<int, int> cases[] = {{0, 0}, {1, 1}, {9, 9}, {10, -1}, {20, -1}};
    for (auto [k, age] : cases) {
        DataSetRecord up, down;
        f.bytes["up"] = Ticker(Wed, stepped(k, 10));
        f.bytes["down"] = Ticker(Wed, stepped(k, -5));
        ASSERT_TRUE(f.Build("up", Wed, 10, up));
        ASSERT_TRUE(f.Build("down", Wed, 10, down));
        EXPECT_EQ(up.GapUpAge, age) << k;
        EXPECT_EQ(up.GapDownAge, -1) << k;
        EXPECT_EQ(down.GapDownAge, age) << k;
        EXPECT_EQ(down.GapUpAge, -1) << k;
    }
    // Touching prices are no gap; a day without data is passed over and not counted.
    std::vector<Bar> touch = Flat(40);
    touch[0] = {12, 11, 11.5, 100};
    DataSetRecord r;
    f.bytes["touch"] = Ticker(Wed, touch);
    ASSERT_TRUE(f.Build("touch", Wed, 10, r));
    EXPECT_EQ(r.GapUpAge, -1);
    std::vector<Bar> hole = stepped(9, 10);
    hole[3] = NoData;
    f.bytes["hole"] = Ticker(Wed, hole);
    ASSERT_TRUE(f.Build("hole", Wed, 10, r));
    EXPECT_EQ(r.GapUpAge, 8);
}

TEST(DataSetGeneration, RunsWithTiesAndRecords) {
    Files f;
    std::vector<Bar> bars = Flat(60);
    bars[0] = {11, 9, 10, 100};
    for (int j = 1; j <= 5; ++j) bars[j].high = 11; // ties continue
    bars[3] = NoData;                               // passed over, not counted
    bars[6].high = 11.01;                           // strictly higher ends it
    bars[1].low = 9;                                // ties for the low run too
    bars[2].low = 8.99;
    f.bytes["t"] = Ticker(Wed, bars);
    DataSetRecord r;
    ASSERT_TRUE(f.Build("t", Wed, 10, r));
    EXPECT_EQ(r.HighRun, 4);
    EXPECT_EQ(r.LowRun, 1);
    EXPECT_EQ(r.PrevHighRun, 3); // from the previous day (high 11), back to bar 6
    EXPECT_EQ(r.PrevLowRun, 0);  // the previous day's low 9 is above bar 2's

    // A high above every earlier one: the run is every earlier day with a high.
    std::vector<Bar> record = Flat(700); // several blocks of history
    record[0] = {50, 45, 48, 100};
    record[100] = NoData;
    record[400] = NoData;
    f.bytes["rec"] = Ticker(Wed, record);
    f.blockReads.clear();
    ASSERT_TRUE(f.Build("rec", Wed, 10, r));
    EXPECT_EQ(r.HighRun, 697);
    std::set<std::uint64_t> distinct(f.blockReads.begin(), f.blockReads.end());
    EXPECT_EQ(distinct.size(), f.blockReads.size()) << "a block was read twice";
}

TEST(DataSetGeneration, VolumePercentages) {
    Files f;
    DataSetRecord r;
    // 12 closes up to the market day with N = 10: entries 0 and 1 only.
    std::vector<Bar> twelve = Flat(14);
    twelve[0].volume = 200;
    twelve[1].volume = 150;
    twelve[5] = NoData; // not one of the twelve
    twelve[13] = NoData;
    f.bytes["12"] = Ticker(Wed, twelve);
    ASSERT_TRUE(f.Build("12", Wed, 10, r));
    EXPECT_NEAR(r.VolumePercent[0], (200.0 / 105.0 - 1) * 100, 1e-4); // avg of 150 and 9 x 100
    EXPECT_EQ(r.VolumePercent[1], 50.0f);
    for (int k = 2; k < 10; ++k) EXPECT_EQ(r.VolumePercent[k], -1000.0f) << k;

    // N = 99: entry 9 needs 109 closes.
    f.bytes["109"] = Ticker(Wed, Flat(109));
    f.bytes["108"] = Ticker(Wed, Flat(108));
    ASSERT_TRUE(f.Build("109", Wed, 99, r));
    EXPECT_EQ(r.VolumePercent[9], 0.0f);
    ASSERT_TRUE(f.Build("108", Wed, 99, r));
    EXPECT_EQ(r.VolumePercent[8], 0.0f);
    EXPECT_EQ(r.VolumePercent[9], -1000.0f);

    // No volume before the market day: 0, not a fault.
    std::vector<Bar> silent = Flat(30);
    for (Bar& b : silent) b.volume = 0;
    silent[0].volume = 500;
    f.bytes["silent"] = Ticker(Wed, silent);
    ASSERT_TRUE(f.Build("silent", Wed, 10, r));
    EXPECT_EQ(r.VolumePercent[0], 0.0f);
    EXPECT_EQ(r.Volume, 500);

    // Volumes stored negative read as 2147483647; their sum must not wrap.
    std::vector<Bar> huge = Flat(30);
    for (int j = 0; j <= 10; j += 2) huge[j].volume = -5;
    f.bytes["huge"] = Ticker(Wed, huge);
    ASSERT_TRUE(f.Build("huge", Wed, 10, r));
    EXPECT_EQ(r.Volume, 2147483647);
    EXPECT_NEAR(r.VolumePercent[0], 100.0, 0.01); // twice the average of five giants and five 100s
}

TEST(DataSetGeneration, RunStopAndEmptyList) {
    Files f;
    testutil::TempDir dir;
    GenerateInput in;
    in.marketDay = Wed;
    in.outputPath = dir / DataSetFileName(Wed, 10);
    for (int i = 0; i < 5; ++i) {
        std::string path = "/d/T" + std::to_string(i) + ".DTA";
        f.bytes[path] = Ticker(Wed, Flat(30), i == 1 ? 'F' : 'S');
        in.tickerFiles.push_back(path);
    }
    hostdb::MarketCalendar calendar;
    std::vector<std::string> seen;
    std::string labels;
    in.onTicker = [&](const std::string& symbol, const std::string& name) {
        labels = symbol + " " + name;
    };
    GenerateResult all = GenerateDataSet(
        in, calendar,
        [&](std::int64_t done, std::int64_t total) {
            seen.push_back(std::to_string(done) + "/" + std::to_string(total) + " " + labels);
            return true;
        },
        f.Opener());
    EXPECT_EQ(all.accepted, 4);
    EXPECT_EQ(ReadDataSet(in.outputPath).size(), 4u);
    EXPECT_EQ(seen[0], "1/5 T0 Test Ticker Inc");
    EXPECT_EQ(seen[1], "2/5 T1  "); // rejected before its name was read

    // Stopped: a new set keeps what was read, an existing one is not replaced by a part.
    const auto stopAt3 = [](std::int64_t done, std::int64_t) { return done < 3; };
    GenerateResult stopped = GenerateDataSet(in, calendar, stopAt3, f.Opener());
    EXPECT_TRUE(stopped.stopped && stopped.keptEarlier && !stopped.written);
    EXPECT_EQ(stopped.visited, 3);
    EXPECT_EQ(ReadDataSet(in.outputPath).size(), 4u);
    const std::filesystem::path whole = in.outputPath;
    in.outputPath = dir / DataSetFileName(Wed, 11);
    stopped = GenerateDataSet(in, calendar, stopAt3, f.Opener());
    EXPECT_TRUE(stopped.stopped && stopped.written && !stopped.keptEarlier);
    std::vector<DataSetRecord> kept = ReadDataSet(in.outputPath);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[1].Symbol, "T2");
    in.outputPath = whole;

    in.tickerFiles.clear();
    GenerateResult none = GenerateDataSet(in, calendar, {}, f.Opener());
    EXPECT_FALSE(none.written);
    EXPECT_TRUE(std::filesystem::exists(in.outputPath));
    EXPECT_EQ(std::filesystem::file_size(in.outputPath), 0u);

    for (int length : {0, -5, 100}) {
        GenerateInput bad = in;
        bad.moveAveLength = length;
        bad.outputPath = dir / "bad-length.vds";
        EXPECT_THROW(GenerateDataSet(bad, calendar, {}, f.Opener()), std::runtime_error) << length;
        EXPECT_FALSE(std::filesystem::exists(bad.outputPath));
    }

    in.outputPath = dir / "no-such-dir" / "x.vds";
    try {
        GenerateDataSet(in, calendar, {}, f.Opener());
        FAIL() << "expected an error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("no-such-dir/x.vds: No such file or directory"),
                  std::string::npos)
            << e.what();
    }
}
