// The date edit and its popup calendar: the programs' date format, month pages, keys, limits,
// typing by parts, the mouse, and the format read from the host's settings.
#include "ui/DateEdit.h"

#include "UiTestSupport.h"
#include "support/TestUtil.h"
#include "ui/CalendarPopup.h"

#include <QSignalSpy>
#include <QVBoxLayout>

using namespace ui;
using hostdb::DateTimeValue;
using hostdb::EncodeDate;
using uitest::FixedClock;
using uitest::Recorder;
using uitest::WhenModal;

namespace {

const DateTimeValue FixedToday = EncodeDate(2026, 12, 7);

// A date edit (with a second control to move the focus to) in a shown window.
struct Form {
    QWidget window;
    DateEdit* edit;
    QLineEdit* other;
    Form() {
        auto* layout = new QVBoxLayout(&window);
        edit = new DateEdit;
        other = new QLineEdit;
        layout->addWidget(edit);
        layout->addWidget(other);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
};

QString DateText(DateTimeValue v) {
    hostdb::CivilDate d = hostdb::DecodeDate(v);
    return QString("%1-%2-%3").arg(d.year).arg(d.month).arg(d.day);
}

} // namespace

class DateEditTest : public QObject {
    Q_OBJECT
private slots:
    // First, before any edit exists: the format comes from the program, never from the
    // environment's Windows directory.
    void newEditsTakeTheProgramsFormat() {
        testutil::TempDir prefix;
        const std::filesystem::path windows = prefix / "drive_c/windows";
        testutil::WriteFile(windows / "WIN.INI", "[intl]\r\nsDate=.\r\nsShortDate=dd.MM.yyyy\r\n");
        QByteArray oldPrefix = qgetenv("WINEPREFIX");
        bool hadPrefix = qEnvironmentVariableIsSet("WINEPREFIX");
        qputenv("WINEPREFIX", QByteArray::fromStdString(prefix.Path().string()));
        {
            DateEdit edit;
            QCOMPARE(edit.EditFormat().separator, '/');
            QCOMPARE(edit.EditFormat().format, std::string("M/d/yyyy"));
        }
        DateEditFormat::SetDefault(DateEditFormat::FromWinIni(windows));
        {
            DateEdit edit;
            edit.SetDate(EncodeDate(1999, 12, 31));
            QCOMPARE(edit.text(), QString("31.12.1999"));
        }
        DateEditFormat::SetDefault(DateEditFormat{});
        if (hadPrefix)
            qputenv("WINEPREFIX", oldPrefix);
        else
            qunsetenv("WINEPREFIX");
    }

    void monthPages() {
        // January 2022 starts on a Saturday.
        QCOMPARE(FirstDayCell(2022, 1), 7);
        auto cells = MonthCells(2022, 1);
        for (int cell = 1; cell <= 42; ++cell) {
            std::string want = cell >= 7 && cell <= 37
                                   ? (cell - 6 < 10 ? " " : "") + std::to_string(cell - 6)
                                   : "  ";
            QCOMPARE(cells[static_cast<size_t>(cell - 1)], want);
        }
        QCOMPARE(FirstDayCell(2026, 3), 1); // 1 March 2026 is a Sunday
        QCOMPARE(CellOfDay(2026, 2, 28), 28);
        QCOMPARE(CellOfDay(2026, 5, 31), 36); // 1 May 2026 is a Friday
        QCOMPARE(PageUpDays(EncodeDate(2026, 3, 31)), 28);
        QCOMPARE(PageUpDays(EncodeDate(2024, 3, 31)), 29);
        QCOMPARE(PageUpDays(EncodeDate(2026, 1, 10)), 31);
        QCOMPARE(HomeDays(EncodeDate(2000, 3, 1)), 366);
        QCOMPARE(HomeDays(EncodeDate(2001, 2, 1)), 366); // back over 29 February 2000
        QCOMPARE(HomeDays(EncodeDate(1999, 3, 1)), 365);
        QCOMPARE(EndDays(EncodeDate(1999, 3, 1)), 366);
        QCOMPARE(EndDays(EncodeDate(2000, 1, 15)), 366);
        QCOMPARE(EndDays(EncodeDate(2000, 3, 1)), 365);
    }

