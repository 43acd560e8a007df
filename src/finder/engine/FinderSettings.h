// The finder's settings: the model with its two kinds of defaults, its ".MNI" file, the
// captions, and the entry and exit days of the evaluated trade.
#pragma once

#include "hostdb/MarketCalendar.h"
#include "platform/Locale.h"

#include <filesystem>
#include <string>
#include <vector>

namespace finder {

enum MarketActions : int { ClosedAbove, CrossedAbove, CrossedBelow, ClosedBelow };
enum PrevChoices : int { Require, JustLetMeKnow, DontCare };

extern const char* const MarketActionNames[4]; // "closed above" ...
extern const char* const PrevChoiceNames[3];   // " Require" ...
extern const char* const TradeChoiceNames[2];  // " long trades", " short trades"

struct FinderSettings {
    int MarketDate = 0;
    int MarketAction = CrossedAbove;
    int MarketLine = 8;
    bool DoPrevAction = true;
    int PrevActAction = 1; // 0 above, 1 below
    int PrevActLine = 8;
    int PrevActSpentDays = 3;
    int PrevActOutOfDays = 5;
    int PrevChoice = DontCare;
    int PrevDays = 1;
    bool PrevUp = false;
    int PrevUpMin = 95, PrevUpMax = 100;
    bool PrevDn = false;
    int PrevDnMin = 95, PrevDnMax = 100;
    bool PrevExact = false;
    std::string PrevExactText;
    bool DoEval = false;
    int TradeChoice = 0;
    int EvalDays = 5;
    std::string Compare = "SPX";

    // Derived from MarketDate and EvalDays (see EvaluationDays).
    int EntryDay = 0;
    int ExitDay = 0;

    bool operator==(const FinderSettings&) const = default;
};

// The defaults without a settings file.
FinderSettings DefaultFinderSettings(int lastMarketDay);

std::filesystem::path FinderSettingsPath(const std::filesystem::path& programDir,
                                         const std::string& name);

// The earliest market date the dialog accepts, 1 January 1960.
constexpr int FirstMarketDate = -7304;

// Defaults without a name; otherwise every key, a missing one taking its default of a missing
// key (DoPrevAction off). Entry and exit days are derived. Whole numbers outside their dialog
// control's range are made safe: counts are clamped into it, list choices take their default,
// and a MarketDate outside FirstMarketDate..lastMarketDay is the last market date. `problem`
// receives why the file could not be read (empty when it was).
FinderSettings LoadFinderSettings(const std::filesystem::path& programDir, const std::string& name,
                                  int lastMarketDay, std::string* problem = nullptr);

// Throws std::runtime_error with the path when the file cannot be written.
void SaveFinderSettings(const FinderSettings& s, const std::filesystem::path& programDir,
                        const std::string& name);

// Entry and exit days with the built-in holidays (a calendar without a holiday file).
void EvaluationDays(FinderSettings& s);

// An ER range typed with its maximum below its minimum is swapped, as accepting the dialog does.
void SwapReversedRanges(FinderSettings& s);

std::string FinderDialogCaption(const std::string& name, bool modified);
std::string FindButtonCaption(bool modified);

// The chart's `indicators` value for a find: the market line's host code and, when the previous
// action uses another line, that line's code, each followed by a comma ("48," or "48,43,").
std::string IndicatorsValue(const FinderSettings& s);

// The ER check needs the chart window.
bool ErCheckWanted(const FinderSettings& s);

// The description lines of the printed report (the bullet is the host's byte 0x95).
std::vector<std::string> ReportDescription(const FinderSettings& s, int lastMarketDay,
                                           const platform::Locale& locale);

// The market date as the dialog validates it: no later than the last market date, and a
// trading day by the built-in holidays.
int NormalisedMarketDate(int day, int lastMarketDay);

// The largest EvalDays the dialog allows (only with the evaluation on and possible).
int LimitFinderEvalDays(const FinderSettings& s, int lastMarketDay);

// What accepting the settings dialog does: the market date normalised, EvalDays limited, reversed
// ER ranges swapped, the entry and exit days derived.
void AcceptSettings(FinderSettings& s, int lastMarketDay);

} // namespace finder
