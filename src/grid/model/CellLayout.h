// A grid row laid out as one line of fixed-width text for text output: each cell aligned as
// its format says within its column's width (or the widths its span covers).
#pragma once

#include "grid/model/CellGrid.h"

#include <span>
#include <string>
#include <string_view>

namespace grid {

// A text placed in a cell of `width` characters by alignment: left, right (also any unknown
// value), centred, or with its first "-" at the middle. A longer text is kept whole.
std::string AlignCell(std::string_view text, int alignment, std::size_t width);

// Row `row` of `g` with widths[c] characters for column c (missing or negative widths count
// as 0). A cell spanning n columns takes their widths together and covers the cells under it;
// a negative span covers the rest of the row. A text wider than its cell is not cut: it pushes
// the rest of the line to the right. A cell without a format is left-aligned. Trailing blanks
// are removed.
std::string LayOutRow(const CellGrid& g, int row, std::span<const int> widths);

} // namespace grid
