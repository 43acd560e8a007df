// Finding the host installation at start-up: path rules, settings and checks, failures that say
// which file and why, the last market date, the finder's variant, and the ticker files.
#include "hostdb/HostInstallation.h"

#include "hostdb/MarketCalendar.h"
#include "support/TestUtil.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace hostdb;
namespace fs = std::filesystem;

namespace {

// A Wine-style host installation in a temporary directory.
class HostFixture : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(prefix() / "drive_c" / "windows");
        fs::create_directories(prefix() / "dosdevices");
        fs::create_directory_symlink("../drive_c", prefix() / "dosdevices" / "c:");
        env.dirs.winePrefix = prefix();
        env.dirs.windows = prefix() / "drive_c" / "windows";
        env.now = EncodeDateTime(2026, 12, 7, 12, 0);
        WriteQel32(
            "[PATHS]\r\nEquityPath=C:\\DATA\r\n[PROCHART]\r\nPATHNAME=C:\\HOST\\PROG.EXE\r\n");
        WriteQelCom("[config]\r\nmktclose=1600\r\n");
    }

    fs::path prefix() const { return tmp.Path(); }
    void WriteQel32(const std::string& text) {
        testutil::WriteFile(env.dirs.windows / "qel32.ini", text);
    }
    void WriteQelCom(const std::string& text) {
        testutil::WriteFile(prefix() / "drive_c" / "HOST" / "QelCom.Ini", text);
    }

    // The last market date at the given local time, as the screener finds it.
    std::string LastMarketDate(int y, int m, int d, int hh, int mm) {
        env.now = EncodeDateTime(y, m, d, hh, mm);
        DayNumber day = -1;
        std::string text, error;
        EXPECT_TRUE(FindLastMarketDate("yyyy-mm-dd ddd", env, day, text, error)) << error;
        return text;
    }

    testutil::TempDir tmp;
    HostEnvironment env;
};

} // namespace

TEST(HostInstallation, PathRules) {
    EXPECT_EQ(HostDirectoryOf("C:\\HOST\\PROG.EXE"), "C:\\HOST");
    EXPECT_EQ(HostDirectoryOf("C:\\PROG.EXE"), "C:");
    EXPECT_EQ(HostDirectoryOf("PROG.EXE"), "");
    EXPECT_EQ(HostDirectoryOf("\\PROG.EXE"), "");
    EXPECT_EQ(HostDirectoryOf(""), "");
    EXPECT_EQ(HostDirectoryOf("/opt/qel/prog"), "/opt/qel");
    EXPECT_EQ(HostDirectoryOf("C:\\HOST\\"), "C:\\HOST");

    EXPECT_EQ(DirectoryPartWithoutDelimiter("C:\\HOST\\PROG.EXE"), "C:\\HOST");
    EXPECT_EQ(DirectoryPartWithoutDelimiter("C:\\PROG.EXE"), "C:");
    EXPECT_EQ(DirectoryPartWithoutDelimiter("C:PROG.EXE"), "C");
    EXPECT_EQ(DirectoryPartWithoutDelimiter(" "), "");
    EXPECT_EQ(DirectoryPartWithoutDelimiter("\\PROG.EXE"), "");
    EXPECT_EQ(DirectoryPartWithoutDelimiter("/opt/qel/prog"), "/opt/qel");

    EXPECT_EQ(HhmmToMinutes(1700), 1020);
    EXPECT_EQ(HhmmToMinutes(930), 570);
    EXPECT_EQ(HhmmToMinutes(0), 0);
}

TEST_F(HostFixture, SettingsAndChecks) {
    HostGlobals g;
    std::string error;
    ASSERT_TRUE(ReadHostSettings(HostProgram::ZoltW, env.dirs, g, error));
    EXPECT_EQ(g.HostDirectory, "C:\\HOST");
    EXPECT_EQ(g.HostLibraryPath, "C:\\HOST\\qelio32.dll");
    EXPECT_EQ(g.EquityPathList, "C:\\DATA");

    // The screener needs data directories; the finder does not.
    WriteQel32("[PROCHART]\r\nPATHNAME=C:\\HOST\\PROG.EXE\r\n");
    EXPECT_FALSE(ReadHostSettings(HostProgram::ZoltW, env.dirs, g, error));
    EXPECT_EQ(error, "Zolt can't find QEL files");
    EXPECT_TRUE(ReadHostSettings(HostProgram::Zimra, env.dirs, g, error));

    WriteQel32("[PATHS]\r\nEquityPath=C:\\DATA\r\n[PROCHART]\r\nPATHNAME=PROG.EXE\r\n");
    EXPECT_FALSE(ReadHostSettings(HostProgram::Zimra, env.dirs, g, error));
    EXPECT_EQ(error, "ZimRA can't find QEL files");

    fs::remove(env.dirs.windows / "qel32.ini");
    EXPECT_FALSE(ReadHostSettings(HostProgram::ZoltW, env.dirs, g, error));

    DayNumber day = 123;
    std::string text = "unchanged";
    EXPECT_FALSE(FindLastMarketDate("dddddd", env, day, text, error));
    EXPECT_EQ(error, "Can't find QEL files");
    EXPECT_EQ(day, 123);
    EXPECT_EQ(text, "unchanged");
}

