#include "screener/engine/SettingsText.h"

#include "hostdb/Format.h"
#include "screener/engine/DataSet.h"

namespace screener {

std::string DataSetCaption(const std::string& name, const hostdb::MarketCalendar& calendar) {
    if (name.empty()) return " ";
    int day = 0;
    // A name that is not a date shows as such rather than as a wrong date.
    std::string date = DataSetDay(name, day) ? calendar.FormatDay("dddddd", day) : "?";
    return hostdb::FormatText("Data: %s using a %d-day avg of volume",
                              {date, DecodeDataSetName(name).moveAveLength}, calendar.Locale());
}

std::vector<std::string> BuildSettingsText(const std::string& dataSetCaption,
                                           const std::string& filterCaption,
                                           const FilterSettings& s, const platform::Locale& loc) {
    auto fmt = [&](std::string_view p, std::initializer_list<hostdb::FormatArg> a) {
        return hostdb::FormatText(p, a, loc);
    };
    auto range = [&](const char* head, bool dollar, bool perC, float minD, float maxD, float minP,
                     float maxP) {
        std::string t;
        if (dollar) {
            t = fmt(std::string(head) + " $%.2f to $%.2f ", {minD, maxD});
            if (perC) t += "or ";
        } else {
            t = std::string(head) + " ";
        }
        if (perC) t += fmt("%.1f%% to %.1f%%.", {minP, maxP});
        return t;
    };
    const std::string clauses[8] = {
        s.NewHighOnly ? fmt("have just reached a %d-week High", {s.NewHighWeeks})
                      : fmt("are at a %d-week (or longer) High", {s.NewHighWeeks}),
        s.NewLowOnly ? fmt("have just reached a %d-week Low", {s.NewLowWeeks})
                     : fmt("are at a %d-week (or longer) Low", {s.NewLowWeeks}),
        range("closed Up", s.CloseUpDollar, s.CloseUpPerC, s.CloseUpMinDollar, s.CloseUpMaxDollar,
              s.CloseUpMinPerC, s.CloseUpMaxPerC),
        range("closed Down", s.CloseDownDollar, s.CloseDownPerC, s.CloseDownMinDollar,
              s.CloseDownMaxDollar, s.CloseDownMinPerC, s.CloseDownMaxPerC),
        fmt("Gapped Up in the last %d days", {s.GapUpDays}),
        fmt("Gapped Down in the last %d days", {s.GapDownDays}),
        fmt("have volumes at least %.0f%% Above their moving average for the last %d days",
            {s.VolumeAbovePerC, s.VolumeDays}),
        fmt("have volumes at least %.0f%% Below their moving average for the last %d days",
            {s.VolumeBelowPerC, s.VolumeDays}),
    };

    std::vector<std::string> lines{dataSetCaption + ";  " + filterCaption, " "};
    if (s.Page >= PageHigh && s.Page <= PageVolD) {
        lines.push_back("Show tickers that " + clauses[s.Page]);
    } else if (s.Page == PageAll) {
        lines.push_back("Showing all tickers");
    } else if (s.Page == PageCombo) {
        lines.push_back("Show tickers that ");
        const auto groups = ComboFlags(s);
        bool earlierMembers = false;
        for (const auto& group : groups) {
            std::vector<int> members;
            for (int t = 0; t < 8; ++t)
                if (group[t]) members.push_back(t);
            if (!members.empty() && earlierMembers) lines.push_back("but only if they also");
            for (size_t m = 0; m < members.size(); ++m)
                lines.push_back("        " + clauses[members[m]] +
                                (m + 1 < members.size() ? ", or" : ""));
            earlierMembers = earlierMembers || !members.empty();
        }
    }
    lines.push_back(" ");
    std::string price =
        s.MinClose != 0 ? fmt("$%.2n minimum closing price", {s.MinClose}) : "No minimum price";
    price += s.MinVolume != 0
                 ? fmt(", at least %.0n shares/day, ", {static_cast<long long>(s.MinVolume) * 1000})
                 : ", no minimum volume";
    lines.push_back(price);
    lines.push_back(" ");
    return lines;
}

} // namespace screener
