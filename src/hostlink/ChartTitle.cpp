#include "hostlink/ChartTitle.h"

#include "platform/Text.h"

namespace hostlink {

std::vector<std::string> TitleWords(std::string_view title) {
    title = title.substr(0, 39);
    std::vector<std::string> words;
    std::size_t start = 0;
    for (;;) {
        std::size_t blank = title.find(' ', start);
        words.emplace_back(title.substr(start, blank - start));
        if (blank == std::string_view::npos) break;
        start = blank + 1;
    }
    return words;
}

std::string TitleWord(const std::vector<std::string>& words, std::size_t n) {
    return n >= 1 && n <= words.size() ? words[n - 1] : std::string();
}

namespace {

int RatingOf(std::string_view digits) {
    int v = 0;
    return platform::ParseInteger(digits, v) ? v : 0;
}

} // namespace

void ReadRatings(const std::vector<std::string>& words, int& up, int& dn) {
    std::string w3 = TitleWord(words, 3), w5 = TitleWord(words, 5);
    up = w3.size() > 1 && w3.front() == '(' ? RatingOf(std::string_view(w3).substr(1)) : 0;
    dn = w5.size() > 1 && w5.back() == ')' ? RatingOf(std::string_view(w5).substr(0, w5.size() - 1))
                                           : 0;
}

} // namespace hostlink