    void keysMoveTheHighlight() {
        FixedClock clock(FixedToday);
        Form f;
        f.edit->MaxDate = EncodeDate(2030, 1, 1);
        auto moved = [&](DateTimeValue from, Qt::Key key) {
            f.edit->SetDate(from);
            CalendarPopup cal(f.edit);
            cal.show();
            QTest::keyClick(&cal, key);
            return DateText(cal.CurrentDate());
        };
        QCOMPARE(moved(EncodeDate(2026, 3, 31), Qt::Key_PageUp), QString("2026-3-3"));
        QCOMPARE(moved(EncodeDate(2026, 3, 15), Qt::Key_PageUp), QString("2026-2-15"));
        QCOMPARE(moved(EncodeDate(2026, 1, 31), Qt::Key_PageDown), QString("2026-3-3"));
        QCOMPARE(moved(EncodeDate(2000, 3, 1), Qt::Key_Home), QString("1999-3-1"));
        QCOMPARE(moved(EncodeDate(1999, 3, 1), Qt::Key_End), QString("2000-3-1"));
        QCOMPARE(moved(EncodeDate(2026, 3, 1), Qt::Key_Left), QString("2026-2-28"));
        QCOMPARE(moved(EncodeDate(2026, 3, 1), Qt::Key_Right), QString("2026-3-2"));
        QCOMPARE(moved(EncodeDate(2026, 3, 1), Qt::Key_Up), QString("2026-2-22"));
        QCOMPARE(moved(EncodeDate(2026, 3, 1), Qt::Key_Down), QString("2026-3-8"));
    }

    void limitsAreNeverLeft() {
        FixedClock clock(FixedToday);
        Form f;
        QCOMPARE(f.edit->MaxDate, FixedToday); // set at the first sizing
        QCOMPARE(f.edit->GetDate(), FixedToday);
        {
            CalendarPopup cal(f.edit);
            cal.show();
            QCOMPARE(cal.CurrentDate(), FixedToday);
            QTest::keyClick(&cal, Qt::Key_Right);
            QTest::keyClick(&cal, Qt::Key_PageDown);
            QTest::keyClick(&cal, Qt::Key_End);
            QCOMPARE(cal.CurrentDate(), FixedToday);
        }
        f.edit->MaxDate = EncodeDate(2026, 4, 10);
        f.edit->MinDate = EncodeDate(2026, 2, 20);
        f.edit->SetDate(EncodeDate(2026, 3, 25));
        CalendarPopup cal(f.edit);
        cal.show();
        QSignalSpy pages(f.edit, &DateEdit::calendarPageChanged);
        QTest::keyClick(&cal, Qt::Key_PageDown);
        QCOMPARE(DateText(cal.CurrentDate()), QString("2026-4-10"));
        QCOMPARE(pages.count(), 1);
        QCOMPARE(f.edit->PageYear, 2026);
        QCOMPARE(f.edit->PageMonth(), 4);
        QTest::keyClick(&cal, Qt::Key_Down); // the limit is in this month: no move
        QCOMPARE(DateText(cal.CurrentDate()), QString("2026-4-10"));
        QTest::keyClick(&cal, Qt::Key_Home); // stops at MinDate in another month
        QCOMPARE(DateText(cal.CurrentDate()), QString("2026-2-20"));
        QTest::keyClick(&cal, Qt::Key_Left);
        QCOMPARE(DateText(cal.CurrentDate()), QString("2026-2-20"));
        QCOMPARE(pages.count(), 2);
        QCOMPARE(f.edit->GetDate(), EncodeDate(2026, 3, 25)); // the edit waits for Enter
    }

    void enterTakesTheDateEscapeLeavesIt() {
        FixedClock clock(FixedToday);
        Form f;
        f.edit->SetDate(EncodeDate(2026, 11, 20));
        {
            CalendarPopup cal(f.edit);
            cal.show();
            QTest::keyClick(&cal, Qt::Key_Left);
            QTest::keyClick(&cal, Qt::Key_Escape);
            QCOMPARE(cal.result(), int(QDialog::Rejected));
        }
        QCOMPARE(f.edit->text(), QString("11/20/2026"));
        QSignalSpy changes(f.edit, &DateEdit::dateChanged);
        CalendarPopup cal(f.edit);
        cal.show();
        QTest::keyClick(&cal, Qt::Key_Left);
        QTest::keyClick(&cal, Qt::Key_Return);
        QCOMPARE(cal.result(), int(QDialog::Accepted));
        QCOMPARE(f.edit->text(), QString("11/19/2026"));
        QCOMPARE(changes.count(), 1);
    }