TEST_F(HostFixture, DiscoveryFailuresSayWhichFileAndWhy) {
    const std::string ini = (env.dirs.windows / "qel32.ini").string();
    auto reasonFor = [&](HostProgram program) {
        HostGlobals g;
        std::string error, reason;
        EXPECT_FALSE(ReadHostSettings(program, env.dirs, g, error, &reason));
        return reason;
    };
    WriteQel32(" \r\n");
    EXPECT_EQ(reasonFor(HostProgram::ZoltW), ini + " is empty");
    WriteQel32("[PROCHART]\r\nPATHNAME=C:\\HOST\\PROG.EXE\r\n");
    EXPECT_EQ(reasonFor(HostProgram::ZoltW),
              ini + " names no data directories (EquityPath in [PATHS])");
    WriteQel32("[PATHS]\r\nEquityPath=C:\\DATA\r\n");
    EXPECT_EQ(reasonFor(HostProgram::Zimra),
              ini + " names no chart program (PATHNAME in [PROCHART])");
    WriteQel32("[PROCHART]\r\nPATHNAME=PROG.EXE\r\n");
    EXPECT_EQ(reasonFor(HostProgram::Zimra),
              ini + " names a chart program without a directory (PATHNAME=PROG.EXE)");
    fs::remove(ini);
    fs::create_directory(ini);
    EXPECT_EQ(reasonFor(HostProgram::ZoltW), ini + " is a directory");
    fs::remove(ini);
    EXPECT_EQ(reasonFor(HostProgram::ZoltW),
              (env.dirs.windows / "Qel32.Ini").string() + " does not exist");
    // A FIFO is refused at once instead of waiting for a writer.
    ASSERT_EQ(::mkfifo(ini.c_str(), 0644), 0);
    EXPECT_EQ(reasonFor(HostProgram::ZoltW), ini + " is a FIFO");
}

TEST_F(HostFixture, UnreadableDataDirectoryAndHolidayFileAreReported) {
    testutil::WriteFile(prefix() / "drive_c" / "DATA", "a file where a directory belongs");
    fs::create_directories(prefix() / "drive_c" / "HOST" / "holiday.idx");
    WriteQel32("[PATHS]\r\nEquityPath=C:\\DATA;C:\\NONE\r\n[PROCHART]\r\n"
               "PATHNAME=C:\\HOST\\PROG.EXE\r\n");
    HostInstallation host;
    std::string error;
    ASSERT_TRUE(DiscoverHost(HostProgram::ZoltW, env, host, error));
    ASSERT_EQ(host.warnings.size(), 3u);
    EXPECT_NE(host.warnings[0].find("the data directory " +
                                    (prefix() / "dosdevices/c:/DATA").string() + " cannot be read"),
              std::string::npos)
        << host.warnings[0];
    EXPECT_EQ(host.warnings[1], "the data directory " + (prefix() / "dosdevices/c:/NONE").string() +
                                    " does not exist; its tickers are left out");
    const std::string holidays = (prefix() / "dosdevices/c:/HOST/holiday.idx").string();
    EXPECT_EQ(host.warnings[2],
              "the holiday file " + holidays + " is a directory; the built-in holidays are used");

    fs::remove(holidays);
    fs::create_symlink("holiday.idx", holidays);
    ASSERT_TRUE(DiscoverHost(HostProgram::ZoltW, env, host, error));
    ASSERT_EQ(host.warnings.size(), 3u);
    EXPECT_EQ(host.warnings[2], "the holiday file " + holidays +
                                    " cannot be read (Too many levels of symbolic links); the "
                                    "built-in holidays are used");
}

