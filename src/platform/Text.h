// Small text helpers shared by the platform and host-database code: trimming and comparisons
// without regard to (ASCII) case.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string_view Trim(std::string_view s);
char AsciiLower(char c);
char AsciiUpper(char c);
std::string UpperCase(std::string_view s);
bool EqualNoCase(std::string_view a, std::string_view b);
// The order of the host platform's sorted lists: letters without regard to case, digits before
// letters, and other characters (separators, punctuation) before digits.
int CompareNoCase(std::string_view a, std::string_view b);
// Parses text as a whole decimal number with an optional sign, blanks around it allowed; false
// on anything else or on overflow. Used wherever the system reads integers from text.
bool ParseInteger(std::string_view text, int& value);

inline bool LessNoCase(std::string_view a, std::string_view b) { return CompareNoCase(a, b) < 0; }

} // namespace platform