    void mouseOnlyOnDaysOfTheMonth() {
        FixedClock clock(FixedToday);
        Form f;
        f.edit->SetDate(EncodeDate(2022, 1, 15));
        CalendarPopup cal(f.edit);
        cal.show();
        QVERIFY(QTest::qWaitForWindowExposed(&cal));
        QCOMPARE(cal.width(), 21 * cal.CellUnit() + 8);
        QCOMPARE(cal.height(), 8 * cal.RowHeight() + 2);
        for (int cell : {1, 6, 38, 42}) {
            QPoint at = cal.CellRect(cell).center();
            QCOMPARE(cal.CellAt(at), cell);
            QTest::mousePress(&cal, Qt::LeftButton, {}, at);
            QTest::mouseRelease(&cal, Qt::LeftButton, {}, at);
            QCOMPARE(DateText(cal.CurrentDate()), QString("2022-1-15"));
            QVERIFY(cal.isVisible());
        }
        QCOMPARE(cal.CellAt(QPoint(2, cal.CellRect(10).center().y())), 0);
        // Pressing on a day takes it, dragging follows the pointer, releasing closes.
        QTest::mousePress(&cal, Qt::LeftButton, {}, cal.CellRect(10).center());
        QCOMPARE(DateText(cal.CurrentDate()), QString("2022-1-4"));
        QMouseEvent drag(QEvent::MouseMove, cal.CellRect(26).center(),
                         cal.mapToGlobal(cal.CellRect(26).center()), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&cal, &drag);
        QCOMPARE(DateText(cal.CurrentDate()), QString("2022-1-20"));
        QTest::mouseRelease(&cal, Qt::LeftButton, {}, cal.CellRect(26).center());
        QCOMPARE(cal.result(), int(QDialog::Accepted));
        QCOMPARE(f.edit->text(), QString("1/20/2022"));
    }

    void arrowBoxesTurnThePage() {
        FixedClock clock(FixedToday);
        Form f;
        f.edit->SetDate(EncodeDate(2026, 10, 31));
        CalendarPopup cal(f.edit);
        cal.show();
        QTest::mouseClick(&cal, Qt::LeftButton, {}, cal.LeftArrowRect().center());
        QCOMPARE(DateText(cal.CurrentDate()), QString("2026-10-1"));
        QTest::mouseClick(&cal, Qt::LeftButton, {}, cal.RightArrowRect().center());
        QCOMPARE(DateText(cal.CurrentDate()), QString("2026-11-1"));
        QCOMPARE(cal.Cells()[0], std::string(" 1")); // 1 November 2026 is a Sunday: cell 1
        QCOMPARE(cal.Cells()[29], std::string("30"));
        QCOMPARE(cal.Cells()[30], std::string("  "));
    }

    void typingByParts() {
        Recorder rec;
        FixedClock clock(FixedToday);
        Form f;
        QSignalSpy changes(f.edit, &DateEdit::dateChanged);
        QCOMPARE(f.edit->text(), QString("12/7/2026"));
        f.edit->setFocus(Qt::TabFocusReason);
        QCOMPARE(f.edit->selectedText(), QString("12"));
        QTest::keyClicks(f.edit, "12/");
        QCOMPARE(f.edit->selectedText(), QString("7"));
        QTest::keyClicks(f.edit, "31/");
        QCOMPARE(f.edit->selectedText(), QString("2026"));
        QTest::keyClicks(f.edit, "99");
        QCOMPARE(f.edit->text(), QString("12/31/99"));
        QTest::keyClicks(f.edit, "/x");
        QCOMPARE(f.edit->text(), QString("12/31/99"));
        QCOMPARE(rec.beeps, 1);
        f.other->setFocus(Qt::TabFocusReason);
        QCOMPARE(f.edit->text(), QString("12/31/1999"));
        QCOMPARE(f.edit->GetDate(), EncodeDate(1999, 12, 31));
        QCOMPARE(changes.count(), 1);

        // Text that is no date gives today, and shows it.
        f.edit->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(f.edit, "13");
        f.other->setFocus(Qt::TabFocusReason);
        QCOMPARE(f.edit->GetDate(), FixedToday);
        QCOMPARE(f.edit->text(), QString("12/7/2026"));
        // The same date typed differently still shows in the edit's format.
        f.edit->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(f.edit, "12/07/26");
        f.other->setFocus(Qt::TabFocusReason);
        QCOMPARE(f.edit->text(), QString("12/7/2026"));
    }

    void separatorsComeBackInAClearedEdit() {
        FixedClock clock(FixedToday);
        Form f;
        f.edit->setFocus(Qt::TabFocusReason);
        f.edit->selectAll();
        QTest::keyClick(f.edit, Qt::Key_Delete);
        QTest::keyClicks(f.edit, "3/4/05");
        QCOMPARE(f.edit->text(), QString("3/4/05"));
        f.other->setFocus(Qt::TabFocusReason);
        QCOMPARE(f.edit->text(), QString("3/4/2005"));
    }

