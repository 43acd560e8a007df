// The numeric edits: which keys, pastes and cuts keep a number, signs and limits, spinning, Enter
// to the next control, and values in their format patterns.
#include "ui/NumericEdits.h"

#include "UiTestSupport.h"

#include <QClipboard>
#include <QDialog>
#include <QMimeData>
#include <QToolButton>
#include <QVBoxLayout>

using namespace ui;
using uitest::Recorder;

namespace {

// Puts the caret at pos with nothing selected.
void CaretAt(QLineEdit& e, int pos) {
    e.deselect();
    e.setCursorPosition(pos);
}

template <typename Edit> struct Shown {
    QWidget window;
    Edit* edit;
    Shown() {
        auto* layout = new QVBoxLayout(&window);
        edit = new Edit;
        layout->addWidget(edit);
        window.show();
        edit->setFocus();
    }
};

} // namespace

class NumericEditsTest : public QObject {
    Q_OBJECT
private slots:
    void realSignOnlyWhereItMakesANumber() {
        Recorder rec;
        Shown<RealEdit> w;
        RealEdit& e = *w.edit;
        e.setText("1.5");
        CaretAt(e, 0);
        QTest::keyClick(&e, '-');
        QCOMPARE(e.text(), QString("-1.5"));
        QCOMPARE(e.Value(), -1.5);
        QCOMPARE(rec.beeps, 0);
        e.setText("1.5");
        CaretAt(e, 3);
        QTest::keyClick(&e, '-');
        QCOMPARE(e.text(), QString("1.5"));
        QCOMPARE(rec.beeps, 1);
        // A sign alone is a number being started.
        e.clear();
        QTest::keyClick(&e, '+');
        QCOMPARE(e.text(), QString("+"));
        QCOMPARE(e.Value(), 0.0);
    }

    void realExponentOnlyInFrontOfDigits() {
        Recorder rec;
        Shown<RealEdit> w;
        RealEdit& e = *w.edit;
        e.setText("1");
        CaretAt(e, 1);
        QTest::keyClick(&e, 'E');
        QCOMPARE(e.text(), QString("1"));
        QCOMPARE(rec.beeps, 1);
        e.setText("15");
        CaretAt(e, 1);
        QTest::keyClick(&e, 'e'); // shown in upper case
        QCOMPARE(e.text(), QString("1E5"));
        QCOMPARE(e.Value(), 100000.0);
        // Letters other than E, and a second point, never get in.
        e.setText("1.5");
        CaretAt(e, 3);
        QTest::keyClicks(&e, "x.");
        QCOMPARE(e.text(), QString("1.5"));
        QCOMPARE(rec.beeps, 3);
    }

