// A grid's rows as `zolt ... --format grid` prints them: cells by tabs, rows by newlines.
#pragma once

#include "grid/model/CellGrid.h"

#include <string>

namespace testutil {

// Rows 0 to `last`, title rows included.
inline std::string GridText(const grid::CellGrid& g, int last) {
    std::string text;
    for (int r = 0; r <= last; ++r)
        for (int c = 0; c < g.ColCount(); ++c)
            text += g.Text(c, r) + (c + 1 < g.ColCount() ? "\t" : "\n");
    return text;
}

} // namespace testutil
