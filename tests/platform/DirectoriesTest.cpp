// Where the host's and the programs' files live: Windows paths through the Wine drives, the
// Windows directory, files in a directory, the environment's defaults, the program directory.
#include "platform/Directories.h"

#include "support/TestUtil.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <set>

namespace fs = std::filesystem;
using platform::Directories;

namespace {

// Sets an environment variable for the lifetime of the object and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace

TEST(Directories, LocalPathThroughDriveMapping) {
    testutil::TempDir prefix;
    fs::create_directories(prefix / "drive_c/QEL");
    fs::create_directories(prefix / "drive_c/qel2/Data");
    fs::create_directories(prefix / "dosdevices");
    fs::create_directory_symlink("../drive_c", prefix / "dosdevices/c:");
    Directories d;
    d.winePrefix = prefix.Path();

    const fs::path c = prefix / "dosdevices/c:";
    EXPECT_EQ(d.LocalPath("C:\\QEL\\PROG.EXE"), c / "QEL/PROG.EXE");
    EXPECT_EQ(d.LocalPath("c:/QEL/sub\\\\x"), c / "QEL/sub/x");
    // Only the other case exists on disk.
    EXPECT_EQ(d.LocalPath("C:\\QEL2\\DATA"), c / "qel2/Data");
    EXPECT_EQ(d.LocalPath("C:\\qel"), c / "QEL");
    EXPECT_TRUE(fs::is_directory(d.LocalPath("C:\\QEL2\\DATA\\")));

    const std::string unixPath = (prefix / "drive_c/none/file.dta").string();
    EXPECT_EQ(d.LocalPath(unixPath), fs::path(unixPath));

    fs::remove(prefix / "dosdevices/c:");
    EXPECT_EQ(d.LocalPath("C:\\QEL\\PROG.EXE"), prefix / "drive_c/QEL/PROG.EXE");
}

TEST(Directories, SetWindowsDirectory) {
    testutil::TempDir prefix;
    Directories d;
    d.winePrefix = "/old";
    d.SetWindowsDirectory(prefix / "drive_c/windows");
    EXPECT_EQ(d.winePrefix, prefix.Path());
    EXPECT_EQ(d.windows, prefix / "drive_c/windows");

    d.winePrefix = "/old";
    d.SetWindowsDirectory(prefix.Path().string() + "/drive_c/windows/");
    EXPECT_EQ(d.winePrefix, prefix.Path());

    d.winePrefix = "/old";
    d.SetWindowsDirectory(prefix / "windows");
    EXPECT_EQ(d.winePrefix, fs::path("/old"));
    EXPECT_EQ(d.windows, prefix / "windows");
    d.SetWindowsDirectory(prefix / "drive_d/windows");
    EXPECT_EQ(d.winePrefix, fs::path("/old"));
}

TEST(Directories, FileInDirectory) {
    testutil::TempDir dir;
    testutil::WriteFile(dir / "qel32.ini", "");
    EXPECT_EQ(Directories::FileInDirectory(dir.Path(), "Qel32.Ini"), dir / "qel32.ini");
    EXPECT_EQ(Directories::FileInDirectory(dir.Path(), "WIN.INI"), dir / "WIN.INI");
    EXPECT_EQ(Directories::FileInDirectory(dir / "missing", "a.ini"), dir / "missing/a.ini");
}

TEST(Directories, FromEnvironment) {
    testutil::TempDir dir;
    ScopedEnv wine("WINEPREFIX", (dir / "wine").string());
    ScopedEnv xdg("XDG_CONFIG_HOME", (dir / "config").string());
    Directories d = Directories::FromEnvironment();
    EXPECT_EQ(d.winePrefix, dir / "wine");
    EXPECT_EQ(d.windows, dir / "wine/drive_c/windows");
    EXPECT_EQ(d.settings.string().rfind((dir / "config").string(), 0), 0u) << d.settings;
    EXPECT_FALSE(d.program.empty());

    ScopedEnv home("HOME", (dir / "home").string());
    ScopedEnv emptyWine("WINEPREFIX", "");
    EXPECT_EQ(Directories::FromEnvironment().winePrefix, dir / "home/.wine");
}

TEST(Directories, ProgramDirectory) {
    std::map<std::string, std::string> env{{"HOME", "/home/u"}};
    std::set<fs::path> dirs{"/opt/z/share/zolt"};
    auto program = [&](const fs::path& exe) {
        return Directories::ProgramDirectory(
            exe, [&](const char* name) { return env.count(name) ? env[name] : std::string(); },
            [&](const fs::path& p) { return dirs.count(p) > 0; });
    };

    // Installed: PREFIX/bin with PREFIX/share/zolt beside it.
    EXPECT_EQ(program("/opt/z/bin/zolt"), fs::path("/home/u/.local/share/zolt"));
    env["XDG_DATA_HOME"] = "/data";
    EXPECT_EQ(program("/opt/z/bin/zolt"), fs::path("/data/zolt"));
    env["XDG_DATA_HOME"] = "rel/data";
    EXPECT_EQ(program("/opt/z/bin/zolt"), fs::path("/home/u/.local/share/zolt"));
    env.erase("HOME");
    EXPECT_EQ(program("/opt/z/bin/zolt"), fs::path("/.local/share/zolt"));

    // A build tree, a portable copy, or a bin directory without the shared files: beside the
    // executable.
    EXPECT_EQ(program("/src/build/src/cli/zolt"), fs::path("/src/build/src/cli"));
    EXPECT_EQ(program("/usr/bin/zolt"), fs::path("/usr/bin"));
    dirs.insert("/opt/z/bin/share/zolt");
    EXPECT_EQ(program("/opt/z/zolt"), fs::path("/opt/z"));
    dirs.insert("/share/zolt");
    EXPECT_EQ(program("/bin/zolt"), fs::path("/.local/share/zolt"));
}
