// The host's formatting of dates ("dddd, mmmm d, yyyy", "mm/dd/yy", "dddddd") and of numbers
// with fixed decimals, with or without thousands separators ("%.2f", "%.0n").
#pragma once

#include "hostdb/DateTime.h"
#include "platform/Locale.h"

#include <string>
#include <string_view>

namespace hostdb {

// Date tokens, case-insensitive: d dd ddd dddd ddddd (short date) dddddd (long date); m mm mmm
// mmmm; yy (two digits) and three or more y (four digits); "/" the locale's date separator;
// text in single or double quotes literal; any other character as it is.
std::string FormatDateTime(std::string_view format, DateTimeValue value,
                           const platform::Locale& locale);

// value with `decimals` fixed decimals, rounded half away from zero on its 18 significant
// digits as the host's formatter does; thousands separators when `thousands` ("%.2n").
std::string FormatFixed(double value, int decimals, const platform::Locale& locale,
                        bool thousands = false);

} // namespace hostdb
