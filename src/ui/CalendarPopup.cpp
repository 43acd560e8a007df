#include "ui/CalendarPopup.h"

#include "hostdb/Format.h"
#include "ui/BevelPanel.h"
#include "ui/DateEdit.h"
#include "ui/Hooks.h"
#include "ui/DialogParts.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <cmath>
#include <qdrawutil.h>

using hostdb::DateTimeValue;

namespace ui {

namespace {

const char* const WeekdayHeadings[7] = {"Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"};

const platform::Locale& TitleLocale() {
    static const platform::Locale locale = platform::SystemLocale();
    return locale;
}

} // namespace

CalendarPopup::CalendarPopup(DateEdit* dateEdit, QWidget* parent)
    : QDialog(parent ? parent : dateEdit, Qt::Dialog | Qt::FramelessWindowHint),
      dateEdit_(dateEdit) {
    setObjectName(QStringLiteral("frmCalPop"));
    // The classic small face is a bitmap font of 11 pixels; the nearest sans serif stands in.
    font_ = DialogFont(11, false);
    setFont(font_);
    QFontMetrics fm(font_);
    cellUnit_ = static_cast<int>(std::lround(fm.averageCharWidth() * 1.6));
    rowHeight_ = static_cast<int>(std::lround(fm.height() * 4.0 / 3.0));
    setFixedSize(21 * cellUnit_ + 8, 8 * rowHeight_ + 2);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);

    // Below the edit, or above it when there is no room.
    QScreen* screen = dateEdit->screen();
    QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    QPoint origin = dateEdit->mapToGlobal(QPoint(0, 0));
    int left = origin.x() + 1;
    if (left + width() > area.right() + 1) left = area.right() + 1 - width() - 1;
    int top = origin.y() + dateEdit->height() + 1;
    if (top + height() > area.bottom() + 1) top = origin.y() - height();
    move(left, top);

    QString text = dateEdit->text();
    DateTimeValue start = Today();
    if (!text.isEmpty())
        start = hostdb::StrToDate2k(text.toStdString(), dateEdit->EditFormat().Rules(), Today());
    SetCurrent(std::floor(start));
    FillCells();
}

DateTimeValue CalendarPopup::MaxDate() const {
    return dateEdit_->MaxDate == 0 ? Today() : dateEdit_->MaxDate;
}

void CalendarPopup::SetCurrent(DateTimeValue date) {
    current_ = date;
    hostdb::CivilDate d = hostdb::DecodeDate(date);
    year_ = d.year;
    month_ = d.month;
    day_ = d.day;
    cell_ = CellOfDay(year_, month_, day_);
}

void CalendarPopup::FillCells() {
    cells_ = MonthCells(year_, month_);
    dateEdit_->PageYear = year_;
    dateEdit_->SetPageMonth(month_);
}

QRect CalendarPopup::CellRect(int cell) const {
    int row = (cell - 1) / 7 + 2; // week rows are rows 2 to 7
    int col = (cell - 1) % 7;
    return QRect(4 + col * 3 * cellUnit_, row * rowHeight_ + 2, 3 * cellUnit_, rowHeight_);
}

bool CalendarPopup::InDayArea(QPoint pos) const {
    return pos.x() >= 4 && pos.x() <= 21 * cellUnit_ + 4 && pos.y() >= 2 * rowHeight_ + 2 &&
           pos.y() <= 8 * rowHeight_ + 2;
}

int CalendarPopup::CellAt(QPoint pos) const {
    if (!InDayArea(pos)) return 0;
    int week = std::min(5, (pos.y() - 2) / rowHeight_ - 2);
    int col = 1;
    while (col < 7 && pos.x() >= 4 + col * 3 * cellUnit_) ++col;
    return week * 7 + col;
}

QRect CalendarPopup::LeftArrowRect() const { return QRect(QPoint(4, 2), QPoint(20, 18)); }

QRect CalendarPopup::RightArrowRect() const {
    return QRect(QPoint(21 * cellUnit_ - 12, 2), QPoint(21 * cellUnit_ + 4, 18));
}

void CalendarPopup::Move(int days) {
    DateTimeValue target = MoveTarget(current_, days, dateEdit_->MinDate, MaxDate());
    if (target == current_) return;
    prevCell_ = cell_;
    prevYear_ = year_;
    prevMonth_ = month_;
    SetCurrent(target);
    if (year_ != prevYear_ || month_ != prevMonth_) FillCells();
    update();
}

