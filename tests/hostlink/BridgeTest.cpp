// The Wine bridge end to end: requests answered inside a real Wine session on an X server, with
// the prefix's own notepad as a window to find, move and close; and a bridge that cannot run.
#include "hostlink/BridgeLink.h"
#include "hostlink/ChartLink.h"
#include "support/TestUtil.h"

#include <chrono>
#include <gtest/gtest.h>

using namespace hostlink;
namespace fs = std::filesystem;

namespace {

// Set by CMake: where the bridges were built, and a prefix made once per build tree.
const fs::path BridgeDir = ZOLT_BRIDGE_DIR;
const fs::path Prefix = ZOLT_TEST_WINEPREFIX;

BridgeSetup InPrefix(const fs::path& library = {}) {
    return BridgeSetup{BridgeDir, Prefix, library, ""};
}

} // namespace

TEST(Bridge, MachineOfALibrary) {
    EXPECT_EQ(PortableExecutableBits(BridgeDir / "qelbridge32.exe"), 32);
    EXPECT_EQ(PortableExecutableBits(BridgeDir / "qelbridge64.exe"), 64);
    testutil::TempDir tmp;
    testutil::WriteFile(tmp / "text.dll", "MZ but nothing more");
    EXPECT_EQ(PortableExecutableBits(tmp / "text.dll"), 0);
    EXPECT_EQ(PortableExecutableBits(tmp / "none.dll"), 0);
}

TEST(Bridge, WithoutWineOrBridgeNothingIsPostedAndNoWindowFound) {
    BridgeLink noBridge(BridgeSetup{"/nonexistent", Prefix, {}, ""});
    EXPECT_EQ(noBridge.FindWindow("QEL Charts"), 0u);
    EXPECT_FALSE(noBridge.Post("C:\\QEL\\qelio32.dll", 1, "IBM"));
    EXPECT_EQ(noBridge.Problem(), "the Wine bridge /nonexistent/qelbridge64.exe is missing");

    BridgeLink noWine(BridgeSetup{BridgeDir, Prefix, {}, "no-such-wine-here"});
    EXPECT_FALSE(noWine.PostAndWait("C:\\QEL\\qelio32.dll", "IBM"));
    EXPECT_EQ(noWine.Problem(), "Wine is not installed (no no-such-wine-here on the PATH)");
}

TEST(Bridge, WindowsOfAProgramUnderWine) {
    BridgeLink link(InPrefix());
    Rect screen = link.Screen();
    ASSERT_GT(screen.width, 0) << link.Problem();
    EXPECT_GT(screen.height, 0);
    EXPECT_EQ(link.FindWindow(ChartWindowTitle), 0u);

    EXPECT_FALSE(link.LoadLibrary("C:\\QEL\\nothere\\qelio32.dll"));
    EXPECT_NE(link.Problem().find("could not be loaded"), std::string::npos) << link.Problem();
    EXPECT_FALSE(link.Post("C:\\QEL\\nothere\\qelio32.dll", 1, "IBM"));
    EXPECT_EQ(link.Problem().find("the host library C:\\QEL\\nothere\\qelio32.dll"), 0u)
        << link.Problem();
    EXPECT_FALSE(link.PostAndWait("C:\\QEL\\nothere\\qelio32.dll", "IBM"));

    const std::string title = "Untitled - Notepad";
    WindowId w = link.StartProgram("C:\\windows\\notepad.exe", title);
    ASSERT_NE(w, 0u) << link.Problem();
    // The title search: equal length, case ignored.
    EXPECT_EQ(link.FindWindow("untitled - NOTEPAD"), w);
    EXPECT_EQ(link.FindWindow(title + " - IBM"), 0u);
    EXPECT_EQ(ActivateChartWindow(link, title, "C:\\windows\\notepad.exe"), w);

    link.ShowMaximised(w);
    Rect r;
    bool maximised = false;
    ASSERT_TRUE(link.GetPlacement(w, r, maximised));
    EXPECT_TRUE(maximised);
    link.ShowNormal(w);
    link.Move(w, Rect{10, 20, 400, 300});
    ASSERT_TRUE(link.GetPlacement(w, r, maximised));
    EXPECT_FALSE(maximised);
    EXPECT_EQ(r, (Rect{10, 20, 400, 300}));
    EXPECT_EQ(link.MdiClient(w), 0u); // an editor, not an MDI frame

    link.CloseWindows(title);
    EXPECT_EQ(link.FindWindow(title), 0u);

    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(link.StartProgram("C:\\QEL\\nothere.exe", "QEL Charts"), 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(link.Problem().find("bridge"), std::string::npos) << link.Problem();
}
