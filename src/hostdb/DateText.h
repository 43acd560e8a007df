// Date text to date-time value, reading day, month and year in the order of the user's short
// date format and placing two-digit years in 1950-2049. Text that is not a date gives "now".
#pragma once

#include "hostdb/DateTime.h"
#include "platform/Locale.h"

#include <string_view>

namespace hostdb {

enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

// The order of the fields in a short date format such as "m/d/yy" or "dd.mm.yyyy".
DateOrder DateOrderOf(std::string_view shortDateFormat);

struct DateTextRules {
    char separator = '/';
    DateOrder order = DateOrder::MonthDayYear;

    static DateTextRules From(const platform::Locale& locale) {
        return {locale.dateSeparator, DateOrderOf(locale.shortDateFormat)};
    }
};

// A whole-day value when text is a complete date, otherwise now (the current date-time).
DateTimeValue StrToDate2k(std::string_view text, const DateTextRules& rules, DateTimeValue now);

} // namespace hostdb