    void clickSelectsThePart() {
        FixedClock clock(FixedToday);
        Form f;
        f.edit->SetDate(EncodeDate(2026, 11, 20));
        // The x at which a click puts the caret at a text position.
        auto xOf = [&](int pos) {
            for (int x = 0; x < f.edit->width(); ++x)
                if (f.edit->cursorPositionAt(QPoint(x, f.edit->height() / 2)) == pos) return x;
            return -1;
        };
        QTest::mouseClick(f.edit, Qt::LeftButton, {}, QPoint(xOf(8), f.edit->height() / 2));
        QCOMPARE(f.edit->CurrentPart(), 3);
        QCOMPARE(f.edit->selectedText(), QString("2026"));
        QTest::mouseClick(f.edit, Qt::LeftButton, {}, QPoint(xOf(4), f.edit->height() / 2));
        QCOMPARE(f.edit->selectedText(), QString("20"));
    }

    void buttonOpensTheCalendar() {
        FixedClock clock(FixedToday);
        Form f;
        QCOMPARE(f.edit->Button()->height(), f.edit->height());
        QCOMPARE(f.edit->Button()->width(), f.edit->height());
        QCOMPARE(f.edit->Button()->geometry().right(), f.edit->width() - 1);
        QSignalSpy clicks(f.edit, &DateEdit::buttonClicked);
        QSignalSpy pages(f.edit, &DateEdit::calendarPageChanged);
        bool below = false;
        WhenModal<CalendarPopup>([&](CalendarPopup* cal) {
            below = cal->y() > f.edit->mapToGlobal(QPoint(0, 0)).y() ||
                    cal->y() + cal->height() <= f.edit->mapToGlobal(QPoint(0, 0)).y();
            QTest::keyClick(cal, Qt::Key_Up);
            QTest::keyClick(cal, Qt::Key_Enter);
        });
        QTest::mouseClick(f.edit->Button(), Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(pages.count(), 2); // December when it opened, then November
        QCOMPARE(f.edit->PageMonth(), 11);
        QVERIFY(below);
        QCOMPARE(f.edit->GetDate(), FixedToday - 7);
    }

    void validDatesAndPages() {
        FixedClock clock(FixedToday);
        Form f;
        f.edit->AddValidDate(EncodeDate(2026, 12, 1));
        QVERIFY(f.edit->IsValidDate(EncodeDate(2026, 12, 1)));
        QVERIFY(!f.edit->IsValidDate(EncodeDate(2026, 12, 2)));
        f.edit->ClearValidDates();
        QVERIFY(!f.edit->IsValidDate(EncodeDate(2026, 12, 1)));
        // The calendar paints them without trouble whatever the owner supplies.
        f.edit->ValidDateColor = Qt::blue;
        connect(f.edit, &DateEdit::calendarPageChanged, f.edit, [&] {
            f.edit->ClearValidDates();
            f.edit->AddValidDate(EncodeDate(f.edit->PageYear, f.edit->PageMonth(), 2));
        });
        CalendarPopup cal(f.edit);
        QImage image = cal.grab().toImage();
        QVERIFY(f.edit->IsValidDate(EncodeDate(2026, 12, 2)));
        bool blue = false;
        QRect box = cal.CellRect(CellOfDay(2026, 12, 2));
        for (int y = box.top(); y <= box.bottom() && !blue; ++y)
            for (int x = box.left(); x <= box.right() && !blue; ++x)
                blue = image.pixelColor(x, y).blue() > 150 && image.pixelColor(x, y).red() < 100;
        QVERIFY(blue);
    }

    void formatFromWinIni() {
        testutil::TempDir dir;
        testutil::WriteFile(dir / "win.ini", "[intl]\r\nsDate=.\r\nsShortDate=dd.MM.yyyy\r\n");
        DateEditFormat f = DateEditFormat::FromWinIni(dir.Path());
        QCOMPARE(f.separator, '.');
        QCOMPARE(QString::fromStdString(f.Format(EncodeDate(1999, 12, 31))), QString("31.12.1999"));
        QCOMPARE(hostdb::StrToDate2k("31.12.99", f.Rules(), FixedToday), EncodeDate(1999, 12, 31));
        DateEditFormat none = DateEditFormat::FromWinIni(dir / "missing");
        QCOMPARE(none.separator, '/');
        QCOMPARE(none.format, std::string("M/d/yyyy"));
        QCOMPARE(QString::fromStdString(none.Format(0)), QString());
    }
};

ZOLT_UI_TEST_MAIN(DateEditTest)
#include "DateEditTest.moc"
