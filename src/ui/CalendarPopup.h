// The popup month calendar of the date edit: a borderless window drawn entirely by itself, in
// which the keys and the mouse move a highlighted day within the edit's permitted dates.
#pragma once

#include "hostdb/DateTime.h"
#include "ui/CalendarPage.h"

#include <QDialog>
#include <QFont>

namespace ui {

class DateEdit;

class CalendarPopup : public QDialog {
    Q_OBJECT
public:
    explicit CalendarPopup(DateEdit* dateEdit, QWidget* parent = nullptr);

    hostdb::DateTimeValue CurrentDate() const { return current_; }
    int CurrentCell() const { return cell_; }
    int Year() const { return year_; }
    int Month() const { return month_; }
    const std::array<std::string, CalendarCells>& Cells() const { return cells_; }
    int CellUnit() const { return cellUnit_; }
    int RowHeight() const { return rowHeight_; }

    // The cell's box in the window, and the cell at a point of the day area (0 outside it).
    QRect CellRect(int cell) const;
    int CellAt(QPoint pos) const;
    QRect LeftArrowRect() const;
    QRect RightArrowRect() const;

    void Move(int days);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetCurrent(hostdb::DateTimeValue date);
    void FillCells();
    bool InDayArea(QPoint pos) const;
    hostdb::DateTimeValue MaxDate() const;

    DateEdit* dateEdit_;
    hostdb::DateTimeValue current_ = 0;
    int year_ = 0, month_ = 0, day_ = 0;
    int prevYear_ = 0, prevMonth_ = 0;
    int cell_ = 0, prevCell_ = 0;
    std::array<std::string, CalendarCells> cells_;
    bool dragging_ = false;
    QFont font_;
    int cellUnit_ = 8, rowHeight_ = 17;
};

} // namespace ui
