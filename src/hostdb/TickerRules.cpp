#include "hostdb/TickerRules.h"

#include "platform/Text.h"

namespace hostdb {

bool HasControlCharacter(std::string_view ticker) {
    for (char c : ticker)
        if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') return true;
    return false;
}

std::string WithoutControlCharacters(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') c = '?';
    return out;
}

std::string SymbolOfFileName(std::string_view fileName) {
    return platform::UpperCase(fileName.substr(0, fileName.size() > 4 ? fileName.size() - 4 : 0));
}

bool IsEligible(const TickerFile& t, int M) {
    return t.FirstDay() < M && t.LastDay() >= M && t.StatusIsA() && t.KindCode() == 'S';
}

TradePrices ReadTradePrices(TickerFile& t, int openDay, int closeDay) {
    TradePrices p;
    t.SetDay(openDay);
    p.open = t.Open();
    t.SetDay(closeDay);
    p.close = t.Close();
    return p;
}

bool LookUpTradePrices(SearchPath& search, const std::string& symbol, int openDay, int closeDay,
                       EvaluatedTicker& out) {
    if (!search.FindFile(symbol + ".DTA", out.path)) return false;
    TickerFile t;
    t.SetFileName(out.path.string());
    if (!t.StatusIsA()) return false;
    out.name = t.SecurityName();
    out.prices = ReadTradePrices(t, openDay, closeDay);
    return true;
}

} // namespace hostdb
