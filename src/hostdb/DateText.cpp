#include "hostdb/DateText.h"

#include "platform/Text.h"

namespace hostdb {

DateOrder DateOrderOf(std::string_view fmt) {
    for (char c : fmt) {
        switch (platform::AsciiUpper(c)) {
        case 'D': return DateOrder::DayMonthYear;
        case 'Y':
        case 'E': return DateOrder::YearMonthDay;
        case 'M': return DateOrder::MonthDayYear;
        default: break;
        }
    }
    return DateOrder::MonthDayYear;
}

namespace {

class Scanner {
public:
    Scanner(std::string_view text, char separator) : s_(text), sep_(separator) {}

    void SkipBlanks() {
        while (pos_ < s_.size() && s_[pos_] == ' ') ++pos_;
    }

    // Digits are taken while the value so far is below 1000.
    bool Number(int& value) {
        SkipBlanks();
        size_t start = pos_;
        value = 0;
        while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9' && value < 1000) {
            value = value * 10 + (s_[pos_] - '0');
            ++pos_;
        }
        return pos_ > start;
    }

    bool Separator() {
        SkipBlanks();
        if (pos_ < s_.size() && s_[pos_] == sep_) {
            ++pos_;
            return true;
        }
        return false;
    }

    bool AtEnd() const { return pos_ == s_.size(); }

private:
    std::string_view s_;
    char sep_;
    size_t pos_ = 0;
};

} // namespace

DateTimeValue StrToDate2k(std::string_view text, const DateTextRules& rules, DateTimeValue now) {
    Scanner sc(text, rules.separator);
    int n1, n2, n3;
    if (!sc.Number(n1) || !sc.Separator() || !sc.Number(n2)) return now;
    int year = 0, month = 0, day = 0;
    if (sc.Separator()) {
        if (!sc.Number(n3)) return now;
        switch (rules.order) {
        case DateOrder::MonthDayYear: month = n1, day = n2, year = n3; break;
        case DateOrder::DayMonthYear: day = n1, month = n2, year = n3; break;
        case DateOrder::YearMonthDay: year = n1, month = n2, day = n3; break;
        }
        if (year < 100) year += year < 50 ? 2000 : 1900;
    } else {
        year = DecodeDate(now).year;
        if (rules.order == DateOrder::DayMonthYear) {
            day = n1, month = n2;
        } else {
            month = n1, day = n2;
        }
    }
    sc.Separator();
    sc.SkipBlanks();
    if (!IsValidDate(year, month, day) || !sc.AtEnd()) return now;
    return EncodeDate(year, month, day);
}

} // namespace hostdb
