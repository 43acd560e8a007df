#include "cli/Zolt.h"

#include "TestUtil.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct Result {
    int status;
    std::string out, err;
};

Result Zolt(const std::vector<std::string>& args, const platform::Directories& dirs = {}) {
    std::ostringstream out, err;
    int status = cli::RunZolt(args, dirs, platform::Locale::Posix(),
                              hostdb::EncodeDateTime(2026, 12, 7, 12, 0), out, err);
    return {status, out.str(), err.str()};
}

} // namespace

TEST(Zolt, HostReport) {
    testutil::TempDir tmp;
    fs::path windows = tmp / "drive_c/windows";
    testutil::WriteFile(windows / "Qel32.Ini",
                        "[PATHS]\nEquityPath=" + (tmp / "d1").string() + ";" +
                            (tmp / "d2").string() + "\n[PROCHART]\nPATHNAME=C:\\QEL\\qelch32.exe\n");
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
    EXPECT_EQ(none.err, "Zolt can't find QEL files\n");

    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"--bogus", "x", "host"},
                                               {"--now"},
                                               {"--now", "2026-02-30 10:00", "host"},
                                               {"--now", "2026-12-07 24:00", "host"},
                                               {"--now", "yesterday", "host"},
                                               {"frobnicate"},
                                               {"host", "extra"}}) {
        Result r = Zolt(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err.rfind("zolt: ", 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }

    hostdb::DateTimeValue now;
    ASSERT_TRUE(cli::ParseNow("2026-12-07 16:00", now));
    EXPECT_EQ(now, hostdb::EncodeDateTime(2026, 12, 7, 16, 0));
    ASSERT_TRUE(cli::ParseNow("2026-12-07", now));
    EXPECT_EQ(now, hostdb::EncodeDate(2026, 12, 7));
    EXPECT_FALSE(cli::ParseNow("2026-12-07 16:00x", now));
}
