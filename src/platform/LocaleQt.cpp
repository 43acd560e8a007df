#include "platform/Locale.h"

#include <QLocale>

namespace platform {

namespace {

// The first character of a short date format that is not a date letter or a quote.
char SeparatorOf(const QString& fmt) {
    for (QChar c : fmt) {
        if (!c.isLetter() && c != QLatin1Char('\'') && !c.isSpace() && c.unicode() < 128)
            return static_cast<char>(c.unicode());
    }
    return '/';
}

std::string Latin(const QString& s) { return s.toStdString(); }

} // namespace

Locale SystemLocale() {
    QLocale loc = QLocale::system();
    if (loc.language() == QLocale::C) return Locale::Posix();
    Locale r;
    QString shortFmt = loc.dateFormat(QLocale::ShortFormat);
    r.dateSeparator = SeparatorOf(shortFmt);
    r.shortDateFormat = DateFormatFromQt(Latin(shortFmt), r.dateSeparator);
    r.longDateFormat =
        DateFormatFromQt(Latin(loc.dateFormat(QLocale::LongFormat)), r.dateSeparator);
    for (int i = 0; i < 7; ++i) {
        int qtDay = i == 0 ? 7 : i; // Qt counts Monday 1 .. Sunday 7
        r.shortDayNames[i] = Latin(loc.dayName(qtDay, QLocale::ShortFormat));
        r.longDayNames[i] = Latin(loc.dayName(qtDay, QLocale::LongFormat));
    }
    for (int m = 0; m < 12; ++m) {
        r.shortMonthNames[m] = Latin(loc.monthName(m + 1, QLocale::ShortFormat));
        r.longMonthNames[m] = Latin(loc.monthName(m + 1, QLocale::LongFormat));
    }
    QString group = loc.groupSeparator(), dec = loc.decimalPoint();
    if (group.size() == 1 && group[0].unicode() < 128)
        r.thousandSeparator = static_cast<char>(group[0].unicode());
    if (dec.size() == 1 && dec[0].unicode() < 128)
        r.decimalSeparator = static_cast<char>(dec[0].unicode());
    return r;
}

} // namespace platform
