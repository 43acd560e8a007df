#include "screener/engine/FilterSettings.h"

#include "hostdb/Format.h"
#include "platform/Directories.h"
#include "platform/Profile.h"
#include "platform/Text.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <utility>
#include <vector>

namespace screener {

const std::array<const char*, 10> FilterTabCaptions = {
    "&High", "Lo&w", "&Up", "&Down", "&GapU", "Ga&pD", "&VolU", "V&olD", "&All", "&Combo"};

namespace {

const char* const Section = "Filter";

// What a whole number out of its dialog control's range becomes on loading: a count is clamped
// into the range, a choice from a list takes its default.
enum class OutOfRange { Clamp, Default };

// Every key of the file in the file's order, bound to its field.
struct Field {
    const char* key;
    enum { Int, Bool, Float, Text } kind;
    int FilterSettings::*i = nullptr;
    bool FilterSettings::*b = nullptr;
    float FilterSettings::*f = nullptr;
    const char* defaultText = nullptr; // floats: the text read when the key is missing
    int low = INT_MIN, high = INT_MAX;
    OutOfRange outOfRange = OutOfRange::Clamp;
};

#define ZI(k, lo, hi, how)                                                                         \
    Field { #k, Field::Int, &FilterSettings::k, nullptr, nullptr, nullptr, lo, hi, how }
#define ZB(k)                                                                                      \
    Field { #k, Field::Bool, nullptr, &FilterSettings::k }
#define ZF(k, d)                                                                                   \
    Field { #k, Field::Float, nullptr, nullptr, &FilterSettings::k, d }

constexpr OutOfRange Clamp = OutOfRange::Clamp, Default = OutOfRange::Default;

const Field Fields[] = {
    ZI(Page, 0, 9, Default),
    ZF(MinClose, "5.00"),
    ZI(MinVolume, INT_MIN, INT_MAX, Clamp), // the edit has no limits; x10 is done unsigned
    ZB(NewHighA),
    ZB(NewHighB),
    ZB(NewHighC),
    ZI(NewHighWeeks, 0, 999, Clamp),
    ZB(NewHighOnly),
    ZB(NewLowA),
    ZB(NewLowB),
    ZB(NewLowC),
    ZI(NewLowWeeks, 0, 999, Clamp),
    ZB(NewLowOnly),
    ZB(CloseUpA),
    ZB(CloseUpB),
    ZB(CloseUpC),
    ZB(CloseUpDollar),
    ZB(CloseUpPerC),
    ZF(CloseUpMinDollar, "0.50"),
    ZF(CloseUpMaxDollar, "2.00"),
    ZF(CloseUpMinPerC, "2.0"),
    ZF(CloseUpMaxPerC, "8.0"),
    ZB(CloseDownA),
    ZB(CloseDownB),
    ZB(CloseDownC),
    ZB(CloseDownDollar),
    ZB(CloseDownPerC),
    ZF(CloseDownMinDollar, "0.50"),
    ZF(CloseDownMaxDollar, "0.50"),
    ZF(CloseDownMinPerC, "2.0"),
    ZF(CloseDownMaxPerC, "2.0"),
    ZB(GapUpA),
    ZB(GapUpB),
    ZB(GapUpC),
    ZI(GapUpDays, 0, 9, Clamp),
    ZB(GapDownA),
    ZB(GapDownB),
    ZB(GapDownC),
    ZI(GapDownDays, 0, 9, Clamp),
    ZB(VolumeAboveA),
    ZB(VolumeAboveB),
    ZB(VolumeAboveC),
    ZF(VolumeAbovePerC, "150"),
    ZI(VolumeDays, 1, 9, Clamp),
    ZB(VolumeBelowA),
    ZB(VolumeBelowB),
    ZB(VolumeBelowC),
    ZF(VolumeBelowPerC, "30"),
    ZB(DoEval),
    ZI(TradeChoice, 0, 1, Default),
    ZI(EvalDays, 0, 999, Clamp),
    Field{"Compare", Field::Text},
};

#undef ZI
#undef ZB
#undef ZF

} // namespace

std::array<std::array<bool, 8>, 3> ComboFlags(const FilterSettings& s) {
    return {{{s.NewHighA, s.NewLowA, s.CloseUpA, s.CloseDownA, s.GapUpA, s.GapDownA, s.VolumeAboveA,
              s.VolumeBelowA},
             {s.NewHighB, s.NewLowB, s.CloseUpB, s.CloseDownB, s.GapUpB, s.GapDownB, s.VolumeAboveB,
              s.VolumeBelowB},
             {s.NewHighC, s.NewLowC, s.CloseUpC, s.CloseDownC, s.GapUpC, s.GapDownC, s.VolumeAboveC,
              s.VolumeBelowC}}};
}

std::filesystem::path SettingsFilePath(const std::filesystem::path& programDir,
                                       const std::string& name) {
    return platform::Directories::FileInDirectory(programDir, name + ".VNI");
}

bool ParseSettingsFloat(const std::string& text, char decimalSeparator, float& value) {
    std::string plain;
    if (!hostdb::DecimalLiteral(platform::Trim(text), decimalSeparator, plain)) return false;
    // Extended precision rounded once to a single, as the host reads it; from_chars, unlike
    // strtold, does not depend on the C locale a window toolkit may have set.
    long double v = 0;
    auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), v);
    if (ec == std::errc::result_out_of_range) return false;
    if (ec != std::errc() || end != plain.data() + plain.size()) return false;
    float f = static_cast<float>(v);
    if (!std::isfinite(f)) return false; // 1e999 is no price
    value = f;
    return true;
}

FilterSettings LoadSettings(const std::filesystem::path& programDir, const std::string& name,
                            const platform::Locale& locale, std::string* problem) {
    FilterSettings s;
    if (name.empty()) return s;
    platform::Profile file(SettingsFilePath(programDir, name));
    if (problem) *problem = file.Problem();
    const FilterSettings defaults;
    for (const Field& f : Fields) {
        switch (f.kind) {
        case Field::Int:
            // A hand-edited file reaches the engine without the dialog's limits.
            s.*f.i = platform::IntegerInRange(file.ReadInteger(Section, f.key, defaults.*f.i),
                                              defaults.*f.i, f.low, f.high, f.outOfRange == Clamp);
            break;
        case Field::Bool:
            s.*f.b = file.ReadInteger(Section, f.key, defaults.*f.b ? 1 : 0) != 0;
            break;
        case Field::Float: {
            float v;
            std::string text = file.ReadString(Section, f.key, f.defaultText);
            s.*f.f = ParseSettingsFloat(text, locale.decimalSeparator, v) ? v : defaults.*f.f;
            break;
        }
        case Field::Text: // upper case, as the dialog takes it
            s.Compare = platform::UpperCase(file.ReadString(Section, f.key, defaults.Compare));
            break;
        }
    }
    return s;
}

void SaveSettings(const FilterSettings& s, const std::filesystem::path& programDir,
                  const std::string& name, const platform::Locale& locale) {
    std::vector<std::pair<std::string, std::string>> values;
    for (const Field& f : Fields) {
        std::string v;
        switch (f.kind) {
        case Field::Int: v = std::to_string(s.*f.i); break;
        case Field::Bool: v = s.*f.b ? "1" : "0"; break;
        case Field::Float: v = hostdb::FormatFixed(s.*f.f, 2, locale); break;
        case Field::Text: v = s.Compare; break;
        }
        values.emplace_back(f.key, v);
    }
    std::filesystem::path path = SettingsFilePath(programDir, name);
    if (!platform::Profile(path).WriteStrings(Section, values))
        throw std::runtime_error("Cannot write the settings file " + path.string());
}

FilterSettings EveryTicker() {
    FilterSettings s;
    s.Page = PageAll;
    s.MinClose = 0;
    s.MinVolume = 0;
    return s;
}

std::string FilterCaption(int page, const std::string& lastSettingsFile, bool modified) {
    std::string tab = page >= 0 && page < 10 ? FilterTabCaptions[static_cast<size_t>(page)] : "";
    std::string caption = "Filter: ";
    for (char c : tab)
        if (c != '&') caption += c;
    caption += lastSettingsFile.empty() ? " " : " \"" + lastSettingsFile + "\"";
    if (modified) caption += " (mod)";
    return caption;
}

std::string FilterDialogTitle(const std::string& name, bool modified) {
    if (!name.empty()) return "Zolt Filter Settings (" + name + (modified ? " - modified)" : ")");
    return modified ? "Zolt Filter Settings (modified)" : "Zolt Filter Settings";
}

std::string DoItCaption(bool modified) {
    return modified ? "&Filter using these unsaved settings" : "&Filter using these settings";
}

int LimitEvalDays(const FilterSettings& s, hostdb::MarketCalendar& calendar, int M,
                  int lastMarketDay) {
    if (!s.DoEval || M >= lastMarketDay) return s.EvalDays;
    int most = hostdb::MaxEvalDays(calendar, M, lastMarketDay);
    return s.EvalDays > most ? most : s.EvalDays < 0 ? 0 : s.EvalDays;
}

} // namespace screener
