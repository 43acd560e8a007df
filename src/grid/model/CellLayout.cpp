#include "grid/model/CellLayout.h"

#include <algorithm>

namespace grid {

std::string AlignCell(std::string_view text, int alignment, std::size_t width) {
    if (text.size() >= width) return std::string(text);
    const std::size_t room = width - text.size();
    std::size_t before = room; // right
    if (alignment == AlignLeft) {
        before = 0;
    } else if (alignment == AlignCentre) {
        before = room / 2;
    } else if (alignment == AlignDash) {
        const std::size_t dash = std::min(text.find('-'), text.size());
        before = width / 2 > dash ? std::min(width / 2 - dash, room) : 0;
    }
    std::string out;
    out.reserve(width);
    out.append(before, ' ');
    out.append(text);
    out.append(room - before, ' ');
    return out;
}

std::string LayOutRow(const CellGrid& g, int row, std::span<const int> widths) {
    auto widthOf = [&](int c) {
        std::size_t i = static_cast<std::size_t>(c);
        return i < widths.size() && widths[i] > 0 ? static_cast<std::size_t>(widths[i]) : 0;
    };
    std::string line;
    for (int c = 0; c < g.ColCount();) {
        const Cell& cell = g.At(c, row);
        int span = cell.format ? cell.format->Span : 1;
        if (span < 0 || span > g.ColCount() - c) span = g.ColCount() - c;
        span = std::max(span, 1);
        std::size_t width = 0;
        for (int k = c; k < c + span; ++k) width += widthOf(k);
        line += AlignCell(cell.text, cell.format ? cell.format->Alignment : AlignLeft, width);
        c += span;
    }
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

} // namespace grid
