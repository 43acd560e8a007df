// `zolt taglist`: lists in the host directory or a named one, replacing only when asked, the
// save dialog's name rules, tickers from a file or standard input, and failures that write nothing.
#include "hostdb/TagListFile.h"
#include "hostdb/TagListReader.h"
#include "support/ZoltRunner.h"

#include <gtest/gtest.h>
#include <iostream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

using Result = testutil::ZoltResult;

Result Zolt(const std::vector<std::string>& args) { return testutil::RunZolt(args); }

std::vector<std::string> TickersIn(const fs::path& path, const std::string& name) {
    taglisttest::Contents c = taglisttest::ReadTagList(testutil::ReadFile(path));
    EXPECT_EQ(c.error, "") << path;
    return taglisttest::ListTickers(c, name);
}

using Strings = std::vector<std::string>;

} // namespace

TEST(ZoltTagList, WritesIntoTheHostDirectoryAndReplacesOnlyWhenAsked) {
    const testutil::MadeHost host({.tickers = 2, .years = 1});
    const std::string windows = host.windows.string();
    const fs::path qel = host.windows.parent_path() / "QEL", path = qel / "MYLIST.LIS";

    Result r = Zolt({"--windows-dir", windows, "taglist", "--name", "mylist", "ibm", "msft"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Tag list /", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("/QEL/MYLIST.LIS: 2 tickers, the first ibm\n"), std::string::npos);
    hostdb::TagListFile direct;
    direct.AddTicker(path.string(), "IBM", 0);
    direct.AddTicker(path.string(), "MSFT", 1);
    EXPECT_EQ(testutil::ReadFile(path), direct.Bytes());

    r = Zolt({"--windows-dir", windows, "taglist", "--name", "MyList", "AAA"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("The TagList MYLIST already exists"), std::string::npos) << r.err;
    EXPECT_EQ(testutil::ReadFile(path), direct.Bytes());

    r = Zolt({"--windows-dir", windows, "taglist", "--replace", "--name", "MYLIST", "AAA"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(TickersIn(path, "MYLIST"), Strings{"AAA"});

    // An existing list in another case is the same list to the host.
    fs::rename(path, qel / "mylist.lis");
    EXPECT_EQ(Zolt({"--windows-dir", windows, "taglist", "--name", "MYLIST", "B"}).status, 1);
    ASSERT_EQ(
        Zolt({"--windows-dir", windows, "taglist", "--name", "MYLIST", "--replace", "B"}).status,
        0);
    EXPECT_EQ(TickersIn(qel / "mylist.lis", "MYLIST"), Strings{"B"});
    EXPECT_FALSE(fs::exists(path));

    // Without --dir a host installation is needed.
    EXPECT_EQ(
        Zolt({"--windows-dir", (host.tmp / "none").string(), "taglist", "--name", "X", "A"}).status,
        2);
}

TEST(ZoltTagList, NamesAreCheckedAsTheSaveDialogChecksThem) {
    testutil::TempDir tmp;
    std::string dir = tmp.Path().string();
    for (char c : std::string(" \"*+,./;<=>?[\\]|\x80\xE9\t")) {
        std::string name = std::string("AB") + c + "C";
        Result r = Zolt({"taglist", "--dir", dir, "--name", name, "IBM"});
        EXPECT_EQ(r.status, 2) << name;
        std::string what = c == ' ' ? "a blank" : std::string("\"") + c + "\"";
        if (static_cast<unsigned char>(c) >= 128 || c == '\t') what = "the character 0x";
        EXPECT_NE(r.err.find("may not hold " + what), std::string::npos) << r.err;
    }
    EXPECT_EQ(Zolt({"taglist", "--dir", dir, "--name", "ABCDEFGHI", "IBM"}).err,
              "zolt: the list name \"ABCDEFGHI\" is longer than 8 characters\n");
    EXPECT_EQ(Zolt({"taglist", "--dir", dir, "--name", "", "IBM"}).status, 2);
    EXPECT_TRUE(fs::is_empty(tmp.Path()));

    // Names the host's platform cannot open.
    EXPECT_EQ(Zolt({"taglist", "--dir", dir, "--name", "com1", "IBM"}).err,
              "zolt: the list name \"com1\" is a device name on the host's platform\n");
    EXPECT_EQ(Zolt({"taglist", "--dir", dir, "--name", "NUL", "IBM"}).status, 2);
    EXPECT_EQ(Zolt({"taglist", "--dir", dir, "--name", "A:B", "IBM"}).err,
              "zolt: the list name \"A:B\" may not hold \":\"\n");
    EXPECT_TRUE(fs::is_empty(tmp.Path()));

    // Other punctuation passes; lower case turns upper.
    ASSERT_EQ(Zolt({"taglist", "--dir", dir, "--name", "a-b_c9!", "IBM"}).status, 0);
    EXPECT_EQ(TickersIn(tmp / "A-B_C9!.LIS", "A-B_C9!"), Strings{"IBM"});
}

TEST(ZoltTagList, TickersFromAFileOrStandardInput) {
    testutil::TempDir tmp;
    std::string dir = tmp.Path().string();
    // One cell a line, split at ";" with the blanks removed, as a grid cell is read.
    testutil::WriteFile(tmp / "in.txt", "AAA; BBB;aaa\n\n \nccc\r\nD D\nbbb\n");
    Result r = Zolt({"taglist", "--dir", dir, "--name", "F", "--from", (tmp / "in.txt").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(TickersIn(tmp / "F.LIS", "F"), (Strings{"AAA", "BBB", "CCC", "DD"}));

    // What `zolt filter --format tickers` prints, with a hostile ticker among them.
    std::istringstream in("SPY\nQ\x1b[2JQ\nIWM\tX\nspy\n");
    std::streambuf* saved = std::cin.rdbuf(in.rdbuf());
    r = Zolt({"taglist", "--dir", dir, "--name", "S", "--from", "-"});
    std::cin.rdbuf(saved);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(TickersIn(tmp / "S.LIS", "S"), (Strings{"SPY"}));
    EXPECT_EQ(r.err, "zolt: left out Q\x1b[2JQ: a ticker holds no control characters\n"
                     "zolt: left out IWM\tX: a ticker holds no control characters\n");

    // Tickers too long for the list are named and left out.
    r = Zolt({"taglist", "--dir", dir, "--name", "LONGLIST", "LONGTICKER", "NINECHARS", "OK"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "zolt: left out LONGTICKER: the ticker is too long for this list's name\n");
    EXPECT_EQ(TickersIn(tmp / "LONGLIST.LIS", "LONGLIST"), (Strings{"NINECHARS", "OK"}));
}

TEST(ZoltTagList, FailuresWriteNothing) {
    testutil::TempDir tmp;
    std::string dir = tmp.Path().string();
    testutil::WriteFile(tmp / "empty.txt", " \n;\n");
    Result r =
        Zolt({"taglist", "--dir", dir, "--name", "E", "--from", (tmp / "empty.txt").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zolt: no tickers given; no tag list written\n");
    EXPECT_FALSE(fs::exists(tmp / "E.LIS"));
    EXPECT_EQ(
        Zolt({"taglist", "--dir", dir, "--name", "E", "--from", (tmp / "no.txt").string()}).err,
        "zolt: cannot read " + (tmp / "no.txt").string() + ": it does not exist\n");
    r = Zolt({"taglist", "--dir", dir, "--name", "E", "AVERYVERYLONGTICKER", "A\x07"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("zolt: all 2 tickers were refused (see above); no tag list written\n"),
              std::string::npos)
        << r.err;

    r = Zolt({"taglist", "--dir", (tmp / "missing").string(), "--name", "E", "IBM"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find((tmp / "missing/E.LIS").string() + ": No such file or directory"),
              std::string::npos)
        << r.err;

    for (const Strings& args : std::vector<Strings>{{"taglist", "IBM"},
                                                    {"taglist", "--name", "X"},
                                                    {"taglist", "--name", "X", "A", "--from", "-"},
                                                    {"taglist", "--name", "X", "--bogus", "A"},
                                                    {"taglist", "--name"}}) {
        Result u = Zolt(args);
        EXPECT_EQ(u.status, 2) << args.back();
        EXPECT_EQ(u.err.rfind("zolt: ", 0), 0u);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.Path()), fs::directory_iterator()), 1);

    // A dangling link in the list's place is a taken name.
    fs::create_symlink("elsewhere.LIS", tmp / "L.LIS");
    EXPECT_EQ(Zolt({"taglist", "--dir", dir, "--name", "L", "IBM"}).status, 1);
    EXPECT_FALSE(fs::exists(tmp / "elsewhere.LIS"));
    ASSERT_EQ(Zolt({"taglist", "--dir", dir, "--name", "L", "--replace", "IBM"}).status, 0);
    EXPECT_TRUE(fs::is_symlink(tmp / "L.LIS"));
    EXPECT_EQ(TickersIn(tmp / "elsewhere.LIS", "L"), Strings{"IBM"});
}
