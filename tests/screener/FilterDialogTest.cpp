// The filter settings dialog on a made host: its areas, pages and texts, the range pairing, the
// evaluation area and its limit, the Combo texts, the modified state and Cancel, the settings
// round trip, Save and Load through the named-file dialogs, and a filter run from its OK.
#include "screener/app/FilterDialog.h"

#include "hostdb/Format.h"
#include "hostdb/TradingDays.h"
#include "screener/app/ScreenerWindow.h"
#include "support/GridText.h"
#include "support/ZoltRunner.h"
#include "ui/NamedFileDialogs.h"
#include "ui/NumericEdits.h"
#include "ui/UiTestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace zoltw;
namespace fs = std::filesystem;

namespace {

const char* const LastSet = "26120410.vds";    // the last market date
const char* const EarlierSet = "26120110.vds"; // three trading days before it

QColor RoleOf(const QWidget* w, QPalette::ColorRole role) { return w->palette().color(role); }

void TypeInto(QLineEdit* e, const QString& text) {
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, text);
}

} // namespace

class FilterDialogTest : public QObject {
    Q_OBJECT

    testutil::MadeHost host_;

    MainSetup Setup() { return host_.Places<MainSetup>(); }

    std::string Zolt(const std::vector<std::string>& args) { return testutil::Zolt(host_, args); }

    // The dialog of a main window on a data set, shown.
    static FilterDialog* Open(ScreenerWindow& w, const char* dataSet) {
        w.DataSetChosen(dataSet, true);
        FilterDialog* d = w.GetFilterDialog();
        d->show();
        if (!QTest::qWaitForWindowExposed(d)) qWarning("dialog not exposed");
        return d;
    }

    static std::string LongDate(const ScreenerWindow& w, int day) {
        return hostdb::FormatDateTime("dddddd", hostdb::MarketCalendar::DayToDate(day),
                                      w.Environment().locale);
    }

    static std::string Bytes(const fs::path& p) { return testutil::ReadFile(p); }

    // Every field away from its default, each value one the controls' formats show exactly.
    static screener::FilterSettings FullRecord() {
        screener::FilterSettings s;
        s.Page = screener::PageVolD;
        s.MinClose = 12.25f;
        s.MinVolume = 75;
        s.NewHighA = false;
        s.NewHighB = true;
        s.NewHighC = true;
        s.NewHighWeeks = 26;
        s.NewHighOnly = false;
        s.NewLowA = true;
        s.NewLowC = true;
        s.NewLowWeeks = 13;
        s.NewLowOnly = false;
        s.CloseUpA = s.CloseUpB = s.CloseUpC = true;
        s.CloseUpDollar = false;
        s.CloseUpPerC = true;
        s.CloseUpMinDollar = 1.25f;
        s.CloseUpMaxDollar = 3.5f;
        s.CloseUpMinPerC = 1.5f;
        s.CloseUpMaxPerC = 9.5f;
        s.CloseDownB = true;
        s.CloseDownDollar = true;
        s.CloseDownPerC = true;
        s.CloseDownMinDollar = 0.75f;
        s.CloseDownMaxDollar = 4.25f;
        s.CloseDownMinPerC = 3.5f;
        s.CloseDownMaxPerC = 7.5f;
        s.GapUpA = s.GapUpC = true;
        s.GapUpDays = 5;
        s.GapDownB = true;
        s.GapDownDays = 7;
        s.VolumeAboveA = s.VolumeAboveB = true;
        s.VolumeAbovePerC = 212.55f;
        s.VolumeDays = 3;
        s.VolumeBelowC = true;
        s.VolumeBelowPerC = 45.5f;
        s.DoEval = true;
        s.TradeChoice = 1;
        s.EvalDays = 2;
        s.Compare = "SPX;DJIA";
        return s;
    }

private slots:
    void initTestCase() {
        Zolt({"generate", "--date", "2026-12-04", "--ma", "10"});
        Zolt({"generate", "--date", "2026-12-01", "--ma", "10"});
        QVERIFY(fs::exists(host_.program / LastSet));
        QVERIFY(fs::exists(host_.program / EarlierSet));
    }

    void init() {
        fs::remove_all(host_.tmp / "config");
        for (const auto& e : fs::directory_iterator(host_.program))
            if (e.path().extension() == ".VNI") fs::remove_all(e.path());
    }

    // --- What the dialog shows

