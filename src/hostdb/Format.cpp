#include "hostdb/Format.h"

#include "platform/Text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace hostdb {

namespace {

void AppendNumber(std::string& out, int value, int width) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*d", width, value);
    out += buf;
}

void AppendDate(std::string& out, std::string_view fmt, DateTimeValue value,
                const platform::Locale& loc, int depth) {
    CivilDate date = DecodeDate(value);
    size_t i = 0;
    while (i < fmt.size()) {
        char c = fmt[i];
        char u = platform::AsciiUpper(c);
        if (c == '"' || c == '\'') {
            size_t close = fmt.find(c, i + 1);
            if (close == std::string_view::npos) close = fmt.size();
            out += fmt.substr(i + 1, close - i - 1);
            i = close + 1;
            continue;
        }
        if (u != 'D' && u != 'M' && u != 'Y') {
            if (c == '/')
                out += loc.dateSeparator;
            else
                out += c;
            ++i;
            continue;
        }
        size_t run = 1;
        while (i + run < fmt.size() && platform::AsciiUpper(fmt[i + run]) == u) ++run;
        i += run;
        if (u == 'D') {
            int wd = DayOfWeekSunday(value);
            switch (run) {
            case 1: AppendNumber(out, date.day, 0); break;
            case 2: AppendNumber(out, date.day, 2); break;
            case 3: out += loc.shortDayNames[wd]; break;
            case 4: out += loc.longDayNames[wd]; break;
            default:
                // The locale's formats hold no nested "ddddd"; the depth keeps a hostile
                // one from recursing forever.
                if (depth < 2)
                    AppendDate(out, run == 5 ? loc.shortDateFormat : loc.longDateFormat, value, loc,
                               depth + 1);
            }
        } else if (u == 'M') {
            switch (run) {
            case 1: AppendNumber(out, date.month, 0); break;
            case 2: AppendNumber(out, date.month, 2); break;
            case 3: out += loc.shortMonthNames[date.month - 1]; break;
            default: out += loc.longMonthNames[date.month - 1];
            }
        } else {
            if (run <= 2)
                AppendNumber(out, date.year % 100, 2);
            else
                AppendNumber(out, date.year, 4);
        }
    }
}

} // namespace

std::string FormatDateTime(std::string_view format, DateTimeValue value,
                           const platform::Locale& locale) {
    std::string out;
    AppendDate(out, format, value, locale, 0);
    return out;
}

std::string FormatFixed(long double value, int decimals, const platform::Locale& locale,
                        bool thousands) {
    if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : value > 0 ? "INF" : "-INF";
    if (decimals < 0) decimals = 0;
    // 18 significant digits: "d.ddddddddddddddddde+XX".
    char sci[64];
    std::snprintf(sci, sizeof sci, "%.17Le", std::fabs(value));
    std::string digits;
    for (const char* p = sci; *p && *p != 'e'; ++p)
        if (*p != '.') digits += *p;
    int exp10 = std::atoi(std::strchr(sci, 'e') + 1); // value = 0.digits * 10^(exp10 + 1)
    int intDigits = exp10 + 1;                        // digits before the decimal point
    int keep = intDigits + decimals;
    if (value == 0 || keep < 0) {
        digits.clear();
        keep = 0;
    } else if (keep < static_cast<int>(digits.size())) {
        bool up = digits[static_cast<size_t>(keep)] >= '5';
        digits.resize(static_cast<size_t>(keep));
        if (up) {
            int k = keep - 1;
            while (k >= 0 && digits[static_cast<size_t>(k)] == '9')
                digits[static_cast<size_t>(k--)] = '0';
            if (k >= 0) {
                ++digits[static_cast<size_t>(k)];
            } else {
                digits.insert(digits.begin(), '1');
                ++intDigits;
            }
        }
    }
    // Lay the kept digits out around the decimal point.
    auto digitAt = [&](int pos) { // pos 0 = first digit of `digits`, at 10^(intDigits - 1)
        return pos >= 0 && pos < static_cast<int>(digits.size()) ? digits[static_cast<size_t>(pos)]
                                                                 : '0';
    };
    std::string intPart;
    for (int p = 0; p < intDigits; ++p) intPart += digitAt(p);
    if (intPart.empty()) intPart.push_back('0');
    std::string out;
    // A value that rounds to zero loses its sign, as in the host's formatter.
    if (value < 0 && digits.find_first_not_of('0') != std::string::npos) out += '-';
    if (thousands) {
        for (size_t k = 0; k < intPart.size(); ++k) {
            if (k > 0 && (intPart.size() - k) % 3 == 0) out += locale.thousandSeparator;
            out += intPart[k];
        }
    } else {
        out += intPart;
    }
    if (decimals > 0) {
        out += locale.decimalSeparator;
        for (int p = 0; p < decimals; ++p) out += digitAt(intDigits + p);
    }
    return out;
}

