#include "grid/view/FinderCell.h"

#include "grid/view/ScreenerCell.h"

#include <QFontMetrics>
#include <QPainter>

namespace gridview {

FinderCellPlan PlanFinderCell(const grid::CellGrid& g, int col, int row, QRect rect,
                              const QPalette& palette) {
    FinderCellPlan plan;
    const bool header = row < g.FixedRows();
    const grid::CellFormat* f = g.Format(col, row);
    // The highlighted result row is the one Enter opens and the arrow keys move.
    const grid::GridRect& sel = g.Selection;
    const bool selected =
        !header && row >= sel.top && row <= sel.bottom && col >= sel.left && col <= sel.right;
    plan.background = palette.color(header     ? QPalette::Button
                                    : selected ? QPalette::Highlight
                                               : QPalette::Base);
    plan.foreground = palette.color(header     ? QPalette::ButtonText
                                    : selected ? QPalette::HighlightedText
                                               : QPalette::Text);
    plan.font = QFont("Arial", 10);
    plan.font.setBold(f && (f->Style & grid::StyleBold));
    plan.text = CellText(g.Text(col, row));
    const QFontMetrics fm(plan.font);
    const int left = rect.left(), width = rect.width();
    switch (f ? f->Alignment : grid::AlignLeft) {
    case grid::AlignRight: plan.textX = left + width - fm.horizontalAdvance(plan.text + ' '); break;
    case grid::AlignCentre:
        plan.textX = left + (width - fm.horizontalAdvance(plan.text)) / 2;
        break;
    case grid::AlignDash: {
        const qsizetype dash = plan.text.indexOf('-');
        plan.textX =
            left + (width / 2 - fm.horizontalAdvance(dash < 0 ? plan.text : plan.text.left(dash)));
        break;
    }
    default: plan.textX = left; // left, and any other code
    }
    plan.textY = rect.top();
    return plan;
}

GridView::CellPainter FinderCellPainter() {
    return [](QPainter& p, const GridView& view, int col, int row, QRect rect, bool) {
        const grid::CellGrid& g = *view.Grid();
        const QPalette& pal = view.palette();
        const FinderCellPlan plan = PlanFinderCell(g, col, row, rect, pal);
        p.fillRect(rect, plan.background);
        p.save();
        p.setClipRect(rect);
        p.setFont(plan.font);
        p.setPen(plan.foreground);
        p.drawText(plan.textX, plan.textY + QFontMetrics(plan.font).ascent(), plan.text);
        p.restore();
        if (row >= g.FixedRows()) return;
        // A raised frame: light on the left (and the top of row 0), dark on the right (and the
        // bottom of the last header row), each a pixel inside the cell.
        const int L = rect.left(), T = rect.top(), R = L + rect.width(), B = T + rect.height();
        const QColor light = pal.color(QPalette::Light), dark = pal.color(QPalette::Dark);
        p.fillRect(QRect(L + 1, T, 1, B - T), light);
        if (row == 0) p.fillRect(QRect(L, T + 1, R - L, 1), light);
        p.fillRect(QRect(R - 1, T, 1, B - T), dark);
        if (row == g.FixedRows() - 1) p.fillRect(QRect(L, B - 1, R - L, 1), dark);
    };
}

} // namespace gridview
