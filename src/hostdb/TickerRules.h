// The rules about one ticker that both programs apply alike: its symbol from its file's name,
// whether it can be screened on a market day, and the prices of the evaluated trade.
#pragma once

#include "hostdb/SearchPath.h"
#include "hostdb/TickerFile.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace hostdb {

// The file name without its last 4 characters (the extension with its dot), in upper case.
std::string SymbolOfFileName(std::string_view fileName);

// A ticker holds no control characters: one that does (an escape sequence or a line feed taken
// from a ticker file's name) would drive the terminal or window that shows it, or split a list.
bool HasControlCharacter(std::string_view ticker);
// The text with each control character as "?", to name such a ticker in a message.
std::string WithoutControlCharacters(std::string_view text);

// Data before market day M, data up to M or later, status A and kind "S".
bool IsEligible(const TickerFile& ticker, int M);

struct TradePrices {
    float open = 0; // on the open day; 0 when the file has no record that day
    float close = 0;
    bool Complete() const { return open != 0 && close != 0; }
};

// The open on openDay and the close on closeDay of the ticker's open file.
TradePrices ReadTradePrices(TickerFile& ticker, int openDay, int closeDay);

// A ticker looked up by symbol for the evaluation: its file and name, and its prices.
struct EvaluatedTicker {
    std::filesystem::path path;
    std::string name;
    TradePrices prices;
};

// symbol + ".DTA" on the search path; false when no file is found or it is not of status A.
// The prices may still be incomplete.
bool LookUpTradePrices(SearchPath& search, const std::string& symbol, int openDay, int closeDay,
                       EvaluatedTicker& out);

} // namespace hostdb
