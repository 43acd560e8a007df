// Date text to a date in the order of the user's short date format: two-digit and missing years,
// incomplete dates, blanks, other separators and orders.
#include "hostdb/DateText.h"

#include <gtest/gtest.h>

using namespace hostdb;

namespace {

const DateTimeValue Now = EncodeDateTime(2026, 12, 7, 10, 30);
const DateTextRules Mdy{'/', DateOrder::MonthDayYear};
const DateTextRules Dmy{'/', DateOrder::DayMonthYear};

DateTimeValue Mdy2k(const char* text) { return StrToDate2k(text, Mdy, Now); }

} // namespace

TEST(DateText, TwoDigitYearsFallInto1950To2049) {
    EXPECT_EQ(Mdy2k("12/31/99"), EncodeDate(1999, 12, 31));
    EXPECT_EQ(Mdy2k("1/2/49"), EncodeDate(2049, 1, 2));
    EXPECT_EQ(Mdy2k("1/2/50"), EncodeDate(1950, 1, 2));
    EXPECT_EQ(Mdy2k("3/4/0"), EncodeDate(2000, 3, 4));
    EXPECT_EQ(Mdy2k("12/31/1999"), EncodeDate(1999, 12, 31));
    // Digits are taken while the value is below 1000, so a leading zero does not stop a year.
    EXPECT_EQ(Mdy2k("12/31/01999"), EncodeDate(1999, 12, 31));
}

TEST(DateText, MissingYearIsThisYear) {
    EXPECT_EQ(Mdy2k("3/4"), EncodeDate(2026, 3, 4));
    EXPECT_EQ(StrToDate2k("31/12", Dmy, Now), EncodeDate(2026, 12, 31));
    EXPECT_EQ(StrToDate2k("31/12/99", Dmy, Now), EncodeDate(1999, 12, 31));
}

TEST(DateText, AnythingButACompleteDateGivesNow) {
    for (const char* text : {"3/4/", "2/30/99", "12/31/99x", "", " ", "/", "12", "12/",
                             "12/31/10000", "13/1/99", "0/1/99", "1/0/99", "a/b/c"})
        EXPECT_EQ(Mdy2k(text), Now) << '"' << text << '"';
    EXPECT_EQ(Mdy2k("2/29/2000"), EncodeDate(2000, 2, 29));
    EXPECT_EQ(Mdy2k("2/29/1900"), Now);
}

TEST(DateText, BlanksAroundNumbersAndSeparators) {
    EXPECT_EQ(Mdy2k("  12 / 31 / 99  "), EncodeDate(1999, 12, 31));
    EXPECT_EQ(Mdy2k(" 3 /4 "), EncodeDate(2026, 3, 4));
    // One trailing separator is allowed.
    EXPECT_EQ(Mdy2k("12/31/99/"), EncodeDate(1999, 12, 31));
    EXPECT_EQ(Mdy2k("12/31/99//"), Now);
}

TEST(DateText, OtherSeparatorsAndOrders) {
    DateTextRules dots{'.', DateOrder::DayMonthYear};
    EXPECT_EQ(StrToDate2k("24.12.04", dots, Now), EncodeDate(2004, 12, 24));
    EXPECT_EQ(StrToDate2k("24/12/04", dots, Now), Now);
    DateTextRules ymd{'-', DateOrder::YearMonthDay};
    EXPECT_EQ(StrToDate2k("2004-12-24", ymd, Now), EncodeDate(2004, 12, 24));
    EXPECT_EQ(StrToDate2k("12-24", ymd, Now), EncodeDate(2026, 12, 24));

    EXPECT_EQ(DateOrderOf("m/d/yy"), DateOrder::MonthDayYear);
    EXPECT_EQ(DateOrderOf("dd.MM.yyyy"), DateOrder::DayMonthYear);
    EXPECT_EQ(DateOrderOf("yyyy-mm-dd"), DateOrder::YearMonthDay);
    EXPECT_EQ(DateOrderOf("ee/mm/dd"), DateOrder::YearMonthDay);
    EXPECT_EQ(DateOrderOf(""), DateOrder::MonthDayYear);
}
