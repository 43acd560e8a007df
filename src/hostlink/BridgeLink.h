// The host link through qelbridge: the Win32 bridge started once under the host's Wine, spoken
// to a line at a time with a time limit per request. A bridge that cannot start, dies or does
// not answer makes every post false and finds no window, with the reason kept; it is ended with
// every process it started in its process group.
#pragma once

#include "hostlink/HostLink.h"
#include "platform/Directories.h"

#include <chrono>
#include <deque>
#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace hostlink {

struct BridgeSetup {
    std::filesystem::path bridgeDirectory; // holds qelbridge32.exe and qelbridge64.exe
    std::filesystem::path winePrefix;      // the host's prefix
    std::filesystem::path libraryFile;     // the host library's local path, for its PE header
    std::string wine;                      // the wine command; empty: $ZOLT_WINE, else "wine"
};

// Where the bridges are for a program at `executable`: beside it (a portable copy), in
// PREFIX/share/zolt (installed), or in the build tree it was built in; empty when nowhere.
std::filesystem::path BridgeDirectory(const std::filesystem::path& executable);

// The bridge of a program at `executable` to the host installed under `dirs`, whose interface
// library is the host path `hostLibraryPath`.
BridgeSetup HostBridge(const std::filesystem::path& executable, const platform::Directories& dirs,
                       const std::string& hostLibraryPath);

// 32 or 64 from the machine field of a Windows program's or library's PE header; 0 when the
// file is no such program.
int PortableExecutableBits(const std::filesystem::path& file);

class BridgeLink final : public HostLink {
public:
    explicit BridgeLink(BridgeSetup setup);
    ~BridgeLink() override;
    BridgeLink(const BridgeLink&) = delete;
    BridgeLink& operator=(const BridgeLink&) = delete;

    bool LoadLibrary(const std::string& libraryPath) override;
    bool Post(const std::string& libraryPath, int code, const std::string& text) override;
    bool PostAndWait(const std::string& libraryPath, const std::string& ticker) override;
    WindowId FindWindow(const std::string& title) override;
    WindowId StartProgram(const std::string& programPath, const std::string& title) override;
    void Activate(WindowId window) override;
    bool GetPlacement(WindowId window, Rect& rect, bool& maximised) override;
    void Move(WindowId window, const Rect& rect) override;
    void ShowNormal(WindowId window) override;
    void ShowMaximised(WindowId window) override;
    void CloseWindows(const std::string& title) override;
    WindowId MdiClient(WindowId frame) override;
    std::string TopChildTitle(WindowId mdiClient) override;
    void SendKeys(WindowId window, const std::string& keys) override;
    Rect Screen() override;
    std::string Problem() const override { return problem_; }
    // A false from the hook gives up the wait it came in, not the ones after it.
    void SetWaitHook(WaitHook hook) override { hook_ = std::move(hook); }

    // Seconds the chart program has to show its window; a request's own time limit follows.
    static constexpr int StartSeconds = 30;

private:
    using Clock = std::chrono::steady_clock;
    enum class Read { Line, TimedOut, Ended, GivenUp };

    bool Start();
    // Ends the bridge: on the end of its input when `reason` is empty and it goes within a
    // second, else with its whole process group (a hung Wine command and what it started).
    void Stop(const std::string& reason);
    // The next line from the bridge by `deadline`, in short polls that call the hook.
    Read ReadLine(Clock::time_point deadline, std::string_view awaited, std::string& line);
    // The answer's fields after "ok"; empty with the reason kept when there is none in time.
    bool Request(const std::vector<std::string>& fields, double seconds,
                 std::vector<std::string>& answer);
    WindowId WindowRequest(const std::vector<std::string>& fields, double seconds);

    BridgeSetup setup_;
    pid_t pid_ = -1;
    int toBridge_ = -1, fromBridge_ = -1;
    std::string pending_; // bytes read past the last answer
    // Requests given up by the hook: their answers, due by these times, are read and dropped.
    std::deque<Clock::time_point> owed_;
    bool failed_ = false;
    bool gaveUp_ = false; // the hook's false was taken; it counts again once it said true
    std::string problem_;
    WaitHook hook_;
};

} // namespace hostlink