void CalendarPopup::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette& pal = palette();
    QColor face = pal.color(QPalette::Button);
    QColor text = pal.color(QPalette::ButtonText);
    QColor light = pal.color(QPalette::Light);
    QColor shadow = pal.color(QPalette::Dark);
    int w = width(), h = height();

    p.fillRect(rect(), face);
    p.setPen(pal.color(QPalette::Shadow));
    p.drawRect(0, 0, w - 1, h - 1);
    p.setPen(light);
    p.drawLine(1, 1, w - 2, 1);
    p.drawLine(1, 1, 1, h - 2);
    p.setPen(shadow);
    p.drawLine(1, h - 2, w - 2, h - 2);
    p.drawLine(w - 2, 1, w - 2, h - 2);

    QFont bold = font_;
    bold.setBold(true);
    QRect titleBox(20, 2, w - 40, rowHeight_ - 2);
    p.fillRect(titleBox, face);
    p.setFont(bold);
    p.setPen(text);
    p.drawText(
        titleBox, Qt::AlignCenter,
        QString::fromStdString(hostdb::FormatDateTime("mmmm d, yyyy", current_, TitleLocale())));

    p.setFont(font_);
    for (int col = 0; col < 7; ++col) {
        QRect box(4 + col * 3 * cellUnit_, rowHeight_ + 2, 3 * cellUnit_, rowHeight_);
        p.drawText(box, Qt::AlignCenter, QString::fromLatin1(WeekdayHeadings[col]));
    }
    int lineY = 2 * rowHeight_ + 1;
    p.setPen(shadow);
    p.drawLine(4, lineY, 21 * cellUnit_ + 4, lineY);
    p.setPen(light);
    p.drawLine(4, lineY + 1, 21 * cellUnit_ + 4, lineY + 1);

    for (int cell = 1; cell <= CalendarCells; ++cell) {
        int day = DayInCell(year_, month_, cell);
        if (!day) continue;
        bool valid = dateEdit_->IsValidDate(hostdb::EncodeDate(year_, month_, day));
        QRect box = CellRect(cell);
        if (cell == cell_) {
            // The highlighted day: bold in a sunken frame.
            p.setPen(shadow);
            p.drawLine(box.left() + 1, box.top(), box.right() - 1, box.top());
            p.drawLine(box.left() + 1, box.top(), box.left() + 1, box.bottom());
            p.setPen(light);
            p.drawLine(box.left() + 1, box.bottom(), box.right() - 1, box.bottom());
            p.drawLine(box.right() - 1, box.top(), box.right() - 1, box.bottom());
            p.setFont(bold);
        } else {
            p.setFont(font_);
        }
        p.setPen(valid ? dateEdit_->ValidDateColor : text);
        p.drawText(box, Qt::AlignCenter, QString::number(day));
    }

    // Month arrows, greyed when the limit lies within this month.
    DateTimeValue first = hostdb::EncodeDate(year_, month_, 1);
    DateTimeValue last = hostdb::EncodeDate(year_, month_, hostdb::DaysInMonth(year_, month_));
    for (bool right : {false, true}) {
        QRect box = right ? RightArrowRect() : LeftArrowRect();
        qDrawShadePanel(&p, box, pal, false, 1, nullptr);
        bool active = right ? MaxDate() > last : dateEdit_->MinDate < first;
        int cx = box.center().x(), cy = box.center().y();
        QPolygon tri;
        if (right)
            tri << QPoint(cx - 2, cy - 4) << QPoint(cx + 2, cy) << QPoint(cx - 2, cy + 4);
        else
            tri << QPoint(cx + 2, cy - 4) << QPoint(cx - 2, cy) << QPoint(cx + 2, cy + 4);
        p.setPen(active ? text : shadow);
        p.setBrush(active ? text : face);
        p.drawPolygon(tri);
    }
}

void CalendarPopup::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        dateEdit_->SetDate(current_);
        accept();
        break;
    case Qt::Key_Escape: reject(); break;
    case Qt::Key_PageUp: Move(-PageUpDays(current_)); break;
    case Qt::Key_PageDown: Move(PageDownDays(current_)); break;
    case Qt::Key_End: Move(EndDays(current_)); break;
    case Qt::Key_Home: Move(-HomeDays(current_)); break;
    case Qt::Key_Left: Move(-1); break;
    case Qt::Key_Right: Move(1); break;
    case Qt::Key_Up: Move(-7); break;
    case Qt::Key_Down: Move(7); break;
    default: QDialog::keyPressEvent(event); return;
    }
    event->accept();
}

void CalendarPopup::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    QPoint pos = event->position().toPoint();
    if (LeftArrowRect().contains(pos)) {
        Move(-PageUpDays(current_));
        return;
    }
    if (RightArrowRect().contains(pos)) {
        Move(PageDownDays(current_));
        return;
    }
    if (!InDayArea(pos)) return;
    dragging_ = true;
    int day = DayInCell(year_, month_, CellAt(pos));
    if (day)
        Move(day - day_);
    else
        dragging_ = false;
}

void CalendarPopup::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    QPoint pos = event->position().toPoint();
    int day = DayInCell(year_, month_, CellAt(pos));
    if (day && day != day_) Move(day - day_);
}

void CalendarPopup::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_ || event->button() != Qt::LeftButton) return;
    dragging_ = false;
    dateEdit_->SetDate(current_);
    accept();
}

} // namespace ui
