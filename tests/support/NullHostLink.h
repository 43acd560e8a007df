// A host link where every request succeeds and nothing happens: a chart window 1 without an MDI
// client on a 1024 x 768 screen. A test derives from it and overrides what it watches; `asked`
// counts the requests nobody overrode.
#pragma once

#include "hostlink/HostLink.h"

namespace testutil {

struct NullHostLink : hostlink::HostLink {
    int asked = 0;

    bool LoadLibrary(const std::string&) override { return ++asked, true; }
    bool Post(const std::string&, int, const std::string&) override { return ++asked, true; }
    bool PostAndWait(const std::string&, const std::string&) override { return ++asked, true; }
    hostlink::WindowId FindWindow(const std::string&) override { return ++asked, 1; }
    hostlink::WindowId StartProgram(const std::string&, const std::string&) override {
        return ++asked, 1;
    }
    void Activate(hostlink::WindowId) override { ++asked; }
    bool GetPlacement(hostlink::WindowId, hostlink::Rect& r, bool& maximised) override {
        r = {0, 0, 640, 480}, maximised = false;
        return ++asked, true;
    }
    void Move(hostlink::WindowId, const hostlink::Rect&) override { ++asked; }
    void ShowNormal(hostlink::WindowId) override { ++asked; }
    void ShowMaximised(hostlink::WindowId) override { ++asked; }
    void CloseWindows(const std::string&) override { ++asked; }
    hostlink::WindowId MdiClient(hostlink::WindowId) override { return ++asked, 0; }
    std::string TopChildTitle(hostlink::WindowId) override { return ++asked, ""; }
    void SendKeys(hostlink::WindowId, const std::string&) override { ++asked; }
    hostlink::Rect Screen() override { return ++asked, hostlink::Rect{0, 0, 1024, 768}; }
    std::string Problem() const override { return ""; }
};

} // namespace testutil