    void areasPagesAndTexts() {
        ScreenerWindow w(Setup());
        FilterDialog* d = Open(w, EarlierSet);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(d->AreaNumber[static_cast<size_t>(i)]->text(), QString::number(i + 1));
        QCOMPARE(d->windowTitle(), QString("Zolt Filter Settings"));
        QCOMPARE(d->property("helpContext").toInt(), 1011);
        QCOMPARE(d->OptionalLabel->text(), QString("(optional)"));
        QCOMPARE(d->LoadButton->text(), QString("&Load previously saved filter settings"));
        QCOMPARE(d->ChooseLabel->text(), QString("Click on a tab to choose the filter type:"));
        QCOMPARE(d->StartLabel->text(), QString("Cick a button to start filtering:"));
        QCOMPARE(d->DoItButton->text(), QString("&Filter using these settings"));
        QCOMPARE(d->SaveButton->text(), QString("&Save all settings, then filter"));
        QVERIFY(d->SaveButton->isDefault());
        QCOMPARE(d->HelpBtn->text(), QString("Help"));
        QCOMPARE(d->DataSetLabel->text(),
                 QString::fromStdString("Data set: " + LongDate(w, w.DataSetDay)));
        const QStringList tabs = {"&High", "Lo&w",  "&Up",   "&Down", "&GapU",
                                  "Ga&pD", "&VolU", "V&olD", "&All",  "&Combo"};
        QCOMPARE(d->FilterPages->count(), 10);
        for (int i = 0; i < 10; ++i) QCOMPARE(d->FilterPages->tabText(i), tabs[i]);
        QVERIFY(!d->FilterPages->font().bold());
        // Two of the texts whole, blanks at line ends included; every one opens with a blank line.
        QCOMPARE(d->PageText[0]->text(),
                 QString("\nShow tickers whose High (the intraday high) for the \n"
                         "Market Date just reached a new high for the specified\n"
                         "number of weeks, or is at a high for the specified \n"
                         "number of weeks or more. "));
        QCOMPARE(d->PageText[5]->text(), QString("\nShow tickers that gapped down. Gapping down\n"
                                                 "is defined as the high for the day being lower \n"
                                                 "than the low for the previous trading day."));
        QCOMPARE(d->PageText[8]->text(),
                 QString("\nShow all tickers (except, as always, those that don't\n"
                         "meet the minimum price or volume requirements)."));
        for (QLabel* t : d->PageText) {
            QVERIFY(t->text().startsWith('\n'));
            QVERIFY(t->alignment() & Qt::AlignHCenter);
            QVERIFY(t->frameShape() == QFrame::Box);
        }
        // The defaults, in the edits' formats.
        QCOMPARE(d->FilterPages->currentIndex(), 0);
        QCOMPARE(d->MinCloseEdit->text(), QString("5.00"));
        QCOMPARE(d->MinVolumeEdit->text(), QString("10"));
        QCOMPARE(d->HighWeeksEdit->text(), QString("39"));
        QVERIFY(d->HighNewButton->isChecked());
        QCOMPARE(d->MinUpDollar->text(), QString("0.50"));
        QCOMPARE(d->MaxUpDollar->text(), QString("2.00"));
        QCOMPARE(d->MinUpPerC->text(), QString("2.0"));
        QCOMPARE(d->MaxDownDollar->text(), QString("0.50"));
        QCOMPARE(d->VolAbovePerC->text(), QString("150"));
        QCOMPARE(d->VolBelowPerC->text(), QString("30"));
        QCOMPARE(d->GapUpDays->text(), QString("2"));
        QCOMPARE(d->EvalDays->text(), QString("2")); // 4 lowered to this data set's limit
        QCOMPARE(d->TradeChoice->currentText(), QString("long trades"));
        QCOMPARE(d->TradeChoice->count(), 2);
        QCOMPARE(d->CompareEdit->text(), QString("SPX;RUT"));
        QCOMPARE(d->HighWeeksEdit->maxLength(), 3);
        QCOMPARE(d->GapUpDays->maxLength(), 1);
        QCOMPARE(d->VolBelowPerC->maxLength(), 5);
        QVERIFY(d->EvalDays->Spin() && d->VolumeDays->Spin());
        d->FilterPages->setCurrentIndex(screener::PageVolD);
        QCOMPARE(d->VolDownDaysLabel->text(),
                 QString("for each of the last 1 days (set # of days on VolU page)."));
        QCOMPARE(d->PerfEvalHeader->text(), QString("Performance Evaluation"));
    }

