// Ini files: sections, keys, quotes and defaults, integers and their limits, and writes that
// change only what they must and keep the old file when they fail.
#include "platform/Profile.h"

#include "platform/Text.h"
#include "support/TestUtil.h"

#include <climits>
#include <filesystem>
#include <gtest/gtest.h>
#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using platform::Profile;

namespace {

const char kIni[] = "; settings\n"
                    "[Paths]\n"
                    "  Data = C:\\QEL\\DATA  \n"
                    "Quoted=\"  padded \"\n"
                    "Single='x'\n"
                    "Odd=\"x'\n"
                    ";Hidden=1\n"
                    "\n"
                    "[Other]\n"
                    "Only=here\n"
                    "[paths]\n"
                    "Data=second\n"
                    "Late=second\n";

} // namespace

TEST(ProfileRead, SectionsKeysQuotesAndDefaults) {
    testutil::TempDir dir;
    testutil::WriteFile(dir / "a.ini", kIni);
    Profile p(dir / "a.ini");
    EXPECT_EQ(p.ReadString("PATHS", "data", "?"), "C:\\QEL\\DATA");
    EXPECT_EQ(p.ReadString("Paths", "Quoted", "?"), "  padded ");
    EXPECT_EQ(p.ReadString("Paths", "Single", "?"), "x");
    EXPECT_EQ(p.ReadString("Paths", "Odd", "?"), "\"x'");
    EXPECT_EQ(p.ReadString("Paths", "Hidden", "?"), "?");
    EXPECT_EQ(p.ReadString("Paths", "Only", "?"), "?");
    // A repeated section is not consulted, not even for keys the first one lacks.
    EXPECT_EQ(p.ReadString("Paths", "Late", "?"), "?");
    EXPECT_EQ(p.ReadString("Missing", "Data", "?"), "?");
    EXPECT_EQ(Profile(dir / "none.ini").ReadString("Paths", "Data", "def"), "def");

    std::string crlf;
    for (char c : std::string(kIni)) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    testutil::WriteFile(dir / "b.ini", crlf);
    Profile q(dir / "b.ini");
    for (const char* key : {"Data", "Quoted", "Single", "Odd", "Hidden", "Late"})
        EXPECT_EQ(q.ReadString("paths", key, "?"), p.ReadString("paths", key, "?")) << key;
}

TEST(ProfileRead, Integers) {
    testutil::TempDir dir;
    testutil::WriteFile(dir / "i.ini",
                        "[N]\nA=42\nB=-7\nC=+5\nD=  13  \nE=12abc\nF=\nG=1.5\nH=+-3\n"
                        "I=99999999999\nJ='8'\n");
    Profile p(dir / "i.ini");
    EXPECT_EQ(p.ReadInteger("N", "A", 0), 42);
    EXPECT_EQ(p.ReadInteger("N", "B", 0), -7);
    EXPECT_EQ(p.ReadInteger("N", "C", 0), 5);
    EXPECT_EQ(p.ReadInteger("N", "D", 0), 13);
    EXPECT_EQ(p.ReadInteger("N", "J", 0), 8);
    for (const char* key : {"E", "F", "G", "H", "I", "Missing"})
        EXPECT_EQ(p.ReadInteger("N", key, -99), -99) << key;
}

TEST(ProfileRead, ParseIntegerLimits) {
    int v = 0;
    EXPECT_TRUE(platform::ParseInteger("2147483647", v));
    EXPECT_EQ(v, INT_MAX);
    EXPECT_TRUE(platform::ParseInteger("-2147483648", v));
    EXPECT_EQ(v, INT_MIN);
    v = 5;
    EXPECT_FALSE(platform::ParseInteger("2147483648", v));
    EXPECT_FALSE(platform::ParseInteger("-2147483649", v));
    EXPECT_FALSE(platform::ParseInteger("+", v));
    EXPECT_FALSE(platform::ParseInteger("-", v));
    EXPECT_FALSE(platform::ParseInteger("0x10", v));
    EXPECT_EQ(v, 5); // untouched on failure
}

