#include "finder/engine/FinderSettings.h"

#include "finder/engine/IndicatorLines.h"
#include "hostdb/Format.h"
#include "hostdb/TradingDays.h"
#include "platform/Directories.h"
#include "platform/Profile.h"
#include "platform/Text.h"

#include <climits>
#include <stdexcept>
#include <utility>
#include <vector>

namespace finder {

const char* const MarketActionNames[4] = {"closed above", "crossed above", "crossed below",
                                          "closed below"};
const char* const PrevChoiceNames[3] = {" Require", " Just let me know", " I don't really care"};
const char* const TradeChoiceNames[2] = {" long trades", " short trades"};

namespace {

const char* const Section = "Settings";

struct Field {
    const char* key;
    int FinderSettings::*i = nullptr;
    bool FinderSettings::*b = nullptr;
    std::string FinderSettings::*t = nullptr;
    // The dialog control's range; a list choice outside it takes its default, a count is clamped.
    int low = INT_MIN, high = INT_MAX;
    bool clamp = true;
};

constexpr bool Clamp = true, Default = false;

Field Int(const char* key, int FinderSettings::*i, int low, int high, bool clamp) {
    return {key, i, nullptr, nullptr, low, high, clamp};
}
Field Bool(const char* key, bool FinderSettings::*b) { return {key, nullptr, b}; }
Field Text(const char* key, std::string FinderSettings::*t) { return {key, nullptr, nullptr, t}; }

// Every key in the order the file is written. MarketDate has its own rule (LoadFinderSettings).
const Field Fields[] = {
    Int("MarketDate", &FinderSettings::MarketDate, INT_MIN, INT_MAX, Clamp),
    Int("MarketAction", &FinderSettings::MarketAction, 0, 3, Default),
    Int("MarketLine", &FinderSettings::MarketLine, 0, LineCount - 1, Default),
    Bool("DoPrevAction", &FinderSettings::DoPrevAction),
    Int("PrevActAction", &FinderSettings::PrevActAction, 0, 1, Default),
    Int("PrevActLine", &FinderSettings::PrevActLine, 0, LineCount - 1, Default),
    Int("PrevActSpentDays", &FinderSettings::PrevActSpentDays, 1, 99, Clamp),
    Int("PrevActOutOfDays", &FinderSettings::PrevActOutOfDays, 1, 99, Clamp),
    Int("PrevChoice", &FinderSettings::PrevChoice, 0, 2, Default),
    Int("PrevDays", &FinderSettings::PrevDays, 0, 9, Clamp),
    Bool("PrevUp", &FinderSettings::PrevUp),
    Int("PrevUpMin", &FinderSettings::PrevUpMin, 0, 100, Clamp),
    Int("PrevUpMax", &FinderSettings::PrevUpMax, 0, 100, Clamp),
    Bool("PrevDn", &FinderSettings::PrevDn),
    Int("PrevDnMin", &FinderSettings::PrevDnMin, 0, 100, Clamp),
    Int("PrevDnMax", &FinderSettings::PrevDnMax, 0, 100, Clamp),
    Bool("PrevExact", &FinderSettings::PrevExact),
    Text("PrevExactText", &FinderSettings::PrevExactText),
    Bool("DoEval", &FinderSettings::DoEval),
    Int("TradeChoice", &FinderSettings::TradeChoice, 0, 1, Default),
    Int("EvalDays", &FinderSettings::EvalDays, 0, 999, Clamp),
    Text("Compare", &FinderSettings::Compare),
};

} // namespace

FinderSettings DefaultFinderSettings(int lastMarketDay) {
    FinderSettings s;
    s.MarketDate = lastMarketDay;
    EvaluationDays(s);
    return s;
}

std::filesystem::path FinderSettingsPath(const std::filesystem::path& programDir,
                                         const std::string& name) {
    return platform::Directories::FileInDirectory(programDir, name + ".MNI");
}

FinderSettings LoadFinderSettings(const std::filesystem::path& programDir, const std::string& name,
                                  int lastMarketDay, std::string* problem) {
    FinderSettings s = DefaultFinderSettings(lastMarketDay);
    if (name.empty()) return s;
    s.DoPrevAction = false; // the one default that differs for a missing key
    platform::Profile file(FinderSettingsPath(programDir, name));
    if (problem) *problem = file.Problem();
    const FinderSettings defaults = s;
    for (const Field& f : Fields) {
        // A hand-edited file reaches the engine without the dialog's limits.
        if (f.i)
            s.*f.i = platform::IntegerInRange(file.ReadInteger(Section, f.key, defaults.*f.i),
                                              defaults.*f.i, f.low, f.high, f.clamp);
        if (f.b) s.*f.b = file.ReadInteger(Section, f.key, s.*f.b ? 1 : 0) != 0;
        if (f.t) s.*f.t = file.ReadString(Section, f.key, s.*f.t);
    }
    if (s.MarketDate < FirstMarketDate || s.MarketDate > lastMarketDay)
        s.MarketDate = defaults.MarketDate;
    s.Compare = platform::UpperCase(s.Compare); // as the dialog takes it
    EvaluationDays(s);
    return s;
}

void SaveFinderSettings(const FinderSettings& s, const std::filesystem::path& programDir,
                        const std::string& name) {
    std::vector<std::pair<std::string, std::string>> values;
    for (const Field& f : Fields) {
        std::string v = f.i ? std::to_string(s.*f.i) : f.b ? (s.*f.b ? "1" : "0") : s.*f.t;
        values.emplace_back(f.key, v);
    }
    std::filesystem::path path = FinderSettingsPath(programDir, name);
    if (!platform::Profile(path).WriteStrings(Section, values))
        throw std::runtime_error("Cannot write the settings file " + path.string());
}

void EvaluationDays(FinderSettings& s) {
    hostdb::MarketCalendar calendar; // built-in holidays only, as the finder's own calendar
    s.EntryDay = hostdb::EvalOpenDay(calendar, s.MarketDate);
    s.ExitDay = hostdb::EvalCloseDay(calendar, s.MarketDate, s.EvalDays);
}

void SwapReversedRanges(FinderSettings& s) {
    if (s.PrevUpMax < s.PrevUpMin) std::swap(s.PrevUpMin, s.PrevUpMax);
    if (s.PrevDnMax < s.PrevDnMin) std::swap(s.PrevDnMin, s.PrevDnMax);
}

std::string FinderDialogCaption(const std::string& name, bool modified) {
    if (name.empty()) return modified ? "ZimRA Settings (modified)" : "ZimRA Settings";
    return "ZimRA Settings (" + name + (modified ? " - modified)" : ")");
}

std::string FindButtonCaption(bool modified) {
    return modified ? "&Find using these unsaved settings" : "&Find using these settings";
}

std::string IndicatorsValue(const FinderSettings& s) {
    auto code = [](int line) {
        return std::to_string(line >= 0 && line < LineCount ? HostIndicatorCodes[line] : 0) + ",";
    };
    std::string value = code(s.MarketLine);
    if (s.DoPrevAction && s.PrevActLine != s.MarketLine) value += code(s.PrevActLine);
    return value;
}

bool ErCheckWanted(const FinderSettings& s) {
    return s.PrevChoice < 2 && (s.PrevUp || s.PrevDn || s.PrevExact);
}

std::vector<std::string> ReportDescription(const FinderSettings& s, int lastMarketDay,
                                           const platform::Locale& locale) {
    hostdb::MarketCalendar calendar(locale);
    auto fmt = [&](std::string_view p, std::initializer_list<hostdb::FormatArg> a) {
        return hostdb::FormatText(p, a, locale);
    };
    auto line = [](int i) { return std::string(i >= 0 && i < LineCount ? LineNames[i] : "?"); };
    auto action = [](int a) { return std::string(a >= 0 && a < 4 ? MarketActionNames[a] : "?"); };
    std::vector<std::string> lines;
    lines.push_back(fmt("Report of tickers that %s %s %s on %s.",
                        {action(s.MarketAction), "their", line(s.MarketLine),
                         calendar.FormatDay("dddd, mmmm d, yyyy", s.MarketDate)}));
    if (s.DoPrevAction)
        lines.push_back(fmt("They also must have closed %s %s %s %s %d %s %d %s",
                            {s.PrevActAction == 0 ? "above" : "below", "their", line(s.PrevActLine),
                             "for at least", s.PrevActSpentDays, "of the previous",
                             s.PrevActOutOfDays, "trading days."}));
    if (s.PrevChoice != DontCare) {
        lines.push_back(" ");
        std::string opening =
            s.PrevDays == 0 ? "On the Market Date"
            : s.PrevDays == 1
                ? "On the Market Date or on the previous day"
                : fmt("On the Market Date or within the previous %d days", {s.PrevDays});
        int conditions = s.PrevUp + s.PrevDn + s.PrevExact;
        if (s.PrevChoice == JustLetMeKnow)
            lines.push_back(opening + ", they may also have had:");
        else if (conditions >= 2)
            lines.push_back(opening + ", they must also have had at least one of:");
        else
            lines.push_back(opening + ", they must also have had:");
        const std::string bullet = "\x95";
        if (s.PrevUp)
            lines.push_back(bullet +
                            fmt(" an Upside ER between %d and %d", {s.PrevUpMin, s.PrevUpMax}));
        if (s.PrevDn)
            lines.push_back(bullet +
                            fmt(" a Downside ER between %d and %d", {s.PrevDnMin, s.PrevDnMax}));
        if (s.PrevExact && !s.PrevExactText.empty())
            lines.push_back(bullet +
                            (s.PrevExactText.find(';') != std::string::npos
                                 ? " an ER that exactly matched one of: "
                                 : " an ER that exactly matched: ") +
                            s.PrevExactText);
    }
    if (s.DoEval && s.MarketDate < lastMarketDay) {
        lines.push_back(" ");
        lines.push_back(std::string("Performance shown for ") +
                        TradeChoiceNames[s.TradeChoice == 1 ? 1 : 0] +
                        " initiated at the opening price on " +
                        calendar.FormatDay("dddd, mmmm d, yyyy", s.EntryDay));
        lines.push_back("and closed out at the closing price on " +
                        calendar.FormatDay("dddd, mmmm d, yyyy", s.ExitDay) + ".");
    }
    lines.push_back(" ");
    return lines;
}

int NormalisedMarketDate(int day, int lastMarketDay) {
    if (day > lastMarketDay) return lastMarketDay;
    hostdb::MarketCalendar calendar;
    return hostdb::TradingDayAtOrBefore(calendar, day);
}

int LimitFinderEvalDays(const FinderSettings& s, int lastMarketDay) {
    if (!s.DoEval || s.MarketDate >= lastMarketDay) return s.EvalDays;
    hostdb::MarketCalendar calendar;
    int most = hostdb::MaxEvalDays(calendar, s.MarketDate, lastMarketDay);
    return s.EvalDays > most ? most : s.EvalDays < 0 ? 0 : s.EvalDays;
}

void AcceptSettings(FinderSettings& s, int lastMarketDay) {
    s.MarketDate = NormalisedMarketDate(s.MarketDate, lastMarketDay);
    s.EvalDays = LimitFinderEvalDays(s, lastMarketDay);
    SwapReversedRanges(s);
    EvaluationDays(s);
}

} // namespace finder