    void percentRangeTakesOverWhenTheDollarRangeIsUnchecked() {
        ScreenerWindow w(Setup());
        FilterDialog* d = Open(w, EarlierSet);
        d->FilterPages->setCurrentIndex(screener::PageUp);
        const QColor shadow = d->palette().color(QPalette::Dark);
        QVERIFY(!d->MinUpPerC->isEnabled());
        QCOMPARE(RoleOf(d->UpPerC1Label, QPalette::WindowText), shadow);
        QTest::mouseClick(d->CloseUpDollarChk, Qt::LeftButton, {},
                          QPoint(8, d->CloseUpDollarChk->height() / 2));
        QVERIFY(!d->CloseUpDollarChk->isChecked());
        QVERIFY(d->CloseUpPerCChk->isChecked());
        QVERIFY(d->MinUpPerC->isEnabled() && d->MaxUpPerC->isEnabled());
        QCOMPARE(RoleOf(d->MinUpPerC, QPalette::Base), d->palette().color(QPalette::Base));
        QCOMPARE(RoleOf(d->UpPerC2Label, QPalette::WindowText),
                 d->palette().color(QPalette::ButtonText));
        QVERIFY(!d->MinUpDollar->isEnabled());
        QCOMPARE(RoleOf(d->MaxUpDollar, QPalette::Base), d->palette().color(QPalette::Button));
        QCOMPARE(RoleOf(d->UpDollar2Label, QPalette::WindowText), shadow);
        QVERIFY(d->SettingsModified());
        // The Down pair by keyboard: unchecking the percent box alone leaves the dollar box.
        d->FilterPages->setCurrentIndex(screener::PageDown);
        d->CloseDownPerCChk->setFocus();
        QTest::keyClick(d->CloseDownPerCChk, Qt::Key_Space);
        QVERIFY(d->CloseDownPerCChk->isChecked() && d->MinDownPerC->isEnabled());
        QTest::keyClick(d->CloseDownPerCChk, Qt::Key_Space);
        QVERIFY(!d->CloseDownPerCChk->isChecked() && d->CloseDownDollarChk->isChecked());
        d->CloseDownDollarChk->setFocus();
        QTest::keyClick(d->CloseDownDollarChk, Qt::Key_Space);
        QVERIFY(d->CloseDownPerCChk->isChecked());
        QVERIFY(!d->MinDownDollar->isEnabled() && d->MinDownPerC->isEnabled());
    }

    // --- The evaluation area

    void noEvaluationOnTheLastMarketDate() {
        ScreenerWindow w(Setup());
        FilterDialog* d = Open(w, LastSet);
        QCOMPARE(w.DataSetDay, w.Host().globals.LastMarketDay);
        QCOMPARE(d->PerfEvalHeader->text(),
                 QString("Performance evaluation is not possible because the data set isfor the "
                         "last date on which data is available."));
        QCOMPARE(RoleOf(d->PerfEvalHeader, QPalette::WindowText),
                 d->palette().color(QPalette::Dark));
        for (QWidget* c : std::initializer_list<QWidget*>{
                 d->DoEvalCheckBox, d->TradeChoice, d->EvalLabel1, d->OpenDateLabel, d->EvalLabel2,
                 d->EvalDays, d->EvalLabel3, d->CloseDateLabel, d->EvalLabel4, d->CompareEdit})
            QVERIFY2(!c->isVisible(), qPrintable(c->metaObject()->className()));
        QVERIFY(!d->DoEvalCheckBox->isEnabled());
        QVERIFY(d->DoEvalCheckBox->isChecked()); // keeps its state
        QVERIFY(!d->SettingsModified());
        d->reject();

        // The next data set can be evaluated: the area comes back.
        d = Open(w, EarlierSet);
        QCOMPARE(d->PerfEvalHeader->text(), QString("Performance Evaluation"));
        QCOMPARE(RoleOf(d->PerfEvalHeader, QPalette::WindowText),
                 d->palette().color(QPalette::ButtonText));
        QVERIFY(d->EvalDays->isVisible() && d->EvalDays->isEnabled());
        QVERIFY(d->DoEvalCheckBox->isEnabled());
    }

