// The chart link both programs share: bringing the host's chart window forward (starting its
// program when needed) and telling it which tag list and ticker to show.
#pragma once

#include "hostlink/HostLink.h"

#include <string>

namespace hostlink {

constexpr const char* ChartWindowTitle = "QEL Charts";
constexpr int CodeShowTicker = 1;
constexpr int CodeOpenTagList = 6;

// The window titled `title`, or the one of the program started for it; restored when minimised
// and brought to the foreground. 0 when there is none and the program did not bring one.
WindowId ActivateChartWindow(HostLink& link, const std::string& title,
                             const std::string& programPath);

// When the chart window is found or started: the tag list, then the ticker (results not examined).
void OpenChart(HostLink& link, const std::string& libraryPath, const std::string& title,
               const std::string& programPath, const std::string& ticker,
               const std::string& listName);

} // namespace hostlink