std::string FormatText(std::string_view pattern, std::initializer_list<FormatArg> args,
                       const platform::Locale& locale) {
    std::string out;
    auto arg = args.begin();
    size_t i = 0;
    while (i < pattern.size()) {
        char c = pattern[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        size_t start = i++;
        if (i < pattern.size() && pattern[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        bool left = false;
        if (i < pattern.size() && pattern[i] == '-') left = true, ++i;
        int width = 0, precision = -1;
        while (i < pattern.size() && pattern[i] >= '0' && pattern[i] <= '9')
            width = width * 10 + (pattern[i++] - '0');
        if (i < pattern.size() && pattern[i] == '.') {
            precision = 0;
            ++i;
            while (i < pattern.size() && pattern[i] >= '0' && pattern[i] <= '9')
                precision = precision * 10 + (pattern[i++] - '0');
        }
        if (i >= pattern.size() || arg == args.end()) {
            out += pattern.substr(start);
            break;
        }
        char type = platform::AsciiLower(pattern[i++]);
        const FormatArg& a = *arg++;
        std::string text;
        if (type == 'd' && a.kind == FormatArg::Integer) {
            std::string digits = std::to_string(a.i < 0 ? -static_cast<unsigned long long>(a.i)
                                                        : static_cast<unsigned long long>(a.i));
            if (precision > static_cast<int>(digits.size()))
                digits.insert(0, static_cast<size_t>(precision) - digits.size(), '0');
            text = (a.i < 0 ? "-" : "") + digits;
        } else if ((type == 'f' || type == 'n') && a.kind != FormatArg::Text) {
            long double v = a.kind == FormatArg::Float ? a.f : static_cast<long double>(a.i);
            text = FormatFixed(v, precision < 0 ? 2 : precision, locale, type == 'n');
        } else if (type == 's' && a.kind == FormatArg::Text) {
            text = precision >= 0 ? a.s.substr(0, static_cast<size_t>(precision)) : a.s;
        } else {
            out += pattern.substr(start, i - start);
            continue;
        }
        if (static_cast<int>(text.size()) < width) {
            std::string pad(static_cast<size_t>(width) - text.size(), ' ');
            text = left ? text + pad : pad + text;
        }
        out += text;
    }
    return out;
}

bool DecimalLiteral(std::string_view t, char decimalSeparator, std::string& plain) {
    plain.clear();
    std::size_t i = 0;
    auto digits = [&] {
        std::size_t start = i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') plain += t[i++];
        return i - start;
    };
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        if (t[i++] == '-') plain += '-';
    std::size_t whole = digits(), fraction = 0;
    if (i < t.size() && t[i] == decimalSeparator) {
        plain += '.';
        ++i;
        fraction = digits();
    }
    if (whole + fraction == 0) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) plain += t[i++];
        if (digits() == 0) return false;
    }
    return i == t.size();
}

bool ParseDecimal(std::string_view t, char decimalSeparator, double& value) {
    std::string plain;
    if (!DecimalLiteral(t, decimalSeparator, plain)) return false;
    double v = 0;
    auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), v);
    if (ec != std::errc() || end != plain.data() + plain.size()) return false;
    value = v;
    return true;
}

} // namespace hostdb
