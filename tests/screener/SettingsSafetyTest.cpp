// Filter settings files edited by hand or damaged reach the engine without the dialog: every
// value that feeds arithmetic or chooses from a list must load safe.
#include "platform/Profile.h"
#include "screener/engine/FilterPlan.h"
#include "support/TestUtil.h"

#include <climits>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

int Day(int y, int m, int d) {
    return hostdb::MarketCalendar::DateToDay(hostdb::EncodeDate(y, m, d));
}

const int Last = Day(2026, 12, 4);

screener::FilterSettings LoadVni(const std::string& body, std::string* problem = nullptr) {
    testutil::TempDir dir;
    testutil::WriteFile(dir / "T.VNI", "[Filter]\r\n" + body);
    return screener::LoadSettings(dir.Path(), "T", platform::Locale::Posix(), problem);
}

} // namespace

TEST(FilterSettingsLoad, OutOfRangeValuesLoadSafe) {
    const screener::FilterSettings d;
    struct Case {
        const char* line;
        int screener::FilterSettings::*field;
        int expected;
    } cases[] = {
        {"Page=12", &screener::FilterSettings::Page, d.Page},
        {"Page=-1", &screener::FilterSettings::Page, d.Page},
        {"TradeChoice=2", &screener::FilterSettings::TradeChoice, 0},
        {"EvalDays=2147483647", &screener::FilterSettings::EvalDays, 999},
        {"EvalDays=-3", &screener::FilterSettings::EvalDays, 0},
        {"NewHighWeeks=100000000", &screener::FilterSettings::NewHighWeeks, 999},
        {"NewLowWeeks=-2147483648", &screener::FilterSettings::NewLowWeeks, 0},
        {"GapUpDays=50", &screener::FilterSettings::GapUpDays, 9},
        {"GapDownDays=-1", &screener::FilterSettings::GapDownDays, 0},
        {"VolumeDays=0", &screener::FilterSettings::VolumeDays, 1},
        {"VolumeDays=11", &screener::FilterSettings::VolumeDays, 9},
        {"MinVolume=-2147483648", &screener::FilterSettings::MinVolume, INT_MIN},
        {"NewHighWeeks=999", &screener::FilterSettings::NewHighWeeks, 999},
        {"VolumeDays=9", &screener::FilterSettings::VolumeDays, 9},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoadVni(std::string(c.line) + "\r\n").*c.field, c.expected) << c.line;
    // A number no float holds is no number.
    EXPECT_EQ(LoadVni("MinClose=1e999\r\nVolumeAbovePerC=-1e400\r\n").MinClose, 5.00f);
    EXPECT_EQ(LoadVni("VolumeAbovePerC=1e39\r\n").VolumeAbovePerC, 150.0f);
}

TEST(FilterSettingsLoad, NamesWithoutRegardToCaseAndOversizedFiles) {
    testutil::TempDir dir;
    testutil::WriteFile(dir / "Mine.vni", "[filter]\r\nPage=3\r\n");
    EXPECT_EQ(screener::LoadSettings(dir.Path(), "MINE", platform::Locale::Posix()).Page, 3);
    // Saving under another case writes that file rather than a second one.
    screener::FilterSettings s;
    s.Page = 5;
    screener::SaveSettings(s, dir.Path(), "mine", platform::Locale::Posix());
    std::vector<std::string> names; // the writers' hidden lock file aside
    for (const auto& e : fs::directory_iterator(dir.Path()))
        if (e.path().filename().string()[0] != '.') names.push_back(e.path().filename());
    EXPECT_EQ(names, std::vector<std::string>{"Mine.vni"});
    EXPECT_EQ(screener::LoadSettings(dir.Path(), "Mine", platform::Locale::Posix()).Page, 5);

    std::string problem;
    screener::FilterSettings big =
        LoadVni("Page=4\r\n" + std::string(platform::MaxProfileSize, ';'), &problem);
    EXPECT_EQ(big, screener::FilterSettings{});
    EXPECT_EQ(problem, "is larger than 1 MB");
}

TEST(FilterPlan, EvaluationOnlyWhenPricesCanExist) {
    hostdb::MarketCalendar calendar;
    screener::FilterSettings s;
    s.EvalDays = 2147483647;
    screener::FilterPlan plan;
    // Three trading days before the last market date: at most 2 days.
    ASSERT_TRUE(screener::MakeFilterPlan(s, "26120110.vds", Last, calendar, plan));
    EXPECT_EQ(plan.marketDay, Day(2026, 12, 1));
    EXPECT_TRUE(plan.settings.DoEval);
    EXPECT_EQ(plan.settings.EvalDays, 2);
    EXPECT_EQ(plan.evalOpenDay, Day(2026, 12, 2));
    EXPECT_EQ(plan.evalCloseDay, Last);
    EXPECT_EQ(plan.titles.openDayText, "12/2/26");
    EXPECT_EQ(plan.titles.closeDayText, "12/4/26");

    // On the last market date the run has no evaluation, whatever the settings say.
    ASSERT_TRUE(screener::MakeFilterPlan(s, "26120410.vds", Last, calendar, plan));
    EXPECT_FALSE(plan.settings.DoEval);
    EXPECT_FALSE(plan.titles.doEval);
    EXPECT_TRUE(s.DoEval); // the record itself is not changed

    EXPECT_FALSE(screener::MakeFilterPlan(s, "26133110.vds", Last, calendar, plan));
    EXPECT_FALSE(screener::MakeFilterPlan(s, "notadate.vds", Last, calendar, plan));
}
