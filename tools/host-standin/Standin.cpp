#include "Standin.h"

#include "hostdb/DateTime.h"
#include "platform/Text.h"

#include <charconv>
#include <cstdio>

namespace standin {

namespace {

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

bool ParseNumber(std::string_view word, int& value) {
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    return ec == std::errc() && end == word.data() + word.size();
}

bool ParseDay(std::string_view word, int& day) {
    int y = 0, m = 0, d = 0;
    if (word.size() != 10 || word[4] != '-' || word[7] != '-' ||
        !ParseNumber(word.substr(0, 4), y) || !ParseNumber(word.substr(5, 2), m) ||
        !ParseNumber(word.substr(8, 2), d) || !hostdb::IsValidDate(y, m, d))
        return false;
    day = static_cast<int>(hostdb::EncodeDate(y, m, d)) - hostdb::DayNumberOffset;
    return true;
}

std::string Upper(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = platform::AsciiUpper(c);
    return r;
}

} // namespace

Ratings ParseRatings(std::string_view text) {
    Ratings ratings;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        line = line.substr(0, line.find('#'));
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::vector<std::string_view> w = Words(line);
        int day = 0;
        Rating r;
        if (w.size() == 4 && ParseDay(w[1], day) && ParseNumber(w[2], r.up) &&
            ParseNumber(w[3], r.dn))
            ratings[Upper(w[0])][day] = r;
    }
    return ratings;
}

std::vector<int> ChartBars(hostdb::TickerFile& ticker) {
    std::vector<int> bars;
    if (!ticker.IsOpen()) return bars;
    for (int day = ticker.FirstDay(); day <= ticker.LastDay(); ++day) {
        int weekday = hostdb::DayOfWeekSunday(day + hostdb::DayNumberOffset);
        if (weekday == 0 || weekday == 6) continue; // Sunday, Saturday
        ticker.SetDay(day);
        if (ticker.HasRecord() && ticker.Close() != 0) bars.push_back(day);
    }
    return bars;
}

std::string ChartTitle(const std::string& symbol, int day, const Ratings& ratings) {
    hostdb::CivilDate date = hostdb::DecodeDate(day + hostdb::DayNumberOffset);
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d", date.month % 100, date.day % 100,
                  date.year % 100);
    std::string title = symbol + " " + text;
    auto of = ratings.find(Upper(symbol));
    if (of != ratings.end()) {
        auto r = of->second.find(day);
        if (r != of->second.end())
            title +=
                " (" + std::to_string(r->second.up) + " - " + std::to_string(r->second.dn) + ")";
    }
    return title;
}

} // namespace standin
