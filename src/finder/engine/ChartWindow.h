// The host's chart window as the find's expert-ratings check drives it: the interface alone, so
// that the chart driving of the host link implements it without linking the finder engine.
#pragma once

#include <functional>
#include <string>

namespace finder {

// The host's chart window as the ER check drives it. A real one sends keystrokes; tests fake it.
class ChartWindow {
public:
    enum class Shown { Yes, Stopped, TimedOut };
    virtual ~ChartWindow() = default;
    virtual void Prepare() = 0;
    // Waits until the chart shows the symbol; `stop` tells when the user pressed Stop. A wait
    // that runs out of time means no rating for this ticker.
    virtual Shown ShowTicker(const std::string& symbol, const std::function<bool()>& stop) = 0;
    // False when the chart's date cursor did not arrive at the day.
    virtual bool MoveToDay(int day) = 0;
    // False when the title holds no readable rating.
    virtual bool ReadEr(int& up, int& dn) = 0;
    virtual void Restore() = 0;
};

} // namespace finder