    void evalDaysLimitAndTradeDates() {
        ScreenerWindow w(Setup());
        FilterDialog* d = Open(w, EarlierSet);
        const int last = w.Host().globals.LastMarketDay;
        // Tuesday to Friday: the trade can be held for 0 to 2 days after its opening day.
        QCOMPARE(d->EvalDays->Value(), 2);
        QVERIFY(!d->SettingsModified()); // lowering on showing is no change of the user's
        QCOMPARE(d->CloseDateLabel->text(), QString::fromStdString(LongDate(w, last)));
        QCOMPARE(d->OpenDateLabel->text(), QString::fromStdString(LongDate(w, w.DataSetDay + 1)));
        TypeInto(d->EvalDays, "9");
        QCOMPARE(d->EvalDays->Value(), 2);
        QTest::keyClick(d->EvalDays, Qt::Key_Up);
        QCOMPARE(d->EvalDays->Value(), 2);
        TypeInto(d->EvalDays, "0");
        QCOMPARE(d->EvalDays->Value(), 0);
        QCOMPARE(d->CloseDateLabel->text(), d->OpenDateLabel->text());
        QTest::keyClick(d->EvalDays, Qt::Key_Up);
        QCOMPARE(d->CloseDateLabel->text(), QString::fromStdString(LongDate(w, w.DataSetDay + 2)));

        // Off: the controls give way and take the disabled colours.
        d->DoEvalCheckBox->click();
        for (QWidget* c :
             std::initializer_list<QWidget*>{d->TradeChoice, d->EvalDays, d->CompareEdit}) {
            QVERIFY(!c->isEnabled());
            QCOMPARE(RoleOf(c, QPalette::Base), d->palette().color(QPalette::Button));
        }
        QCOMPARE(RoleOf(d->EvalLabel3, QPalette::WindowText), d->palette().color(QPalette::Dark));
        QCOMPARE(RoleOf(d->EvalDays, QPalette::Text), d->palette().color(QPalette::Dark));
        d->DoEvalCheckBox->click();
        QVERIFY(d->EvalDays->isEnabled());
        QCOMPARE(RoleOf(d->EvalDays, QPalette::Text), d->palette().color(QPalette::Text));

        // A value beyond the limit never reaches the record.
        d->Record.EvalDays = 40;
        d->SettingsToDialog();
        QCOMPARE(d->EvalDays->Value(), 2);
        d->DialogToSettings();
        QCOMPARE(d->Record.EvalDays, 2);
    }

    // --- Combo texts

    void comboTextsFollowTheOtherPages() {
        ScreenerWindow w(Setup());
        FilterDialog* d = Open(w, EarlierSet);
        TypeInto(d->HighWeeksEdit, "26");
        d->FilterPages->setCurrentIndex(screener::PageCombo);
        QCOMPARE(d->NewHighChkC->text(), QString("Intraday High reached a new 26-week High."));
        QCOMPARE(d->NewLowChkC->text(), QString("Intraday Low reached a new 39-week Low."));
        QCOMPARE(d->CloseUpChkC->text(), QString("Closed Up $0.50 to $2.00 "));
        QCOMPARE(d->GapDownChkC->text(), QString("Gapped Down sometime in the last 2 days."));
        QCOMPARE(d->VolAboveChkC->text(), QString("Volume was at least 150.0% Above its"));
        QCOMPARE(d->VolAboveLine2->text(), QString("moving average for the last 1 days."));
        QCOMPARE(d->VolBelowChkC->text(), QString("Volume was at least 30.0% Below its"));
        QCOMPARE(d->VolBelowLine2->text(), d->VolAboveLine2->text());
        d->FilterPages->setCurrentIndex(screener::PageUp);
        d->CloseUpPerCChk->click();
        d->FilterPages->setCurrentIndex(screener::PageCombo);
        QCOMPARE(d->CloseUpChkC->text(), QString("Closed Up $0.50 to $2.00 or 2.0% to 8.0%."));
        d->FilterPages->setCurrentIndex(screener::PageDown);
        d->CloseDownPerCChk->click();
        d->CloseDownDollarChk->click();
        d->FilterPages->setCurrentIndex(screener::PageCombo);
        QCOMPARE(d->CloseDownChkC->text(), QString("Closed Down 2.0% to 2.0%."));
    }

    // --- The modified state

