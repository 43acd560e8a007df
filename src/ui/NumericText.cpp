#include "ui/NumericText.h"

#include "hostdb/Format.h"
#include "platform/Text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace ui {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(hi, v)); }

// The 15 significant digits of |value| and its decimal exponent (value = d.ddd * 10^exp).
void SignificantDigits(double value, std::string& digits, int& exp10) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    digits.clear();
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (IsDigit(*p)) digits += *p;
    exp10 = *p ? std::atoi(p + 1) : 0;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
}

struct Section {
    std::string prefix, suffix; // literal text around the number
    int intPlaceholders = 0;    // "0" and "#" before the point
    int minIntDigits = 0;       // "0" before the point
    int maxDecimals = 0, minDecimals = 0;
    bool thousands = false;
    bool scientific = false;
    bool expSignAlways = false; // "E+" rather than "E-"
    int expDigits = 0;
};

// Splits at ";" outside quotes.
std::vector<std::string> SplitSections(std::string_view pattern) {
    std::vector<std::string> out(1);
    char quote = 0;
    for (char c : pattern) {
        if (quote) {
            if (c == quote) quote = 0;
            out.back() += c;
        } else if (c == '"' || c == '\'') {
            quote = c;
            out.back() += c;
        } else if (c == ';') {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

Section ParseSection(std::string_view s) {
    Section sec;
    bool seenPlaceholder = false, afterNumber = false, inDecimals = false;
    int decimalsSeen = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        std::string& literal = seenPlaceholder ? sec.suffix : sec.prefix;
        if (c == '"' || c == '\'') {
            size_t close = s.find(c, i + 1);
            if (close == std::string_view::npos) close = s.size();
            (afterNumber || seenPlaceholder ? sec.suffix : sec.prefix) +=
                std::string(s.substr(i + 1, close - i - 1));
            if (seenPlaceholder) afterNumber = true;
            i = close;
            continue;
        }
        if (!afterNumber && (c == '0' || c == '#')) {
            seenPlaceholder = true;
            if (inDecimals) {
                ++decimalsSeen;
                sec.maxDecimals = decimalsSeen;
                if (c == '0') sec.minDecimals = decimalsSeen;
            } else {
                ++sec.intPlaceholders;
                if (c == '0' || sec.minIntDigits > 0) ++sec.minIntDigits;
            }
            continue;
        }
        if (!afterNumber && c == '.' && !inDecimals) {
            inDecimals = true;
            seenPlaceholder = true;
            continue;
        }
        if (!afterNumber && c == ',' && !inDecimals) {
            sec.thousands = true;
            continue;
        }
        if (seenPlaceholder && !afterNumber && (c == 'E' || c == 'e') && i + 1 < s.size() &&
            (s[i + 1] == '+' || s[i + 1] == '-')) {
            sec.scientific = true;
            sec.expSignAlways = s[i + 1] == '+';
            i += 2;
            while (i < s.size() && s[i] == '0' && sec.expDigits < 4) {
                ++sec.expDigits;
                ++i;
            }
            --i;
            afterNumber = true;
            continue;
        }
        if (seenPlaceholder) afterNumber = true;
        literal += c;
    }
    return sec;
}

std::string GroupThousands(const std::string& intPart) {
    std::string out;
    for (size_t k = 0; k < intPart.size(); ++k) {
        if (k > 0 && (intPart.size() - k) % 3 == 0) out += ',';
        out += intPart[k];
    }
    return out;
}

// |value| laid out by the section, without sign.
std::string Layout(const Section& sec, double magnitude) {
    int exponent = 0;
    if (sec.scientific && magnitude != 0) {
        int intDigits = std::max(1, sec.intPlaceholders);
        exponent = static_cast<int>(std::floor(std::log10(magnitude))) - (intDigits - 1);
        magnitude /= std::pow(10.0, exponent);
        // Rounding can carry into another digit (9.996 -> 10.00).
        if (std::stod(hostdb::FormatFixed(magnitude, sec.maxDecimals, platform::Locale::Posix())) >=
            std::pow(10.0, intDigits)) {
            ++exponent;
            magnitude /= 10;
        }
    }
    std::string fixed = hostdb::FormatFixed(magnitude, sec.maxDecimals, platform::Locale::Posix());
    std::string intPart = fixed.substr(0, fixed.find('.'));
    std::string decPart =
        fixed.find('.') == std::string::npos ? "" : fixed.substr(fixed.find('.') + 1);
    while (static_cast<int>(decPart.size()) > sec.minDecimals && !decPart.empty() &&
           decPart.back() == '0')
        decPart.pop_back();
    // Leading zeros only as far as the pattern asks for them.
    while (intPart.size() > 1 && intPart.front() == '0') intPart.erase(0, 1);
    if (intPart == "0" && sec.minIntDigits == 0) intPart.clear();
    while (static_cast<int>(intPart.size()) < sec.minIntDigits) intPart.insert(0, "0");
    std::string out = sec.prefix + (sec.thousands ? GroupThousands(intPart) : intPart);
    if (!decPart.empty()) out += "." + decPart;
    if (sec.scientific) {
        out += 'E';
        if (exponent < 0)
            out += '-';
        else if (sec.expSignAlways)
            out += '+';
        std::string e = std::to_string(std::abs(exponent));
        while (static_cast<int>(e.size()) < sec.expDigits) e.insert(0, "0");
        out += e;
    }
    return out + sec.suffix;
}

bool IsZeroText(const std::string& s) {
    return std::none_of(s.begin(), s.end(), [](char c) { return c >= '1' && c <= '9'; });
}

} // namespace

bool ParseReal(std::string_view text, double& value) {
    size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ') ++b;
    while (e > b && text[e - 1] == ' ') --e;
    std::string_view s = text.substr(b, e - b);
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    size_t i = 0, mantissaDigits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++mantissaDigits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return false;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        size_t expDigits = 0;
        while (i < s.size() && IsDigit(s[i])) ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    if (i != s.size()) return false;
    std::string core(s);
    if (!core.empty() && core[0] == '.') core.insert(0, "0");
    double v = 0;
    auto [ptr, ec] = std::from_chars(core.data(), core.data() + core.size(), v);
    if (ec == std::errc::result_out_of_range) {
        // Tiny values underflow to zero harmlessly; huge ones cannot be held.
        char* end = nullptr;
        v = std::strtod(core.c_str(), &end);
        if (!std::isfinite(v) || std::fabs(v) > 1) return false;
    } else if (ec != std::errc() || ptr != core.data() + core.size() || !std::isfinite(v)) {
        return false;
    }
    value = negative ? -v : v;
    return true;
}

bool IsAcceptableCandidate(NumberKind kind, std::string_view text) {
    if (text.empty() || text == "+") return true;
    if (text == "-") return kind != NumberKind::Cardinal;
    if (kind == NumberKind::Real) {
        double v;
        return ParseReal(text, v);
    }
    if (kind == NumberKind::Cardinal && text.find('-') != std::string_view::npos) return false;
    int v;
    return platform::ParseInteger(text, v);
}

bool IsValidKey(NumberKind kind, char key) {
    if (key == '\b' || IsDigit(key)) return true;
    if (key == '+' || key == '-') return kind != NumberKind::Cardinal;
    if (key == '.' || key == 'E' || key == 'e') return kind == NumberKind::Real;
    return false;
}

namespace {

struct Span {
    int start, length;
};

Span SelectionOf(const EditText& e) {
    int n = static_cast<int>(e.text.size());
    int start = Clamp(e.selStart, 0, n);
    return {start, Clamp(e.selLength, 0, n - start)};
}

std::string Remove(const std::string& text, int start, int length) {
    return text.substr(0, static_cast<size_t>(start)) +
           text.substr(static_cast<size_t>(start + length));
}

} // namespace

std::string TypedCandidate(const EditText& e, std::string_view typed) {
    return PasteCandidate(e, typed);
}

std::string BackspaceCandidate(const EditText& e) {
    Span s = SelectionOf(e);
    if (s.length > 0) return Remove(e.text, s.start, s.length);
    return s.start > 0 ? Remove(e.text, s.start - 1, 1) : e.text;
}

std::string DeleteCandidate(const EditText& e) {
    Span s = SelectionOf(e);
    if (s.length > 0) return Remove(e.text, s.start, s.length);
    return s.start < static_cast<int>(e.text.size()) ? Remove(e.text, s.start, 1) : e.text;
}

std::string PasteCandidate(const EditText& e, std::string_view clip) {
    Span s = SelectionOf(e);
    return e.text.substr(0, static_cast<size_t>(s.start)) + std::string(clip) +
           e.text.substr(static_cast<size_t>(s.start + s.length));
}

std::string CutCandidate(const EditText& e) {
    Span s = SelectionOf(e);
    return Remove(e.text, s.start, s.length);
}

bool FormatFloat(std::string_view pattern, double value, std::string& out) {
    if (!std::isfinite(value)) return false;
    if (pattern.empty()) {
        out = FormatGeneral(value);
        return true;
    }
    std::vector<std::string> parts = SplitSections(pattern);
    Section positive = ParseSection(parts[0]);
    std::string text = Layout(positive, std::fabs(value));
    bool zero = IsZeroText(text.substr(
        positive.prefix.size(), text.size() - positive.prefix.size() - positive.suffix.size()));
    if (zero && parts.size() >= 3 && !parts[2].empty()) {
        out = Layout(ParseSection(parts[2]), 0);
    } else if (value < 0 && !zero) {
        if (parts.size() >= 2 && !parts[1].empty())
            out = Layout(ParseSection(parts[1]), std::fabs(value));
        else
            out = "-" + text;
    } else {
        out = text;
    }
    return true;
}

std::string FormatGeneral(double value) {
    if (value == 0) return "0";
    std::string digits;
    int exp10;
    SignificantDigits(value, digits, exp10);
    std::string out = value < 0 ? "-" : "";
    if (exp10 >= 15 || exp10 < -5) {
        out += digits[0];
        if (digits.size() > 1) out += "." + digits.substr(1);
        out += "E" + std::to_string(exp10);
        return out;
    }
    if (exp10 < 0) {
        out += "0." + std::string(static_cast<size_t>(-exp10 - 1), '0') + digits;
    } else {
        size_t intDigits = static_cast<size_t>(exp10) + 1;
        if (digits.size() <= intDigits) {
            out += digits + std::string(intDigits - digits.size(), '0');
        } else {
            out += digits.substr(0, intDigits) + "." + digits.substr(intDigits);
        }
    }
    return out;
}

int MinimumSpinEditHeight(int fontHeight, int systemFontHeight) {
    const int borderHeight = 1;
    return 4 * borderHeight + fontHeight + std::min(fontHeight, systemFontHeight) / 4 + 2;
}

} // namespace ui
