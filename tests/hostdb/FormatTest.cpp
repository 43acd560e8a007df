// The host's date and number formatting: every date token, the locale's separators, rounding
// and thousands separators, and the host's patterns.
#include "hostdb/Format.h"

#include <gtest/gtest.h>

using namespace hostdb;

TEST(FormatDateTime, EveryDateToken) {
    platform::Locale loc;
    DateTimeValue sat = EncodeDate(2000, 1, 1);
    const std::pair<const char*, const char*> cases[] = {
        {"d", "1"},
        {"dd", "01"},
        {"ddd", "Sat"},
        {"dddd", "Saturday"},
        {"ddddd", "1/1/00"},
        {"dddddd", "Saturday, January 1, 2000"},
        {"m", "1"},
        {"mm", "01"},
        {"mmm", "Jan"},
        {"mmmm", "January"},
        {"mmmmm", "January"},
        {"y", "00"},
        {"yy", "00"},
        {"yyy", "2000"},
        {"yyyy", "2000"},
        {"yyyyy", "2000"},
        {"MM/DD/YY", "01/01/00"},
        {"dddd, mmmm d, yyyyy", "Saturday, January 1, 2000"},
        {"'day' d \"of\" m", "day 1 of 1"},
        {"d-m, x!", "1-1, x!"},
    };
    for (auto [fmt, want] : cases) EXPECT_EQ(FormatDateTime(fmt, sat, loc), want) << fmt;

    DateTimeValue late = EncodeDateTime(2026, 11, 30, 23, 59);
    EXPECT_EQ(FormatDateTime("dd mmm yyyy ddd", late, loc), "30 Nov 2026 Mon");
    EXPECT_EQ(FormatDateTime("d/m/yyyy", EncodeDate(1999, 12, 31), loc), "31/12/1999");
}

TEST(FormatDateTime, LocaleSeparatorAndFormats) {
    platform::Locale de;
    de.dateSeparator = '.';
    de.shortDateFormat = "dd/mm/yyyy";
    de.longDateFormat = "dddd, d. mmmm yyyy";
    de.longDayNames[6] = "Samstag";
    de.longMonthNames[0] = "Januar";
    DateTimeValue sat = EncodeDate(2000, 1, 1);
    EXPECT_EQ(FormatDateTime("mm/dd/yy", sat, de), "01.01.00");
    EXPECT_EQ(FormatDateTime("ddddd", sat, de), "01.01.2000");
    EXPECT_EQ(FormatDateTime("dddddd", sat, de), "Samstag, 1. Januar 2000");

    // A locale format that names itself must not recurse forever.
    platform::Locale odd;
    odd.shortDateFormat = "ddddd";
    EXPECT_NO_THROW(FormatDateTime("ddddd", sat, odd));
    // An unterminated quote runs to the end.
    EXPECT_EQ(FormatDateTime("d 'open", sat, odd), "1 open");
}

TEST(FormatFixed, RoundsHalfAwayFromZeroOnTheDecimalDigits) {
    platform::Locale loc;
    EXPECT_EQ(FormatFixed(0.125, 2, loc), "0.13"); // exact binary tie
    EXPECT_EQ(FormatFixed(-0.125, 2, loc), "-0.13");
    EXPECT_EQ(FormatFixed(2.5, 0, loc), "3");
    EXPECT_EQ(FormatFixed(0.5, 0, loc), "1");
    EXPECT_EQ(FormatFixed(9.995, 2, loc), "9.99");  // 9.99499999... in binary
    EXPECT_EQ(FormatFixed(99.95, 1, loc), "100.0"); // 99.9500000000000028 in binary
    EXPECT_EQ(FormatFixed(0.04, 0, loc), "0");
    EXPECT_EQ(FormatFixed(-0.04, 1, loc), "0.0"); // no "-0.0"
    EXPECT_EQ(FormatFixed(-0.05, 1, loc), "-0.1");
    EXPECT_EQ(FormatFixed(0.0, 2, loc), "0.00");
    EXPECT_EQ(FormatFixed(0.001, 2, loc), "0.00");
    EXPECT_EQ(FormatFixed(123.456f, 2, loc), "123.46");
    EXPECT_EQ(FormatFixed(1e-300, 3, loc), "0.000");
    EXPECT_EQ(FormatFixed(7, 0, loc), "7");
}

TEST(FormatFixed, ThousandsSeparators) {
    platform::Locale loc;
    EXPECT_EQ(FormatFixed(1234567.891, 2, loc, true), "1,234,567.89");
    EXPECT_EQ(FormatFixed(999999.5, 0, loc, true), "1,000,000");
    EXPECT_EQ(FormatFixed(999, 0, loc, true), "999");
    EXPECT_EQ(FormatFixed(1000, 0, loc, true), "1,000");
    EXPECT_EQ(FormatFixed(-12345, 0, loc, true), "-12,345");
    EXPECT_EQ(FormatFixed(0.5, 2, loc, true), "0.50");
    EXPECT_EQ(FormatFixed(1e20, 0, loc, true), "100,000,000,000,000,000,000");
    platform::Locale de;
    de.thousandSeparator = '.';
    de.decimalSeparator = ',';
    EXPECT_EQ(FormatFixed(1234.5, 2, de, true), "1.234,50");
}

TEST(FormatText, HostPatterns) {
    platform::Locale loc;
    EXPECT_EQ(FormatText("%5.1f ", {3.0f * 0.2L}, loc), "  0.6 ");
    EXPECT_EQ(FormatText("%6.2f ", {-0.25f}, loc), " -0.25 ");
    EXPECT_EQ(FormatText("%2d ", {7}, loc), " 7 ");
    EXPECT_EQ(FormatText("%2d ", {123}, loc), "123 ");
    EXPECT_EQ(FormatText("%5.0f ", {-1000.0f}, loc), "-1000 ");
    EXPECT_EQ(FormatText("%5.1f%% ", {5.0f}, loc), "  5.0% ");
    EXPECT_EQ(FormatText("%5.1f%% ", {-0.04f}, loc), "  0.0% ");
    EXPECT_EQ(FormatText("%.0n ticker%s inspected", {12345, "s"}, loc), "12,345 tickers inspected");
    EXPECT_EQ(FormatText("$%.2n minimum", {1234.5f}, loc), "$1,234.50 minimum");
    EXPECT_EQ(FormatText("%d-day %% ", {5}, loc), "5-day % ");
    EXPECT_EQ(FormatText("%-4d|%.3d|%s", {7, 5, "x"}, loc), "7   |005|x");
    EXPECT_EQ(FormatText("%f", {1.0}, loc), "1.00");
    // A pattern without its argument, or of the wrong kind, stays as written.
    EXPECT_EQ(FormatText("a %d b %s", {1.5}, loc), "a %d b %s");
    EXPECT_EQ(FormatText("%d %d", {1}, loc), "1 %d");
}
