// Reading files that are not what their names promise, and writing files so that they are whole,
// keep their links and permissions, and never leave a temporary file behind.
#include "platform/Directories.h"
#include "platform/Profile.h"
#include "support/TestUtil.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using platform::WriteMode;

namespace {

mode_t ModeOf(const fs::path& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

size_t EntryCount(const fs::path& dir) {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

} // namespace

TEST(ReadRegularFile, RefusesWhatIsNotAFileWithoutBlocking) {
    testutil::TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
    int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::string sockPath = (dir / "sock").string();
    ASSERT_LT(sockPath.size(), sizeof addr.sun_path);
    sockPath.copy(addr.sun_path, sockPath.size());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);

    struct Case {
        fs::path path;
        const char* reason;
    } cases[] = {{dir / "fifo", "is a FIFO"},
                 {dir.Path(), "is a directory"},
                 {"/dev/zero", "is a device"},
                 {dir / "sock", "does not exist"},
                 {dir / "none", "does not exist"}};
    auto start = std::chrono::steady_clock::now();
    for (const Case& c : cases) {
        std::string data = "stale", reason;
        EXPECT_FALSE(platform::ReadRegularFile(c.path, data, reason)) << c.path;
        // A socket cannot be opened at all; every other case names its kind.
        if (c.path != dir / "sock") {
            EXPECT_EQ(reason, c.reason) << c.path;
        }
        EXPECT_TRUE(data.empty());
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    ::close(sock);

    // A profile in a FIFO's place reads as defaults and says why.
    platform::Profile fifo(dir / "fifo");
    EXPECT_EQ(fifo.ReadString("S", "K", "def"), "def");
    EXPECT_EQ(fifo.Problem(), "is a FIFO");
    EXPECT_FALSE(fifo.WriteString("S", "K", "V"));
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
}

TEST(ReadRegularFile, SizeCap) {
    testutil::TempDir dir;
    std::string big(platform::MaxProfileSize + 1, 'x');
    testutil::WriteFile(dir / "big.ini", "[S]\nK=V\n" + big);
    platform::Profile p(dir / "big.ini");
    EXPECT_EQ(p.ReadString("S", "K", "def"), "def");
    EXPECT_EQ(p.Problem(), "is larger than 1 MB");

    std::string data, reason;
    testutil::WriteFile(dir / "exact", std::string(100, 'y'));
    EXPECT_TRUE(platform::ReadRegularFile(dir / "exact", data, reason, 100));
    EXPECT_EQ(data.size(), 100u);
    EXPECT_FALSE(platform::ReadRegularFile(dir / "exact", data, reason, 99));
    EXPECT_EQ(reason, "is larger than 99 bytes");
}

TEST(Profile, ReadsTheFileOnce) {
    testutil::TempDir dir;
    testutil::WriteFile(dir / "a.ini", "[S]\nA=1\nB=2\n");
    platform::Profile p(dir / "a.ini");
    EXPECT_EQ(p.ReadString("S", "A", "?"), "1");
    testutil::WriteFile(dir / "a.ini", "[S]\nA=9\nB=9\n");
    EXPECT_EQ(p.ReadString("S", "B", "?"), "2"); // from the first read
    EXPECT_TRUE(p.Problem().empty());
    // Its own write is seen by the next read.
    EXPECT_TRUE(p.WriteString("S", "C", "3"));
    EXPECT_EQ(p.ReadString("S", "A", "?"), "9");
    EXPECT_EQ(p.ReadString("S", "C", "?"), "3");
}

TEST(WriteFileAtomically, PermissionsOfNewAndReplacedFiles) {
    testutil::TempDir dir;
    mode_t old = ::umask(002);
    EXPECT_TRUE(platform::WriteFileAtomically(dir / "new", "a"));
    ::umask(077);
    EXPECT_TRUE(platform::WriteFileAtomically(dir / "private", "a"));
    ::umask(old);
    EXPECT_EQ(ModeOf(dir / "new"), 0664u);
    EXPECT_EQ(ModeOf(dir / "private"), 0600u);

    // A replaced file keeps its bits, but never set-user-ID or set-group-ID.
    testutil::WriteFile(dir / "prog", "#!/bin/sh\n");
    ASSERT_EQ(::chmod((dir / "prog").c_str(), 06751), 0);
    EXPECT_TRUE(platform::WriteFileAtomically(dir / "prog", "list"));
    EXPECT_EQ(ModeOf(dir / "prog"), 0751u);
    EXPECT_EQ(testutil::ReadFile(dir / "prog"), "list");
}

TEST(WriteFileAtomically, LinksStayLinks) {
    testutil::TempDir dir;
    fs::create_directories(dir / "real");
    testutil::WriteFile(dir / "real/target", "old");
    ASSERT_EQ(::chmod((dir / "real/target").c_str(), 04755), 0);
    fs::create_symlink("real/target", dir / "link");
    fs::create_symlink("link", dir / "link2");

    EXPECT_TRUE(platform::WriteFileAtomically(dir / "link2", "new"));
    EXPECT_TRUE(fs::is_symlink(dir / "link2"));
    EXPECT_TRUE(fs::is_symlink(dir / "link"));
    EXPECT_EQ(testutil::ReadFile(dir / "real/target"), "new");
    EXPECT_EQ(ModeOf(dir / "real/target"), 0755u); // a link to a setuid file: no setuid copy
    EXPECT_EQ(EntryCount(dir / "real"), 1u);

    // A dangling link is a name that exists: only replacing writes through it.
    fs::create_symlink("real/later", dir / "dangling");
    errno = 0;
    EXPECT_FALSE(platform::WriteFileAtomically(dir / "dangling", "x", WriteMode::NoReplace));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_FALSE(fs::exists(dir / "real/later"));
    EXPECT_TRUE(platform::WriteFileAtomically(dir / "dangling", "x"));
    EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
    EXPECT_EQ(testutil::ReadFile(dir / "real/later"), "x");

    // A loop of links is an error, not a hang.
    fs::create_symlink("loop2", dir / "loop1");
    fs::create_symlink("loop1", dir / "loop2");
    EXPECT_FALSE(platform::WriteFileAtomically(dir / "loop1", "x"));

    // Only a regular file is replaced: a FIFO (as a device would) stays, in place or linked to.
    ASSERT_EQ(::mkfifo((dir / "real/fifo").c_str(), 0644), 0);
    fs::create_symlink("real/fifo", dir / "tofifo");
    fs::create_symlink("real", dir / "todir");
    std::string problem;
    EXPECT_FALSE(platform::WriteFileAtomically(dir / "tofifo", "x", WriteMode::Replace, &problem));
    EXPECT_EQ(problem, "it links to " + (dir / "real/fifo").string() +
                           ", which is a FIFO, not a regular file");
    EXPECT_FALSE(
        platform::WriteFileAtomically(dir / "real/fifo", "x", WriteMode::Replace, &problem));
    EXPECT_EQ(problem, "it is a FIFO, not a regular file");
    EXPECT_FALSE(platform::WriteFileAtomically(dir / "todir", "x", WriteMode::Replace, &problem));
    EXPECT_EQ(errno, EISDIR);
    EXPECT_TRUE(fs::is_fifo(dir / "real/fifo"));
    EXPECT_TRUE(fs::is_symlink(dir / "tofifo"));
    EXPECT_EQ(EntryCount(dir / "real"), 3u); // target, later, fifo: no temporary left
}

TEST(WriteFileAtomically, WithoutReplacingOnlyOneWriterWins) {
    testutil::TempDir dir;
    const fs::path list = dir / "LIST.LIS";
    EXPECT_TRUE(platform::WriteFileAtomically(list, "first", WriteMode::NoReplace));
    errno = 0;
    EXPECT_FALSE(platform::WriteFileAtomically(list, "second", WriteMode::NoReplace));
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(testutil::ReadFile(list), "first");

    // Two processes racing for one new name: exactly one succeeds.
    for (int round = 0; round < 20; ++round) {
        const fs::path name = dir / ("race" + std::to_string(round));
        pid_t pids[2];
        for (pid_t& pid : pids) {
            pid = ::fork();
            if (pid == 0)
                ::_exit(platform::WriteFileAtomically(name, std::string(4096, 'a'),
                                                      WriteMode::NoReplace)
                            ? 0
                            : 1);
        }
        int wins = 0;
        for (pid_t pid : pids) {
            int status = 0;
            ::waitpid(pid, &status, 0);
            wins += WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
        EXPECT_EQ(wins, 1) << round;
        EXPECT_EQ(fs::file_size(name), 4096u);
    }
    EXPECT_EQ(EntryCount(dir.Path()), 21u);
}

TEST(WriteFileAtomically, InterruptedWritesLeaveNoTemporaryFile) {
    testutil::TempDir dir;
    const fs::path target = dir / "set.vds";
    testutil::WriteFile(target, "older");
    const std::string big(8 << 20, 'z');
    for (int sig : {SIGINT, SIGTERM}) {
        pid_t pid = ::fork();
        if (pid == 0) {
            std::signal(sig, SIG_DFL);
            for (;;) platform::WriteFileAtomically(target, big);
        }
        ::usleep(150000);
        ::kill(pid, sig);
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(EntryCount(dir.Path()), 1u);
        std::string content = testutil::ReadFile(target);
        EXPECT_TRUE(content == "older" || content == big) << content.size();
    }
}

TEST(Directories, DotDotStopsAtTheRoot) {
    platform::Directories d;
    d.winePrefix = "/pfx";
    auto drive = [](const fs::path& p) { return p.lexically_relative("/pfx").string(); };
    // The C: drive falls back to drive_c when dosdevices has no c: link.
    EXPECT_EQ(drive(d.LocalPath("C:\\..\\..\\tmp\\x.exe")), "drive_c/tmp/x.exe");
    EXPECT_EQ(drive(d.LocalPath("c:/QEL/../../QEL/./qelch32.exe")), "drive_c/QEL/qelch32.exe");
    EXPECT_EQ(d.LocalPath("/../../etc/../tmp").string(), "/tmp");
    EXPECT_EQ(d.LocalPath("a/../../b").string(), "../b");

    d.SetWindowsDirectory(""); // no throw; nothing is derived from an empty name
    EXPECT_EQ(d.winePrefix, "/pfx");
}
