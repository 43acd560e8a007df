// Zimra's settings dialog on a made host: its controls and captions, the market date and the
// calendar's days, the evaluation limit, greying, the key filter, files, Cancel, and the find on
// OK.
#include "finder/app/FinderSettingsDialog.h"

#include "finder/app/FinderWindow.h"
#include "finder/engine/IndicatorLines.h"
#include "support/GridText.h"
#include "support/ZoltRunner.h"
#include "ui/DateEdit.h"
#include "ui/NamedFileDialogs.h"
#include "ui/NumericEdits.h"
#include "ui/UiTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <fstream>

using namespace zimra;
namespace fs = std::filesystem;
using hostdb::EncodeDate;
using hostdb::MarketCalendar;

namespace {

const hostdb::DateTimeValue Now = hostdb::EncodeDateTime(2026, 12, 7, 18, 0);

int Day(int y, int m, int d) { return MarketCalendar::DateToDay(EncodeDate(y, m, d)); }

QColor Colour(QWidget* w, QPalette::ColorRole role) { return w->palette().color(role); }

QColor System(QPalette::ColorRole role) {
    return QApplication::palette().color(QPalette::Active, role);
}

// Every field away from its default, the market date a week before the last market date.
finder::FinderSettings FullRecord() {
    finder::FinderSettings s;
    s.MarketDate = Day(2026, 11, 30);
    s.MarketAction = 3;
    s.MarketLine = 2;
    s.DoPrevAction = true;
    s.PrevActAction = 0;
    s.PrevActLine = 5;
    s.PrevActSpentDays = 7;
    s.PrevActOutOfDays = 12;
    s.PrevChoice = finder::JustLetMeKnow;
    s.PrevDays = 4;
    s.PrevUp = true;
    s.PrevUpMin = 80;
    s.PrevUpMax = 90;
    s.PrevDn = true;
    s.PrevDnMin = 10;
    s.PrevDnMax = 30;
    s.PrevExact = true;
    s.PrevExactText = "95-5;90-10";
    s.DoEval = true;
    s.TradeChoice = 1;
    s.EvalDays = 3;
    s.Compare = "SPX;DJI";
    finder::EvaluationDays(s);
    return s;
}

} // namespace

class FinderSettingsDialogTest : public QObject {
    Q_OBJECT

    testutil::MadeHost host_{{.tickers = 30, .now = Now}};

    MainSetup Setup() { return host_.Places<MainSetup>(); }

    // A main window (not shown) whose dialog starts from the named settings file.
    std::unique_ptr<FinderWindow> Main(const std::string& settingsName = "") {
        auto w = std::make_unique<FinderWindow>(Setup());
        w->LastSettingsFile = settingsName;
        return w;
    }

    int Last(FinderWindow& w) { return w.Host().globals.LastMarketDay; }

    static void ClearProgramDir(const fs::path& dir) {
        for (const auto& e : fs::directory_iterator(dir)) fs::remove_all(e.path());
    }

private slots:
    void initTestCase() { ui::DateEditFormat::SetDefault(ui::DateEditFormat{}); }

    void init() { ClearProgramDir(host_.program); }

    // --- controls, first start, captions ---

