// The screener's filter settings files: defaults, round trip and bad values, captions and titles,
// evaluation days, and the settings text.
#include "screener/engine/FilterSettings.h"
#include "screener/engine/SettingsText.h"
#include "support/TestUtil.h"

#include <gtest/gtest.h>

using namespace screener;

namespace {

int Day(int y, int m, int d) {
    return hostdb::MarketCalendar::DateToDay(hostdb::EncodeDate(y, m, d));
}

} // namespace

TEST(FilterSettingsFile, DefaultsRoundTripAndBadValues) {
    testutil::TempDir dir;
    platform::Locale loc;
    FilterSettings defaults;
    EXPECT_EQ(LoadSettings(dir.Path(), "", loc), defaults);
    EXPECT_EQ(LoadSettings(dir.Path(), "NONE", loc), defaults);

    FilterSettings s;
    s.Page = PageCombo;
    s.MinClose = 7.5f;
    s.NewLowB = true;
    s.CloseUpMaxPerC = 12.25f;
    s.VolumeDays = 3;
    s.Compare = " SPX ; ;RUT;";
    SaveSettings(s, dir.Path(), "MINE", loc);
    std::string text = testutil::ReadFile(dir / "MINE.VNI");
    EXPECT_EQ(
        text.rfind("[Filter]\r\nPage=9\r\nMinClose=7.50\r\nMinVolume=10\r\nNewHighA=1\r\n", 0), 0u)
        << text;
    EXPECT_NE(text.find("\r\nVolumeBelowPerC=30.00\r\nDoEval=1\r\nTradeChoice=0\r\nEvalDays=4\r\n"
                        "Compare= SPX ; ;RUT;\r\n"),
              std::string::npos);
    FilterSettings back = LoadSettings(dir.Path(), "MINE", loc);
    back.Compare = s.Compare; // values are trimmed on reading
    EXPECT_EQ(back, s);

    // Comma as the decimal separator is written and read back.
    platform::Locale comma;
    comma.decimalSeparator = ',';
    SaveSettings(s, dir.Path(), "KOMMA", comma);
    EXPECT_NE(testutil::ReadFile(dir / "KOMMA.VNI").find("MinClose=7,50"), std::string::npos);
    EXPECT_EQ(LoadSettings(dir.Path(), "KOMMA", comma).MinClose, 7.5f);

    testutil::WriteFile(dir / "BAD.VNI", "[Filter]\nMinClose=abc\nNewHighWeeks=x\nDoEval=2\n"
                                         "CloseUpMinDollar= 1.25 \nVolumeAbovePerC=1e2\n"
                                         "VolumeBelowPerC=12.5.1\nTradeChoice=1\nCompare=rut\n");
    FilterSettings bad = LoadSettings(dir.Path(), "BAD", loc);
    EXPECT_EQ(bad.MinClose, 5.0f);
    EXPECT_EQ(bad.NewHighWeeks, 39);
    EXPECT_TRUE(bad.DoEval);
    EXPECT_EQ(bad.CloseUpMinDollar, 1.25f);
    EXPECT_EQ(bad.VolumeAbovePerC, 100.0f);
    EXPECT_EQ(bad.VolumeBelowPerC, 30.0f);
    EXPECT_EQ(bad.TradeChoice, 1);
    EXPECT_EQ(bad.Compare, "RUT"); // upper case, as the dialog takes it

    float v;
    for (const char* no : {"", "-", ".", "1,5", "0x10", "inf", "nan", "1e", "--1"})
        EXPECT_FALSE(ParseSettingsFloat(no, '.', v)) << no;
    EXPECT_TRUE(ParseSettingsFloat("-.5", '.', v));
    EXPECT_EQ(v, -0.5f);
    EXPECT_THROW(SaveSettings(s, dir / "no-such-dir", "X", loc), std::runtime_error);
}

TEST(FilterSettingsFile, CaptionsAndTitles) {
    EXPECT_EQ(FilterCaption(PageLow, "", false), "Filter: Low ");
    EXPECT_EQ(FilterCaption(PageGapD, "MINE", true), "Filter: GapD \"MINE\" (mod)");
    EXPECT_EQ(FilterCaption(PageVolD, "", true), "Filter: VolD  (mod)");
    EXPECT_EQ(FilterDialogTitle("MINE", false), "Zolt Filter Settings (MINE)");
    EXPECT_EQ(FilterDialogTitle("MINE", true), "Zolt Filter Settings (MINE - modified)");
    EXPECT_EQ(FilterDialogTitle("", true), "Zolt Filter Settings (modified)");
    EXPECT_EQ(FilterDialogTitle("", false), "Zolt Filter Settings");
    EXPECT_EQ(DoItCaption(true), "&Filter using these unsaved settings");
    EXPECT_EQ(DoItCaption(false), "&Filter using these settings");
}