TEST(ProfileWrite, ChangesOnlyWhatItMust) {
    testutil::TempDir dir;
    const fs::path f = dir / "w.ini";
    auto check = [&](const std::string& before, const char* s, const char* k, const char* v,
                     const std::string& after) {
        testutil::WriteFile(f, before);
        EXPECT_TRUE(Profile(f).WriteString(s, k, v));
        EXPECT_EQ(testutil::ReadFile(f), after) << before;
        EXPECT_EQ(Profile(f).ReadString(s, k, "?"), v) << before;
    };
    // Replace: only the key line changes, its line ending and neighbours stay.
    check("; c\r\n[A]\r\nx = 1\r\nKey=old\r\nz=3\r\n", "a", "KEY", "new",
          "; c\r\n[A]\r\nx = 1\r\nKEY=new\r\nz=3\r\n");
    check("[A]\nKey=old", "A", "Key", "v", "[A]\nKey=v");
    // Add: after the section's last non-blank line, before the blank lines that follow it.
    check("[A]\r\nx=1\r\n; note\r\n\r\n\r\n[B]\r\ny=2\r\n", "A", "K", "V",
          "[A]\r\nx=1\r\n; note\r\nK=V\r\n\r\n\r\n[B]\r\ny=2\r\n");
    check("[A]\nx=1\n\n[B]\n", "A", "K", "V", "[A]\nx=1\nK=V\n\n[B]\n");
    check("[A]\n[B]\n", "A", "K", "V", "[A]\nK=V\n[B]\n");
    check("[B]\n[A]\nx=1", "A", "K", "V", "[B]\n[A]\nx=1\nK=V\n");
    // New section: at the end, in the file's own line ending.
    check("[A]\r\nx=1\r\n", "New", "K", "V", "[A]\r\nx=1\r\n[New]\r\nK=V\r\n");
    check("[A]\nx=1\n\n", "New", "K", "V", "[A]\nx=1\n\n[New]\nK=V\n");
    check("[A]\nx=1", "New", "K", "V", "[A]\nx=1\n[New]\nK=V\n");

    fs::remove(f);
    EXPECT_TRUE(Profile(f).WriteString("S", "K", "V"));
    EXPECT_EQ(testutil::ReadFile(f), "[S]\r\nK=V\r\n");

    // No temporary file is left beside it; the writers' lock file stays.
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.Path())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".w.ini.lock", "w.ini"}));
}

TEST(ProfileWrite, FailureKeepsOldFile) {
    testutil::TempDir dir;
    EXPECT_FALSE(Profile(dir / "no/such/dir.ini").WriteString("S", "K", "V"));
    EXPECT_FALSE(fs::exists(dir / "no"));

    if (::geteuid() == 0) GTEST_SKIP() << "permissions are not enforced for root";
    const fs::path sub = dir / "ro";
    const std::string old = "[S]\nK=old\n";
    testutil::WriteFile(sub / "r.ini", old);
    ASSERT_EQ(::chmod(sub.c_str(), 0555), 0);
    EXPECT_FALSE(Profile(sub / "r.ini").WriteString("S", "K", "new"));
    ::chmod(sub.c_str(), 0755);
    EXPECT_EQ(testutil::ReadFile(sub / "r.ini"), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(sub), fs::directory_iterator()), 1);
}

TEST(ProfileWrite, TwoWritersOfOneFileLoseNothing) {
    // Two programs closing together each rewrite the file with their own section changed.
    testutil::TempDir dir;
    const fs::path file = dir / "shared.ini";
    constexpr int Writes = 300;
    const char* const sections[] = {"ZoltW", "ZimRA"};
    std::vector<pid_t> children;
    for (const char* section : sections) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            Profile p(file);
            bool ok = true;
            for (int i = 0; i < Writes; ++i)
                ok = p.WriteString(section, "K" + std::to_string(i), std::to_string(i)) && ok;
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = -1;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    Profile p(file);
    for (const char* section : sections)
        for (int i = 0; i < Writes; ++i)
            ASSERT_EQ(p.ReadString(section, "K" + std::to_string(i), "lost"), std::to_string(i))
                << section << " K" << i;
}

TEST(ProfileWrite, AWriterThatCannotHaveTheLockGivesUpWithTheReason) {
    testutil::TempDir dir;
    const fs::path file = dir / "busy.ini";
    const int held = ::open((dir / ".busy.ini.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(held, 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) { // the other writer, holding the lock well past the wait
        ::flock(held, LOCK_EX);
        ::sleep(Profile::LockWaitMs / 1000 + 3);
        ::_exit(0);
    }
    ::close(held);
    ::usleep(200 * 1000);
    Profile p(file);
    EXPECT_FALSE(p.WriteString("S", "K", "V"));
    EXPECT_EQ(p.WriteProblem(), "another program kept writing it for 5 seconds");
    EXPECT_FALSE(fs::exists(file));
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

TEST(ProfileWrite, LastLineEndingInALoneCarriageReturn) {
    // A file cut after a CR: the new key must start a line of its own.
    std::string text = "[S]\r\nA=1\r";
    std::string written = platform::WriteProfileText(text, "S", "B", "2");
    EXPECT_EQ(written, "[S]\r\nA=1\r\r\nB=2\r\n");
    EXPECT_EQ(platform::ReadProfileText(written, "S", "A", "?"), "1");
    EXPECT_EQ(platform::ReadProfileText(written, "S", "B", "?"), "2");
}
