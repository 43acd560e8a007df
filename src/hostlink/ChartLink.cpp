#include "hostlink/ChartLink.h"

namespace hostlink {

WindowId ActivateChartWindow(HostLink& link, const std::string& title,
                             const std::string& programPath) {
    WindowId w = link.FindWindow(title);
    if (w == 0) w = link.StartProgram(programPath, title);
    if (w != 0) link.Activate(w);
    return w;
}

void OpenChart(HostLink& link, const std::string& libraryPath, const std::string& title,
               const std::string& programPath, const std::string& ticker,
               const std::string& listName) {
    if (ActivateChartWindow(link, title, programPath) == 0) return;
    link.Post(libraryPath, CodeOpenTagList, listName);
    link.Post(libraryPath, CodeShowTicker, ticker);
}

} // namespace hostlink
