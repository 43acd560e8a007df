#include "ui/DateEdit.h"

#include "hostdb/Format.h"
#include "platform/Directories.h"
#include "platform/Profile.h"
#include "ui/CalendarPopup.h"
#include "ui/Hooks.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <cmath>

namespace ui {

namespace {

DateEditFormat& DefaultSlot() {
    static DateEditFormat slot;
    return slot;
}

// A small calendar page: a red binding strip over a ruled white leaf.
QIcon CalendarGlyph() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(1, 2, 13, 12);
    p.fillRect(2, 3, 12, 3, QColor(176, 0, 0));
    p.setPen(QColor(96, 96, 96));
    for (int y = 8; y <= 12; y += 2)
        for (int x = 3; x <= 12; x += 3) p.drawPoint(x, y);
    p.setPen(Qt::black);
    p.drawLine(4, 1, 4, 3);
    p.drawLine(11, 1, 11, 3);
    return QIcon(pm);
}

} // namespace

DateEditFormat DateEditFormat::FromWinIni(const std::filesystem::path& windowsDirectory) {
    platform::Profile ini(platform::Directories::FileInDirectory(windowsDirectory, "WIN.INI"));
    DateEditFormat f;
    std::string sep = ini.ReadString("intl", "sDate", "/");
    if (!sep.empty() && static_cast<unsigned char>(sep[0]) < 128 && sep[0] != ' ')
        f.separator = sep[0];
    std::string fmt = ini.ReadString("intl", "sShortDate", "M/d/yyyy");
    f.format = fmt.empty() ? "M/d/yyyy" : fmt.substr(0, 20);
    return f;
}

const DateEditFormat& DateEditFormat::Default() { return DefaultSlot(); }

void DateEditFormat::SetDefault(const DateEditFormat& format) { DefaultSlot() = format; }

hostdb::DateTextRules DateEditFormat::Rules() const {
    // The text is read in the order it is written, whatever the user's locale says.
    return {separator, hostdb::DateOrderOf(format)};
}

std::string DateEditFormat::Format(hostdb::DateTimeValue date) const {
    if (date == 0) return {};
    platform::Locale loc = platform::Locale::Posix();
    loc.dateSeparator = separator;
    // In the Windows short date format a separator is written as itself.
    std::string fmt = format;
    for (char& c : fmt)
        if (c == separator) c = '/';
    return hostdb::FormatDateTime(fmt, date, loc);
}

DateEditButton::DateEditButton(QWidget* parent) : QToolButton(parent) {
    setIcon(CalendarGlyph());
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
}

DateEdit::DateEdit(QWidget* parent) : QLineEdit(parent), format_(DateEditFormat::Default()) {
    ValidDateColor = palette().color(QPalette::Light);
    button_ = new DateEditButton(this);
    connect(button_, &QToolButton::clicked, this, &DateEdit::ButtonClick);
}

void DateEdit::SetDate(hostdb::DateTimeValue value) {
    if (value == date_) return;
    date_ = value;
    setText(QString::fromStdString(format_.Format(value)));
    setModified(true);
    emit dateChanged();
}

void DateEdit::AddValidDate(hostdb::DateTimeValue value) { validDates_.push_back(value); }
void DateEdit::ClearValidDates() { validDates_.clear(); }

bool DateEdit::IsValidDate(hostdb::DateTimeValue value) const {
    for (hostdb::DateTimeValue d : validDates_)
        if (d == value) return true;
    return false;
}

void DateEdit::SetPageMonth(int month) {
    pageMonth_ = month;
    emit calendarPageChanged();
}

void DateEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    int side = height();
    button_->setGeometry(width() - side, 0, side, side);
    setTextMargins(0, 0, side, 0);
    if (!sized_) {
        sized_ = true;
        if (MaxDate == 0) MaxDate = Today();
        if (date_ == 0) SetDate(Today());
    }
}

void DateEdit::SelectPart(int part) {
    QString t = text();
    QChar sep = QChar(format_.separator);
    int first = t.indexOf(sep);
    int second = first >= 0 ? t.indexOf(sep, first + 1) : -1;
    part_ = part;
    int start = 0, end = static_cast<int>(t.size());
    if (part == 1) {
        if (first >= 0) end = first;
    } else if (part == 2) {
        start = first >= 0 ? first + 1 : end;
        if (second >= 0) end = second;
    } else {
        start = second >= 0 ? second + 1 : end;
    }
    setSelection(start, end - start);
}

void DateEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (event->reason() != Qt::PopupFocusReason) SelectPart(1);
}

void DateEdit::ConvertText() {
    hostdb::DateTimeValue value =
        hostdb::StrToDate2k(text().toStdString(), format_.Rules(), Today());
    SetDate(value);
    // The text always shows the date it stands for, also when the date did not change.
    setText(QString::fromStdString(format_.Format(date_)));
}

void DateEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason) ConvertText();
}

void DateEdit::keyPressEvent(QKeyEvent* event) {
    QString typed = event->text();
    bool isChar = typed.size() == 1 && typed[0].unicode() >= 32 && typed[0].unicode() != 127 &&
                  !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)) {
        event->accept();
        return;
    }
    if (!isChar) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QChar c = typed[0];
    event->accept();
    if (c.isDigit() && c.unicode() < 128) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (c == QChar(format_.separator)) {
        if (part_ < 3) {
            // A text without the separator to move past (the user cleared it) gets one here.
            QString t = text();
            int needed = part_;
            if (t.count(QChar(format_.separator)) < needed) {
                int at = hasSelectedText() ? selectionStart() : cursorPosition();
                if (hasSelectedText()) del();
                setCursorPosition(at);
                insert(QString(QChar(format_.separator)));
            }
            SelectPart(part_ + 1);
        }
        return;
    }
    Beep();
}

void DateEdit::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (hasSelectedText()) return; // a dragged selection stays as the user made it
    QString t = text();
    QChar sep = QChar(format_.separator);
    int first = t.indexOf(sep);
    int second = first >= 0 ? t.indexOf(sep, first + 1) : -1;
    int caret = cursorPosition();
    if (first < 0 || caret <= first)
        SelectPart(1);
    else if (second >= 0 && caret > second)
        SelectPart(3);
    else
        SelectPart(2);
}

void DateEdit::ButtonClick() {
    {
        CalendarPopup calendar(this);
        calendar.exec();
    }
    setFocus(Qt::OtherFocusReason);
    emit buttonClicked();
}

} // namespace ui