TEST(FilterSettingsFile, EvaluationDays) {
    hostdb::MarketCalendar cal;
    // Friday 3 July 2026 is the holiday for the 4th; Thursday 2 July is the market date.
    const int thu = Day(2026, 7, 2);
    EXPECT_EQ(hostdb::EvalOpenDay(cal, thu), Day(2026, 7, 6));
    EXPECT_EQ(hostdb::EvalCloseDay(cal, thu, 0), Day(2026, 7, 6));
    EXPECT_EQ(hostdb::EvalCloseDay(cal, thu, 4), Day(2026, 7, 10));
    // A Friday before a Monday holiday (Labor Day 2026) opens on Tuesday.
    EXPECT_EQ(hostdb::EvalOpenDay(cal, Day(2026, 9, 4)), Day(2026, 9, 8));

    const int last = Day(2026, 12, 4);
    EXPECT_EQ(hostdb::MaxEvalDays(cal, Day(2026, 12, 1), last), 2);
    EXPECT_EQ(hostdb::MaxEvalDays(cal, last, last), -1);
    FilterSettings s;
    s.EvalDays = 9;
    EXPECT_EQ(LimitEvalDays(s, cal, Day(2026, 12, 1), last), 2);
    s.EvalDays = -3;
    EXPECT_EQ(LimitEvalDays(s, cal, Day(2026, 12, 1), last), 0);
    s.EvalDays = 9;
    EXPECT_EQ(LimitEvalDays(s, cal, last, last), 9); // not possible: untouched
    s.DoEval = false;
    EXPECT_EQ(LimitEvalDays(s, cal, Day(2026, 12, 1), last), 9);
}

TEST(SettingsText, Lines) {
    platform::Locale loc;
    hostdb::MarketCalendar cal(loc);
    std::string data = DataSetCaption("99123110.vds", cal);
    EXPECT_EQ(data, "Data: Friday, December 31, 1999 using a 10-day avg of volume");
    EXPECT_EQ(DataSetCaption("", cal), " ");

    FilterSettings s; // High, 39 weeks, just reached; $5.00 and 10 thousand shares
    std::vector<std::string> lines = BuildSettingsText(data, "Filter: High ", s, loc);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         data + ";  Filter: High ", " ",
                         "Show tickers that have just reached a 39-week High", " ",
                         "$5.00 minimum closing price, at least 10,000 shares/day, ", " "}));

    s.Page = PageUp;
    s.CloseUpDollar = false;
    s.CloseUpPerC = true;
    s.CloseUpMinPerC = 1, s.CloseUpMaxPerC = 5;
    EXPECT_EQ(BuildSettingsText("", "", s, loc)[2], "Show tickers that closed Up 1.0% to 5.0%.");
    s.CloseUpDollar = true;
    EXPECT_EQ(BuildSettingsText("", "", s, loc)[2],
              "Show tickers that closed Up $0.50 to $2.00 or 1.0% to 5.0%.");
    s.CloseUpPerC = false;
    EXPECT_EQ(BuildSettingsText("", "", s, loc)[2], "Show tickers that closed Up $0.50 to $2.00 ");

    s.Page = PageAll;
    s.MinClose = 0;
    s.MinVolume = 0;
    lines = BuildSettingsText("", "", s, loc);
    EXPECT_EQ(lines[2], "Showing all tickers");
    EXPECT_EQ(lines[4], "No minimum price, no minimum volume");
    s.MinClose = 1234.5f;
    EXPECT_EQ(BuildSettingsText("", "", s, loc)[4],
              "$1,234.50 minimum closing price, no minimum volume");

    FilterSettings c;
    c.Page = PageCombo;
    c.NewHighA = false;
    c.GapUpA = true;
    c.VolumeAboveB = true;
    lines = BuildSettingsText("", "", c, loc);
    EXPECT_EQ(
        std::vector<std::string>(lines.begin() + 2, lines.end() - 3),
        (std::vector<std::string>{
            "Show tickers that ", "        Gapped Up in the last 2 days", "but only if they also",
            "        have volumes at least 150% Above their moving average for the last 1 days"}));
    c = FilterSettings{};
    c.Page = PageCombo;
    c.NewLowA = true; // with NewHighA
    lines = BuildSettingsText("", "", c, loc);
    EXPECT_EQ(lines[3], "        have just reached a 39-week High, or");
    EXPECT_EQ(lines[4], "        have just reached a 39-week Low");
    c = FilterSettings{};
    c.Page = PageCombo;
    c.NewHighA = false;
    c.GapDownC = true;
    lines = BuildSettingsText("", "", c, loc);
    EXPECT_EQ(lines.size(), 7u); // no "but only if they also"
    EXPECT_EQ(lines[3], "        Gapped Down in the last 2 days");
}
