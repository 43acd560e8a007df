// The finder's chart window driven by keystrokes over the host link: the chart laid out beside
// the finder, each candidate shown, its date cursor stepped and its ratings read from the title.
#pragma once

#include "finder/engine/ChartWindow.h"
#include "hostdb/MarketCalendar.h"
#include "hostlink/HostLink.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace hostlink {

// The finder's own main window, as the driving moves it out of the chart's way.
class MainWindowSide {
public:
    virtual ~MainWindowSide() = default;
    // Remembers state and place, shows it normal at the given place.
    virtual void SaveAndPlace(int top, int height, int left) = 0;
    virtual void PointerToStop() = 0;
    virtual void RestoreAndFocus() = 0;
    // Processes pending window messages, so that Stop stays live during every wait.
    virtual void ProcessMessages() = 0;
};

struct ChartDriverSetup {
    std::string libraryPath;         // the host folder + "\qelio32.dll"
    std::string programPath;         // HostProgramPath
    std::filesystem::path chartIni;  // QelChart.Ini in the Windows folder
    std::string indicators;          // the value the find's lines want (IndicatorsValue)
    platform::Locale locale;         // the chart writes its dates in the user's short format
    hostdb::DateTimeValue now = 0;   // what an unreadable date reads as
    std::function<double()> seconds; // a steady clock
    std::function<bool()> stop;      // the Stop button was pressed
};

class ChartDriver final : public finder::ChartWindow {
public:
    // A chart that shows no ticker within this time gives no rating for it; one that shows two
    // in a row in no time, or a post the host refuses, ends the driving with the reason.
    static constexpr double ShowTickerSeconds = 10;
    static constexpr double MoveSeconds = 2;

    ChartDriver(HostLink& link, MainWindowSide& main, ChartDriverSetup setup);

    void Prepare() override;
    Shown ShowTicker(const std::string& symbol, const std::function<bool()>& stop) override;
    bool MoveToDay(int day) override;
    bool ReadEr(int& up, int& dn) override;
    void Restore() override;

    // Why no ratings could be read (the chart did not start, has no MDI client, ...), empty
    // while the chart works; the window reports it once.
    const std::string& Problem() const { return problem_; }

private:
    std::vector<std::string> Words();
    bool DayOfTitle(int& day);
    void Wait(double seconds);

    HostLink& link_;
    MainWindowSide& main_;
    ChartDriverSetup setup_;
    hostdb::MarketCalendar calendar_;
    bool prepared_ = false;
    bool placed_ = false; // the main window was moved and the chart's settings may be changed
    std::string problem_;
    std::string missed_; // the last ticker the chart did not show; empty after one it did
    WindowId chart_ = 0, mdi_ = 0;
    Rect savedRect_;
    bool wasMaximised_ = false;
    std::optional<std::string> savedIndicators_; // empty: the key was missing
    std::optional<std::string> savedFile_;       // the file's bytes; empty: no file
    std::string writtenFile_;
};

} // namespace hostlink
