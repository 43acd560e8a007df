// The plain-English description of the filter that produced the results, shown by the Show
// Settings window and printed at the top of the report.
#pragma once

#include "hostdb/MarketCalendar.h"
#include "platform/Locale.h"
#include "screener/engine/FilterSettings.h"

#include <string>
#include <vector>

namespace screener {

// "Data: <long date> using a N-day avg of volume" for a data set name; " " without one.
std::string DataSetCaption(const std::string& dataSetName, const hostdb::MarketCalendar& calendar);

// The lines in order; each is printed with the plain format.
std::vector<std::string> BuildSettingsText(const std::string& dataSetCaption,
                                           const std::string& filterCaption,
                                           const FilterSettings& s, const platform::Locale& locale);

} // namespace screener
