// `zolt` run in-process: the host report, errors and usage, quotes, data sets, filtering and
// finding on made hosts, hostile files and failed output, the chart without Wine, name rules.
#include "cli/Zolt.h"

#include "hostdb/PriceHistory.h"
#include "hostdb/TradingDays.h"
#include "support/ZoltRunner.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

using Result = testutil::ZoltResult;

Result Zolt(const std::vector<std::string>& args, const platform::Directories& dirs = {}) {
    return testutil::RunZolt(args, hostdb::EncodeDateTime(2026, 12, 7, 12, 0), dirs);
}

// A made host, a program directory, and `zolt` run on them with the clock fixed.
struct Installation : testutil::MadeHost {
    std::vector<std::string> common;

    Installation(int tickers, const char* now, bool broken = false)
        : MadeHost({.tickers = tickers, .broken = broken}), common{"--windows-dir",
                                                                   windows.string(),
                                                                   "--now",
                                                                   now,
                                                                   "--program-dir",
                                                                   program.string()} {}

    Result operator()(std::vector<std::string> args) const {
        args.insert(args.begin(), common.begin(), common.end());
        return Zolt(args);
    }
};

} // namespace

TEST(Zolt, HostReport) {
    testutil::TempDir tmp;
    fs::path windows = tmp / "drive_c/windows";
    testutil::WriteFile(windows / "Qel32.Ini", "[PATHS]\nEquityPath=" + (tmp / "d1").string() +
                                                   ";" + (tmp / "d2").string() +
                                                   "\n[PROCHART]\nPATHNAME=C:\\QEL\\qelch32.exe\n");
    testutil::WriteFile(tmp / "d1/A.DTA", "");
    testutil::WriteFile(tmp / "d2/B.dta", "");
    Result r = Zolt({"--windows-dir", windows.string(), "--now", "2026-12-05 10:00", "host"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Host directory:   C:\\QEL\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Host library:     C:\\QEL\\qelio32.dll\n"), std::string::npos);
    EXPECT_NE(r.out.find("Data directory:   " + (tmp / "d2/").string() + " ("), std::string::npos);
    EXPECT_NE(r.out.find("Last market date: Friday, December 4, 2026\n"), std::string::npos);
    EXPECT_NE(r.out.find("Ticker files:     2\n"), std::string::npos);
}

TEST(Zolt, ErrorsAndUsage) {
    testutil::TempDir tmp;
    Result none = Zolt({"--windows-dir=" + tmp.Path().string(), "host"});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err, "Zolt can't find QEL files\nzolt: " + (tmp / "Qel32.Ini").string() +
                            " does not exist\n");

    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"--bogus", "x", "host"},
                                               {"--now"},
                                               {"--now", "2026-02-30 10:00", "host"},
                                               {"--now", "2026-12-07 24:00", "host"},
                                               {"--now", "yesterday", "host"},
                                               {"--windows-dir", "", "host"},
                                               {"--program-dir=", "host"},
                                               {"--now", "1980-01-01", "host"},
                                               {"--now", "2069-09-17 10:00", "host"},
                                               {"frobnicate"},
                                               {"host", "extra"}}) {
        Result r = Zolt(args);
        EXPECT_EQ(r.status, 2);
        // The one offending point, then where the options are told.
        EXPECT_EQ(r.err.rfind("zolt: ", 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;
        EXPECT_TRUE(r.err.ends_with(" --help' for the options.\n")) << r.err;
    }

    hostdb::DateTimeValue now;
    ASSERT_TRUE(hostdb::ParseNow("2026-12-07 16:00", now));
    EXPECT_EQ(now, hostdb::EncodeDateTime(2026, 12, 7, 16, 0));
    ASSERT_TRUE(hostdb::ParseNow("2026-12-07", now));
    EXPECT_EQ(now, hostdb::EncodeDate(2026, 12, 7));
    EXPECT_FALSE(hostdb::ParseNow("2026-12-07 16:00x", now));
    // The first and last days a day number holds; beyond them dates would wrap.
    EXPECT_TRUE(hostdb::ParseNow("1980-01-02", now));
    EXPECT_TRUE(hostdb::ParseNow("2069-09-16 23:59", now));
    int day = 0;
    std::string error;
    EXPECT_FALSE(hostdb::ParseDay("--date", "2160-01-02", day, error));
    EXPECT_EQ(error, "--date wants a date YYYY-MM-DD (dates run from 1980-01-02 to 2069-09-16), "
                     "not \"2160-01-02\"");
}

// Help and the version go to stdout with status 0: the commands one a line, a command's options
// with their meaning and defaults.
TEST(Zolt, HelpAndVersion) {
    Result help = Zolt({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    for (const char* command :
         {"host", "quote", "generate", "dataset", "filter", "taglist", "find", "chart"})
        EXPECT_NE(help.out.find("\n  " + std::string(command) + " "), std::string::npos) << command;
    for (const char* option : {"--windows-dir DIR", "--now", "--program-dir DIR", "--threads N"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;

    Result filter = Zolt({"filter", "--help"});
    EXPECT_EQ(filter.status, 0);
    for (const char* option : {"--dataset FILE REQUIRED", "--settings NAME|FILE.VNI",
                               "{table,csv,grid,tickers}=table", "--sort COLUMN", "--reverse"})
        EXPECT_NE(filter.out.find(option), std::string::npos) << option << "\n" << filter.out;
    EXPECT_EQ(filter.out.find("--ignore-er"), std::string::npos) << "find's own";

    Result version = Zolt({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "zolt " ZOLT_VERSION "\n");
    Result wrong = Zolt({"filter", "--format", "xml"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_TRUE(wrong.err.ends_with("\nRun 'zolt filter --help' for the options.\n")) << wrong.err;
}

TEST(Zolt, QuotePrintsWhatWasWritten) {
    const testutil::MadeHost host({.tickers = 6, .years = 1});
    const testutil::TempDir& tmp = host.tmp;
    const std::string windows = host.windows.string();

    // A ticker of each format with known prices: Thanksgiving without data, then Friday
    // 12.5 / 13 / 12 / 12.5 + one tick with a negative volume, then Monday 1 / 2 / 1 / 2.
    const std::pair<char, const char*> closes[] = {
        {'D', "12.51"}, {'F', "12.53125"}, {'4', "12.5001"}};
    for (auto [format, close] : closes) {
        hostgen::TickerSpec spec;
        spec.name = "Quote Test";
        spec.format = format;
        spec.firstDay = 17132; // Thursday 26 November 2026
        spec.lastDay = 17136;  // Monday 30 November
        std::int64_t u = hostgen::TicksPerUnit(format);
        spec.records = {
            {}, {{25 * u / 2, 13 * u, 12 * u, 25 * u / 2 + 1}, -5}, {{u, 2 * u, u, 2 * u}, 42}};
        std::vector<std::uint8_t> bytes = hostgen::EncodeTicker(spec);
        fs::path file = tmp / (std::string("q") + format + ".DTA");
        testutil::WriteFile(file, std::string(bytes.begin(), bytes.end()));
        Result r = Zolt({"quote", file.string(), "--from", "2026-11-27"});
        ASSERT_EQ(r.status, 0) << r.err;
        std::string closeColumn = std::string(close) + std::string(12 - std::strlen(close), ' ');
        EXPECT_NE(r.out.find("Format:    " + std::string(1, format) + "\n"), std::string::npos);
        EXPECT_NE(r.out.find("First day: 17132 2026-11-26 Thu\n"), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("2026-11-26 Thu  "), std::string::npos) << "before --from";
        EXPECT_NE(r.out.find("\n2026-11-27 Fri  12.5        13          12          " +
                             closeColumn +
                             "2147483647\n2026-11-30 Mon  1           2           1           2"
                             "           42\n"),
                  std::string::npos)
            << r.out;
    }

    Result spx = Zolt({"--windows-dir", windows, "quote", "spx", "--from", "2026-12-04"});
    ASSERT_EQ(spx.status, 0) << spx.err;
    EXPECT_NE(spx.out.find("Name:      S&P 500 Index\n"), std::string::npos) << spx.out;
    EXPECT_NE(spx.out.find("\n2026-12-04 Fri  "), std::string::npos) << spx.out;

    EXPECT_EQ(Zolt({"--windows-dir", windows, "quote", "NOSUCH"}).status, 1);
    EXPECT_EQ(Zolt({"--windows-dir", windows, "quote"}).status, 2);
    EXPECT_EQ(Zolt({"--windows-dir", windows, "quote", "SPX", "--from", "12/4/26"}).status, 2);
    testutil::WriteFile(tmp / "junk.DTA", "not a ticker");
    EXPECT_EQ(Zolt({"quote", (tmp / "junk.DTA").string()}).status, 1);
}

// The chart's bars are the quote's records of the trading days, value for value, and a file
// that is no ticker file gives the chart's sentence instead of bars.
TEST(Zolt, ChartBarsAreTheQuotesRecords) {
    const testutil::MadeHost host({.tickers = 4, .years = 2});
    hostdb::MarketCalendar calendar(platform::Locale::Posix());
    hostdb::SearchPath search((host.windows.parent_path() / "QEL" / "DATA1").string() + ";" +
                                  (host.windows.parent_path() / "QEL" / "DATA2").string(),
                              {});
    const int last = hostdb::MarketCalendar::DateToDay(hostdb::EncodeDate(2026, 12, 4));
    const hostdb::PriceHistory h = hostdb::ReadPriceHistory(search, "SPX", calendar, last);
    ASSERT_TRUE(h.problem.empty()) << h.problem;
    ASSERT_GT(h.bars.size(), 400u);
    Result q = Zolt({"--windows-dir", host.windows.string(), "quote", "SPX", "--from", "2026-06-04",
                     "--to", "2026-12-04"});
    ASSERT_EQ(q.status, 0) << q.err;
    std::istringstream lines(q.out.substr(q.out.find("Volume\n") + 7));
    std::string line;
    size_t bar = static_cast<size_t>(h.BarAtOrBefore(last - 183));
    int compared = 0;
    while (std::getline(lines, line)) {
        const int day = hostdb::MarketCalendar::DateToDay(
            hostdb::EncodeDate(std::stoi(line.substr(0, 4)), std::stoi(line.substr(5, 2)),
                               std::stoi(line.substr(8, 2))));
        while (bar < h.bars.size() && h.bars[bar].day < day) ++bar;
        if (bar == h.bars.size() || h.bars[bar].day != day) {
            EXPECT_FALSE(hostdb::IsTradingDay(calendar, day)) << line << " is not drawn";
            continue;
        }
        const hostdb::PriceBar& b = h.bars[bar];
        std::ostringstream drawn;
        drawn << calendar.FormatDay("yyyy-mm-dd ddd", day) << "  ";
        for (float v : {b.open, b.high, b.low, b.close})
            drawn << cli::PriceText(v) << std::string(12 - cli::PriceText(v).size(), ' ');
        drawn << b.volume;
        EXPECT_EQ(drawn.str(), line);
        ++compared;
    }
    EXPECT_GT(compared, 100);
    EXPECT_EQ(h.bars.back().day, last);

    testutil::WriteFile(host.tmp / "junk.DTA", "not a ticker");
    const hostdb::PriceHistory junk =
        hostdb::ReadPriceHistory(host.tmp / "junk.DTA", calendar, last);
    EXPECT_TRUE(junk.bars.empty());
    EXPECT_EQ(junk.problem,
              "The ticker file " + (host.tmp / "junk.DTA").string() + " cannot be read.");
    EXPECT_EQ(hostdb::ReadPriceHistory(search, "NOSUCH", calendar, last).problem,
              "No ticker file NOSUCH.DTA is in the data directories.");
}

TEST(Zolt, GenerateAndListADataSet) {
    const Installation zolt(20, "2026-12-07 18:00", true);
    const testutil::TempDir& tmp = zolt.tmp;

    Result r = zolt({"generate", "--date", "2026-11-28", "--ma", "10"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Market date 2026-11-28 is not a trading day; using Friday, November 27, "
                         "2026.\n"),
              std::string::npos)
        << r.out;
    fs::path file = tmp / "prog" / "26112710.vds";
    ASSERT_TRUE(fs::exists(file)) << r.out;
    EXPECT_EQ(fs::file_size(file) % 111, 0u);
    EXPECT_GT(fs::file_size(file), 0u);
    EXPECT_NE(r.out.find("Data set " + file.string() + ": "), std::string::npos);
    EXPECT_NE(r.out.find(" of 29 tickers for Friday, November 27, 2026 with a 10-day average"),
              std::string::npos)
        << r.out;

    r = zolt({"generate", "--date", "2027-01-05", "--ma", "5", "--out-dir", tmp.Path().string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("is after the last market date; using Monday, December 7, 2026."),
              std::string::npos)
        << r.out;
    EXPECT_TRUE(fs::exists(tmp / "26120705.vds"));

    Result list = zolt({"dataset", file.string()});
    ASSERT_EQ(list.status, 0) << list.err;
    size_t records = fs::file_size(file) / 111;
    EXPECT_NE(list.out.find("Market date:    Friday, November 27, 2026\nMoving average: 10 days\n"
                            "Records:        " +
                            std::to_string(records) + "\nSymbol"),
              std::string::npos)
        << list.out;
    EXPECT_EQ(static_cast<size_t>(std::count(list.out.begin(), list.out.end(), '\n')), records + 4);
    Result csv = zolt({"dataset", file.string(), "--format", "csv"});
    EXPECT_EQ(csv.out.rfind("Symbol,Name,Close,Change,HighRun,PrevHighRun,LowRun,PrevLowRun,"
                            "GapUpAge,GapDownAge,Volume,Vol%0,",
                            0),
              0u);
    EXPECT_EQ(static_cast<size_t>(std::count(csv.out.begin(), csv.out.end(), '\n')), records + 1);

    for (const char* ma : {"0", "100", "ten", "-3"}) {
        Result bad = zolt({"generate", "--date", "2026-11-27", "--ma", ma});
        EXPECT_EQ(bad.status, 2) << ma;
        EXPECT_NE(bad.err.find("moving-average length must be a whole number from 1 to 99"),
                  std::string::npos);
    }
    EXPECT_EQ(zolt({"generate", "--ma", "10"}).status, 2);
    EXPECT_EQ(zolt({"generate", "--date", "1979-12-31", "--ma", "10"}).status, 2);
    EXPECT_EQ(zolt({"dataset", (tmp / "none.vds").string()}).status, 1);
    EXPECT_EQ(zolt({"dataset", file.string(), "--format", "xml"}).status, 2);
}

TEST(Zolt, FilterADataSet) {
    const Installation zolt(40, "2026-12-04 18:00");
    const testutil::TempDir& tmp = zolt.tmp;
    ASSERT_EQ(zolt({"generate", "--date", "2026-11-25", "--ma", "10"}).status, 0);
    size_t records = fs::file_size(tmp / "prog" / "26112510.vds") / 111;
    testutil::WriteFile(tmp / "prog" / "ALL.VNI",
                        "[Filter]\r\nPage=8\r\nMinClose=0\r\nMinVolume=0\r\n"
                        "EvalDays=9\r\n");

    Result table = zolt({"filter", "--dataset", "26112510.vds", "--settings", "ALL"});
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(table.out.rfind("Data: Wednesday, November 25, 2026 using a 10-day avg of volume;  "
                              "Filter: All \"ALL\"\n \nShowing all tickers\n",
                              0),
              0u)
        << table.out;
    std::string counts = std::to_string(records) + " tickers inspected\n" +
                         std::to_string(records) + " tickers displayed\n";
    EXPECT_EQ(table.out.substr(table.out.size() - counts.size()), counts);
    // EvalDays 9 is more than the days after the market date allow: 6 trading days follow
    // (Thanksgiving excluded), so it is lowered to 5 and the trade closes on the last market day.
    EXPECT_NE(table.out.find("11/27/26"), std::string::npos);
    EXPECT_NE(table.out.find("Long to"), std::string::npos);
    EXPECT_NE(table.out.find("12/4/26"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("AVERAGE (of "), std::string::npos);

    Result grid = zolt({"filter", "--dataset", (tmp / "prog" / "26112510.vds").string(),
                        "--settings", (tmp / "prog" / "ALL.VNI").string(), "--format", "grid"});
    ASSERT_EQ(grid.status, 0) << grid.err;
    std::vector<std::string> lines;
    std::istringstream in(grid.out);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    ASSERT_GT(lines.size(), records + 3);
    EXPECT_EQ(lines[2],
              " \t Ticker\tHigh \tLow \t($) \t(%) \tUp \tDown \tavg vol \tvol % \t12/4/26 ");
    for (const std::string& l : lines) EXPECT_EQ(std::count(l.begin(), l.end(), '\t'), 10) << l;

    Result sorted = zolt({"filter", "--dataset", "26112510.vds", "--settings", "ALL", "--sort", "1",
                          "--format", "csv"});
    ASSERT_EQ(sorted.status, 0) << sorted.err;
    std::vector<std::string> tickers;
    std::istringstream csv(sorted.out);
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line.rfind("Ticker,Highest High (weeks),", 0), 0u);
    while (std::getline(csv, line) && line.rfind("AVERAGE", 0) != 0)
        tickers.push_back(line.substr(0, line.find(',')));
    EXPECT_EQ(tickers.size(), records);
    EXPECT_TRUE(std::is_sorted(tickers.begin(), tickers.end()));
    Result reversed = zolt({"filter", "--dataset", "26112510.vds", "--settings", "ALL", "--sort",
                            "1", "--reverse", "--format", "csv"});
    EXPECT_EQ(reversed.out.substr(reversed.out.find('\n') + 1, tickers.back().size()),
              tickers.back());

    EXPECT_EQ(zolt({"filter", "--dataset", "nosuch.vds"}).status, 2);   // not a date name
    EXPECT_EQ(zolt({"filter", "--dataset", "26112610.vds"}).status, 1); // no such file
    EXPECT_EQ(zolt({"filter", "--dataset", "26112510.vds", "--settings", "NONE"}).status, 1);
    EXPECT_EQ(zolt({"filter", "--dataset", "26112510.vds", "--sort", "11"}).status, 2);
    EXPECT_EQ(zolt({"filter"}).status, 2);
}

TEST(Zolt, FindOverAHost) {
    const Installation zolt(60, "2026-12-04 18:00");
    const testutil::TempDir& tmp = zolt.tmp;
    testutil::WriteFile(
        tmp / "prog" / "ABOVE.MNI",
        "[Settings]\r\nMarketAction=0\r\nMarketLine=11\r\nDoEval=1\r\nEvalDays=3\r\n");
    Result table = zolt({"find", "--settings", "ABOVE", "--date", "2026-11-21"});
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(
        table.out.rfind("Report of tickers that closed above their 100d LT MA on Friday, "
                        "November 20, 2026.\n \nPerformance shown for  long trades initiated at "
                        "the opening price on Monday, November 23, 2026\nand closed out at the "
                        "closing price on Friday, November 27, 2026.\n",
                        0),
        0u)
        << table.out;
    Result grid = zolt(
        {"find", "--settings", "ABOVE", "--date", "2026-11-20", "--format", "grid", "--sort", "4"});
    ASSERT_EQ(grid.status, 0) << grid.err;
    std::vector<std::string> lines;
    std::istringstream in(grid.out);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], " \t \t \t11/23/26\t \t ");
    EXPECT_EQ(lines[2], " \t \t \t11/27/26\t Ticker\t Name");
    std::vector<std::string> tickers;
    for (size_t i = 3; i < lines.size() && lines[i].find('\t') != std::string::npos; ++i) {
        std::vector<std::string> cells;
        std::stringstream row(lines[i]);
        for (std::string c; std::getline(row, c, '\t');) cells.push_back(c);
        if (cells.size() < 5 || cells[4] == " ") break;
        tickers.push_back(cells[4]);
    }
    EXPECT_FALSE(tickers.empty());
    EXPECT_TRUE(std::is_sorted(tickers.begin(), tickers.end()));

    // Settings that want expert ratings need the chart window, through Wine.
    testutil::WriteFile(tmp / "prog" / "ER.MNI", "[Settings]\r\nPrevChoice=0\r\nPrevUp=1\r\n");
    ::setenv("ZOLT_WINE", "no-such-wine-here", 1);
    Result er = zolt({"find", "--settings", "ER"});
    ::unsetenv("ZOLT_WINE");
    EXPECT_EQ(er.status, 2);
    EXPECT_NE(er.err.find("the link to it does not work ("), std::string::npos) << er.err;
    EXPECT_NE(er.err.find("--ignore-er"), std::string::npos);
    EXPECT_EQ(zolt({"find", "--settings", "ER", "--ignore-er", "--format", "csv"}).status, 0);
    EXPECT_EQ(zolt({"find", "--settings", "NONE"}).status, 1);
    EXPECT_EQ(zolt({"find", "--sort", "6"}).status, 2);
}

namespace {

// A stream whose every write fails, as a full disk does.
struct FullDisk : std::streambuf {
    int overflow(int) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

} // namespace

TEST(Zolt, HostileFilesAndFailedOutput) {
    const Installation zolt(6, "2026-12-07 12:00");
    const fs::path windows = zolt.common[1];

    // A failed write of the output fails the command and says why.
    {
        FullDisk disk;
        std::ostream out(&disk);
        std::ostringstream err;
        std::vector<std::string> args = zolt.common;
        args.push_back("host");
        int status = cli::RunZolt(args, {}, platform::Locale::Posix(),
                                  hostdb::EncodeDateTime(2026, 12, 7, 12, 0), out, err);
        EXPECT_EQ(status, 1);
        EXPECT_NE(err.str().find("zolt: cannot write the output: "), std::string::npos)
            << err.str();
    }

    // Names reaching a terminal lose their control characters; a file keeps them.
    hostgen::TickerSpec spec;
    spec.name = "Evil\x1b]0;owned\x07"
                "Co";
    spec.format = 'D';
    spec.firstDay = spec.lastDay = 17140;
    spec.records = {{{100, 100, 100, 100}, 5}};
    std::vector<std::uint8_t> bytes = hostgen::EncodeTicker(spec);
    const fs::path evil = zolt.tmp / "EVIL.DTA";
    testutil::WriteFile(evil, std::string(bytes.begin(), bytes.end()));
    for (bool terminal : {true, false}) {
        std::ostringstream out, err;
        ASSERT_EQ(cli::RunZolt({"quote", evil.string()}, {}, platform::Locale::Posix(),
                               hostdb::EncodeDateTime(2026, 12, 7, 12, 0), out, err, terminal,
                               terminal),
                  0)
            << err.str();
        EXPECT_NE(out.str().find(terminal ? "Name:      Evil?]0;owned?Co\n"
                                          : "Name:      Evil\x1b]0;owned\x07"
                                            "Co\n"),
                  std::string::npos)
            << out.str();
    }

    // Special files in the place of the host's settings are refused at once.
    const fs::path ini = windows / "Qel32.Ini";
    fs::remove(ini);
    ASSERT_EQ(::mkfifo(ini.c_str(), 0644), 0);
    auto start = std::chrono::steady_clock::now();
    Result fifo = zolt({"host"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(fifo.status, 2);
    EXPECT_EQ(fifo.err, "Zolt can't find QEL files\nzolt: " + ini.string() + " is a FIFO\n");
    fs::remove(ini);
    fs::create_symlink("/dev/zero", ini);
    EXPECT_EQ(zolt({"host"}).err,
              "Zolt can't find QEL files\nzolt: " + ini.string() + " is a device\n");

    // Dates a day number cannot hold are refused, not wrapped.
    Result late = zolt({"generate", "--date", "2160-01-02", "--ma", "10"});
    EXPECT_EQ(late.status, 2);
    EXPECT_NE(late.err.find("dates run from 1980-01-02 to 2069-09-16"), std::string::npos);
    EXPECT_EQ(zolt({"find", "--date", "1979-12-31"}).status, 2);
    EXPECT_EQ(zolt({"quote", "SPX", "--to", "2070-01-01"}).status, 2);
}

TEST(Zolt, DaysBeforeOrAfterTheHostsAreRefused) {
    const Installation zolt(3, "2026-12-07 12:00");
    // Before the first day's close there is no market date yet.
    Result first =
        zolt({"--now", "1980-01-02 00:00", "generate", "--date", "1980-01-02", "--ma", "10"});
    EXPECT_EQ(first.status, 2);
    EXPECT_NE(first.err.find("There is no market date"), std::string::npos) << first.err;
    EXPECT_FALSE(fs::exists(zolt.program / "79122810.vds"));
    // A data set name inside the two-digit window but past the host's days.
    testutil::WriteFile(zolt.program / "69123120.vds", "");
    Result wrapped = zolt({"filter", "--dataset", "69123120.vds"});
    EXPECT_EQ(wrapped.status, 2);
    EXPECT_EQ(wrapped.err, "zolt: 69123120.vds is named after a date outside 1980-01-02 to "
                           "2069-09-16\n");
    wrapped = zolt({"dataset", (zolt.program / "69123120.vds").string()});
    EXPECT_NE(wrapped.out.find("(a date outside 1980-01-02 to 2069-09-16)"), std::string::npos)
        << wrapped.out;
}

TEST(Zolt, OutputThroughALinkToAFifoAndAHugeDataSetAreRefused) {
    const Installation zolt(3, "2026-12-07 12:00");
    fs::create_directories(zolt.program);
    const fs::path fifo = zolt.tmp / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    fs::create_symlink(fifo, zolt.program / "26120410.vds");
    Result r = zolt({"generate", "--date", "2026-12-04", "--ma", "10"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("26120410.vds: it links to " + fifo.string() +
                         ", which is a FIFO, not a regular file"),
              std::string::npos)
        << r.err;
    EXPECT_TRUE(fs::is_fifo(fifo));

    // A sparse 10 GB file named like a data set: refused at once with its size, not read.
    const fs::path huge = zolt.program / "26120310.vds";
    testutil::WriteFile(huge, "");
    fs::resize_file(huge, 10'000'000'000ull);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"filter", "--dataset", "26120310.vds"},
          {"dataset", huge.string()}}) {
        const auto start = std::chrono::steady_clock::now();
        Result r = zolt(args);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("26120310.vds is too large to be a data set: 10000000000 bytes"),
                  std::string::npos)
            << r.err;
    }
}

TEST(Zolt, AWaitPastTwoSecondsIsNamedOnce) {
    std::ostringstream out, err;
    cli::Context ctx{{}, {}, out, err, false, 1, {}};
    bool interrupted = false;
    hostlink::WaitHook hook = cli::TerminalWaitHook(ctx, [&] { return interrupted; });
    for (double s : {0.0, 1.9, 2.0, 2.5, 64.0})
        EXPECT_TRUE(hook("starting the host link under Wine", s));
    for (double s : {0.0, 2.1}) hook("starting the chart program", s);
    interrupted = true;
    EXPECT_FALSE(hook("closing the chart windows", 0.1));
    EXPECT_EQ(err.str(), "zolt: starting the host link under Wine...\n"
                         "zolt: starting the chart program...\n");
}

TEST(Zolt, ChartWithoutWineSaysWhy) {
    const Installation zolt(3, "2026-12-07 12:00");
    ::setenv("ZOLT_WINE", "no-such-wine-here", 1);
    Result r = zolt({"chart", "IBM"});
    Result list = zolt({"chart", "--list", "ZOLT", "IBM"});
    ::unsetenv("ZOLT_WINE");
    EXPECT_EQ(r.status, 1);
    // Without Wine (or, where none was built, the bridge) the link's own reason follows.
    EXPECT_EQ(r.err.rfind("zolt: the host did not take the request: the chart window \"QEL "
                          "Charts\" was not there and C:\\QEL\\qelch32.exe did not bring it (",
                          0),
              0u)
        << r.err;
    EXPECT_EQ(list.status, 1);
    EXPECT_NE(list.err.find("did not bring it"), std::string::npos) << list.err;
    EXPECT_EQ(zolt({"chart"}).status, 2);
}

TEST(Zolt, TickerListsAndSettingsNames) {
    const Installation zolt(40, "2026-12-04 18:00");
    const fs::path prog = zolt.common[5];
    ASSERT_EQ(zolt({"generate", "--date", "2026-11-20", "--ma", "10"}).status, 0);
    testutil::WriteFile(prog / "Wide.vni", "[Filter]\r\nPage=8\r\nMinClose=0\r\n");

    // The rows' tickers, as a tag list of them would hold them: no titles, no summary rows.
    Result grid =
        zolt({"filter", "--dataset", "26112010.vds", "--settings", "WIDE", "--format", "grid"});
    Result tickers =
        zolt({"filter", "--dataset", "26112010.vds", "--settings", "wide", "--format", "tickers"});
    ASSERT_EQ(tickers.status, 0) << tickers.err;
    std::istringstream rows(grid.out);
    std::string line, expected;
    for (int r = 0; std::getline(rows, line); ++r) {
        std::string ticker = line.substr(line.find('\t') + 1);
        ticker = ticker.substr(0, ticker.find('\t'));
        if (r >= 3 && ticker != " " && ticker.rfind("AVERAGE", 0) != 0) expected += ticker + "\n";
    }
    // The comparison rows follow the results: SPX and RUT are not among the results here.
    EXPECT_EQ(tickers.out + "SPX\nRUT\n", expected);

    Result found = zolt({"find", "--format", "tickers"});
    ASSERT_EQ(found.status, 0) << found.err;
    EXPECT_EQ(found.out.find_first_of(" \t;"), std::string::npos) << found.out;

    EXPECT_EQ(zolt({"filter", "--dataset", "26112010.vds", "--settings", "none"}).err,
              "zolt: no settings file " + (prog / "none.VNI").string() + "\n");
    fs::create_directory(prog / "Dir.VNI");
    EXPECT_EQ(zolt({"filter", "--dataset", "26112010.vds", "--settings", "dir"}).err,
              "zolt: the settings file " + (prog / "Dir.VNI").string() + " is a directory\n");
}
