// The screener's drawing of one grid cell: the owner of spanned titles, colours and inset by
// state, the text's place by alignment, the raised title boxes and the centred chart icon, and
// the grid view's painter made of them.
#pragma once

#include "grid/model/CellGrid.h"
#include "grid/view/GridView.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <functional>
#include <string>

class QPainter;

namespace gridview {

// A cell text as the screen shows it: UTF-8 when it is valid UTF-8, else the host's ANSI
// code page (ticker names come straight from the host's files).
QString CellText(const std::string& text);

// How one cell is painted, worked out before anything is drawn.
struct CellPlan {
    int ownerCol = 0;
    QRect rect; // the painted cell widened over the columns its owner spans
    bool selected = false;
    bool fixed = false; // a fixed cell drawn as such (button face, bevel)
    QColor background, foreground;
    int inset = 1;
    QFont font;
    QString text;
    int textX = 0, textY = 0; // top-left of the text
    QRect clip;               // the rectangle narrowed by the inset on both sides
    bool icon = false;
    QPoint iconPos;
};

struct CellContext {
    const grid::CellGrid* grid = nullptr;
    int col = 0, row = 0;
    QRect rect;         // the painted cell's rectangle
    bool fixed = false; // the cell lies in a fixed row or column
    // The rectangle of column c in this row; empty when the column is not shown.
    std::function<QRect(int c)> columnRect;
};

// The plan of a cell drawn in `fontName` at `pointSize` with the widget's palette; `iconSize`
// is the chart icon's size.
CellPlan PlanGridCell(const CellContext& cell, const QString& fontName, int pointSize,
                      const QPalette& palette, QSize iconSize);

// Paints a planned cell, its bevel when fixed (rows below `fixedRows` form one raised box per
// column) and the icon.
void PaintGridCell(QPainter& p, const CellPlan& plan, int row, int fixedRows,
                   const QPalette& palette, const QPixmap& icon);

// The chart icon of column 0: a small price chart, drawn here rather than taken from a file.
QPixmap ChartIcon();

// The screener's cells: its drawing routine in Arial 10, with the chart icon.
GridView::CellPainter ScreenerCellPainter();

} // namespace gridview
