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
inline bool LessNoCase(std::string_view a, std::string_view b) { return CompareNoCase(a, b) < 0; }

} // namespace platform
