// `zolt` run in the test's own process with the POSIX locale and a fixed clock, on any
// installation or on a made host's places.
#pragma once

#include "cli/Zolt.h"
#include "support/MadeHost.h"

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace testutil {

struct ZoltResult {
    int status = 0;
    std::string out, err;
};

inline ZoltResult RunZolt(const std::vector<std::string>& args,
                          hostdb::DateTimeValue now = hostdb::EncodeDateTime(2026, 12, 7, 12, 0),
                          const platform::Directories& dirs = {}) {
    std::ostringstream out, err;
    const int status = cli::RunZolt(args, dirs, platform::Locale::Posix(), now, out, err);
    return {status, out.str(), err.str()};
}

// The output of `zolt` on the host's places; a failure's message goes to stderr, where the
// comparison that then fails can be understood.
inline std::string Zolt(const MadeHost& host, const std::vector<std::string>& args) {
    std::vector<std::string> all = {"--windows-dir", host.windows.string(), "--program-dir",
                                    host.program.string()};
    all.insert(all.end(), args.begin(), args.end());
    ZoltResult r = RunZolt(all, host.now);
    if (r.status != 0) std::cerr << r.err;
    return r.out;
}

} // namespace testutil
