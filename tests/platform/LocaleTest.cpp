// The locale value: the date format taken from Qt's pattern, and the POSIX defaults.
#include "platform/Locale.h"

#include <gtest/gtest.h>

using platform::DateFormatFromQt;

TEST(Locale, DateFormatFromQt) {
    EXPECT_EQ(DateFormatFromQt("M/d/yy", '/'), "m/d/yy");
    EXPECT_EQ(DateFormatFromQt("dd.MM.yyyy", '.'), "dd/mm/yyyy");
    EXPECT_EQ(DateFormatFromQt("yyyy-MM-dd", '-'), "yyyy/mm/dd");
    EXPECT_EQ(DateFormatFromQt("dddd, MMMM d, yyyy", '/'), "dddd, mmmm d, yyyy");
    EXPECT_EQ(DateFormatFromQt("ddd MMM d y", '/'), "ddd mmm d yy");
    // Literal text must not be read back as day, month or year tokens.
    EXPECT_EQ(DateFormatFromQt("d 'de' MMMM 'de' yyyy", '/'), "d \"de\" mmmm \"de\" yyyy");
    EXPECT_EQ(DateFormatFromQt("'o''clock' d", '/'), "\"o'clock\" d");
    EXPECT_EQ(DateFormatFromQt("d. MMMM yyyy", '.'), "d/ mmmm yyyy");
    EXPECT_EQ(DateFormatFromQt("", '/'), "");
}

// Outside a quoted literal Qt reads '' as one quote character, which must survive as text.
TEST(Locale, DateFormatFromQtDoubledQuote) {
    EXPECT_EQ(DateFormatFromQt("d''MM", '/'), "d\"'\"mm");
}

TEST(Locale, PosixDefaults) {
    platform::Locale l = platform::Locale::Posix();
    EXPECT_EQ(l.dateSeparator, '/');
    EXPECT_EQ(l.shortDateFormat, "m/d/yy");
    EXPECT_EQ(l.longDateFormat, "dddd, mmmm d, yyyy");
    EXPECT_EQ(std::string() + l.thousandSeparator + l.decimalSeparator, ",.");
    EXPECT_EQ(l.shortDayNames[0] + l.longDayNames[6], "SunSaturday");
    EXPECT_EQ(l.shortMonthNames[0] + l.longMonthNames[11], "JanDecember");
}
