// The chart link and the chart driving against the host stand-in under Wine on an X server: the
// title search, restoring before a post, the library's entry points, the acknowledgements, the
// time limits, the key walk, the chart title's ratings, and the chart settings file put back.
#include "hostdb/DateTime.h"
#include "hostdb/TickerFile.h"
#include "hostlink/BridgeLink.h"
#include "hostlink/ChartDriver.h"
#include "hostlink/ChartLink.h"
#include "hostlink/ChartTitle.h"
#include "support/TestUtil.h"
#include "tools/host-standin/Standin.h"
#include "tools/make-host/HostWriter.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

using namespace hostlink;
namespace fs = std::filesystem;

namespace {

const fs::path Prefix = ZOLT_TEST_WINEPREFIX;
const fs::path Qel = Prefix / "drive_c" / "QEL";
const fs::path WindowsDir = Prefix / "drive_c" / "windows";
const std::string Program = "C:\\QEL\\qelch32.exe";
const std::string Library = "C:\\QEL\\qelio32.dll";

int Day(int y, int m, int d) {
    return static_cast<int>(hostdb::EncodeDate(y, m, d)) - hostdb::DayNumberOffset;
}

double Seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool WaitFor(const std::function<bool()>& done, double seconds) {
    const double start = Seconds();
    while (!done()) {
        if (Seconds() - start > seconds) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

struct Window final : MainWindowSide {
    std::vector<std::string> log;
    void SaveAndPlace(int top, int height, int) override {
        log.push_back("place " + std::to_string(top) + " " + std::to_string(height));
    }
    void PointerToStop() override {}
    void RestoreAndFocus() override { log.push_back("restore"); }
    void ProcessMessages() override { std::this_thread::sleep_for(std::chrono::milliseconds(5)); }
};

struct Stock {
    std::string symbol;
    std::vector<int> bars;
};

class Standin : public ::testing::Test {
protected:
    // One host in the test prefix for the whole suite: 12 tickers over a year to 4 Dec 2026.
    static void SetUpTestSuite() {
        hostgen::Options o;
        o.root = Prefix;
        o.tickers = 12;
        o.years = 1;
        o.end = {2026, 12, 4};
        o.seed = 11;
        o.standin = fs::path(ZOLT_STANDIN_DIR) / "win64";
        for (const fs::path& file : hostgen::MakeHost(o).tickerFiles) {
            hostdb::TickerFile t;
            t.SetFileName(file.string());
            if (t.KindCode() != 'S' || t.LastDay() != Day(2026, 12, 4)) continue;
            std::string name = file.stem().string();
            for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            stocks_.push_back({name, standin::ChartBars(t)});
        }
        ASSERT_GE(stocks_.size(), 2u);
    }
    static void TearDownTestSuite() { KillWine(); }

    // Ends every program of the prefix, the chart that would only open its window later too.
    static void KillWine() {
        std::string command = "WINEPREFIX='" + Prefix.string() + "' wineserver -k";
        (void)std::system(command.c_str());
    }

    // The stand-in started afresh with these switches and ratings, its log emptied.
    WindowId Fresh(const std::string& switches, const std::string& ratings = "",
                   const std::string& title = ChartWindowTitle) {
        link_.CloseWindows(ChartWindowTitle);
        testutil::WriteFile(Qel / "standin.ini", "[standin]\r\n" + switches);
        testutil::WriteFile(Qel / "ratings.txt", ratings);
        fs::remove(Qel / "standin.log");
        return link_.StartProgram(Program, title);
    }

    static std::vector<std::string> Log() {
        std::vector<std::string> lines;
        std::string text = testutil::ReadFile(Qel / "standin.log"), line;
        for (char c : text) {
            if (c == '\n')
                lines.push_back(line), line.clear();
            else if (c != '\r')
                line += c;
        }
        return lines;
    }

    static bool Logged(const std::string& line) {
        for (const std::string& l : Log())
            if (l == line) return true;
        return false;
    }

    ChartDriverSetup DriverSetup(std::function<bool()> stop = [] { return false; }) {
        return ChartDriverSetup{Library,
                                Program,
                                WindowsDir / "QelChart.Ini",
                                "48,43,",
                                platform::Locale(),
                                hostdb::EncodeDate(2026, 12, 8),
                                Seconds,
                                std::move(stop)};
    }

    BridgeLink link_{BridgeSetup{ZOLT_BRIDGE_DIR, Prefix, Qel / "qelio32.dll", ""}};
    Window window_;
    static inline std::vector<Stock> stocks_;
};

const std::string UserChartIni = "[PROCHARTS]\r\nindicators=7,\r\nzoom=3\r\n\r\n[other]\r\nx=1\r\n";

} // namespace

TEST_F(Standin, TitleSearchMinimisedChartAndPosts) {
    // Equal length, case ignored: a longer title is no match.
    ASSERT_NE(Fresh("title=QEL Charts - IBM\r\n", "", "QEL Charts - IBM"), 0u) << link_.Problem();
    EXPECT_EQ(link_.FindWindow(ChartWindowTitle), 0u);
    EXPECT_NE(link_.FindWindow("qel charts - ibm"), 0u);
    link_.CloseWindows("QEL Charts - IBM");

    const std::string sym = stocks_[0].symbol;
    WindowId w = Fresh("minimised=1\r\n");
    ASSERT_NE(w, 0u);
    EXPECT_EQ(link_.FindWindow("qel CHARTS"), w);
    ASSERT_TRUE(link_.Post(Library, CodeShowTicker, sym));
    EXPECT_TRUE(Logged("request 1 " + sym + " (minimised)"));
    // The chart link restores it before it posts.
    OpenChart(link_, Library, ChartWindowTitle, Program, sym, "MYLIST");
    EXPECT_TRUE(Logged("request 6 MYLIST"));
    EXPECT_TRUE(Logged("request 1 " + sym));
    EXPECT_EQ(Log().back(), "request 1 " + sym);
}

TEST_F(Standin, LibraryWithoutTheRegisteredMessageEntryPostsNothing) {
    ASSERT_NE(Fresh(""), 0u);
    fs::create_directories(Qel / "noreg");
    fs::copy_file(fs::path(ZOLT_STANDIN_DIR) / "win64" / "noreg" / "qelio32.dll",
                  Qel / "noreg" / "qelio32.dll", fs::copy_options::overwrite_existing);
    const std::string noreg = "C:\\QEL\\noreg\\qelio32.dll";
    EXPECT_FALSE(link_.LoadLibrary(noreg));
    EXPECT_EQ(link_.Problem(), "the host library has no _GetRegisteredQELMessage@0");
    EXPECT_FALSE(link_.Post(noreg, CodeShowTicker, stocks_[0].symbol));
    EXPECT_FALSE(link_.PostAndWait(noreg, stocks_[0].symbol));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(Log().size(), 1u); // the start line only
}

TEST_F(Standin, PostAndWaitCountsAcknowledgements) {
    const std::string sym = stocks_[0].symbol;
    ASSERT_NE(Fresh(""), 0u);
    double start = Seconds();
    EXPECT_TRUE(link_.PostAndWait(Library, sym));
    EXPECT_LT(Seconds() - start, 2.0);

    ASSERT_NE(Fresh("acks=1\r\n"), 0u);
    start = Seconds();
    EXPECT_TRUE(link_.PostAndWait(Library, sym));
    const double waited = Seconds() - start;
    EXPECT_GE(waited, 3.0);
    EXPECT_LT(waited, 4.5);
    EXPECT_TRUE(Logged("request 1 " + sym));
}

TEST_F(Standin, TitleRatingsMovesAndKeys) {
    const Stock& a = stocks_[0];
    const Stock& b = stocks_[1];
    const int last = a.bars.back(), before = a.bars[a.bars.size() - 2];
    const hostdb::CivilDate d = hostdb::DecodeDate(last + hostdb::DayNumberOffset);
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", d.year, d.month, d.day);
    ASSERT_NE(Fresh("", a.symbol + " " + date + " 85 15\r\n"), 0u);
    testutil::WriteFile(WindowsDir / "QelChart.Ini", UserChartIni);

    ChartDriver driver(link_, window_, DriverSetup());
    driver.Prepare();
    ASSERT_EQ(driver.Problem(), "");
    EXPECT_EQ(window_.log.front().rfind("place ", 0), 0u);
    EXPECT_EQ(testutil::ReadFile(WindowsDir / "QelChart.Ini"),
              "[PROCHARTS]\r\nindicators=48,43,\r\nzoom=3\r\n\r\n[other]\r\nx=1\r\n");

    ASSERT_EQ(driver.ShowTicker(a.symbol, {}), finder::ChartWindow::Shown::Yes);
    const WindowId mdi = link_.MdiClient(link_.FindWindow(ChartWindowTitle));
    std::vector<std::string> words = TitleWords(link_.TopChildTitle(mdi));
    ASSERT_EQ(words.size(), 5u);
    EXPECT_EQ(words[2], "(85");
    EXPECT_EQ(words[3], "-");
    EXPECT_EQ(words[4], "15)");
    int up = -1, dn = -1;
    ASSERT_TRUE(driver.ReadEr(up, dn));
    EXPECT_EQ(up, 85);
    EXPECT_EQ(dn, 15);
    EXPECT_TRUE(driver.MoveToDay(before));
    ASSERT_TRUE(driver.ReadEr(up, dn));
    EXPECT_EQ(up, 0); // symbol and date only
    EXPECT_EQ(dn, 0);
    EXPECT_TRUE(driver.MoveToDay(last));

    // No bar on Thanksgiving: stepping left from the Friday after jumps over it.
    ASSERT_EQ(driver.ShowTicker(b.symbol, {}), finder::ChartWindow::Shown::Yes);
    ASSERT_EQ(std::count(b.bars.begin(), b.bars.end(), Day(2026, 11, 26)), 0);
    EXPECT_FALSE(driver.MoveToDay(Day(2026, 11, 26)));
    const int landed = *(std::lower_bound(b.bars.begin(), b.bars.end(), Day(2026, 11, 26)) - 1);
    const hostdb::CivilDate l = hostdb::DecodeDate(landed + hostdb::DayNumberOffset);
    std::snprintf(date, sizeof date, "%02d/%02d/%02d", l.month, l.day, l.year % 100);
    EXPECT_EQ(TitleWord(TitleWords(link_.TopChildTitle(mdi)), 2), date);

    // The key walk inside Wine: a name in braces, letters, a name too long, Ctrl+F4.
    fs::remove(Qel / "standin.log");
    link_.SendKeys(mdi, "{PGDN}");
    EXPECT_TRUE(WaitFor([] { return Logged("key 34"); }, 3));
    link_.SendKeys(mdi, "PGDN{PAGEDOWN}{PGUP}");
    EXPECT_TRUE(WaitFor([] { return Log().size() >= 5; }, 3));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(Log(), (std::vector<std::string>{"key 34", "key 80", "key 71", "key 68", "key 78"}));
    const std::string top = link_.TopChildTitle(mdi);
    EXPECT_EQ(TitleWord(TitleWords(top), 1), b.symbol);
    link_.SendKeys(mdi, "^{F4}");
    EXPECT_TRUE(
        WaitFor([&] { return TitleWord(TitleWords(link_.TopChildTitle(mdi)), 1) == a.symbol; }, 3))
        << link_.TopChildTitle(mdi);

    driver.Restore();
    EXPECT_EQ(link_.FindWindow(ChartWindowTitle), 0u);
    EXPECT_EQ(testutil::ReadFile(WindowsDir / "QelChart.Ini"), UserChartIni);
    EXPECT_EQ(window_.log.back(), "restore");
}

TEST_F(Standin, ChartSettingsComeBackAfterStopAndFailures) {
    const std::string sym = stocks_[0].symbol;
    testutil::WriteFile(WindowsDir / "QelChart.Ini", UserChartIni);
    {
        SCOPED_TRACE("Stop pressed while the chart shows a ticker");
        ASSERT_NE(Fresh(""), 0u);
        ChartDriver driver(link_, window_, DriverSetup());
        driver.Prepare();
        EXPECT_EQ(driver.ShowTicker(sym, [] { return true; }), finder::ChartWindow::Shown::Stopped);
        driver.Restore();
        EXPECT_EQ(testutil::ReadFile(WindowsDir / "QelChart.Ini"), UserChartIni);
        EXPECT_TRUE(Logged("start indicators=48,43,"));
    }
    {
        SCOPED_TRACE("a chart that never shows the ticker: 10 seconds, then no rating");
        ASSERT_NE(Fresh("nevershows=1\r\n"), 0u);
        ChartDriver driver(link_, window_, DriverSetup());
        driver.Prepare();
        const double start = Seconds();
        EXPECT_EQ(driver.ShowTicker(sym, {}), finder::ChartWindow::Shown::TimedOut);
        EXPECT_GE(Seconds() - start, ChartDriver::ShowTickerSeconds);
        EXPECT_LT(Seconds() - start, ChartDriver::ShowTickerSeconds + 4);
        driver.Restore();
        EXPECT_EQ(testutil::ReadFile(WindowsDir / "QelChart.Ini"), UserChartIni);
    }
    {
        SCOPED_TRACE("a chart without an MDI client");
        ASSERT_NE(Fresh("nomdiclient=1\r\n"), 0u);
        ChartDriver driver(link_, window_, DriverSetup());
        driver.Prepare();
        EXPECT_EQ(driver.Problem(), "the chart window has no MDI client");
        EXPECT_EQ(driver.ShowTicker(sym, {}), finder::ChartWindow::Shown::TimedOut);
        int up, dn;
        EXPECT_FALSE(driver.ReadEr(up, dn));
        driver.Restore();
        EXPECT_EQ(testutil::ReadFile(WindowsDir / "QelChart.Ini"), UserChartIni);
        EXPECT_EQ(link_.FindWindow(ChartWindowTitle), 0u);
    }
    {
        SCOPED_TRACE("a chart program that never opens its window: 30 seconds, then none");
        link_.CloseWindows(ChartWindowTitle);
        testutil::WriteFile(Qel / "standin.ini", "[standin]\r\nslowstart=600\r\n");
        ChartDriver driver(link_, window_, DriverSetup());
        const double start = Seconds();
        driver.Prepare();
        EXPECT_GE(Seconds() - start, BridgeLink::StartSeconds);
        EXPECT_LT(Seconds() - start, BridgeLink::StartSeconds + 8);
        EXPECT_EQ(driver.Problem(), "the chart program " + Program + " did not start");
        EXPECT_EQ(driver.ShowTicker(sym, {}), finder::ChartWindow::Shown::TimedOut);
        driver.Restore();
        EXPECT_EQ(testutil::ReadFile(WindowsDir / "QelChart.Ini"), UserChartIni);
    }
    KillWine(); // the chart program still asleep
}

namespace {

// Runs the command line, its output as lines.
std::vector<std::string> Zolt(const std::string& args, int& status) {
    std::string command = std::string("'") + ZOLT_PROGRAM + "' --windows-dir '" +
                          WindowsDir.string() + "' " + args + " 2>&1";
    std::vector<std::string> lines;
    FILE* p = ::popen(command.c_str(), "r");
    char buf[4096];
    while (p && std::fgets(buf, sizeof buf, p)) {
        std::string line = buf;
        if (!line.empty() && line.back() == '\n') line.pop_back();
        // A slow step of the host named on stderr is no output.
        if (line.rfind("zolt: ", 0) == 0 && line.ends_with("...")) continue;
        lines.push_back(line);
    }
    status = p ? ::pclose(p) : -1;
    return lines;
}

std::vector<std::string> Fields(const std::string& csv) {
    std::vector<std::string> f(1);
    for (char c : csv) {
        if (c == ',')
            f.emplace_back();
        else
            f.back().push_back(c);
    }
    return f;
}

} // namespace

// A hand count of the ratings file: the market date and the two trading days before are looked
// at, nearest first; an upside ER of 60 to 100 is required.
TEST_F(Standin, FindWithRatingsListsWhatTheRatingsFilePredicts) {
    testutil::TempDir tmp;
    testutil::WriteFile(tmp / "ER.MNI", "[Settings]\r\nMarketAction=0\r\nMarketLine=11\r\n"
                                        "PrevChoice=0\r\nPrevDays=2\r\nPrevUp=1\r\nPrevUpMin=60\r\n"
                                        "PrevUpMax=100\r\n");
    const std::string settings =
        "find --settings '" + (tmp / "ER.MNI").string() + "' --date 2026-12-04 --format csv";
    int status = 0;
    std::vector<std::string> all = Zolt(settings + " --ignore-er", status);
    ASSERT_EQ(status, 0);
    // Candidates with a bar on each of the four days.
    const std::vector<int> days = {Day(2026, 12, 1), Day(2026, 12, 2), Day(2026, 12, 3),
                                   Day(2026, 12, 4)};
    std::vector<std::string> c;
    for (std::size_t i = 1; i < all.size(); ++i) {
        const std::string sym = Fields(all[i])[4];
        for (const Stock& s : stocks_)
            if (s.symbol == sym &&
                std::includes(s.bars.begin(), s.bars.end(), days.begin(), days.end()))
                c.push_back(sym);
    }
    ASSERT_GE(c.size(), 3u);
    link_.CloseWindows(ChartWindowTitle);
    testutil::WriteFile(Qel / "standin.ini", "");
    testutil::WriteFile(Qel / "ratings.txt", c[0] + " 2026-12-04 85 15\r\n" +     // day 0
                                                 c[1] + " 2026-12-04 40 60\r\n" + // too low
                                                 c[1] + " 2026-12-03 70 30\r\n" + // day 1
                                                 c[2] + " 2026-12-04 59 41\r\n" + // too low
                                                 c[2] + " 2026-12-01 90 10\r\n"); // day 3
    testutil::WriteFile(WindowsDir / "QelChart.Ini", UserChartIni);

    std::vector<std::string> found = Zolt(settings, status);
    ASSERT_EQ(status, 0) << found.front();
    std::vector<std::string> rows;
    for (std::size_t i = 1; i < found.size(); ++i) {
        std::vector<std::string> f = Fields(found[i]);
        rows.push_back(f[0] + " " + f[1] + " " + f[4]);
    }
    std::vector<std::string> expected = {"0 85-15 " + c[0], "1 70-30 " + c[1]};
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(testutil::ReadFile(WindowsDir / "QelChart.Ini"), UserChartIni);
    EXPECT_EQ(link_.FindWindow(ChartWindowTitle), 0u);
}

// Ctrl+C at a terminal signals the whole foreground group: the find stops as with Stop, and the
// bridge, in a group of its own, is still there to put the chart back.
TEST_F(Standin, InterruptStopsTheFindAndPutsTheChartBack) {
    testutil::TempDir tmp;
    testutil::WriteFile(tmp / "ER.MNI", "[Settings]\r\nMarketAction=0\r\nMarketLine=11\r\n"
                                        "PrevChoice=1\r\nPrevDays=9\r\nPrevUp=1\r\nPrevUpMin=60\r\n"
                                        "PrevUpMax=100\r\n");
    link_.CloseWindows(ChartWindowTitle);
    testutil::WriteFile(Qel / "standin.ini", "");
    testutil::WriteFile(Qel / "ratings.txt", "");
    fs::remove(Qel / "standin.log");
    testutil::WriteFile(WindowsDir / "QelChart.Ini", UserChartIni);

    const std::string out = (tmp / "out.txt").string();
    std::vector<std::string> args = {ZOLT_PROGRAM, "--windows-dir", WindowsDir.string(),
                                     "find",       "--settings",    (tmp / "ER.MNI").string(),
                                     "--date",     "2026-12-04"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP); // as a shell's foreground job
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ), 0);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);

    // Once the chart shows the first candidate, the user presses Ctrl+C.
    EXPECT_TRUE(WaitFor(
        [] {
            for (const std::string& l : Log())
                if (l.rfind("request 1 ", 0) == 0) return true;
            return false;
        },
        60));
    ::kill(-pid, SIGINT);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_NE(testutil::ReadFile(out).find("Stopped"), std::string::npos)
        << testutil::ReadFile(out);
    EXPECT_EQ(testutil::ReadFile(WindowsDir / "QelChart.Ini"), UserChartIni);
    EXPECT_EQ(link_.FindWindow(ChartWindowTitle), 0u);
}
