// The user's date and number conventions as a plain value: core code is handed one and never
// asks the environment. Formats use the host's date tokens ("m/d/yy", "dddd, mmmm d, yyyy").
#pragma once

#include <array>
#include <string>

namespace platform {

struct Locale {
    char dateSeparator = '/';
    std::string shortDateFormat = "m/d/yy";
    std::string longDateFormat = "dddd, mmmm d, yyyy";
    // Index 0 is Sunday, as the host's formatter counts weekdays.
    std::array<std::string, 7> shortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> longDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
    std::array<std::string, 12> shortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> longMonthNames{"January",   "February", "March",    "April",
                                               "May",       "June",     "July",     "August",
                                               "September", "October",  "November", "December"};
    char thousandSeparator = ',';
    char decimalSeparator = '.';

    // The C/POSIX conventions, also the fallback for anything the user's locale lacks.
    static Locale Posix() { return Locale{}; }
};

// Converts a Qt date format ("dd.MM.yyyy", "dddd, MMMM d, yyyy") into the host's tokens, the
// separator between numeric fields becoming the "/" placeholder. Exposed for testing.
std::string DateFormatFromQt(const std::string& qtFormat, char separator);

// The conventions of the user's locale (QLocale::system()); the C/POSIX locale gives Posix().
Locale SystemLocale(); // in zolt_platform_qt

} // namespace platform
