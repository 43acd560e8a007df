// The directory side of the named-file dialogs: bare names of one kind, the save-name keys,
// tag-list name rules, and names the host's platform cannot open.
#include "hostdb/NamedFiles.h"

#include "hostdb/SearchPath.h"
#include "hostdb/TagListFile.h"
#include "support/TestUtil.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace hostdb;
using Strings = std::vector<std::string>;

namespace {

void WriteTagList(const fs::path& path) {
    TagListFile list;
    list.AddTicker(path.string(), "IBM", 0);
    list.Write();
}

struct Checked {
    bool ok;
    std::string name, error;
};

Checked Check(const std::string& typed) {
    Checked c;
    c.ok = CheckTagListName(typed, c.name, c.error);
    return c;
}

} // namespace

TEST(NamedFiles, ListsBareNamesOfTheKind) {
    testutil::TempDir dir;
    WriteTagList(dir / "ZOLT.LIS");
    WriteTagList(dir / "gaps.lis"); // extension in any case
    testutil::WriteFile(dir / "OTHER.LIS", std::string(600, 'x'));
    // The signature is there but the file is shorter than the head the host reads.
    std::string head = testutil::ReadFile(dir / "ZOLT.LIS");
    testutil::WriteFile(dir / "SHORT.LIS", head.substr(0, TagListFile::SignatureHeadLength - 1));
    WriteTagList(dir / ".HIDDEN.LIS");
    WriteTagList(dir / "LONGERNAME.LIS");
    testutil::WriteFile(dir / ".LIS", head); // no name before the extension
    testutil::WriteFile(dir / "A.VNI", "");
    fs::create_directory(dir / "FOLDER.LIS");

    EXPECT_EQ(ListNamedFiles(dir.Path(), ".LIS", true), (Strings{"gaps", "LONGERNAME", "ZOLT"}));
    EXPECT_EQ(ListNamedFiles(dir.Path(), ".LIS", false),
              (Strings{"gaps", "LONGERNAME", "OTHER", "SHORT", "ZOLT"}));
    EXPECT_EQ(ListNamedFiles(dir.Path() / "missing", ".LIS", false), Strings{});
    EXPECT_TRUE(FindNamedFile(dir.Path(), "GAPS", ".LIS").has_value());
    EXPECT_FALSE(FindNamedFile(dir.Path(), "FOLDER", ".LIS").has_value());
    EXPECT_FALSE(FindNamedFile(dir.Path(), "NONE", ".LIS").has_value());

    // The dialogs and the search path see the same files.
    EXPECT_TRUE(IsVisibleFile(dir / "ZOLT.LIS"));
    EXPECT_FALSE(IsVisibleFile(dir / ".HIDDEN.LIS"));
    EXPECT_FALSE(IsVisibleFile(dir / "FOLDER.LIS"));
    EXPECT_FALSE(IsVisibleFile(dir / "missing.LIS"));
}

TEST(NamedFiles, SaveNameKeys) {
    EXPECT_EQ(FilterSaveNameKey(U'a'), U'A');
    EXPECT_EQ(FilterSaveNameKey(U'z'), U'Z');
    EXPECT_EQ(FilterSaveNameKey(U'Q'), U'Q');
    for (char32_t refused : std::u32string(U" \"*+,./;<=>?[\\]|"))
        EXPECT_EQ(FilterSaveNameKey(refused), 0u) << static_cast<int>(refused);
    for (char32_t passed : std::u32string(U"09-_!#$%&'()@^`{}~:\b"))
        EXPECT_EQ(FilterSaveNameKey(passed), passed) << static_cast<int>(passed);
    EXPECT_EQ(FilterSaveNameKey(127), 127u);
    EXPECT_EQ(FilterSaveNameKey(128), 0u);
    EXPECT_EQ(FilterSaveNameKey(0xE9), 0u);

    EXPECT_TRUE(IsAcceptableSaveName(U"abc-1"));
    EXPECT_TRUE(IsAcceptableSaveName(U""));
    EXPECT_FALSE(IsAcceptableSaveName(U"../x"));
    EXPECT_FALSE(IsAcceptableSaveName(U"a\tb"));
}

TEST(NamedFiles, TagListNameRulesOfTheKeyFilter) {
    Checked c = Check("my-list");
    EXPECT_TRUE(c.ok);
    EXPECT_EQ(c.name, "MY-LIST");
    EXPECT_TRUE(Check("ABCDEFGH").ok); // eight is the most

    EXPECT_EQ(Check("").error, "the list name is empty");
    EXPECT_EQ(Check("ABCDEFGHI").error, "the list name \"ABCDEFGHI\" is longer than 8 characters");
    EXPECT_EQ(Check("a b").error, "the list name \"a b\" may not hold a blank");
    EXPECT_EQ(Check("a.lis").error, "the list name \"a.lis\" may not hold \".\"");
    EXPECT_EQ(Check("../x").error, "the list name \"../x\" may not hold \".\"");
    EXPECT_EQ(Check("a\tb").error, "the list name \"a\tb\" may not hold the character 0x09");
    EXPECT_EQ(Check("a\x7f").error, "the list name \"a\x7f\" may not hold the character 0x7F");
    EXPECT_EQ(Check("\xc3\xa9").error,
              "the list name \"\xc3\xa9\" may not hold the character 0xC3");
    // A refused character is reported before the length.
    EXPECT_EQ(Check("ABCDEFGHI|").error, "the list name \"ABCDEFGHI|\" may not hold \"|\"");
}

TEST(NamedFiles, NamesTheHostsPlatformCannotOpen) {
    for (const char* device : {"CON", "con", "Prn", "AUX", "nul", "COM1", "com9", "LPT1", "lpt9"}) {
        Checked c = Check(device);
        EXPECT_FALSE(c.ok) << device;
        EXPECT_EQ(c.error, "the list name \"" + std::string(device) +
                               "\" is a device name on the host's platform");
    }
    for (const char* fine : {"COM", "COM0", "LPT10", "CONS", "NULL", "AUX1", "XCON", "COMA"})
        EXPECT_TRUE(Check(fine).ok) << fine;
    EXPECT_EQ(Check("a:b").error, "the list name \"a:b\" may not hold \":\"");
    EXPECT_EQ(Check(":").error, "the list name \":\" may not hold \":\"");

    // With an extension the device is still opened; names from the dialog hold none.
    EXPECT_EQ(UnopenableNameReason("nul.txt"), "is a device name on the host's platform");
    EXPECT_EQ(UnopenableNameReason("COM3.LIS"), "is a device name on the host's platform");
    EXPECT_EQ(UnopenableNameReason("CONFIG.LIS"), "");
    EXPECT_EQ(UnopenableNameReason(""), "");
}
