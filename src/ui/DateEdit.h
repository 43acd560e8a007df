// A one-line edit for a market date: digits typed part by part, the separator moving on to the
// next part, and a button at its right end that opens the popup month calendar.
#pragma once

#include "hostdb/DateText.h"
#include "hostdb/DateTime.h"

#include <QColor>
#include <QLineEdit>
#include <QToolButton>
#include <filesystem>
#include <string>
#include <vector>

namespace ui {

// How the date edits write and read dates: "sDate" and "sShortDate" of section "intl" of the
// Windows directory's "WIN.INI".
struct DateEditFormat {
    char separator = '/';
    std::string format = "M/d/yyyy"; // at most 20 characters are used

    static DateEditFormat FromWinIni(const std::filesystem::path& windowsDirectory);
    // The format every new date edit starts with: the built-in one until the program sets the
    // one of its Windows directory at start, so no widget reads the environment.
    static const DateEditFormat& Default();
    static void SetDefault(const DateEditFormat& format);

    hostdb::DateTextRules Rules() const;
    std::string Format(hostdb::DateTimeValue date) const; // "" for 0
};

// The calendar glyph button inside the edit.
class DateEditButton : public QToolButton {
    Q_OBJECT
public:
    explicit DateEditButton(QWidget* parent = nullptr);
};

class DateEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DateEdit(QWidget* parent = nullptr);

    hostdb::DateTimeValue GetDate() const { return date_; }
    void SetDate(hostdb::DateTimeValue value);

    hostdb::DateTimeValue MaxDate = 0; // 0: today, from the first sizing on
    hostdb::DateTimeValue MinDate = 0;
    QColor ValidDateColor;

    void AddValidDate(hostdb::DateTimeValue value);
    void ClearValidDates();
    bool IsValidDate(hostdb::DateTimeValue value) const;

    int PageYear = 0;
    int PageMonth() const { return pageMonth_; }
    void SetPageMonth(int month);

    const DateEditFormat& EditFormat() const { return format_; }
    void SetEditFormat(const DateEditFormat& format) { format_ = format; }
    int CurrentPart() const { return part_; }
    DateEditButton* Button() const { return button_; }

    // Opens the popup calendar modally under the edit.
    void ButtonClick();

signals:
    void dateChanged();
    void calendarPageChanged();
    void buttonClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SelectPart(int part);
    void ConvertText();

    hostdb::DateTimeValue date_ = 0;
    std::vector<hostdb::DateTimeValue> validDates_;
    int pageMonth_ = 0;
    DateEditFormat format_;
    int part_ = 1;
    bool sized_ = false;
    DateEditButton* button_;
};

} // namespace ui
