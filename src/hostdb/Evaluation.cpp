#include "hostdb/Evaluation.h"

namespace hostdb {

float TradePerformance(float open, float close, int tradeChoice) {
    // Extended precision as the host computes; the result is kept as a single.
    long double ratio = static_cast<long double>(close) / open;
    return static_cast<float>(tradeChoice == 0 ? (ratio - 1) * 100 : (1 - ratio) * 100);
}

std::vector<std::string> CompareSymbols(const std::string& compare) {
    std::vector<std::string> symbols;
    std::string current;
    for (char c : compare + ";") {
        if (c == ';') {
            if (!current.empty()) symbols.push_back(current);
            current.clear();
        } else if (c != ' ') {
            current += c;
        }
    }
    return symbols;
}

} // namespace hostdb
