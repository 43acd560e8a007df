// Run once per locale (see CMakeLists): Qt reads the locale from the environment once.
#include "platform/Locale.h"

#include <gtest/gtest.h>

TEST(SystemLocale, Posix) {
    platform::Locale loc = platform::SystemLocale();
    platform::Locale posix = platform::Locale::Posix();
    EXPECT_EQ(loc.dateSeparator, '/');
    EXPECT_EQ(loc.shortDateFormat, "m/d/yy");
    EXPECT_EQ(loc.longDateFormat, "dddd, mmmm d, yyyy");
    EXPECT_EQ(loc.thousandSeparator, ',');
    EXPECT_EQ(loc.decimalSeparator, '.');
    EXPECT_EQ(loc.longDayNames, posix.longDayNames);
}

TEST(SystemLocale, German) {
    platform::Locale loc = platform::SystemLocale();
    EXPECT_EQ(loc.dateSeparator, '.');
    EXPECT_EQ(loc.shortDateFormat, "dd/mm/yy");
    EXPECT_EQ(loc.longDayNames[0], "Sonntag");
    EXPECT_EQ(loc.longDayNames[1], "Montag");
    EXPECT_EQ(loc.longMonthNames[2], "März");
    EXPECT_EQ(loc.thousandSeparator, '.');
    EXPECT_EQ(loc.decimalSeparator, ',');
}

TEST(SystemLocale, UnitedStates) {
    platform::Locale loc = platform::SystemLocale();
    EXPECT_EQ(loc.dateSeparator, '/');
    EXPECT_EQ(loc.shortDateFormat, "m/d/yy");
    EXPECT_EQ(loc.longDateFormat, "dddd, mmmm d, yyyy");
}
