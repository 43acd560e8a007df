// The host stand-in's fixed behaviour, kept apart from its windows so that tests can predict a
// find from its inputs: the ratings file, a ticker chart's bars and the chart child's title.
#pragma once

#include "hostdb/TickerFile.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

// The message the chart program acknowledges requests with, registered by name by both the
// chart program and the interface library.
constexpr const char* AckMessageName = "QelStandinAcknowledge";

struct Rating {
    int up = 0, dn = 0;
    bool operator==(const Rating&) const = default;
};

// Symbol in upper case -> day number -> rating.
using Ratings = std::map<std::string, std::map<int, Rating>>;

// One rating a line, "SYMBOL YYYY-MM-DD UP DN" separated by blanks or tabs; "#" starts a
// comment; any other line is ignored. A later line for the same symbol and day wins.
Ratings ParseRatings(std::string_view text);

// Every weekday from the ticker file's first to its last day whose record has a non-zero close.
std::vector<int> ChartBars(hostdb::TickerFile& ticker);

// "SYM mm/dd/yy (UP - DN)" for the cursor's day, or "SYM mm/dd/yy" when that day has no rating;
// SYM as requested, looked up without regard to case.
std::string ChartTitle(const std::string& symbol, int day, const Ratings& ratings);

} // namespace standin