TEST_F(HostFixture, LastMarketDateCutOff) {
    // mktclose 1600: Wednesday 2 December 2026.
    EXPECT_EQ(LastMarketDate(2026, 12, 2, 15, 59), "2026-12-01 Tue");
    EXPECT_EQ(LastMarketDate(2026, 12, 2, 16, 0), "2026-12-02 Wed");
    // Weekends go back to Friday at any hour.
    EXPECT_EQ(LastMarketDate(2026, 12, 5, 23, 59), "2026-12-04 Fri");
    EXPECT_EQ(LastMarketDate(2026, 12, 6, 0, 0), "2026-12-04 Fri");
    // Monday after Good Friday (3 April 2026), before the close: the Thursday before.
    EXPECT_EQ(LastMarketDate(2026, 4, 6, 10, 0), "2026-04-02 Thu");

    // Intraday hosts cut off at the opening time; "YES" counts as yes.
    WriteQelCom("[config]\r\nmktopen=930\r\nmktclose=1600\r\nintraday=YES\r\n");
    EXPECT_EQ(LastMarketDate(2026, 12, 2, 9, 30), "2026-12-02 Wed");
    EXPECT_EQ(LastMarketDate(2026, 12, 2, 9, 29), "2026-12-01 Tue");

    // Without QelCom.Ini: close at 17:00.
    fs::remove(prefix() / "drive_c" / "HOST" / "QelCom.Ini");
    EXPECT_EQ(LastMarketDate(2026, 12, 2, 16, 59), "2026-12-01 Tue");
    EXPECT_EQ(LastMarketDate(2026, 12, 2, 17, 0), "2026-12-02 Wed");
}

TEST_F(HostFixture, LastMarketDateUsesTheHostsHolidayFile) {
    // Friday 4 December 2026 declared a holiday by the host.
    std::vector<std::uint8_t> bytes((2026 - 1970 + 1) * 222, 0);
    size_t off = (2026 - 1970) * 222;
    testutil::PutInt16LE(bytes, off, 2026);
    testutil::PutInt16LE(bytes, off + 202, MarketCalendar::DateToDay(EncodeDate(2026, 12, 4)));
    testutil::WriteFile(prefix() / "drive_c" / "HOST" / "holiday.idx",
                        std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(LastMarketDate(2026, 12, 6, 12, 0), "2026-12-03 Thu");
}

TEST_F(HostFixture, FinderVariant) {
    HostGlobals g;
    std::string error;
    ASSERT_TRUE(ReadHostSettings(HostProgram::Zimra, env.dirs, g, error));
    WriteQelCom("[config]\r\nmktopen=930\r\nmktclose=1600\r\nintraday=yes\r\n");
    DayNumber day;
    std::string text;
    env.now = EncodeDateTime(2026, 12, 2, 15, 59); // intraday is not consulted
    FindLastMarketDateZimra(g, env, day, text);
    EXPECT_EQ(text, "Tuesday, December 1, 2026");
    env.now = EncodeDateTime(2026, 12, 2, 16, 0);
    FindLastMarketDateZimra(g, env, day, text);
    EXPECT_EQ(day, MarketCalendar::DateToDay(EncodeDate(2026, 12, 2)));

    // A short date format that reads back in another order still finds today.
    env.locale.shortDateFormat = "dd/mm/yyyy";
    env.now = EncodeDateTime(2026, 3, 4, 18, 0);
    FindLastMarketDateZimra(g, env, day, text);
    EXPECT_EQ(text, "Wednesday, March 4, 2026");
}

TEST_F(HostFixture, DiscoveryListsTickerFilesSorted) {
    WriteQel32("[PATHS]\r\nEquityPath=C:\\DATA; C:\\MORE\\;;\r\n[PROCHART]\r\n"
               "PATHNAME=C:\\HOST\\PROG.EXE\r\n");
    for (const char* f :
         {"DATA/msft.dta", "DATA/AAPL.DTA", "MORE/ibm.DTA", "MORE/readme.txt", "MORE/.hidden.dta",
          "DATA/B.DTA", "DATA/NL\nX.DTA", "MORE/\x1b[31mRED.DTA"})
        testutil::WriteFile(prefix() / "drive_c" / f, "x");
    env.now = EncodeDateTime(2026, 12, 2, 18, 0);
    HostInstallation host;
    std::string error;
    ASSERT_TRUE(DiscoverHost(HostProgram::ZoltW, env, host, error));
    EXPECT_EQ(host.globals.LastMarketDateText, "Wednesday, December 2, 2026");
    std::vector<std::string> names;
    for (const fs::path& p : host.tickerFiles)
        names.push_back(p.parent_path().filename().string() + "/" + p.filename().string());
    EXPECT_EQ(names, (std::vector<std::string>{"DATA/AAPL.DTA", "DATA/B.DTA", "DATA/msft.dta",
                                               "MORE/ibm.DTA"}));
    // Names no ticker can have are left out, each with a warning that cannot drive a terminal.
    ASSERT_EQ(host.warnings.size(), 2u);
    EXPECT_EQ(host.warnings[0], "the ticker file " +
                                    (prefix() / "dosdevices/c:/DATA/NL?X.DTA").string() +
                                    " is left out: a ticker holds no control characters");
    EXPECT_NE(host.warnings[1].find("MORE/?[31mRED.DTA is left out"), std::string::npos);
}
