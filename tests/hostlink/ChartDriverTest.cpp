// The chart link's rules that need no Windows side: the chart title's words, the key walk, and
// the finder's chart driving against a chart that behaves as the host's does.
#include "hostlink/ChartDriver.h"

#include "finder/engine/FinderSettings.h"
#include "hostdb/Format.h"
#include "hostlink/ChartLink.h"
#include "hostlink/ChartTitle.h"
#include "hostlink/Keys.h"
#include "platform/Profile.h"
#include "support/NullHostLink.h"
#include "support/TestUtil.h"

#include <gtest/gtest.h>
#include <map>

using namespace hostlink;
namespace fs = std::filesystem;

namespace {

int Day(int y, int m, int d) {
    return hostdb::MarketCalendar::DateToDay(hostdb::EncodeDate(y, m, d));
}

// A chart program as the host's behaves: bars on given days, the cursor on a ticker's last bar
// when it is shown, Left and Right moving it one bar, the title "SYM mm/dd/yy (UP - DN)".
struct FakeChart : testutil::NullHostLink {
    std::map<std::string, std::vector<int>> bars;
    std::map<std::pair<std::string, int>, std::pair<int, int>> ratings;
    bool running = true, startable = true, hasMdi = true, showsTickers = true, takesPosts = true;
    Rect rect{100, 50, 800, 600}, screen{0, 0, 1600, 1000};
    bool maximised = true;
    std::string shown;
    std::size_t cursor = 0;
    std::vector<std::string> log;

    bool Post(const std::string&, int code, const std::string& text) override {
        log.push_back("post " + std::to_string(code) + " " + text);
        return true;
    }
    bool PostAndWait(const std::string&, const std::string& ticker) override {
        log.push_back("show " + ticker);
        if (showsTickers && bars.count(ticker)) shown = ticker, cursor = bars[ticker].size() - 1;
        return takesPosts;
    }
    WindowId FindWindow(const std::string& title) override {
        return running && title == ChartWindowTitle ? 7 : 0;
    }
    WindowId StartProgram(const std::string&, const std::string&) override {
        running = startable;
        log.push_back(startable ? "started" : "start failed");
        return running ? 7 : 0;
    }
    void Activate(WindowId) override { log.push_back("activate"); }
    bool GetPlacement(WindowId, Rect& r, bool& max) override {
        r = rect, max = maximised;
        return true;
    }
    void Move(WindowId, const Rect& r) override { rect = r; }
    void ShowNormal(WindowId) override { maximised = false; }
    void ShowMaximised(WindowId) override { maximised = true; }
    void CloseWindows(const std::string&) override {
        running = false;
        shown.clear();
        log.push_back("closed");
    }
    WindowId MdiClient(WindowId) override { return hasMdi ? 8 : 0; }
    std::string TopChildTitle(WindowId) override {
        if (shown.empty()) return "";
        int day = bars[shown][cursor];
        std::string title =
            shown + " " + hostdb::FormatDateTime("mm/dd/yy", day + 29220, platform::Locale());
        auto r = ratings.find({shown, day});
        if (r != ratings.end())
            title += " (" + std::to_string(r->second.first) + " - " +
                     std::to_string(r->second.second) + ")";
        return title;
    }
    void SendKeys(WindowId w, const std::string& keys) override {
        EXPECT_EQ(w, 8u);
        if (keys == "{RIGHT}" && cursor + 1 < bars[shown].size()) ++cursor;
        if (keys == "{LEFT}" && cursor > 0) --cursor;
    }
    Rect Screen() override { return screen; }
};

struct FakeMain : MainWindowSide {
    double clock = 0;
    std::vector<std::string> log;
    void SaveAndPlace(int top, int height, int left) override {
        log.push_back("place " + std::to_string(top) + " " + std::to_string(height) + " " +
                      std::to_string(left));
    }
    void PointerToStop() override { log.push_back("pointer"); }
    void RestoreAndFocus() override { log.push_back("restore"); }
    void ProcessMessages() override { clock += 0.25; }
};

struct Driving {
    testutil::TempDir tmp;
    FakeChart chart;
    FakeMain main;
    ChartDriver driver;
    explicit Driving(const std::string& indicators = "48,")
        : driver(chart, main,
                 ChartDriverSetup{"C:\\QEL\\qelio32.dll", "C:\\QEL\\qelch32.exe",
                                  tmp / "QelChart.Ini", indicators, platform::Locale(),
                                  hostdb::EncodeDate(2026, 12, 7), [this] { return main.clock; },
                                  [] { return false; }}) {}
    fs::path Ini() const { return tmp / "QelChart.Ini"; }
};

} // namespace