    void backspaceDeleteAndCutKeepANumber() {
        Recorder rec;
        Shown<RealEdit> w;
        RealEdit& e = *w.edit;
        e.setText("1E5");
        CaretAt(e, 3);
        QTest::keyClick(&e, Qt::Key_Backspace); // "1E" is no number
        QCOMPARE(e.text(), QString("1E5"));
        QCOMPARE(rec.beeps, 1);
        CaretAt(e, 2);
        QTest::keyClick(&e, Qt::Key_Backspace);
        QCOMPARE(e.text(), QString("15"));
        e.setText("1E5");
        CaretAt(e, 1);
        QTest::keyClick(&e, Qt::Key_Delete);
        QCOMPARE(e.text(), QString("15"));

        QGuiApplication::clipboard()->setText("unchanged");
        e.setText("1E5");
        e.setSelection(2, 1);
        QTest::keyClick(&e, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(e.text(), QString("1E5"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("unchanged"));
        e.setSelection(1, 2);
        QTest::keyClick(&e, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(e.text(), QString("1"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("E5"));
    }

    void pasteTakesOnlyNumbers() {
        Recorder rec;
        Shown<IntegerEdit> w;
        IntegerEdit& e = *w.edit;
        e.setText("5");
        CaretAt(e, 1);
        QGuiApplication::clipboard()->setText("12a");
        QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e.text(), QString("5"));
        // The context menu's paste meets the same rule.
        e.paste();
        QCOMPARE(e.text(), QString("5"));
        QGuiApplication::clipboard()->setText("12");
        QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e.text(), QString("512"));
        QVERIFY(rec.messages.empty());

        QGuiApplication::clipboard()->clear();
        QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(rec.messages.size(), size_t(1));
        QCOMPARE(rec.messages[0].text, QString("No text on the Clipboard"));
        QCOMPARE(rec.messages[0].kind, BoxKind::Information);
        QCOMPARE(e.text(), QString("512"));
    }

    void pasteJudgesTheTextItWillReallyMake() {
        // Inserting at the caret of a selection made leftwards would read "-1E5", but the paste
        // replaces the selection and would leave "-E5".
        Recorder rec;
        Shown<RealEdit> w;
        RealEdit& e = *w.edit;
        e.setText("1E5");
        e.setCursorPosition(1);
        e.cursorBackward(true, 1);
        QCOMPARE(e.selectedText(), QString("1"));
        QGuiApplication::clipboard()->setText("-");
        QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e.text(), QString("1E5"));
        QGuiApplication::clipboard()->setText("2.5");
        e.setSelection(0, 1);
        QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e.text(), QString("2.5E5"));
        QGuiApplication::clipboard()->setText("1e3"); // shown in upper case
        e.selectAll();
        QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e.text(), QString("1E3"));
    }

    void cardinalTakesNoSigns() {
        Recorder rec;
        Shown<CardinalEdit> w;
        CardinalEdit& e = *w.edit;
        e.setText("12");
        CaretAt(e, 0);
        QTest::keyClick(&e, '-');
        QTest::keyClick(&e, '+');
        QCOMPARE(e.text(), QString("12"));
        QCOMPARE(rec.beeps, 2);
        QGuiApplication::clipboard()->setText("-5");
        QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e.text(), QString("12"));

        e.SetValidate(false);
        e.SetValue(-3);
        QCOMPARE(e.text(), QString("0"));
        e.SetMinValue(-10);
        e.SetMaxValue(-5);
        QCOMPARE(e.MinValue(), 0);
        QCOMPARE(e.MaxValue(), 0);
    }

    void integerLimits() {
        Shown<IntegerEdit> w;
        IntegerEdit& e = *w.edit;
        QCOMPARE(e.text(), QString("0"));
        e.SetValue(1200); // both limits 0: no limits
        QCOMPARE(e.text(), QString("1200"));
        e.SetMinValue(0);
        e.SetMaxValue(999);
        e.SetValue(1200);
        QCOMPARE(e.text(), QString("999"));
        e.SetValue(-4);
        QCOMPARE(e.text(), QString("0"));
        e.SetValidate(false);
        e.SetValue(1200);
        QCOMPARE(e.text(), QString("1200"));
        // Switching validation on clamps the value shown at once.
        e.SetValidate(true);
        QCOMPARE(e.text(), QString("999"));
        // Text a program put there that is no number reads as the lower limit.
        e.SetMinValue(7);
        e.setText("x");
        QCOMPARE(e.Value(), 7);
        e.clear();
        QCOMPARE(e.Value(), 0);
    }

    void spinsWithArrowsAndButtons() {
        Recorder rec;
        Shown<IntegerEdit> w;
        IntegerEdit& e = *w.edit;
        e.SetSpin(true);
        e.SetMinValue(0);
        e.SetMaxValue(10);
        e.Increment = 3;
        e.SetValue(5);
        QTest::keyClick(&e, Qt::Key_Up);
        QCOMPARE(e.Value(), 8);
        QTest::mouseClick(e.SpinButton()->UpButton(), Qt::LeftButton);
        QCOMPARE(e.Value(), 10);
        QTest::mouseClick(e.SpinButton()->DownButton(), Qt::LeftButton);
        QCOMPARE(e.Value(), 7);
        QVERIFY(e.SpinButton()->isVisible());
        QVERIFY(e.height() >= MinimumSpinEditHeight(e.fontMetrics().height(),
                                                    QFontMetrics(QApplication::font()).height()));
        // The text stops short of the button.
        QVERIFY(e.textMargins().right() >= e.SpinButton()->width());

        e.setReadOnly(true);
        QTest::keyClick(&e, Qt::Key_Up);
        QCOMPARE(e.Value(), 7);
        QCOMPARE(rec.beeps, 1);
        QTest::mouseClick(e.SpinButton()->DownButton(), Qt::LeftButton);
        QCOMPARE(e.Value(), 7);
        QCOMPARE(rec.beeps, 2);

        // Spinning past the largest integer stops there.
        e.setReadOnly(false);
        e.SetMaxValue(0);
        e.Increment = 1000;
        e.SetValue(2147483000);
        QTest::keyClick(&e, Qt::Key_Up);
        QCOMPARE(e.Value(), 2147483647);
    }

    void enterMovesToTheNextControl() {
        QDialog dialog;
        auto* layout = new QVBoxLayout(&dialog);
        auto* first = new RealEdit;
        auto* second = new IntegerEdit;
        layout->addWidget(first);
        layout->addWidget(second);
        second->SetValue(42);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        first->setFocus();
        QTest::keyClick(first, Qt::Key_Return);
        QTRY_VERIFY(second->hasFocus());
        QVERIFY(dialog.isVisible()); // not taken by the dialog as its default button
        QCOMPARE(second->selectedText(), QString("42"));
    }

    void formatPatterns() {
        std::string s;
        auto fmt = [&](const char* pattern, double v) {
            s.clear();
            bool ok = FormatFloat(pattern, v, s);
            return ok ? QString::fromStdString(s) : QString("<error>");
        };
        QCOMPARE(fmt("##0.00", 12.5), QString("12.50"));
        QCOMPARE(fmt("##0.00", 0.005), QString("0.01"));
        QCOMPARE(fmt("##0.00", 1234.5), QString("1234.50"));
        QCOMPARE(fmt("##0.00", -2.345), QString("-2.35"));
        QCOMPARE(fmt("#0.0", 99.96), QString("100.0"));
        QCOMPARE(fmt("#0.0", -0.04), QString("0.0")); // no sign on a zero
        QCOMPARE(fmt("#0", 2.5), QString("3"));
        QCOMPARE(fmt("#0", 0), QString("0"));
        QCOMPARE(fmt("#", 0), QString(""));
        QCOMPARE(fmt("#,##0", 1234567), QString("1,234,567"));
        QCOMPARE(fmt("0.##", 1.5), QString("1.5"));
        QCOMPARE(fmt("0.00E+00", 12345), QString("1.23E+04"));
        QCOMPARE(fmt("0.0;(0.0);zero", -1.25), QString("(1.3)"));
        QCOMPARE(fmt("0.0;(0.0);zero", 0), QString("zero"));
        QCOMPARE(fmt("#0", qInf()), QString("<error>"));

        QCOMPARE(QString::fromStdString(FormatGeneral(1.5)), QString("1.5"));
        QCOMPARE(QString::fromStdString(FormatGeneral(-0.1)), QString("-0.1"));
        QCOMPARE(QString::fromStdString(FormatGeneral(1e20)), QString("1E20"));
        QCOMPARE(QString::fromStdString(FormatGeneral(0.00001)), QString("0.00001"));
        QCOMPARE(QString::fromStdString(FormatGeneral(0.000001)), QString("1E-6"));
        QCOMPARE(QString::fromStdString(FormatGeneral(123456789012345678.0)),
                 QString("1.23456789012346E17"));
        QCOMPARE(QString::fromStdString(FormatGeneral(100)), QString("100"));
    }

    void valueFollowsFormatString() {
        Shown<RealEdit> w;
        RealEdit& e = *w.edit;
        e.MaxValue = 1000;
        e.SetValue(12.5);
        QCOMPARE(e.text(), QString("12.5"));
        e.SetFormatString("##0.00");
        QCOMPARE(e.text(), QString("12.50"));
        e.SetValue(5000); // clamped before it is shown
        QCOMPARE(e.text(), QString("1000.00"));
        e.SetValue(qQNaN()); // cannot be shown: the text stays
        QCOMPARE(e.text(), QString("1000.00"));
        IntegerEdit i;
        i.SetFormatString("#0");
        i.SetValue(-17);
        QCOMPARE(i.text(), QString("-17"));
    }

    void candidateRules() {
        QVERIFY(IsAcceptableCandidate(NumberKind::Real, ""));
        QVERIFY(IsAcceptableCandidate(NumberKind::Real, "-"));
        QVERIFY(IsAcceptableCandidate(NumberKind::Real, ".5"));
        QVERIFY(IsAcceptableCandidate(NumberKind::Real, "5."));
        QVERIFY(!IsAcceptableCandidate(NumberKind::Real, "."));
        QVERIFY(!IsAcceptableCandidate(NumberKind::Real, "-."));
        QVERIFY(!IsAcceptableCandidate(NumberKind::Real, "1E+"));
        QVERIFY(!IsAcceptableCandidate(NumberKind::Real, "1E999")); // no such number
        QVERIFY(IsAcceptableCandidate(NumberKind::Real, "1E-999")); // as good as 0
        QVERIFY(!IsAcceptableCandidate(NumberKind::Integer, "2147483648"));
        QVERIFY(IsAcceptableCandidate(NumberKind::Integer, "-2147483648"));
        QVERIFY(!IsAcceptableCandidate(NumberKind::Integer, "1.0"));
        QVERIFY(!IsAcceptableCandidate(NumberKind::Cardinal, "-"));
        QVERIFY(IsAcceptableCandidate(NumberKind::Cardinal, "+"));
        QCOMPARE(MinimumSpinEditHeight(13, 16), 4 + 13 + 3 + 2);
        QCOMPARE(MinimumSpinEditHeight(20, 16), 4 + 20 + 4 + 2);
    }
};

ZOLT_UI_TEST_MAIN(NumericEditsTest)
#include "NumericEditsTest.moc"
