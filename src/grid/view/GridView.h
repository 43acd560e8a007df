// The results grid on screen, for both programs: fixed title rows that stay while the rows
// scroll, a vertical scroll bar only, cells painted by the program's own drawing routine.
#pragma once

#include "grid/model/CellGrid.h"

#include <QAbstractScrollArea>
#include <functional>
#include <vector>

namespace gridview {

class GridView : public QAbstractScrollArea {
    Q_OBJECT
public:
    // Paints one cell: its rectangle in the viewport and whether it lies in a fixed row or
    // column.
    using CellPainter =
        std::function<void(QPainter&, const GridView&, int col, int row, QRect, bool fixed)>;

    explicit GridView(QWidget* parent = nullptr);

    // The grid shown (not owned); call GridChanged after its rows or texts change.
    void SetGrid(const grid::CellGrid* grid);
    const grid::CellGrid* Grid() const { return grid_; }
    void GridChanged();

    void SetColumnWidths(std::vector<int> widths);
    const std::vector<int>& ColumnWidths() const { return widths_; }
    void SetDefaultRowHeight(int height);
    int DefaultRowHeight() const { return rowHeight_; }
    void SetCellPainter(CellPainter painter);

    // The first scrolled row shown under the fixed rows.
    int TopRow() const;
    void SetTopRow(int row);
    // Scrolls as little as needed to show the row whole.
    void ScrollToRow(int row);
    int VisibleRowCount() const; // scrolled rows that fit wholly under the fixed rows

    // The cell's rectangle in the viewport; empty when it is not shown.
    QRect CellRect(int col, int row) const;
    // The cell under a viewport point; false outside the cells.
    bool CellAt(QPoint pos, int& col, int& row) const;

signals:
    // A mouse button released over a cell.
    void CellReleased(int col, int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int ColumnLeft(int col) const;
    int RowTop(int row) const; // in the viewport; -1 when not shown
    void UpdateScrollBar();

    const grid::CellGrid* grid_ = nullptr;
    std::vector<int> widths_;
    int rowHeight_ = 18;
    CellPainter painter_;
};

} // namespace gridview