TEST(ChartTitle, WordsAndRatings) {
    int up = -1, dn = -1;
    auto words = TitleWords("XYZ 01/05/00 (85 - 15)");
    EXPECT_EQ(TitleWord(words, 1), "XYZ");
    EXPECT_EQ(TitleWord(words, 2), "01/05/00");
    ReadRatings(words, up, dn);
    EXPECT_EQ(up, 85);
    EXPECT_EQ(dn, 15);
    ReadRatings(TitleWords("XYZ 01/05/00"), up, dn); // no rating
    EXPECT_EQ(up, 0);
    EXPECT_EQ(dn, 0);
    // Single blanks split: two blanks make an empty word, so the ratings move out of place.
    ReadRatings(TitleWords("XYZ  01/05/00 (85 - 15)"), up, dn);
    EXPECT_EQ(up, 0);
    ReadRatings(TitleWords("XYZ 01/05/00 ( - )"), up, dn);
    EXPECT_EQ(up, 0);
    EXPECT_EQ(dn, 0);
    ReadRatings(TitleWords("XYZ 01/05/00 (8x - 1y)"), up, dn);
    EXPECT_EQ(up, 0);
    // Only the first 39 characters are read.
    std::string longName(36, 'A');
    EXPECT_EQ(TitleWord(TitleWords(longName + " 01/05/00"), 2), "01");
    EXPECT_EQ(TitleWord(TitleWords(""), 1), "");
}

