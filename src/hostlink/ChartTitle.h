// The title of the host chart's active child read as the finder reads it: symbol, the cursor's
// date and the expert ratings, as words split at single blanks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hostlink {

// The words of the title's first 39 characters, split at every single blank (two blanks make an
// empty word).
std::vector<std::string> TitleWords(std::string_view title);

// Word n (1-based); empty when the title has fewer words.
std::string TitleWord(const std::vector<std::string>& words, std::size_t n);

// The upside ER from word 3 ("(85") and the downside ER from word 5 ("15)"); a value whose word
// does not have that form, or is no number, is 0.
void ReadRatings(const std::vector<std::string>& words, int& up, int& dn);

} // namespace hostlink