    void typingOnceMarksTheSettingsAndCancelRestores() {
        ScreenerWindow w(Setup());
        FilterDialog* d = Open(w, EarlierSet);
        // Tabs and the trade choice are no changes of the settings.
        d->FilterPages->setCurrentIndex(screener::PageAll);
        d->TradeChoice->setCurrentIndex(1);
        QVERIFY(!d->SettingsModified());
        QCOMPARE(d->windowTitle(), QString("Zolt Filter Settings"));
        TypeInto(d->MinCloseEdit, "7");
        QVERIFY(d->SettingsModified());
        QCOMPARE(d->windowTitle(), QString("Zolt Filter Settings (modified)"));
        QCOMPARE(d->DoItButton->text(), QString("&Filter using these unsaved settings"));
        QTest::keyClicks(d->CompareEdit, "x");
        QCOMPARE(d->CompareEdit->text(), QString("SPX;RUTX")); // upper case as typed
        d->CancelBtn->click();
        QVERIFY(!d->isVisible());
        QCOMPARE(d->MinCloseEdit->text(), QString("5.00"));
        QCOMPARE(d->CompareEdit->text(), QString("SPX;RUT"));
        QCOMPARE(d->TradeChoice->currentIndex(), 0);
        QCOMPARE(d->FilterPages->currentIndex(), 0);
        QCOMPARE(d->windowTitle(), QString("Zolt Filter Settings"));
        QCOMPARE(d->DoItButton->text(), QString("&Filter using these settings"));

        // With a name, and Escape as Cancel.
        w.LastSettingsFile = "SWING";
        d->show();
        QCOMPARE(d->windowTitle(), QString("Zolt Filter Settings (SWING)"));
        d->GapUpChkB->click();
        QCOMPARE(d->windowTitle(), QString("Zolt Filter Settings (SWING - modified)"));
        QTest::keyClick(d, Qt::Key_Escape);
        QVERIFY(!d->GapUpChkB->isChecked());
        QVERIFY(!d->SettingsModified());
    }

    void everyFieldGoesToTheControlsAndBack() {
        ScreenerWindow w(Setup());
        FilterDialog* d = Open(w, EarlierSet);
        const screener::FilterSettings full = FullRecord();
        d->Record = full;
        d->SettingsToDialog();
        QCOMPARE(d->FilterPages->currentIndex(), int(screener::PageVolD));
        QCOMPARE(d->MinCloseEdit->text(), QString("12.25"));
        QCOMPARE(d->MaxUpDollar->text(), QString("3.50"));
        QCOMPARE(d->MinUpPerC->text(), QString("1.5"));
        QVERIFY(d->HighGreaterButton->isChecked() && d->LowGreaterButton->isChecked());
        QCOMPARE(d->TradeChoice->currentText(), QString("short trades"));
        QCOMPARE(d->VolBelowPerC->text(), QString("45.5"));   // not cut to three characters
        QCOMPARE(d->VolAbovePerC->text(), QString("212.55")); // no binary tail
        QCOMPARE(d->VolDownDaysLabel->text(),
                 QString("for each of the last 3 days (set # of days on VolU page)."));
        d->Record = screener::FilterSettings{};
        d->DialogToSettings();
        // Key by key first, so that a difference names its field.
        const fs::path a = host_.tmp / "a", b = host_.tmp / "b";
        fs::create_directories(a);
        fs::create_directories(b);
        screener::SaveSettings(d->Record, a, "R", platform::Locale::Posix());
        screener::SaveSettings(full, b, "R", platform::Locale::Posix());
        const QStringList got = QString::fromStdString(Bytes(a / "R.VNI")).split("\r\n");
        const QStringList want = QString::fromStdString(Bytes(b / "R.VNI")).split("\r\n");
        QCOMPARE(got.size(), want.size());
        for (qsizetype i = 0; i < got.size(); ++i) QCOMPARE(got[i], want[i]);
        QCOMPARE(d->Record, full);
        QVERIFY(!d->SettingsModified());
    }

    // --- Load and save

