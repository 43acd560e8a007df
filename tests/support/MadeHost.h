// A made host installation in a temporary directory with an empty program directory beside it,
// and the places a main window or `zolt` starts from on it: the POSIX locale and a fixed clock.
#pragma once

#include "hostdb/ProgramOptions.h"
#include "support/TestUtil.h"
#include "tools/make-host/HostWriter.h"

#include <filesystem>

namespace testutil {

// What sets one test's host apart; small and fast by default.
struct HostShape {
    int tickers = 40;
    int years = 2;
    hostdb::CivilDate end{2026, 12, 4};
    hostdb::DateTimeValue now = hostdb::EncodeDateTime(2026, 12, 7, 12, 0);
    std::uint64_t seed = 1;
    bool broken = false;
    std::filesystem::path root{};    // empty: "host" in the temporary directory
    std::filesystem::path standin{}; // see hostgen::Options
};

struct MadeHost {
    TempDir tmp;
    hostgen::Summary made;
    std::filesystem::path windows, program;
    hostdb::DateTimeValue now;

    explicit MadeHost(const HostShape& shape = {}) : now(shape.now) {
        hostgen::Options o;
        o.root = shape.root.empty() ? tmp / "host" : shape.root;
        o.tickers = shape.tickers;
        o.years = shape.years;
        o.end = shape.end;
        o.seed = shape.seed;
        o.broken = shape.broken;
        o.standin = shape.standin;
        made = hostgen::MakeHost(o);
        windows = made.windowsDirectory;
        program = tmp / "prog";
        std::filesystem::create_directories(program);
    }

    // Settings go to "config" in the temporary directory, so a test can start them afresh.
    template <class Setup = hostdb::ProgramPlaces> Setup Places() const {
        Setup s;
        s.env.dirs.SetWindowsDirectory(windows);
        s.env.dirs.settings = tmp / "config";
        s.env.locale = platform::Locale::Posix();
        s.env.now = now;
        s.programDir = program;
        s.ownSettings = tmp / "config" / "OstravlR.Ini";
        return s;
    }
};

} // namespace testutil