    void firstStartShowsTheDefaultsInSentences() {
        auto w = Main();
        FinderSettingsDialog* d = w->FindWhatDialog();
        QCOMPARE(w->FindWhatDialog(), d); // created once and kept
        QCOMPARE(d->size(), QSize(592, 403));
        QCOMPARE(d->property("helpContext").toInt(), 1015);
        QCOMPARE(d->MarketLabel1->text(), QString("Find stocks that"));
        QCOMPARE(d->MarketLabel3->text(), QString("on Market Date"));
        QStringList actions;
        for (int i = 0; i < d->MarketAction->count(); ++i) actions << d->MarketAction->itemText(i);
        QCOMPARE(actions,
                 QStringList({"closed above", "crossed above", "crossed below", "closed below"}));
        QCOMPARE(d->MarketLine->count(), 12);
        QCOMPARE(d->PrevActCheckBox->text(), QString("Also require that they've closed"));
        QCOMPARE(d->PrevActLabel4->text(), QString("trading days."));
        QCOMPARE(d->PrevChoice->item(2)->text(), QString(" I don't really care"));
        QCOMPARE(d->PrevLabel1->text(), QString("that, on the Market Date or the"));
        QCOMPARE(d->PrevLabel3->text(), QString("trading days, the stocks above"));
        QCOMPARE(d->PrevLabel4->text(), QString("also have at least one of the following:"));
        QCOMPARE(d->PrevExactCheckBox->text(), QString("An ER that exactly matches one of:"));
        QCOMPARE(d->EvalLabel4->text(), QString("Then compare them to these tickers:"));
        QCOMPARE(d->LoadButton->text(), QString("&Load settings previously saved"));
        QCOMPARE(d->SaveButton->text(), QString("&Save settings to a file, then find"));
        QVERIFY(d->SaveButton->isDefault());
        QCOMPARE(d->PrevDaysEdit->maxLength(), 1);
        QCOMPARE(d->PrevUpMaxEdit->maxLength(), 3);
        // Every control lies inside its panel, and the panels and buttons inside the dialog.
        for (QFrame* p : {d->MarketPanel, d->PrevActPanel, d->PrevERPanel, d->EvalPanel}) {
            QVERIFY(d->rect().contains(p->geometry()));
            for (QWidget* c : p->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                QVERIFY2(p->rect().contains(c->geometry()),
                         qPrintable(QString("%1 at %2,%3 width %4")
                                        .arg(c->metaObject()->className())
                                        .arg(c->x())
                                        .arg(c->y())
                                        .arg(c->width())));
        }
        for (QPushButton* b :
             {d->LoadButton, d->SaveButton, d->FindUseButton, d->CancelBtn, d->HelpBtn})
            QVERIFY(d->rect().contains(b->geometry()));
        // The defaults without a settings file.
        QCOMPARE(d->MarketAction->currentText(), QString("crossed above"));
        QCOMPARE(d->MarketLine->currentText(), QString(finder::LineNames[8]));
        QCOMPARE(d->MarketDateEdit->GetDate(), MarketCalendar::DayToDate(Last(*w)));
        QVERIFY(d->PrevActCheckBox->isChecked());
        QCOMPARE(d->PrevActAction->currentItem()->text(), QString("below"));
        QCOMPARE(d->PrevActLine->currentText(), QString(finder::LineNames[8]));
        QCOMPARE(d->PrevActSpentDays->Value(), 3);
        QCOMPARE(d->PrevActOutOfDays->Value(), 5);
        QCOMPARE(d->PrevChoice->currentRow(), 2);
        QCOMPARE(d->PrevDaysEdit->Value(), 1);
        QVERIFY(!d->DoEvalCheckBox->isChecked());
        QCOMPARE(d->CompareEdit->text(), QString("SPX"));
        QCOMPARE(d->windowTitle(), QString("ZimRA Settings"));
        QCOMPARE(d->FindUseButton->text(), QString("&Find using these settings"));
        // Every control is reached from the keyboard, in the order the sentences are read.
        QList<QWidget*> walked{d->MarketAction};
        for (QWidget* n = d->MarketAction->nextInFocusChain(); walked.size() < 27;
             n = n->nextInFocusChain())
            if ((n->focusPolicy() & Qt::TabFocus) && n->parentWidget() && n->window() == d &&
                !qobject_cast<QLineEdit*>(n->parentWidget()))
                walked << n;
        const QList<QWidget*> expected{
            d->MarketAction,      d->MarketLine,     d->MarketDateEdit,   d->PrevActCheckBox,
            d->PrevActAction,     d->PrevActLine,    d->PrevActSpentDays, d->PrevActOutOfDays,
            d->PrevChoice,        d->PrevDaysEdit,   d->PrevUpCheckBox,   d->PrevUpMinEdit,
            d->PrevUpMaxEdit,     d->PrevDnCheckBox, d->PrevDnMinEdit,    d->PrevDnMaxEdit,
            d->PrevExactCheckBox, d->PrevExactEdit,  d->DoEvalCheckBox,   d->TradeChoice,
            d->EvalDays,          d->CompareEdit,    d->LoadButton,       d->SaveButton,
            d->FindUseButton,     d->CancelBtn,      d->HelpBtn};
        QCOMPARE(walked, expected);
    }

    void aFileWithoutDoPrevActionTurnsItOff() {
        std::ofstream(host_.program / "NOPREV.MNI") << "[Settings]\nMarketAction=0\n";
        auto w = Main("NOPREV");
        FinderSettingsDialog* d = w->FindWhatDialog();
        QVERIFY(!d->PrevActCheckBox->isChecked());
        QVERIFY(!d->PrevActLine->isEnabled());
        QCOMPARE(d->MarketAction->currentIndex(), 0);
        QCOMPARE(d->windowTitle(), QString("ZimRA Settings (NOPREV)"));
    }

    void captionsFollowTheModifiedFlag() {
        std::ofstream(host_.program / "NAMED.MNI") << "[Settings]\n";
        for (std::string name : {"", "NAMED"}) {
            auto w = Main(name);
            FinderSettingsDialog* d = w->FindWhatDialog();
            QVERIFY(!d->SettingsModified());
            d->MarketLine->setCurrentIndex(3);
            QVERIFY(d->SettingsModified());
            QCOMPARE(d->windowTitle(), name.empty() ? QString("ZimRA Settings (modified)")
                                                    : QString("ZimRA Settings (NAMED - modified)"));
            QCOMPARE(d->FindUseButton->text(), QString("&Find using these unsaved settings"));
        }
        // Typing into a spin edit and the exact-ER edit counts as a change too.
        auto w = Main();
        FinderSettingsDialog* d = w->FindWhatDialog();
        d->PrevActSpentDays->SpinButton()->UpButton()->click();
        QCOMPARE(d->PrevActSpentDays->Value(), 4);
        QVERIFY(d->SettingsModified());
    }

    // --- the market date and the calendar ---

    void marketDateIsATradingDayNoLaterThanTheLast() {
        auto w = Main();
        FinderSettingsDialog* d = w->FindWhatDialog();
        auto pick = [&](int y, int m, int day) {
            d->MarketDateEdit->SetDate(EncodeDate(y, m, day));
            return d->MarketDateEdit->GetDate();
        };
        QCOMPARE(pick(2026, 11, 29), EncodeDate(2026, 11, 27)); // a Sunday: the Friday
        QCOMPARE(d->MarketDateEdit->text(), QString("11/27/2026"));
        QCOMPARE(d->WorkingMarketDay(), Day(2026, 11, 27));
        QVERIFY(d->SettingsModified());
        QCOMPARE(pick(2026, 4, 5), EncodeDate(2026, 4, 2)); // Good Friday: the Thursday
        QCOMPARE(d->OpenDateLabel->text(), QString("Monday, April 6, 2026"));
        QVERIFY(!d->EvalDays->isHidden());
        QCOMPARE(d->PerfEvalHeader->text(), QString("Performance Evaluation"));
        // After the last market date: the last, and the evaluation is not possible.
        QCOMPARE(pick(2027, 3, 1), MarketCalendar::DayToDate(Last(*w)));
        QCOMPARE(d->PerfEvalHeader->text(),
                 QString("Performance evaluation is not possible because the Market Date selected "
                         "is the last date for which data is available."));
        QCOMPARE(Colour(d->PerfEvalHeader, QPalette::WindowText), System(QPalette::Dark));
        QVERIFY(!d->DoEvalCheckBox->isEnabled());
        for (QWidget* c :
             {static_cast<QWidget*>(d->TradeChoice), static_cast<QWidget*>(d->EvalDays),
              static_cast<QWidget*>(d->CompareEdit), static_cast<QWidget*>(d->CloseDateLabel)})
            QVERIFY(c->isHidden());
        // Before the first accepted day, 1 January 1960 (a holiday): the first trading day after.
        QCOMPARE(pick(1950, 6, 1), EncodeDate(1960, 1, 4));
        QCOMPARE(pick(1960, 1, 1), EncodeDate(1960, 1, 4));
        QCOMPARE(d->MarketDateEdit->MinDate, EncodeDate(1960, 1, 1));
        QCOMPARE(d->MarketDateEdit->MaxDate, MarketCalendar::DayToDate(Last(*w)));
    }

    void aStoredDateIsShownAsStoredUntilChanged() {
        // A Saturday in the file stays until the date is changed or the settings are accepted.
        finder::FinderSettings s = finder::DefaultFinderSettings(Day(2026, 12, 7));
        s.MarketDate = Day(2026, 11, 28);
        finder::SaveFinderSettings(s, host_.program, "SATURDAY");
        auto w = Main("SATURDAY");
        FinderSettingsDialog* d = w->FindWhatDialog();
        QCOMPARE(d->MarketDateEdit->GetDate(), EncodeDate(2026, 11, 28));
        QVERIFY(!d->SettingsModified());
        d->FindUseButtonClick();
        QCOMPARE(d->Settings().MarketDate, Day(2026, 11, 27));
        QCOMPARE(d->MarketDateEdit->GetDate(), EncodeDate(2026, 11, 27));
    }

    void calendarPagesMarkTheTradingDays() {
        auto w = Main();
        FinderSettingsDialog* d = w->FindWhatDialog();
        ui::DateEdit* e = d->MarketDateEdit;
        // Drawn so that they read as the days to pick, not near-white on the button face.
        QCOMPARE(e->ValidDateColor, d->palette().color(QPalette::Highlight));
        QVERIFY(e->ValidDateColor != e->palette().color(QPalette::Light));
        auto page = [&](int y, int m) {
            e->PageYear = y;
            e->SetPageMonth(m);
        };
        page(2026, 12);
        for (int day : {1, 2, 3, 4, 7}) QVERIFY(e->IsValidDate(EncodeDate(2026, 12, day)));
        for (int day : {5, 6, 8, 9}) QVERIFY(!e->IsValidDate(EncodeDate(2026, 12, day)));
        page(2026, 4);
        QVERIFY(e->IsValidDate(EncodeDate(2026, 4, 2)));
        QVERIFY(!e->IsValidDate(EncodeDate(2026, 4, 3)));  // Good Friday
        QVERIFY(!e->IsValidDate(EncodeDate(2026, 12, 1))); // the old page's days are cleared
        page(2026, 2);                                     // 31 days from the first: into March
        QVERIFY(e->IsValidDate(EncodeDate(2026, 3, 2)));
        QVERIFY(!e->IsValidDate(EncodeDate(2026, 3, 4)));
        page(1960, 1);
        QVERIFY(!e->IsValidDate(EncodeDate(1960, 1, 1)));
        QVERIFY(e->IsValidDate(EncodeDate(1960, 1, 4)));
        page(1959, 12);
        QVERIFY(!e->IsValidDate(EncodeDate(1959, 12, 31))); // before the first accepted day
    }

    // --- the evaluation ---

    void evalDaysNeverReachPastTheLastMarketDate() {
        finder::FinderSettings s = finder::DefaultFinderSettings(Day(2026, 12, 7));
        s.DoEval = true;
        s.MarketDate = Day(2026, 12, 2); // three trading days before the last
        finder::SaveFinderSettings(s, host_.program, "EVAL");
        auto w = Main("EVAL");
        FinderSettingsDialog* d = w->FindWhatDialog();
        QCOMPARE(d->EvalDays->MaxValue(), 2);
        QCOMPARE(d->EvalDays->Value(), 2); // the stored 5 lowered
        QVERIFY(!d->SettingsModified());
        QCOMPARE(d->OpenDateLabel->text(), QString("Thursday, December 3, 2026"));
        QCOMPARE(d->CloseDateLabel->text(), QString("Monday, December 7, 2026"));
        d->EvalDays->SpinButton()->UpButton()->click();
        QCOMPARE(d->EvalDays->Value(), 2);
        d->EvalDays->SpinButton()->DownButton()->click();
        QCOMPARE(d->CloseDateLabel->text(), QString("Friday, December 4, 2026"));
        QVERIFY(d->SettingsModified());
        // One trading day before the last: only 0, though both limits 0 switch the edit's check
        // off.
        d->MarketDateEdit->SetDate(EncodeDate(2026, 12, 4));
        QCOMPARE(d->EvalDays->Value(), 0);
        // A number beyond the limit is shown as the one used when focus leaves the box...
        d->EvalDays->setText("9");
        emit d->EvalDays->editingFinished();
        QCOMPARE(d->EvalDays->text(), QString("0"));
        d->PrevUpMaxEdit->setText("150");
        emit d->PrevUpMaxEdit->editingFinished();
        QCOMPARE(d->PrevUpMaxEdit->text(), QString("100"));
        // ... and when the dialog is accepted.
        d->EvalDays->setText("7");
        d->FindUseButtonClick();
        QCOMPARE(d->EvalDays->text(), QString("0"));
        QCOMPARE(d->Settings().EvalDays, 0);
        QCOMPARE(d->Settings().ExitDay, Day(2026, 12, 7));
        // Without the evaluation the limit is the edit's own.
        d->DoEvalCheckBox->click();
        QCOMPARE(d->EvalDays->MaxValue(), 999);
    }

    // --- greying ---

    void greyingFollowsTheChoices() {
        auto w = Main();
        FinderSettingsDialog* d = w->FindWhatDialog();
        // " I don't really care" at first start: the whole ER group greyed.
        for (QWidget* c :
             {static_cast<QWidget*>(d->PrevDaysEdit), static_cast<QWidget*>(d->PrevUpCheckBox),
              static_cast<QWidget*>(d->PrevUpMinEdit), static_cast<QWidget*>(d->PrevExactEdit)})
            QVERIFY(!c->isEnabled());
        QCOMPARE(Colour(d->PrevLabel1, QPalette::WindowText), System(QPalette::Dark));
        QCOMPARE(Colour(d->PrevDaysEdit, QPalette::Base), System(QPalette::Button));
        QVERIFY(d->PrevChoice->isEnabled());
        d->PrevChoice->setCurrentRow(finder::Require);
        QVERIFY(d->PrevDaysEdit->isEnabled() && d->PrevUpCheckBox->isEnabled());
        QCOMPARE(Colour(d->PrevLabel1, QPalette::WindowText), System(QPalette::ButtonText));
        QCOMPARE(Colour(d->PrevDaysEdit, QPalette::Base), System(QPalette::Base));
        QCOMPARE(Colour(d->PrevDaysEdit, QPalette::Text), System(QPalette::Text));
        QVERIFY(!d->PrevUpMinEdit->isEnabled()); // its check box is off
        d->PrevUpCheckBox->click();
        QVERIFY(d->PrevUpMinEdit->isEnabled() && d->PrevUpMaxEdit->isEnabled() &&
                d->PrevUpLabel->isEnabled());
        QVERIFY(!d->PrevDnMinEdit->isEnabled());
        // Back to " I don't really care": the ranges greyed, their check boxes keep their state.
        d->PrevChoice->setCurrentRow(finder::DontCare);
        QVERIFY(d->PrevUpCheckBox->isChecked());
        QVERIFY(!d->PrevUpMinEdit->isEnabled() && !d->PrevUpCheckBox->isEnabled());
        QCOMPARE(Colour(d->PrevUpMinEdit, QPalette::Text), System(QPalette::Dark));
        // The previous action.
        d->PrevActCheckBox->click();
        QVERIFY(!d->PrevActAction->isEnabled() && !d->PrevActSpentDays->isEnabled());
        QCOMPARE(Colour(d->PrevActLabel2, QPalette::WindowText), System(QPalette::Dark));
        // The evaluation, possible on a date before the last.
        d->MarketDateEdit->SetDate(EncodeDate(2026, 11, 2));
        QVERIFY(d->DoEvalCheckBox->isEnabled() && !d->EvalDays->isEnabled());
        QVERIFY(!d->EvalDays->isHidden());
        d->DoEvalCheckBox->click();
        QVERIFY(d->EvalDays->isEnabled() && d->TradeChoice->isEnabled() &&
                d->CompareEdit->isEnabled() && d->EvalLabel3->isEnabled());
    }

    void exactErKeysAreFiltered() {
        auto w = Main();
        FinderSettingsDialog* d = w->FindWhatDialog();
        uitest::Recorder rec;
        ExactRatingsEdit* e = d->PrevExactEdit;
        e->setEnabled(true);
        QTest::keyClicks(e, "95-5;9");
        QCOMPARE(e->text(), QString("95-5;9"));
        QCOMPARE(rec.beeps, 0);
        QTest::keyClick(e, Qt::Key_A, Qt::NoModifier);
        QCOMPARE(e->text(), QString("95-5;9"));
        QCOMPARE(rec.beeps, 1);
        QTest::keyClick(e, Qt::Key_Space);
        QCOMPARE(e->text(), QString("95-5;9"));
        QCOMPARE(rec.beeps, 1); // silently
        QTest::keyClicks(e, ",.+");
        QCOMPARE(rec.beeps, 4);
        QTest::keyClick(e, Qt::Key_Backspace); // a control key passes
        QCOMPARE(e->text(), QString("95-5;"));
        e->selectAll();
        e->insert("12a"); // pasted text with a refused character
        QCOMPARE(e->text(), QString("95-5;"));
        // The compare tickers are capitals.
        d->CompareEdit->clear();
        QTest::keyClicks(d->CompareEdit, "spx;qqq");
        QCOMPARE(d->CompareEdit->text(), QString("SPX;QQQ"));
    }

    // --- the record and the files ---

    void aFullRecordGoesThroughTheControlsUnchanged() {
        const finder::FinderSettings full = FullRecord();
        finder::SaveFinderSettings(full, host_.program, "FULL");
        auto w = Main("FULL");
        FinderSettingsDialog* d = w->FindWhatDialog();
        QCOMPARE(d->MarketAction->currentIndex(), 3);
        QCOMPARE(d->PrevActLine->currentIndex(), 5);
        QCOMPARE(d->PrevUpMinEdit->Value(), 80);
        QCOMPARE(d->PrevExactEdit->text(), QString("95-5;90-10"));
        QCOMPARE(d->TradeChoice->currentRow(), 1);
        QCOMPARE(d->CompareEdit->text(), QString("SPX;DJI"));
        QVERIFY(!d->SettingsModified());
        d->FindUseButtonClick();
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QVERIFY(d->Settings() == full);
    }

    void aReversedRangeIsSwappedOnAccepting() {
        auto w = Main();
        FinderSettingsDialog* d = w->FindWhatDialog();
        d->PrevChoice->setCurrentRow(finder::Require);
        d->PrevUpCheckBox->click();
        d->PrevUpMinEdit->setText("100");
        d->PrevUpMaxEdit->setText("95");
        d->FindUseButtonClick();
        QCOMPARE(d->Settings().PrevUpMin, 95);
        QCOMPARE(d->Settings().PrevUpMax, 100);
        QCOMPARE(d->PrevUpMinEdit->text(), QString("95"));
        QCOMPARE(d->PrevUpMaxEdit->text(), QString("100"));
    }

    void saveWritesTheSettingsAndCloses() {
        auto w = Main();
        FinderSettingsDialog* d = w->FindWhatDialog();
        d->MarketAction->setCurrentIndex(0);
        d->PrevActOutOfDays->setText("9");
        QString title;
        int help = 0;
        uitest::WhenModal<ui::SaveNamedFileDialog>([&](ui::SaveNamedFileDialog* s) {
            title = s->windowTitle();
            help = s->HelpContext;
            s->SaveNameEdit->setText("MINE");
            s->OKBtnClick();
        });
        d->SaveButtonClick();
        QCOMPARE(title, QString("Save ZimRA Settings"));
        QCOMPARE(help, 1031);
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QCOMPARE(w->LastSettingsFile, std::string("MINE"));
        QVERIFY(!d->SettingsModified());
        QCOMPARE(d->windowTitle(), QString("ZimRA Settings (MINE)"));
        QCOMPARE(d->Settings().MarketAction, 0);
        QCOMPARE(d->Settings().PrevActOutOfDays, 9);
        finder::SaveFinderSettings(d->Settings(), host_.program, "EXPECTED");
        QCOMPARE(testutil::ReadFile(host_.program / "MINE.MNI"),
                 testutil::ReadFile(host_.program / "EXPECTED.MNI"));
    }

    void aFailedSaveKeepsTheDialogOpenAndSaysSo() {
        fs::create_directories(host_.program / "BAD.MNI"); // cannot be written as a file
        auto w = Main();
        FinderSettingsDialog* d = w->FindWhatDialog();
        d->MarketLine->setCurrentIndex(1);
        uitest::Recorder rec;
        uitest::WhenModal<ui::SaveNamedFileDialog>([&](ui::SaveNamedFileDialog* s) {
            s->SaveNameEdit->setText("BAD");
            s->OKBtnClick();
        });
        d->setResult(0);
        d->SaveButtonClick();
        QVERIFY(!rec.messages.empty());
        QCOMPARE(rec.messages.back().kind, ui::BoxKind::Error);
        QVERIFY(rec.messages.back().text.contains("BAD.MNI"));
        QCOMPARE(d->result(), 0);
        QVERIFY(d->SettingsModified());
        QCOMPARE(w->LastSettingsFile, std::string());
        QCOMPARE(d->Settings().MarketLine, 8); // what Cancel restores is unchanged
    }

    void loadReadsTheChosenFile() {
        finder::SaveFinderSettings(FullRecord(), host_.program, "FULL");
        auto w = Main();
        FinderSettingsDialog* d = w->FindWhatDialog();
        d->MarketLine->setCurrentIndex(0);
        QString title;
        int help = 0;
        uitest::WhenModal<ui::LoadNamedFileDialog>([&](ui::LoadNamedFileDialog* l) {
            title = l->windowTitle();
            help = l->HelpContext;
            l->OKBtnClick();
        });
        d->LoadButtonClick();
        QCOMPARE(title, QString("Load ZimRA Settings"));
        QCOMPARE(help, 1020);
        QCOMPARE(w->LastSettingsFile, std::string("FULL"));
        QVERIFY(d->Settings() == FullRecord());
        QCOMPARE(d->MarketLine->currentIndex(), 2);
        QCOMPARE(d->PrevDnMaxEdit->Value(), 30);
        QVERIFY(!d->SettingsModified());
        QCOMPARE(d->windowTitle(), QString("ZimRA Settings (FULL)"));
    }

    void aFileThatCannotBeReadChangesNothing() {
        {
            std::ofstream big(host_.program / "HUGE.MNI", std::ios::binary);
            big << "[Settings]\nMarketAction=0\n" << std::string(3 * 1024 * 1024, ';');
        }
        auto w = Main();
        FinderSettingsDialog* d = w->FindWhatDialog();
        uitest::Recorder rec;
        uitest::WhenModal<ui::LoadNamedFileDialog>(
            [](ui::LoadNamedFileDialog* l) { l->OKBtnClick(); });
        d->LoadButtonClick();
        QCOMPARE(rec.messages.size(), size_t(1));
        QVERIFY(rec.messages[0].text.startsWith("The settings file HUGE could not be read"));
        QCOMPARE(d->MarketAction->currentIndex(), 1);
        QCOMPARE(w->LastSettingsFile, std::string());
    }

    void cancelRestoresTheControlsFromTheRecord() {
        auto w = Main();
        FinderSettingsDialog* d = w->FindWhatDialog();
        const finder::FinderSettings before = d->Settings();
        d->MarketAction->setCurrentIndex(3);
        d->PrevActCheckBox->click();
        d->MarketDateEdit->SetDate(EncodeDate(2026, 10, 1));
        d->CompareEdit->setText("QQQ");
        d->CancelBtn->click();
        QCOMPARE(d->result(), int(QDialog::Rejected));
        QCOMPARE(d->MarketAction->currentIndex(), 1);
        QVERIFY(d->PrevActCheckBox->isChecked() && d->PrevActLine->isEnabled());
        QCOMPARE(d->MarketDateEdit->GetDate(), MarketCalendar::DayToDate(Last(*w)));
        QCOMPARE(d->WorkingMarketDay(), Last(*w));
        QCOMPARE(d->CompareEdit->text(), QString("SPX"));
        QVERIFY(!d->SettingsModified());
        QVERIFY(d->Settings() == before);
    }

    // --- the main window ---

    void okRunsTheFindWithTheDialogsSettings() {
        auto w = Main();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        // Cancel runs nothing.
        uitest::WhenModal<FinderSettingsDialog>(
            [](FinderSettingsDialog* d) { d->CancelBtn->click(); });
        w->Find();
        QVERIFY(w->StringGrid1->isHidden());
        bool focused = false;
        uitest::WhenModal<FinderSettingsDialog>([&](FinderSettingsDialog* d) {
            focused = d->focusWidget() == d->MarketDateEdit;
            d->MarketAction->setCurrentIndex(3);
            d->MarketLine->setCurrentIndex(11);
            d->PrevActCheckBox->click();
            d->MarketDateEdit->SetDate(EncodeDate(2026, 12, 6));
            d->FindUseButton->click();
        });
        w->Find();
        QVERIFY(focused);
        const finder::FinderSettings s = w->FindWhatDialog()->Settings();
        QCOMPARE(s.MarketDate, Day(2026, 12, 4));
        QCOMPARE(s.MarketAction, 3);
        QVERIFY(!w->Running());
        QVERIFY(!w->StringGrid1->isHidden());
        QVERIFY(w->Settings() == s);
        finder::SaveFinderSettings(s, host_.program, "DIALOG");
        const std::string out =
            testutil::Zolt(host_, {"find", "--settings", "DIALOG", "--format", "grid"});
        const finder::FinderState& st = w->State();
        QVERIFY(st.listed >= 1);
        QCOMPARE(QString::fromStdString(testutil::GridText(w->Grid(), st.EndRow - 1)),
                 QString::fromStdString(out));
    }
};

QTEST_MAIN(FinderSettingsDialogTest)
#include "FinderSettingsDialogTest.moc"
