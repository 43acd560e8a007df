// A host link's waits as part of a window's life: events are let through between short slices,
// so the window repaints and takes its Stop, and a wait past two seconds is told to the user.
#pragma once

#include <QString>
#include <functional>
#include <string_view>

class QObject;

namespace ui {

struct HostWaitWindow {
    QObject* owner = nullptr;         // the timer that notices a wait's end lives on it
    std::function<bool()> takesInput; // true while a Stop is on screen: user input goes through
    std::function<bool()> stopped;    // true once Stop was pressed: the wait is given up
    std::function<void(const QString&)> tell; // what is awaited, "" once the wait is over
};

// The hook for hostlink::HostLink::SetWaitHook.
std::function<bool(std::string_view awaited, double seconds)> WindowWaitHook(HostWaitWindow window);

// After this long a wait is told: shorter ones pass unnoticed.
constexpr double TellWaitAfterSeconds = 2.0;

} // namespace ui
