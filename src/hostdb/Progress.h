// The one callback every long run reports through: items done of the total, between items.
// Returning false stops the run where it stands; the window turns it into a gauge and a Stop.
#pragma once

#include <cstdint>
#include <functional>

namespace hostdb {

// total is 0 when not known in advance.
using Progress = std::function<bool(std::int64_t done, std::int64_t total)>;

// Calls an empty progress as "go on".
inline bool Report(const Progress& progress, std::int64_t done, std::int64_t total) {
    return !progress || progress(done, total);
}

// done * 100 div total, as a gauge of 0 to 100 shows it; 0 without a total.
inline int PercentDone(std::int64_t done, std::int64_t total) {
    return total > 0 ? static_cast<int>(done * 100 / total) : 0;
}

} // namespace hostdb
