// The ticker rules both programs share: the symbol from the file name, eligibility around the
// market day, and trade prices.
#include "hostdb/TickerRules.h"

#include "support/TestUtil.h"
#include "tools/make-host/HostWriter.h"

#include <gtest/gtest.h>

using namespace hostdb;

namespace {

// Weekday records from first to last, open 10 and close 11 except on `missing`.
hostgen::TickerSpec Spec(int first, int last, char kind = 'S', char status = 'A',
                         int missing = -1) {
    hostgen::TickerSpec spec;
    spec.name = "Rules Co";
    spec.kind = kind;
    spec.status = status;
    spec.firstDay = first;
    spec.lastDay = last;
    for (int d = first; d <= last; ++d) {
        if (WeekdayOf(d) > 4) continue;
        hostgen::DayRecord r;
        if (d != missing) r.ticks = {1000, 1100, 1000, 1100};
        spec.records.push_back(r);
    }
    return spec;
}

TickerFile Open(const std::vector<std::uint8_t>& bytes) {
    TickerFile t([&](const std::string&) -> std::unique_ptr<ByteSource> {
        return std::make_unique<MemoryByteSource>(bytes);
    });
    t.SetFileName("t");
    return t;
}

} // namespace

TEST(TickerRules, SymbolOfFileName) {
    EXPECT_EQ(SymbolOfFileName("aapl.dta"), "AAPL");
    EXPECT_EQ(SymbolOfFileName("Brk.b.DTA"), "BRK.B");
    EXPECT_EQ(SymbolOfFileName("abcdefghijkl.dta"), "ABCDEFGHIJKL"); // no cut here
    EXPECT_EQ(SymbolOfFileName(".dta"), "");
    EXPECT_EQ(SymbolOfFileName("x"), "");
}

TEST(TickerRules, EligibleOnlyAroundTheMarketDay) {
    const int M = 17115; // Monday 9 November 2026
    auto eligible = [&](const hostgen::TickerSpec& spec) {
        std::vector<std::uint8_t> b = hostgen::EncodeTicker(spec);
        return IsEligible(Open(b), M);
    };
    EXPECT_TRUE(eligible(Spec(M - 7, M)));
    EXPECT_FALSE(eligible(Spec(M, M + 7)));     // nothing before M
    EXPECT_FALSE(eligible(Spec(M - 7, M - 3))); // ends before M
    EXPECT_FALSE(eligible(Spec(M - 7, M, 'F')));
    EXPECT_FALSE(eligible(Spec(M - 7, M, 'S', 'D')));
    std::vector<std::uint8_t> none;
    EXPECT_FALSE(IsEligible(Open(none), M));
}

TEST(TickerRules, TradePricesAndLookUp) {
    const int M = 17115;
    std::vector<std::uint8_t> b = hostgen::EncodeTicker(Spec(M - 7, M + 7, 'S', 'A', M + 2));
    TickerFile t = Open(b);
    TradePrices p = ReadTradePrices(t, M + 1, M + 3);
    EXPECT_FLOAT_EQ(p.open, 10.0f);
    EXPECT_FLOAT_EQ(p.close, 11.0f);
    EXPECT_TRUE(p.Complete());
    EXPECT_FALSE(ReadTradePrices(t, M + 2, M + 3).Complete()); // no record on the open day
    EXPECT_FALSE(ReadTradePrices(t, M + 1, M + 5).Complete()); // a Saturday

    testutil::TempDir dir;
    testutil::WriteFile(dir / "GOOD.DTA", std::string(b.begin(), b.end()));
    std::vector<std::uint8_t> d = hostgen::EncodeTicker(Spec(M - 7, M + 7, 'F', 'D'));
    testutil::WriteFile(dir / "notA.dta", std::string(d.begin(), d.end()));
    platform::Directories dirs;
    SearchPath search(dir.Path().string(), dirs);
    EvaluatedTicker found;
    ASSERT_TRUE(LookUpTradePrices(search, "GOOD", M + 1, M + 3, found));
    EXPECT_EQ(found.path.filename(), "GOOD.DTA");
    EXPECT_EQ(found.name, "Rules Co");
    EXPECT_TRUE(found.prices.Complete());
    EXPECT_FALSE(LookUpTradePrices(search, "NOTA", M + 1, M + 3, found)); // status D
    EXPECT_FALSE(LookUpTradePrices(search, "NONE", M + 1, M + 3, found));
}
