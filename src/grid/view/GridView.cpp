#include "grid/view/GridView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace gridview {

namespace {

// The line between rows; title rows have none, their gaps take the button face.
const QColor LineColour(192, 192, 192);

} // namespace

GridView::GridView(QWidget* parent) : QAbstractScrollArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setTracking(true);
    setFocusPolicy(Qt::NoFocus); // the program moves the selection, never the user
    viewport()->setAutoFillBackground(false);
}

void GridView::SetGrid(const grid::CellGrid* grid) {
    grid_ = grid;
    GridChanged();
}

void GridView::GridChanged() {
    UpdateScrollBar();
    viewport()->update();
}

void GridView::SetColumnWidths(std::vector<int> widths) {
    widths_ = std::move(widths);
    viewport()->update();
}

void GridView::SetDefaultRowHeight(int height) {
    rowHeight_ = std::max(1, height);
    GridChanged();
}

void GridView::SetCellPainter(CellPainter painter) {
    painter_ = std::move(painter);
    viewport()->update();
}

int GridView::TopRow() const {
    return (grid_ ? grid_->FixedRows() : 0) + verticalScrollBar()->value();
}

void GridView::SetTopRow(int row) {
    verticalScrollBar()->setValue(row - (grid_ ? grid_->FixedRows() : 0));
}

int GridView::VisibleRowCount() const {
    if (!grid_) return 0;
    const int free = viewport()->height() - grid_->FixedRows() * (rowHeight_ + 1);
    return std::max(0, (free + 1) / (rowHeight_ + 1));
}

void GridView::ScrollToRow(int row) {
    if (!grid_ || row < grid_->FixedRows()) return;
    if (row < TopRow())
        SetTopRow(row);
    else if (row >= TopRow() + VisibleRowCount())
        SetTopRow(row - std::max(1, VisibleRowCount()) + 1);
}

void GridView::UpdateScrollBar() {
    const int scrolled = grid_ ? grid_->RowCount() - grid_->FixedRows() : 0;
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, scrolled - VisibleRowCount()));
    bar->setPageStep(std::max(1, VisibleRowCount()));
    bar->setSingleStep(1);
}

int GridView::ColumnLeft(int col) const {
    int x = 0;
    for (int c = 0; c < col && c < static_cast<int>(widths_.size()); ++c) x += widths_[c];
    return x;
}

int GridView::RowTop(int row) const {
    const int fixed = grid_->FixedRows();
    if (row < fixed) return row * (rowHeight_ + 1);
    if (row < TopRow()) return -1;
    const int y = fixed * (rowHeight_ + 1) + (row - TopRow()) * (rowHeight_ + 1);
    return y < viewport()->height() ? y : -1;
}

QRect GridView::CellRect(int col, int row) const {
    if (!grid_ || col < 0 || col >= grid_->ColCount() || row < 0 || row >= grid_->RowCount() ||
        col >= static_cast<int>(widths_.size()))
        return {};
    const int x = ColumnLeft(col), y = RowTop(row);
    if (y < 0 || x >= viewport()->width()) return {};
    return QRect(x, y, widths_[col], rowHeight_);
}

bool GridView::CellAt(QPoint pos, int& col, int& row) const {
    if (!grid_) return false;
    col = -1;
    for (int c = 0, x = 0; c < static_cast<int>(widths_.size()) && c < grid_->ColCount(); ++c) {
        if (pos.x() >= x && pos.x() < x + widths_[c]) col = c;
        x += widths_[c];
    }
    if (col < 0 || pos.y() < 0) return false;
    const int fixed = grid_->FixedRows(), band = fixed * (rowHeight_ + 1);
    row = pos.y() < band ? pos.y() / (rowHeight_ + 1)
                         : TopRow() + (pos.y() - band) / (rowHeight_ + 1);
    return row < grid_->RowCount();
}

void GridView::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    if (!grid_) return;
    const int fixed = grid_->FixedRows();
    const int total = std::min<int>(grid_->ColCount(), static_cast<int>(widths_.size()));
    const int gridRight = ColumnLeft(total);
    auto paintRow = [&](int row) {
        const int y = RowTop(row);
        if (y < 0) return;
        // The gap below the row: a line, or button face between title rows.
        p.fillRect(QRect(0, y + rowHeight_, gridRight, 1),
                   row < fixed - 1 ? palette().color(QPalette::Button) : LineColour);
        for (int c = 0; c < total; ++c) {
            QRect r = CellRect(c, row);
            if (r.isEmpty()) continue;
            if (painter_) painter_(p, *this, c, row, r, row < fixed || c < grid_->FixedCols());
        }
    };
    // Scrolled rows first: a title row's bevel runs into the row below it.
    const int last = std::min(grid_->RowCount() - 1, TopRow() + VisibleRowCount());
    for (int row = TopRow(); row <= last; ++row) paintRow(row);
    for (int row = 0; row < fixed && row < grid_->RowCount(); ++row) paintRow(row);
}

// Taken, so that the release comes here too; the press itself selects nothing.
void GridView::mousePressEvent(QMouseEvent* event) { event->accept(); }

void GridView::mouseReleaseEvent(QMouseEvent* event) {
    int col = 0, row = 0;
    if (CellAt(event->position().toPoint(), col, row))
        emit CellReleased(col, row, event->button(), event->modifiers());
}

void GridView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBar();
}

void GridView::scrollContentsBy(int, int) { viewport()->update(); }

} // namespace gridview
