#include "hostdb/TagListBuild.h"

#include "hostdb/TickerRules.h"
#include "platform/Text.h"

#include <unordered_set>

namespace hostdb {

std::vector<std::string> TickersOfCell(std::string_view cell) {
    std::vector<std::string> pieces;
    if (cell.empty() || cell == " ") return pieces;
    std::string piece;
    for (std::size_t i = 0; i <= cell.size(); ++i) {
        if (i == cell.size() || cell[i] == ';') {
            if (!piece.empty()) pieces.push_back(std::move(piece));
            piece.clear();
        } else if (cell[i] != ' ') {
            piece += cell[i];
        }
    }
    return pieces;
}

TagListBuild CollectTagList(TagListFile& list, const std::string& fileName, int first, int last,
                            const std::function<std::string(int row)>& cellText,
                            const Progress& progress) {
    TagListBuild build;
    std::unordered_set<std::string> seen, refused;
    const long long count = static_cast<long long>(last) - first + 1;
    for (int row = first; row <= last; ++row) {
        for (std::string& ticker : TickersOfCell(cellText(row))) {
            std::string upper = platform::UpperCase(ticker);
            if (seen.count(upper)) continue;
            if (HasControlCharacter(ticker)) {
                if (refused.insert(upper).second) ++build.unprintable;
                continue;
            }
            if (!list.AddTicker(fileName, ticker, build.added)) {
                if (refused.insert(upper).second) build.refused.push_back(ticker);
                continue;
            }
            seen.insert(std::move(upper));
            if (build.added++ == 0) build.firstTicker = ticker;
        }
        const long long done = static_cast<long long>(row) - first + 1;
        build.progress = PercentDone(done, count);
        if (!Report(progress, done, count)) {
            build.stopped = true;
            break;
        }
        if (row == last) break; // before ++row could overflow
    }
    return build;
}

TagListBuild BuildTagListFile(const std::string& fileName, int first, int last,
                              const std::function<std::string(int row)>& cellText,
                              const Progress& progress, platform::WriteMode mode) {
    TagListFile list;
    TagListBuild build = CollectTagList(list, fileName, first, last, cellText, progress);
    list.Write(mode);
    return build;
}

TagListBuild BuildTagListFile(const std::string& fileName, const std::vector<std::string>& cells,
                              const Progress& progress, platform::WriteMode mode) {
    return BuildTagListFile(
        fileName, 0, static_cast<int>(cells.size()) - 1,
        [&](int row) { return cells[static_cast<std::size_t>(row)]; }, progress, mode);
}

std::vector<std::string> TickersOfRows(int first, int last,
                                       const std::function<std::string(int row)>& cellText) {
    std::vector<std::string> tickers;
    std::unordered_set<std::string> seen;
    for (long long row = first; row <= last; ++row)
        for (std::string& ticker : TickersOfCell(cellText(static_cast<int>(row))))
            if (seen.insert(platform::UpperCase(ticker)).second) tickers.push_back(ticker);
    return tickers;
}

} // namespace hostdb