    void saveWritesTheSettingsFileAndCloses() {
        ScreenerWindow w(Setup());
        FilterDialog* d = Open(w, EarlierSet);
        d->FilterPages->setCurrentIndex(screener::PageGapU);
        TypeInto(d->GapUpDays, "4");
        TypeInto(d->MinCloseEdit, "7.5");
        QString caption;
        int help = 0;
        uitest::WhenModal<ui::SaveNamedFileDialog>([&](ui::SaveNamedFileDialog* s) {
            caption = s->windowTitle();
            help = s->HelpContext;
            s->SaveNameEdit->setText("MYSET");
            s->OKBtn->click();
        });
        QTest::mouseClick(d->SaveButton, Qt::LeftButton);
        QCOMPARE(caption, QString("Save Zolt Settings"));
        QCOMPARE(help, 1032);
        QVERIFY(!d->isVisible());
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QCOMPARE(w.LastSettingsFile, std::string("MYSET"));
        QCOMPARE(d->windowTitle(), QString("Zolt Filter Settings (MYSET)"));
        QVERIFY(!d->SettingsModified());
        QCOMPARE(w.FilterSetPanel->text(), QString("Filter: GapU \"MYSET\""));
        QCOMPARE(d->Record.GapUpDays, 4);
        QCOMPARE(d->Record.MinClose, 7.5f);
        // Byte for byte what the settings module writes for the record.
        const fs::path other = host_.tmp / "other";
        fs::create_directories(other);
        screener::SaveSettings(d->Record, other, "MYSET", w.Environment().locale);
        QVERIFY(fs::exists(host_.program / "MYSET.VNI"));
        QCOMPARE(Bytes(host_.program / "MYSET.VNI"), Bytes(other / "MYSET.VNI"));
    }

    void aSaveThatFailsKeepsTheDialogOpen() {
        ScreenerWindow w(Setup());
        FilterDialog* d = Open(w, EarlierSet);
        fs::create_directories(host_.program / "BAD.VNI"); // a folder where the file would go
        TypeInto(d->MinVolumeEdit, "20");
        uitest::Recorder boxes; // answers Yes to replacing, then records the error
        uitest::WhenModal<ui::SaveNamedFileDialog>([&](ui::SaveNamedFileDialog* s) {
            s->SaveNameEdit->setText("BAD");
            s->OKBtn->click();
        });
        d->SaveButton->click();
        QVERIFY(d->isVisible());
        QVERIFY(!boxes.messages.empty());
        QCOMPARE(boxes.messages.back().kind, ui::BoxKind::Error);
        QVERIFY(w.LastSettingsFile.empty());
        QVERIFY(d->SettingsModified());
        QCOMPARE(d->Record.MinVolume, 10); // the record still holds the last taken settings
        d->reject();
        fs::remove_all(host_.program / "BAD.VNI");
    }

    void loadReadsASettingsFile() {
        screener::FilterSettings saved = FullRecord();
        screener::SaveSettings(saved, host_.program, "LOADME", platform::Locale::Posix());
        ScreenerWindow w(Setup());
        FilterDialog* d = Open(w, EarlierSet);
        TypeInto(d->MinCloseEdit, "1");
        QString caption;
        int help = 0;
        uitest::WhenModal<ui::LoadNamedFileDialog>([&](ui::LoadNamedFileDialog* l) {
            caption = l->windowTitle();
            help = l->HelpContext;
            const auto items = l->FileNameList->findItems("LOADME", Qt::MatchExactly);
            if (!items.isEmpty()) l->FileNameList->setCurrentItem(items.front());
            l->OKBtn->click();
        });
        d->LoadButton->click();
        QCOMPARE(caption, QString("Load Zolt Settings"));
        QCOMPARE(help, 1020);
        QCOMPARE(w.LastSettingsFile, std::string("LOADME"));
        QCOMPARE(d->Record, saved);
        QVERIFY(!d->SettingsModified());
        QCOMPARE(d->windowTitle(), QString("Zolt Filter Settings (LOADME)"));
        QCOMPARE(d->MinCloseEdit->text(), QString("12.25"));
        QCOMPARE(d->FilterPages->currentIndex(), int(screener::PageVolD));
        d->reject();
    }

    void aFileThatCannotBeReadIsRefused() {
        testutil::WriteFile(host_.program / "HUGE.VNI",
                            "[Settings]\nMinClose=99\n" + std::string(3 * 1024 * 1024, ';'));
        ScreenerWindow w(Setup());
        FilterDialog* d = Open(w, EarlierSet);
        const screener::FilterSettings before = d->Record;
        uitest::Recorder boxes;
        uitest::WhenModal<ui::LoadNamedFileDialog>([](ui::LoadNamedFileDialog* l) {
            const auto items = l->FileNameList->findItems("HUGE", Qt::MatchExactly);
            if (!items.isEmpty()) l->FileNameList->setCurrentItem(items.front());
            l->OKBtn->click();
        });
        d->LoadButton->click();
        QCOMPARE(boxes.messages.size(), size_t(1));
        QCOMPARE(boxes.messages[0].kind, ui::BoxKind::Error);
        QVERIFY(boxes.messages[0].text.startsWith("The settings file HUGE could not be read: "));
        QVERIFY(d->isVisible());
        QVERIFY(w.LastSettingsFile.empty());
        QCOMPARE(d->Record, before);
        d->reject();
        fs::remove(host_.program / "HUGE.VNI");
    }

