// What the programs ask of the host's Windows side: its interface library and the windows of its
// chart program. The Wine-side bridge answers these requests; tests answer them with a fake.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace hostlink {

using WindowId = std::uint64_t; // 0: no window

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

// Told every few tens of milliseconds while a request waits on the host: what is awaited ("starting
// the host link under Wine") and the seconds waited so far. False gives the request up, as Stop
// does; the time limits stay as they are.
using WaitHook = std::function<bool(std::string_view awaited, double seconds)>;

class HostLink {
public:
    virtual ~HostLink() = default;

    // The hook every later wait calls; none: a plain wait.
    virtual void SetWaitHook(WaitHook hook) { (void)hook; }

    // The interface library: loaded once for good; a failed load is tried again next time.
    virtual bool LoadLibrary(const std::string& libraryPath) = 0;
    // Whether the library's post entry returned 1 for (code, text).
    virtual bool Post(const std::string& libraryPath, int code, const std::string& text) = 0;
    // Posts code 1 with the ticker and waits until two acknowledgements came or 3 seconds passed;
    // false when the library or the post failed.
    virtual bool PostAndWait(const std::string& libraryPath, const std::string& ticker) = 0;

    // The first top-level window whose title equals `title` in length and without regard to
    // case, in the platform's order.
    virtual WindowId FindWindow(const std::string& title) = 0;
    // Starts the program (detached, in its own folder) and waits at most 30 seconds for a window
    // titled `title`; 0 when it did not start or no such window came.
    virtual WindowId StartProgram(const std::string& programPath, const std::string& title) = 0;
    // Restores a minimised window and brings it to the foreground.
    virtual void Activate(WindowId window) = 0;
    virtual bool GetPlacement(WindowId window, Rect& rect, bool& maximised) = 0;
    virtual void Move(WindowId window, const Rect& rect) = 0;
    virtual void ShowNormal(WindowId window) = 0;
    virtual void ShowMaximised(WindowId window) = 0;
    // Asks every window with that title to close and returns when none is left.
    virtual void CloseWindows(const std::string& title) = 0;
    // The child of class "MDIClient" of a frame window; 0 when it has none.
    virtual WindowId MdiClient(WindowId frame) = 0;
    // The first 39 characters of the title of the MDI client's topmost child; empty without one.
    virtual std::string TopChildTitle(WindowId mdiClient) = 0;
    // The keys of a key string, sent to `window` made the foreground window.
    virtual void SendKeys(WindowId window, const std::string& keys) = 0;
    // The screen's size as the host sees it.
    virtual Rect Screen() = 0;

    // Why the link does not work (no Wine, no bridge, no library ...), empty while it does.
    virtual std::string Problem() const = 0;
};

} // namespace hostlink