TEST(Keys, TheWalk) {
    auto scan = [](char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' + 0x100 : c; };
    using E = std::vector<KeyEvent>;
    EXPECT_EQ(WalkKeys("{PGDN}", scan), (E{{0x22, false}, {0x22, true}}));
    EXPECT_EQ(WalkKeys("{pgdn}", scan), (E{{0x22, false}, {0x22, true}}));
    EXPECT_EQ(WalkKeys("^{F4}", scan),
              (E{{VkCtrl, false}, {0x73, false}, {0x73, true}, {VkCtrl, true}}));
    EXPECT_TRUE(WalkKeys("{PAGEDOWN}x", scan).empty()); // 8 letters end the walk
    EXPECT_EQ(WalkKeys("a{BOGUS}b", scan), (E{{'A', false}, {'A', true}})); // low byte only
    EXPECT_EQ(WalkKeys("@~x", scan), (E{{VkAlt, false},
                                        {VkShift, false},
                                        {'X', false},
                                        {'X', true},
                                        {VkShift, true},
                                        {VkAlt, true}}));
    EXPECT_EQ(WalkKeys("^a1", scan), (E{{VkCtrl, false},
                                        {'A', false},
                                        {'A', true},
                                        {VkCtrl, true},
                                        {'1', false},
                                        {'1', true}})); // the marks last for one key
    EXPECT_TRUE(WalkKeys("{LEFT", scan).empty());
    EXPECT_EQ(NamedKey("RIGHT"), 0x27);
    EXPECT_EQ(NamedKey("F13"), 0);
}

TEST(ChartLink, OpenChartAndIndicators) {
    FakeChart chart;
    chart.running = false;
    OpenChart(chart, "lib", ChartWindowTitle, "prog", "IBM", "ZOLT");
    EXPECT_EQ(chart.log,
              (std::vector<std::string>{"started", "activate", "post 6 ZOLT", "post 1 IBM"}));
    chart = FakeChart{};
    chart.running = false;
    chart.startable = false;
    OpenChart(chart, "lib", ChartWindowTitle, "prog", "IBM", "ZOLT");
    EXPECT_EQ(chart.log, std::vector<std::string>{"start failed"}); // nothing posted

    finder::FinderSettings s;
    s.MarketLine = 8;
    s.DoPrevAction = true;
    s.PrevActLine = 8;
    EXPECT_EQ(finder::IndicatorsValue(s), "48,");
    s.PrevActLine = 11;
    EXPECT_EQ(finder::IndicatorsValue(s), "48,43,");
    s.DoPrevAction = false;
    EXPECT_EQ(finder::IndicatorsValue(s), "48,");
}

TEST(ChartDriver, ShowsStepsReadsAndPutsEverythingBack) {
    Driving d;
    const std::string ini = "; chart settings\r\n[PROCHARTS]\r\nindicators = 12,13,\r\nzoom=2\r\n";
    testutil::WriteFile(d.Ini(), ini);
    const int mon = Day(2026, 11, 23), tue = Day(2026, 11, 24), thu = Day(2026, 11, 26),
              fri = Day(2026, 11, 27);
    d.chart.bars["IBM"] = {mon, tue, fri}; // no bar on Wednesday and Thursday
    d.chart.ratings[{"IBM", tue}] = {85, 15};

    d.driver.Prepare();
    EXPECT_EQ(d.driver.Problem(), "");
    EXPECT_EQ(d.main.log, (std::vector<std::string>{"place 600 400 0", "pointer"}));
    EXPECT_EQ(d.chart.rect, (Rect{0, 0, 1600, 600}));
    EXPECT_FALSE(d.chart.maximised);
    EXPECT_EQ(
        platform::ReadProfileText(testutil::ReadFile(d.Ini()), "PROCHARTS", "indicators", "?"),
        "48,");

    EXPECT_EQ(d.driver.ShowTicker("IBM", {}), finder::ChartWindow::Shown::Yes);
    int up = 0, dn = 0;
    ASSERT_TRUE(d.driver.MoveToDay(tue));
    ASSERT_TRUE(d.driver.ReadEr(up, dn));
    EXPECT_EQ(up, 85);
    EXPECT_EQ(dn, 15);
    ASSERT_TRUE(d.driver.MoveToDay(fri));
    ASSERT_TRUE(d.driver.ReadEr(up, dn));
    EXPECT_EQ(up + dn, 0);                 // a bar without a rating
    EXPECT_FALSE(d.driver.MoveToDay(thu)); // stepping left jumps past it

    d.driver.Restore();
    EXPECT_EQ(testutil::ReadFile(d.Ini()), ini); // byte for byte
    EXPECT_EQ(d.chart.rect, (Rect{100, 50, 800, 600}));
    EXPECT_TRUE(d.chart.maximised);
    EXPECT_EQ(d.main.log.back(), "restore");
}

TEST(ChartDriver, TimeLimitsAndAChartThatCannotStart) {
    {
        Driving d;
        d.chart.bars["IBM"] = {Day(2026, 11, 27)};
        d.chart.showsTickers = false;
        d.driver.Prepare();
        double before = d.main.clock;
        EXPECT_EQ(d.driver.ShowTicker("IBM", {}), finder::ChartWindow::Shown::TimedOut);
        EXPECT_GE(d.main.clock - before, ChartDriver::ShowTickerSeconds);
        EXPECT_LT(d.main.clock - before, ChartDriver::ShowTickerSeconds + 1);
        int calls = 0;
        EXPECT_EQ(d.driver.ShowTicker("IBM", [&] { return ++calls == 3; }),
                  finder::ChartWindow::Shown::Stopped);
        // A second ticker not shown in a row ends the driving: no more waits.
        EXPECT_EQ(d.driver.ShowTicker("MSFT", {}), finder::ChartWindow::Shown::TimedOut);
        EXPECT_EQ(d.driver.Problem(), "the chart window showed neither IBM nor MSFT");
        before = d.main.clock;
        EXPECT_EQ(d.driver.ShowTicker("AAPL", {}), finder::ChartWindow::Shown::TimedOut);
        EXPECT_EQ(d.main.clock, before);
        d.driver.Restore();
        EXPECT_FALSE(fs::exists(d.Ini())); // there was none before
    }
    {
        // A post the host refuses ends the driving at once, with the reason.
        Driving d;
        d.chart.bars["IBM"] = {Day(2026, 11, 27)};
        d.chart.takesPosts = false;
        d.driver.Prepare();
        const double before = d.main.clock;
        EXPECT_EQ(d.driver.ShowTicker("IBM", {}), finder::ChartWindow::Shown::TimedOut);
        EXPECT_LT(d.main.clock - before, 1);
        EXPECT_EQ(d.driver.Problem(), "the host did not take the request to show IBM");
        d.driver.Restore();
    }
    {
        Driving d;
        d.chart.running = false;
        d.chart.startable = false;
        testutil::WriteFile(d.Ini(), "[PROCHARTS]\nindicators=12,\n");
        d.driver.Prepare();
        EXPECT_EQ(d.driver.Problem(), "the chart program C:\\QEL\\qelch32.exe did not start");
        int up, dn;
        EXPECT_EQ(d.driver.ShowTicker("IBM", {}), finder::ChartWindow::Shown::TimedOut);
        EXPECT_FALSE(d.driver.MoveToDay(1));
        EXPECT_FALSE(d.driver.ReadEr(up, dn));
        d.driver.Restore();
        EXPECT_EQ(testutil::ReadFile(d.Ini()), "[PROCHARTS]\nindicators=12,\n");
        EXPECT_EQ(d.main.log.back(), "restore");
    }
    {
        // No link at all: nothing is moved, written or closed.
        Driving d;
        d.chart.screen = Rect{};
        testutil::WriteFile(d.Ini(), "[PROCHARTS]\nindicators=12,\n");
        d.driver.Prepare();
        EXPECT_NE(d.driver.Problem(), "");
        d.driver.Restore();
        EXPECT_TRUE(d.main.log.empty());
        EXPECT_TRUE(d.chart.log.empty());
        EXPECT_EQ(testutil::ReadFile(d.Ini()), "[PROCHARTS]\nindicators=12,\n");
    }
    {
        Driving d;
        d.chart.hasMdi = false;
        d.driver.Prepare();
        EXPECT_EQ(d.driver.Problem(), "the chart window has no MDI client");
        d.driver.Restore();
    }
}