    // --- With the main window

    void okRunsTheFilterWithTheDialogsSettings() {
        ScreenerWindow w(Setup());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.DataSetChosen(EarlierSet, true);
        screener::FilterSettings taken;
        uitest::WhenModal<FilterDialog>([&](FilterDialog* d) {
            d->FilterPages->setCurrentIndex(screener::PageAll);
            TypeInto(d->MinCloseEdit, "0");
            TypeInto(d->MinVolumeEdit, "0");
            TypeInto(d->CompareEdit, "spx");
            d->DoItButton->click();
            taken = d->Record;
        });
        w.MenuItem[ScreenerWindow::CmdFilter]->trigger();
        QCOMPARE(taken.Page, int(screener::PageAll));
        QCOMPARE(taken.MinClose, 0.0f);
        QCOMPARE(taken.Compare, std::string("SPX"));
        QVERIFY(w.sgdData->isVisible());
        QCOMPARE(w.FilterSetPanel->text(), QString("Filter: All  (mod)"));
        screener::SaveSettings(taken, host_.program, "OKRUN", platform::Locale::Posix());
        const std::string expected =
            Zolt({"filter", "--dataset", EarlierSet, "--settings", "OKRUN", "--format", "grid"});
        QCOMPARE(QString::fromStdString(testutil::GridText(w.Grid(), w.Results().PrintLastRow)),
                 QString::fromStdString(expected));

        // Cancel runs nothing.
        const std::string before = testutil::GridText(w.Grid(), w.Results().PrintLastRow);
        uitest::WhenModal<FilterDialog>([](FilterDialog* d) {
            TypeInto(d->MinCloseEdit, "50");
            d->CancelBtn->click();
        });
        w.Button[ScreenerWindow::CmdFilter]->click();
        QCOMPARE(testutil::GridText(w.Grid(), w.Results().PrintLastRow), before);
        QCOMPARE(w.GetFilterDialog()->Record, taken);
    }

    void keyboardReachesEveryArea() {
        ScreenerWindow w(Setup());
        FilterDialog* d = Open(w, EarlierSet);
        d->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(d));
        d->LoadButton->setFocus();
        QList<QWidget*> seen;
        for (int i = 0; i < 20; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen << QApplication::focusWidget();
        }
        const QList<QWidget*> expected = {d->FilterPages->tabBar(),
                                          d->HighWeeksEdit,
                                          d->HighNewButton,
                                          d->MinCloseEdit,
                                          d->MinVolumeEdit,
                                          d->DoEvalCheckBox,
                                          d->TradeChoice,
                                          d->EvalDays,
                                          d->CompareEdit,
                                          d->DoItButton,
                                          d->SaveButton,
                                          d->CancelBtn,
                                          d->HelpBtn};
        for (int i = 0; i < expected.size(); ++i)
            QVERIFY2(seen[i] == expected[i],
                     qPrintable(QString("step %1: %2")
                                    .arg(i)
                                    .arg(seen[i] ? seen[i]->metaObject()->className() : "none")));
        // The tabs' mnemonics choose the pages.
        QTest::keyClick(d, Qt::Key_C, Qt::AltModifier);
        QCOMPARE(d->FilterPages->currentIndex(), int(screener::PageCombo));
        QTest::keyClick(d, Qt::Key_O, Qt::AltModifier);
        QCOMPARE(d->FilterPages->currentIndex(), int(screener::PageVolD));
        // Help by button and by F1.
        uitest::Recorder boxes;
        d->HelpBtn->click();
        QTest::keyClick(d, Qt::Key_F1);
        QCOMPARE(boxes.helpContexts, (std::vector<int>{1011, 1011}));
        d->reject();
    }
};

ZOLT_UI_TEST_MAIN(FilterDialogTest)
#include "FilterDialogTest.moc"
