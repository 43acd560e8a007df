// The finder's own drawing of a results cell: simpler than the screener's, with no spans, the
// selected row highlighted, text at the cell's top edge and a raised frame around the header cells.
#pragma once

#include "grid/view/GridView.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

namespace gridview {

struct FinderCellPlan {
    QColor background, foreground;
    QFont font;
    QString text;
    int textX = 0, textY = 0; // top-left of the text
};

// How the cell at (col, row) of `g` in `rect` is drawn; header cells are the fixed rows.
FinderCellPlan PlanFinderCell(const grid::CellGrid& g, int col, int row, QRect rect,
                              const QPalette& palette);

// The finder's cells in Arial 10.
GridView::CellPainter FinderCellPainter();

} // namespace gridview
