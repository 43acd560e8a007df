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
// digits as the host's formatter does; thousands separators when `thousands` ("%.2n"). A value
// that rounds to zero has no sign.
std::string FormatFixed(long double value, int decimals, const platform::Locale& locale,
                        bool thousands = false);

// One argument of FormatText: a whole number, a floating-point number or a text.
struct FormatArg {
    enum Kind { Integer, Float, Text } kind;
    long long i = 0;
    long double f = 0;
    std::string s;
    FormatArg(int v) : kind(Integer), i(v) {}
    FormatArg(long v) : kind(Integer), i(v) {}
    FormatArg(long long v) : kind(Integer), i(v) {}
    FormatArg(float v) : kind(Float), f(v) {}
    FormatArg(double v) : kind(Float), f(v) {}
    FormatArg(long double v) : kind(Float), f(v) {}
    FormatArg(const char* v) : kind(Text), s(v) {}
    FormatArg(std::string v) : kind(Text), s(std::move(v)) {}
};

// The host's printf-style patterns: %[-][width][.precision] with d (precision = least
// digits), f (fixed, 2 decimals by default), n (f with thousands separators), s, and %%. A
// pattern that does not fit its argument writes the pattern text itself.
std::string FormatText(std::string_view pattern, std::initializer_list<FormatArg> args,
                       const platform::Locale& locale);

// The same text in the C form from_chars reads ("-1.5e3"): false when it is not such a number.
bool DecimalLiteral(std::string_view text, char decimalSeparator, std::string& plain);

// A number as the formatting above writes it: optional sign, digits with `decimalSeparator`
// before the decimals, optional exponent; nothing else, not even blanks. Independent of the
// process's C locale.
bool ParseDecimal(std::string_view text, char decimalSeparator, double& value);

} // namespace hostdb
