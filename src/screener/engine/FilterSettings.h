// The screener's filter settings: the record with its defaults, its ".VNI" settings file, the
// captions derived from it, and the days of the evaluated trade.
#pragma once

#include "hostdb/MarketCalendar.h"
#include "hostdb/TradingDays.h"
#include "platform/Locale.h"

#include <array>
#include <filesystem>
#include <string>

namespace screener {

enum FilterPage : int {
    PageHigh,
    PageLow,
    PageUp,
    PageDown,
    PageGapU,
    PageGapD,
    PageVolU,
    PageVolD,
    PageAll,
    PageCombo
};

// The filter dialog's tab captions, page by page.
extern const std::array<const char*, 10> FilterTabCaptions;

struct FilterSettings {
    int Page = PageHigh;
    float MinClose = 5.00f;
    int MinVolume = 10; // thousands of shares
    bool NewHighA = true, NewHighB = false, NewHighC = false;
    int NewHighWeeks = 39;
    bool NewHighOnly = true;
    bool NewLowA = false, NewLowB = false, NewLowC = false;
    int NewLowWeeks = 39;
    bool NewLowOnly = true;
    bool CloseUpA = false, CloseUpB = false, CloseUpC = false;
    bool CloseUpDollar = true, CloseUpPerC = false;
    float CloseUpMinDollar = 0.50f, CloseUpMaxDollar = 2.00f;
    float CloseUpMinPerC = 2.0f, CloseUpMaxPerC = 8.0f;
    bool CloseDownA = false, CloseDownB = false, CloseDownC = false;
    bool CloseDownDollar = true, CloseDownPerC = false;
    float CloseDownMinDollar = 0.50f, CloseDownMaxDollar = 0.50f;
    float CloseDownMinPerC = 2.0f, CloseDownMaxPerC = 2.0f;
    bool GapUpA = false, GapUpB = false, GapUpC = false;
    int GapUpDays = 2;
    bool GapDownA = false, GapDownB = false, GapDownC = false;
    int GapDownDays = 2;
    bool VolumeAboveA = false, VolumeAboveB = false, VolumeAboveC = false;
    float VolumeAbovePerC = 150;
    int VolumeDays = 1;
    bool VolumeBelowA = false, VolumeBelowB = false, VolumeBelowC = false;
    float VolumeBelowPerC = 30;
    bool DoEval = true;
    int TradeChoice = 0; // 0 long, 1 short
    int EvalDays = 4;
    std::string Compare = "SPX;RUT";

    bool operator==(const FilterSettings&) const = default;
};

// The All page without the price and volume minimums: every ticker of a data set listed.
FilterSettings EveryTicker();

// The Combo flags by column (A, B, C) and test, in the order new high, new low, closed up,
// closed down, gap up, gap down, volume above, volume below.
std::array<std::array<bool, 8>, 3> ComboFlags(const FilterSettings& s);

// The settings file of a name: the program directory + name + ".VNI", an existing file of that
// name in any case being the one.
std::filesystem::path SettingsFilePath(const std::filesystem::path& programDir,
                                       const std::string& name);

// Defaults for an empty name; otherwise every key from the file, a missing file or key or an
// unreadable value giving the default. Whole numbers outside their dialog control's range are
// made safe: counts are clamped into it, list choices (Page, TradeChoice) take their default.
// `problem` receives why the file could not be read (empty when it was).
FilterSettings LoadSettings(const std::filesystem::path& programDir, const std::string& name,
                            const platform::Locale& locale, std::string* problem = nullptr);

// Writes every key; throws std::runtime_error with the path when the file cannot be written.
void SaveSettings(const FilterSettings& s, const std::filesystem::path& programDir,
                  const std::string& name, const platform::Locale& locale);

// A float as the settings file reads it: optional sign, digits with the locale's decimal
// separator, optional exponent; false for anything else.
bool ParseSettingsFloat(const std::string& text, char decimalSeparator, float& value);

std::string FilterCaption(int page, const std::string& lastSettingsFile, bool modified);
std::string FilterDialogTitle(const std::string& lastSettingsFile, bool modified);
std::string DoItCaption(bool modified);

// EvalDays as the dialog takes it: with the evaluation on and possible, no more than the
// largest and no less than 0.
int LimitEvalDays(const FilterSettings& s, hostdb::MarketCalendar& calendar, int M,
                  int lastMarketDay);

} // namespace screener
