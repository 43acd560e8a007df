// The bridge's waits without Wine: a stand-in command for Wine that answers late or never, a
// hook that gives a wait up, and a hung command ended with every process it started.
#include "hostlink/BridgeLink.h"
#include "support/TestUtil.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

using namespace hostlink;
namespace fs = std::filesystem;

namespace {

struct FakeWine {
    testutil::TempDir dir;
    explicit FakeWine(const std::string& script) {
        testutil::WriteFile(dir / "qelbridge64.exe", "");
        testutil::WriteFile(dir / "wine", "#!/bin/sh\n" + script);
        ::chmod((dir / "wine").c_str(), 0755);
    }
    BridgeSetup Setup() const {
        return BridgeSetup{dir.Path(), dir.Path(), {}, (dir / "wine").string()};
    }
};

// Gone, or a zombie nobody has reaped yet.
bool Ended(pid_t pid) {
    if (::kill(pid, 0) != 0) return true;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(stat)), {});
    const auto close = all.rfind(')');
    return close != std::string::npos && all.compare(close + 2, 1, "Z") == 0;
}

} // namespace

TEST(BridgeWaits, AGivenUpAnswerIsDroppedAndTheNextRequestStillRuns) {
    // Each answer comes half a second after its request.
    FakeWine wine("while read line; do sleep 0.5; printf 'ok\\t1024\\t768\\n'; done\n");
    BridgeLink link(wine.Setup());
    std::vector<std::string> awaited;
    bool stop = false; // pressed a tenth of a second into the first wait, and left so
    link.SetWaitHook([&](std::string_view what, double seconds) {
        if (awaited.empty() || awaited.back() != what) awaited.emplace_back(what);
        stop = stop || seconds > 0.1;
        return !stop;
    });
    EXPECT_EQ(link.Screen().width, 0); // given up
    EXPECT_EQ(link.Problem(), "");
    // Still stopped: the next request (putting things back) runs, after the dropped answer.
    EXPECT_EQ(link.Screen(), (Rect{0, 0, 1024, 768}));
    EXPECT_EQ(awaited, (std::vector<std::string>{"starting the host link under Wine",
                                                 "waiting for the host to finish the last request",
                                                 "waiting for the host link (screen)"}));
}

TEST(BridgeWaits, AHungWineIsEndedWithEverythingItStarted) {
    testutil::TempDir out;
    const fs::path pids = out / "pids";
    FakeWine wine("sleep 1000 & echo $! > " + pids.string() + ".part\nsleep 1000 & echo $! >> " +
                  pids.string() + ".part\nmv " + pids.string() + ".part " + pids.string() +
                  "\nexec sleep 1000\n");
    {
        BridgeLink link(wine.Setup());
        link.SetWaitHook([&](std::string_view, double) { return !fs::exists(pids); });
        EXPECT_FALSE(link.Post("C:\\QEL\\qelio32.dll", 1, "IBM"));
    } // the link ends here, and with it the group
    std::ifstream in(pids);
    std::vector<pid_t> children;
    for (pid_t p; in >> p;) children.push_back(p);
    ASSERT_EQ(children.size(), 2u);
    for (pid_t p : children) {
        for (int i = 0; i < 100 && !Ended(p); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_TRUE(Ended(p)) << p;
    }
}
