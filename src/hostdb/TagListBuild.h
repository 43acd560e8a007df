// Collecting the tickers of a results column into a tag list, without the windows: the rows,
// the splitting and repeat rules, progress and stopping.
#pragma once

#include "hostdb/Progress.h"
#include "hostdb/TagListFile.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace hostdb {

struct TagListBuild {
    std::string firstTicker; // as it stood in the cell; empty when none was added
    int added = 0;
    int progress = 0; // percent of the rows done when the loop ended
    bool stopped = false;
    std::vector<std::string> refused; // pieces too long for a key, each once
    int unprintable = 0; // tickers left out for holding control characters, each once
};

// The tickers of one cell: split at ";" with all blanks removed, empty pieces dropped. An empty
// or one-blank cell holds none.
std::vector<std::string> TickersOfCell(std::string_view cell);

// Adds the tickers of rows first..last (cellText(row)) to list under fileName, skipping repeats
// without regard to case; each ticker's position is the number added before it. Progress is
// reported after every row as rows done of the range; false leaves the loop after that row.
TagListBuild CollectTagList(TagListFile& list, const std::string& fileName, int first, int last,
                            const std::function<std::string(int row)>& cellText,
                            const Progress& progress = {});

// The same, then writes the file (also when stopped); no file when no ticker was added. Throws
// std::runtime_error when the file cannot be written, or exists and mode is NoReplace.
TagListBuild BuildTagListFile(const std::string& fileName, int first, int last,
                              const std::function<std::string(int row)>& cellText,
                              const Progress& progress = {},
                              platform::WriteMode mode = platform::WriteMode::Replace);
TagListBuild BuildTagListFile(const std::string& fileName, const std::vector<std::string>& cells,
                              const Progress& progress = {},
                              platform::WriteMode mode = platform::WriteMode::Replace);

// The tickers rows first..last hold, as the build collects them: split, repeats (without regard
// to case) passed over. What a tag list of those rows would hold, less the length limits.
std::vector<std::string> TickersOfRows(int first, int last,
                                       const std::function<std::string(int row)>& cellText);

} // namespace hostdb
