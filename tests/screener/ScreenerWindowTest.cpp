// ZoltW's main window on a made host: first start, the enabling of the commands through the work
// flow, the grid against the command line's, window placement and width limits, the data-set
// caption, sorting by clicks on titles, chart icons, and a host that is not there.
#include "screener/app/ScreenerWindow.h"

#include "hostdb/Format.h"
#include "hostdb/SearchPath.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "screener/app/DataSetChooser.h"
#include "screener/app/ResultChart.h"
#include "screener/app/SettingsTextWindow.h"
#include "support/GridText.h"
#include "support/NullHostLink.h"
#include "support/ZoltRunner.h"
#include "ui/DateEdit.h"
#include "ui/NamedFileDialogs.h"
#include "ui/NumericEdits.h"
#include "ui/UiTestSupport.h"

#include <QAction>
#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

using namespace zoltw;
namespace fs = std::filesystem;

namespace {

const hostdb::DateTimeValue Now = hostdb::EncodeDateTime(2026, 12, 7, 12, 0);

// Posts and activations are recorded.
struct RecordingLink final : testutil::NullHostLink {
    std::vector<std::string> log;
    bool Post(const std::string& lib, int code, const std::string& text) override {
        log.push_back("post " + lib + " " + std::to_string(code) + " " + text);
        return true;
    }
    void Activate(hostlink::WindowId) override { log.push_back("activate"); }
};

} // namespace

class ScreenerWindowTest : public QObject {
    Q_OBJECT

    testutil::MadeHost host_{{.tickers = 60}};
    std::string dataSet_;
    std::shared_ptr<RecordingLink> link_ = std::make_shared<RecordingLink>();

    MainSetup Setup() {
        MainSetup s = host_.Places<MainSetup>();
        s.link = link_;
        return s;
    }

    std::string Zolt(const std::vector<std::string>& args) { return testutil::Zolt(host_, args); }

    void WriteOwn(const std::string& keys) {
        testutil::WriteFile(host_.tmp / "config" / "OstravlR.Ini", "[ZoltW]\r\n" + keys);
    }

private slots:
    void initTestCase() {
        Zolt({"generate", "--date", "2026-12-04", "--ma", "10"});
        dataSet_ = "26120410.vds";
        QVERIFY(fs::exists(host_.program / dataSet_));
    }

    void init() { fs::remove_all(host_.tmp / "config"); }

    void firstStart() {
        ScreenerWindow w(Setup());
        QVERIFY(w.HostFound());
        QCOMPARE(w.windowTitle(), QString("ZOLT (32-bit)"));
        // Before display every work command is off.
        for (int c = 0; c < ScreenerWindow::CmdExit; ++c)
            QVERIFY(!w.IsEnabled(static_cast<ScreenerWindow::Command>(c)));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.IsEnabled(ScreenerWindow::CmdGetData));
        for (auto c :
             {ScreenerWindow::CmdFilter, ScreenerWindow::CmdShowSettings, ScreenerWindow::CmdPrint,
              ScreenerWindow::CmdBuildTagList, ScreenerWindow::CmdCharts})
            QVERIFY(!w.IsEnabled(c));
        QVERIFY(w.IsEnabled(ScreenerWindow::CmdExit));
        QVERIFY(w.Button[ScreenerWindow::CmdGetData]->isEnabled());
        QVERIFY(!w.Button[ScreenerWindow::CmdFilter]->isEnabled());
        QCOMPARE(w.DataSetPanel->text(), QString(" "));
        QCOMPARE(w.lblInspected->text(), QString(" "));
        QCOMPARE(w.MoveAveLength, 10);
        QVERIFY(w.sgdData->isHidden());
        QCOMPARE(w.Title2->text(), QString("Last Market Date is Friday, December 4, 2026"));
        // Centred on the screen at its computed height.
        const QSize screen = w.screen()->geometry().size();
        QCOMPARE(w.pos(),
                 QPoint((screen.width() - w.width()) / 2, (screen.height() - w.height()) / 2));
        QCOMPARE(w.TitlePanel->x(), (w.width() - 377) / 2);
        // The menus and the pop-up menu in their order.
        QStringList file, popup;
        for (QAction* a : w.File1->actions()) file << (a->isSeparator() ? "-" : a->text());
        for (QAction* a : w.PopupMenu1->actions()) popup << (a->isSeparator() ? "-" : a->text());
        QCOMPARE(file,
                 QStringList({"&Get Data...", "-", "&Filter Data...", "&Show Settings", "-",
                              "&Print...", "&Build TagList...", "Go to &Charts", "-", "E&xit"}));
        // The host's items, then the copy and the chart this program adds.
        QCOMPARE(popup, QStringList({"&Get data...", "-", "&Filter data...", "&Show settings", "-",
                                     "&Print...", "&Build TagList...", "Go to &Charts", "-",
                                     "E&xit", "-", "Copy &results", "Show chart here"}));
        QCOMPARE(w.Button[ScreenerWindow::CmdCharts]->toolTip(),
                 QString("Build a TagList and\nGo to Charts"));
        w.close();
        // Closing creates the file and the section.
        platform::Profile own(host_.tmp / "config" / "OstravlR.Ini");
        QCOMPARE(own.ReadInteger("ZoltW", "MoveAveLength", -1), 10);
        QCOMPARE(own.ReadInteger("ZoltW", "State", -1), 0);
    }

    void workFlowAndTheGridOfTheCommandLine() {
        ScreenerWindow w(Setup());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.DataSetChosen(dataSet_, true);
        QVERIFY(w.IsEnabled(ScreenerWindow::CmdFilter));
        QVERIFY(!w.IsEnabled(ScreenerWindow::CmdPrint));
        QVERIFY(w.DataSetPanel->text().startsWith("Data: "));
        const screener::FilterSettings s = screener::EveryTicker();
        QVERIFY(w.RunFilter(s));
        QVERIFY(!w.sgdData->isHidden());
        QVERIFY(w.TitlePanel->isHidden());
        for (auto c : {ScreenerWindow::CmdGetData, ScreenerWindow::CmdFilter,
                       ScreenerWindow::CmdShowSettings, ScreenerWindow::CmdPrint,
                       ScreenerWindow::CmdBuildTagList, ScreenerWindow::CmdCharts})
            QVERIFY(w.IsEnabled(c));
        QVERIFY(w.lblInspected->text().endsWith("inspected"));
        // Cell for cell what `zolt filter --format grid` prints for the same settings.
        screener::SaveSettings(s, host_.program, "ALLPAGE", platform::Locale::Posix());
        const std::string expected =
            Zolt({"filter", "--dataset", dataSet_, "--settings", "ALLPAGE", "--format", "grid"});
        QCOMPARE(QString::fromStdString(testutil::GridText(w.Grid(), w.Results().PrintLastRow)),
                 QString::fromStdString(expected));

        // A new data set chosen: the grid goes, the result commands go off.
        w.DataSetChosen(dataSet_, true);
        QVERIFY(w.sgdData->isHidden());
        QVERIFY(!w.IsEnabled(ScreenerWindow::CmdPrint));
        QVERIFY(w.IsEnabled(ScreenerWindow::CmdShowSettings)); // stays once settings were taken
        QCOMPARE(w.lblDisplayed->text(), QString(" "));
    }

    void settingsWindow() {
        ScreenerWindow w(Setup());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.DataSetChosen(dataSet_, true);
        QVERIFY(w.RunFilter(screener::EveryTicker()));
        QStringList shown;
        QPoint ok;
        uitest::WhenModal<SettingsTextWindow>([&](SettingsTextWindow* d) {
            QCOMPARE(d->windowTitle(), QString("ZOLT Settings"));
            shown = d->memShowSettings->toPlainText().split('\n');
            d->resize(700, 400);
            ok = d->btnOK->pos();
            QCOMPARE(d->memShowSettings->height(), 400 - 71);
            d->btnOK->click();
        });
        w.MenuItem[ScreenerWindow::CmdShowSettings]->trigger();
        QCOMPARE(ok, QPoint(700 - 112, 400 - 62));
        QVERIFY(shown.size() >= 5);
        QCOMPARE(shown[0], w.DataSetPanel->text() + ";  " + w.FilterSetPanel->text());
        QCOMPARE(shown[2], QString("Showing all tickers"));
        QCOMPARE(shown[4], QString("No minimum price, no minimum volume"));
    }

    void sortingByClicksOnTitles() {
        ScreenerWindow w(Setup());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.DataSetChosen(dataSet_, true);
        QVERIFY(w.RunFilter(screener::EveryTicker()));
        const screener::ResultState& st = w.Results();
        QVERIFY(st.LastResultRow > st.FirstResultRow + 2);
        auto column = [&](int c) {
            QStringList v;
            for (int r = st.FirstResultRow; r <= st.LastResultRow; ++r)
                v << QString::fromStdString(w.Grid().Text(c, r));
            return v;
        };
        auto click = [&](int col, int row, Qt::MouseButton b = Qt::LeftButton,
                         Qt::KeyboardModifiers m = {}) {
            QTest::mouseClick(w.sgdData->viewport(), b, m, w.sgdData->CellRect(col, row).center());
        };
        const QStringList before = column(1);
        // Right button, Shift, column 0 and a result row never sort.
        click(5, 2, Qt::RightButton);
        click(5, 2, Qt::LeftButton, Qt::ShiftModifier);
        click(0, 2);
        click(5, st.FirstResultRow + 1);
        QCOMPARE(column(1), before);
        QCOMPARE(st.SortedColumn, -1);

        click(5, 1);
        QCOMPARE(st.SortedColumn, 5);
        grid::CellGrid expected = w.Grid();
        QStringList keys = column(5);
        for (int i = 1; i < keys.size(); ++i)
            QVERIFY(screener::CompareSortTexts(keys[i - 1].toStdString(), keys[i].toStdString()) <=
                    0);
        QVERIFY(w.Grid().Format(5, 2)->Style & grid::StyleBold);
        QVERIFY(w.TitlePanel->isHidden());
        QVERIFY(!w.sgdData->isHidden());
        QVERIFY(w.File1->isEnabled() && w.Button[ScreenerWindow::CmdGetData]->isEnabled());
        // The title panel, shown again by Get Data, has its own texts back.
        QVERIFY(w.Title2->text().startsWith("Last Market Date is"));
        QVERIFY(w.Title1->text() != "Please wait...");
        // The selection stays on its ticker.
        const int sel = w.Grid().Selection.top;
        QVERIFY(sel >= st.FirstResultRow);
        click(5, 0); // again: reversed
        QStringList reversed = column(5);
        std::reverse(reversed.begin(), reversed.end());
        QCOMPARE(reversed, keys);
        QCOMPARE(QString::fromStdString(w.Grid().Text(1, w.Grid().Selection.top)),
                 QString::fromStdString(expected.Text(1, sel)));
    }

    void chartIcons() {
        ScreenerWindow w(Setup());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.DataSetChosen(dataSet_, true);
        QVERIFY(w.RunFilter(screener::EveryTicker()));
        const int row = w.Results().FirstResultRow;
        w.sgdData->ScrollToRow(row);
        const std::string ticker(platform::Trim(w.Grid().Text(1, row)));
        link_->log.clear();
        QTest::mouseClick(w.sgdData->viewport(), Qt::RightButton, {},
                          w.sgdData->CellRect(0, row).center());
        QVERIFY(link_->log.empty());
        QTest::mouseClick(w.sgdData->viewport(), Qt::LeftButton, {},
                          w.sgdData->CellRect(0, row).center());
        QCOMPARE(link_->log.size(), size_t(2));
        QCOMPARE(QString::fromStdString(link_->log[1]),
                 QString::fromStdString("post C:\\QEL\\qelio32.dll 1 " + ticker));
        QCOMPARE(w.Grid().Selection.left, 1);
        QCOMPARE(w.Grid().Selection.right, 10);
        QCOMPARE(w.Grid().Selection.top, row);
        QCOMPARE(w.Results().SortedColumn, -1); // no sort from an icon
        // The blank title cell of column 0 does nothing.
        link_->log.clear();
        QTest::mouseClick(w.sgdData->viewport(), Qt::LeftButton, {},
                          w.sgdData->CellRect(0, 1).center());
        QVERIFY(link_->log.empty());
    }

    void printingTheResults() {
        ScreenerWindow w(Setup());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.DataSetChosen(dataSet_, true);
        QVERIFY(w.RunFilter(screener::EveryTicker()));
        const QString pdf = QString::fromStdString((host_.tmp / "report.pdf").string());
        w.Printer().setOutputFormat(QPrinter::PdfFormat);
        w.Printer().setOutputFileName(pdf);
        uitest::WhenModal<QPrintDialog>([](QPrintDialog* d) { d->accept(); });
        w.Button[ScreenerWindow::CmdPrint]->click();
        QProcess text;
        text.start("pdftotext", {"-layout", pdf, "-"});
        QVERIFY(text.waitForFinished(60000));
        const QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split('\f');
        QVERIFY(pages.size() >= 2);
        QVERIFY(pages[0].contains("Zolt v2.07 Results"));
        QVERIFY2(pages[0].contains("Printed " + QString::fromStdString(hostdb::FormatDateTime(
                                                    "ddddd", Now, platform::Locale::Posix()))),
                 qPrintable(pages[0].left(300)));
        QVERIFY(pages[0].contains("Showing all tickers"));
        QVERIFY(pages[0].contains("Page 1"));
        QVERIFY(pages[0].contains("Weeks since previous"));
        // The first ticker of the results is on the first page.
        QVERIFY(pages[0].contains(QString::fromStdString(
            std::string(platform::Trim(w.Grid().Text(1, w.Results().FirstResultRow))))));
    }

    void keyboardWalkAndCopy() {
        ScreenerWindow w(Setup());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.DataSetChosen(dataSet_, true);
        QVERIFY(w.RunFilter(screener::EveryTicker()));
        w.activateWindow(); // back from the filtering window
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const screener::ResultState& st = w.Results();
        const grid::GridRect& sel = w.Grid().Selection;
        QCOMPARE(sel.top, st.LastResultRow); // the filter leaves it on the last row written
        QTest::keyClick(&w, Qt::Key_Down);
        QCOMPARE(sel.top, st.LastResultRow); // not past the results
        QTest::keyClick(&w, Qt::Key_Up);
        QTest::keyClick(&w, Qt::Key_Up);
        QCOMPARE(sel.top, st.LastResultRow - 2);
        QCOMPARE(sel.left, 1);
        QCOMPARE(sel.right, 10);
        QVERIFY(!w.sgdData->CellRect(1, sel.top).isEmpty()); // scrolled into view
        // A page at a time, and to either end.
        QTest::keyClick(&w, Qt::Key_Home);
        QCOMPARE(sel.top, st.FirstResultRow);
        QTest::keyClick(&w, Qt::Key_PageDown);
        QCOMPARE(sel.top, std::min(st.FirstResultRow + w.PageRows(), st.LastResultRow));
        QVERIFY(!w.sgdData->CellRect(1, sel.top).isEmpty());
        QTest::keyClick(&w, Qt::Key_End);
        QCOMPARE(sel.top, st.LastResultRow);
        QTest::keyClick(&w, Qt::Key_PageUp);
        QCOMPARE(sel.top, std::max(st.LastResultRow - w.PageRows(), st.FirstResultRow));
        QTest::keyClick(&w, Qt::Key_End);
        for (int i = 0; i < 2; ++i) QTest::keyClick(&w, Qt::Key_Up);
        link_->log.clear();
        QTest::keyClick(&w, Qt::Key_Return);
        QCOMPARE(link_->log.size(), size_t(2));
        QVERIFY(link_->log[1].ends_with(" 1 " +
                                        std::string(platform::Trim(w.Grid().Text(1, sel.top)))));

        QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = QGuiApplication::clipboard()->text().split('\n');
        QCOMPARE(lines.size(), st.PrintLastRow + 2); // every row, then the end of the last
        QCOMPARE(lines[0], QString("\t\tWeeks since previous\t\t1-day Closing\t\tDays "
                                   "since\t\t1-day %\t# days\tPerf"));
        QCOMPARE(lines[st.FirstResultRow].section('\t', 1, 1),
                 QString::fromStdString(
                     std::string(platform::Trim(w.Grid().Text(1, st.FirstResultRow)))));
        const QList<QAction*> popup = w.PopupMenu1->actions();
        QCOMPARE(popup.last(), w.ShowChart1);
        QCOMPARE(popup[popup.size() - 2], w.CopyResults1);
    }

    // Our own chart: Space opens it on the highlighted row, it follows Up, Down, clicks and
    // sorts, marks the market date, saves the window as a PNG, says why a broken ticker has no
    // chart, and Escape ends the following; its place is kept.
    void ownChart() {
        ScreenerWindow w(Setup());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.DataSetChosen(dataSet_, true);
        QVERIFY(w.RunFilter(screener::EveryTicker()));
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const screener::ResultState& st = w.Results();
        const grid::GridRect& sel = w.Grid().Selection;
        auto symbol = [&](int row) { return std::string(platform::Trim(w.Grid().Text(1, row))); };
        QVERIFY(w.ShowChart1->isEnabled());
        QVERIFY(!w.Chart());
        link_->log.clear();
        QTest::keyClick(&w, Qt::Key_Space);
        ui::PriceChartWindow* chart = w.Chart();
        QVERIFY(chart && chart->isVisible());
        QCOMPARE(chart->View()->Content().history.symbol, symbol(sel.top));
        QVERIFY(chart->windowTitle().startsWith(
            QString::fromStdString("Chart - " + symbol(sel.top) + " ")));
        QVERIFY(link_->log.empty()); // without the host

        // The market date's bar is the data set's day, marked where its bar is drawn.
        ui::ChartView* view = chart->View();
        const int market = view->MarketBar();
        QCOMPARE(view->Content().history.bars[static_cast<size_t>(market)].day,
                 hostdb::MarketCalendar::DateToDay(hostdb::EncodeDate(2026, 12, 4)));
        QCOMPARE(view->LastShown(), market);
        QVERIFY(view->LastShown() - view->FirstShown() + 1 <= ui::DefaultChartBars);
        const QImage drawn = view->grab().toImage();
        const int mx = static_cast<int>(std::lround(view->XOfBar(market)));
        bool marked = false;
        for (int y = 0; y < drawn.height(); ++y)
            marked |= drawn.pixelColor(mx, y) == QColor(0x30, 0x60, 0xD0);
        QVERIFY(marked);

        QTest::keyClick(&w, Qt::Key_Up);
        QCOMPARE(view->Content().history.symbol, symbol(sel.top));
        QTest::keyClick(&w, Qt::Key_Home);
        QCOMPARE(view->Content().history.symbol, symbol(st.FirstResultRow));
        QTest::keyClick(&w, Qt::Key_Down);
        QCOMPARE(view->Content().history.symbol, symbol(st.FirstResultRow + 1));
        // A click on a row while the chart is open highlights it.
        QTest::mouseClick(w.sgdData->viewport(), Qt::LeftButton, {},
                          w.sgdData->CellRect(5, st.FirstResultRow + 3).center());
        QCOMPARE(sel.top, st.FirstResultRow + 3);
        QCOMPARE(view->Content().history.symbol, symbol(st.FirstResultRow + 3));
        w.SortResults(5);
        QCOMPARE(view->Content().history.symbol, symbol(sel.top));

        // The picture is the window, at its size.
        const QString png = QString::fromStdString((host_.tmp / "chart.png").string());
        QVERIFY(chart->SavePicture(png));
        QImage saved(png);
        QCOMPARE(saved.size(), chart->size());
        QVERIFY(!QFile::exists(png + ".part"));
        QVERIFY(chart->DefaultPictureName().endsWith("-2026-12-04.png"));

        // A ticker file broken after the filter run: a sentence instead of an empty frame.
        const std::string broken = symbol(st.FirstResultRow + 1);
        std::filesystem::path file;
        hostdb::SearchPath(w.Host().globals.EquityPathList, w.Environment().dirs)
            .FindFile(broken + ".DTA", file);
        const std::string kept = testutil::ReadFile(file);
        testutil::WriteFile(file, "garbage");
        QTest::keyClick(&w, Qt::Key_Home);
        QTest::keyClick(&w, Qt::Key_Down);
        QCOMPARE(view->Content().history.symbol, broken);
        QVERIFY(view->Message().contains("cannot be read"));
        QVERIFY(chart->StatusText().contains("cannot be read"));
        testutil::WriteFile(file, kept);

        // Escape closes it; the highlight moves on without it, and the place is kept.
        chart->move(40, 50);
        QTest::keyClick(chart, Qt::Key_Escape);
        QVERIFY(!chart->isVisible());
        QTest::keyClick(&w, Qt::Key_Down);
        QCOMPARE(view->Content().history.symbol, broken);
        const platform::Profile own(host_.tmp / "config" / "OstravlR.Ini");
        QCOMPARE(own.ReadInteger("ZoltW", "ChartLeft", -1), chart->geometry().left());
        QCOMPARE(own.ReadInteger("ZoltW", "ChartWidth", -1), chart->width());
    }

    // The chart's marks: the trade's entry and exit after the market date with the row's change,
    // and the previous high or low passing over days without one.
    void ownChartMarks() {
        hostdb::PriceHistory h;
        const float highs[] = {9, 12, 0, 10, 11, 10.5f, 0, 11.5f, 12.5f};
        for (int i = 0; i < 9; ++i)
            h.bars.push_back({100 + i, 10, highs[i], highs[i] == 0 ? 0 : 8 + i % 3 * 0.5f, 10, 5});
        QCOMPARE(screener::PreviousExtremeBar(h, 7, true), 1);  // 12 > 11.5, the 0 passed over
        QCOMPARE(screener::PreviousExtremeBar(h, 8, true), -1); // a high above all before it
        QCOMPARE(screener::PreviousExtremeBar(h, 4, false), 3); // 8 below 8.5
        QCOMPARE(screener::PreviousExtremeBar(h, -1, true), -1);
        screener::ResultChartFacts facts;
        facts.marketDay = 105;
        facts.page = screener::PageHigh;
        facts.evaluated = true;
        facts.openDay = 106, facts.closeDay = 108;
        facts.change = "  4.2% ";
        const ui::ChartContent c = screener::ResultChart(h, facts);
        QCOMPARE(c.marks.size(), size_t(3));
        QCOMPARE(c.marks[0].bar, 6);
        QCOMPARE(c.marks[0].text, QString("entry"));
        QCOMPARE(c.marks[1].bar, 8);
        QCOMPARE(c.marks[1].text, QString("exit 4.2%"));
        QCOMPARE(c.marks[2].bar, 4); // 11 above the market day's 10.5
        QCOMPARE(c.marks[2].text, QString("previous high"));
        facts.evaluated = false;
        facts.page = screener::PageAll;
        QVERIFY(screener::ResultChart(h, facts).marks.empty());
    }

    void tagListAndCharts() {
        ScreenerWindow w(Setup());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.DataSetChosen(dataSet_, true);
        QVERIFY(w.RunFilter(screener::EveryTicker()));
        const fs::path lis = host_.windows.parent_path() / "QEL" / "MYLIST.LIS";
        fs::remove(lis);
        link_->log.clear();
        int asked = 0;
        auto answer = [&] {
            return uitest::WhenModal<ui::SaveNamedFileDialog>([&](ui::SaveNamedFileDialog* d) {
                ++asked;
                d->SaveNameEdit->setText("MYLIST");
                d->OKBtn->click();
            });
        };
        // Go to Charts right after a filter run asks for a name first.
        answer();

        w.Button[ScreenerWindow::CmdCharts]->click();
        QCOMPARE(asked, 1);
        QVERIFY(fs::exists(lis));
        QCOMPARE(QString::fromStdString(w.TagListName), QString("MYLIST"));
        const std::string first(platform::Trim(w.Grid().Text(1, w.Results().FirstResultRow)));
        QCOMPARE(w.TagListFirstTicker, first);
        QCOMPARE(link_->log,
                 (std::vector<std::string>{"activate", "post C:\\QEL\\qelio32.dll 6 MYLIST",
                                           "post C:\\QEL\\qelio32.dll 1 " + first}));
        // A second Go to Charts goes straight to the chart window.
        link_->log.clear();
        w.MenuItem[ScreenerWindow::CmdCharts]->trigger();
        QCOMPARE(asked, 1);
        QCOMPARE(link_->log.size(), size_t(3));
        // A new filter run forgets the list.
        QVERIFY(w.RunFilter(screener::EveryTicker()));
        QVERIFY(w.TagListName.empty());
    }

    void placementAndWidthLimits() {
        // Saved on a larger screen; minimised at the last close.
        WriteOwn("Left=3000\r\nTop=20\r\nState=1\r\n");
        {
            ScreenerWindow w(Setup());
            const QSize screen = w.screen()->geometry().size();
            QCOMPARE(w.x(), (screen.width() - w.width()) / 2);
            QCOMPARE(w.y(), 20);
            QVERIFY(!w.isMinimized());
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            // The status line is seen whole at both ends of the allowed widths.
            const QString reason("No chart for IBM: the host refused it");
            const auto seen = [&] {
                w.ShowStatus(reason);
                const QRect r = w.StatusText->geometry();
                return w.StatusText->isVisible() &&
                       r.width() >= w.StatusText->fontMetrics().horizontalAdvance(reason) &&
                       w.Panel3->rect().contains(r);
            };
            w.resize(w.MaxFormWidth + 100, w.height());
            QCOMPARE(w.width(), w.MaxFormWidth);
            QVERIFY(seen());
            w.resize(100, w.height());
            QCOMPARE(w.width(), w.MinFormWidth);
            QCOMPARE(w.MinFormWidth, 224 + 25 + 10);
            QVERIFY(seen());
            w.ShowStatus(QString());
            QVERIFY(!w.StatusText->isVisible());
            w.resize(300, 200);
            w.showMaximized();
            QTRY_VERIFY(w.isMaximized());
            // Not while maximised: where the window system sizes it to the screen, it stays
            // wider than the limit (without a window manager it keeps its size).
            QTest::qWait(50);
            if (w.width() != 300) QVERIFY(w.width() > w.MaxFormWidth);
            w.close();
        }
        platform::Profile own(host_.tmp / "config" / "OstravlR.Ini");
        QCOMPARE(own.ReadInteger("ZoltW", "State", -1), 2);
        QCOMPARE(own.ReadInteger("ZoltW", "Width", -1), 300);
        ScreenerWindow again(Setup());
        again.show();
        QTRY_VERIFY(again.isMaximized());
    }

    void dataSetCaptionYears() {
        WriteOwn("LastDataFile=24123110.vds\r\nMoveAveLength=500\r\n");
        ScreenerWindow w(Setup());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.DataSetPanel->text().contains("2024"));
        QVERIFY(w.DataSetPanel->text().contains("10-day"));
        QVERIFY(w.IsEnabled(ScreenerWindow::CmdFilter)); // a data set is named
        QCOMPARE(w.MoveAveLength, 99);                   // no name can hold 500
        w.LastDataFile = "25010310.vds";
        w.ShowDataSetCaption();
        QVERIFY(w.DataSetPanel->text().contains("2025"));
        QCOMPARE(w.DataSetDay, hostdb::MarketCalendar::DateToDay(hostdb::EncodeDate(2025, 1, 3)));
    }

    void aboutBox() {
        ScreenerWindow w(Setup());
        QString version, caption;
        uitest::WhenModal<QDialog>([&](QDialog* d) {
            caption = d->windowTitle();
            for (QLabel* l : d->findChildren<QLabel*>())
                if (l->text().startsWith("Version")) version = l->text();
            d->reject();
        });
        w.About1->trigger();
        QCOMPARE(caption, QString("About ZOLT"));
        QCOMPARE(version, QString("Version: 2.07"));
    }

    // The program itself: a second start ends at once and leaves the first running.
    void secondStartEnds() {
        QStringList args = {"--windows-dir", QString::fromStdString(host_.windows.string()),
                            "--program-dir", QString::fromStdString(host_.program.string())};
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", QString::fromStdString((host_.tmp / "config").string()));
        QProcess first, second;
        first.setProcessEnvironment(env);
        second.setProcessEnvironment(env);
        first.start(ZOLTW_PROGRAM, args);
        QVERIFY(first.waitForStarted());
        QTest::qWait(1500); // its window is up and listening
        QCOMPARE(first.state(), QProcess::Running);
        second.start(ZOLTW_PROGRAM, args);
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        first.terminate();
        QVERIFY(first.waitForFinished(10000));
    }

    void chooserListAndSizes() {
        MainSetup s = Setup();
        s.programDir = host_.tmp / "sets";
        fs::create_directories(s.programDir);
        testutil::WriteFile(s.programDir / "99123110.vds", std::string(1000000, 'a'));
        testutil::WriteFile(s.programDir / "00010310.vds", std::string(2000000, 'b'));
        testutil::WriteFile(s.programDir / "notes.vds", std::string(3000000, 'c'));
        testutil::WriteFile(s.programDir / ".hidden.vds", "x");
        ScreenerWindow w(s);
        w.show();
        DataSetChooser* d = w.GetDataDialog();
        QCOMPARE(d->windowTitle(), QString("Specify a data set"));
        d->show();
        QCOMPARE(d->SizeLabel->text(), QString("5.7 MB used by 3 data sets"));
        QStringList names;
        for (int i = 0; i < d->DataSetListBox->count(); ++i)
            names << d->DataSetListBox->item(i)->text();
        QCOMPARE(names, QStringList({"00010310.vds", "99123110.vds", "notes.vds"}));
        const platform::Locale posix = platform::Locale::Posix();
        DataSetRow r = DescribeDataSet("00010310.vds", posix);
        QVERIFY(r.isDate);
        QCOMPARE(r.date, hostdb::FormatDateTime("ddddd", hostdb::EncodeDate(2000, 1, 3), posix));
        QCOMPARE(r.weekday, std::string("Mon"));
        QCOMPARE(r.length, std::string("10-day ave."));
        r = DescribeDataSet("99123110.vds", posix);
        QCOMPARE(r.date, hostdb::FormatDateTime("ddddd", hostdb::EncodeDate(1999, 12, 31), posix));
        QCOMPARE(r.weekday, std::string("Fri"));
        QVERIFY(!DescribeDataSet("notes.vds", posix).isDate);
        // Past the host's last day a name would wrap to 1890: no date either.
        QVERIFY(!DescribeDataSet("69123120.vds", posix).isDate);
        QVERIFY(DescribeDataSet("69091620.vds", posix).isDate);
        // A file that is not named after a date is not taken, with the reason.
        {
            uitest::Recorder refused;
            d->DataSetListBox->setCurrentRow(2);
            d->OKClick();
            QVERIFY(d->isVisible());
            QCOMPARE(refused.messages.size(), size_t(1));
            QCOMPARE(refused.messages[0].text,
                     QString("notes.vds is not named after a market date (YYMMDDNN.vds)."));
        }
        // The first set chosen: it becomes current and Filter is on.
        d->DataSetListBox->setCurrentRow(0);
        d->OKClick();
        QVERIFY(!d->isVisible());
        QCOMPARE(w.LastDataFile, std::string("00010310.vds"));
        QVERIFY(w.IsEnabled(ScreenerWindow::CmdFilter));
        // Deleting asks first.
        d->show();
        uitest::Recorder boxes;
        boxes.answers = {QMessageBox::Cancel, QMessageBox::Ok};
        d->DataSetListBox->setCurrentRow(1);
        d->DeleteClick();
        QVERIFY(fs::exists(s.programDir / "99123110.vds"));
        d->DeleteClick();
        QVERIFY(!fs::exists(s.programDir / "99123110.vds"));
        QCOMPARE(boxes.messages[0].text, QString("OK to delete this data set?"));
        QCOMPARE(d->SizeLabel->text(), QString("4.8 MB used by 2 data sets"));
    }

    void chooserDatesAndGeneration() {
        MainSetup s = Setup();
        s.programDir = host_.tmp / "empty";
        fs::create_directories(s.programDir);
        ScreenerWindow w(s);
        w.show();
        DataSetChooser* d = w.GetDataDialog();
        d->show();
        // No data set: only a new one can be asked for.
        QVERIFY(!d->UseExistingButton->isEnabled());
        QVERIFY(!d->DeleteButton->isEnabled());
        QVERIFY(d->GenerateNewButton->isChecked());
        QCOMPARE(d->SizeLabel->text(), QString("0.0 MB used by 0 data sets"));
        // Saturday 8 January 2000 becomes Friday the 7th; after the last market date, that date.
        d->MarketDateEdit->SetDate(hostdb::EncodeDate(2000, 1, 8));
        emit d->MarketDateEdit->dateChanged();
        QCOMPARE(d->MarketDateEdit->GetDate(), hostdb::EncodeDate(2000, 1, 7));
        d->MarketDateEdit->SetDate(hostdb::EncodeDate(2026, 12, 31));
        emit d->MarketDateEdit->dateChanged();
        QCOMPARE(d->MarketDateEdit->GetDate(), hostdb::EncodeDate(2026, 12, 4));
        // A new set for 3 December with a 5-day average, generated in its window.
        d->MarketDateEdit->SetDate(hostdb::EncodeDate(2026, 12, 3));
        emit d->MarketDateEdit->dateChanged();
        d->VolMoveAve->SetValue(5);
        d->OKClick();
        QVERIFY(!d->isVisible());
        QVERIFY(fs::exists(s.programDir / "26120305.vds"));
        QCOMPARE(w.LastDataFile, std::string("26120305.vds"));
        QCOMPARE(w.MoveAveLength, 5);
        QVERIFY(w.IsEnabled(ScreenerWindow::CmdFilter));
        QVERIFY(w.DataSetPanel->text().contains("5-day"));

        // The same date and length again, answered No: the dialog stays, the set is current.
        d->show();
        d->GenerateNewButton->click();
        d->MarketDateEdit->SetDate(hostdb::EncodeDate(2026, 12, 3));
        emit d->MarketDateEdit->dateChanged();
        uitest::Recorder boxes;
        boxes.answers = {QMessageBox::No};
        const auto before = fs::last_write_time(s.programDir / "26120305.vds");
        d->OKClick();
        QVERIFY(d->isVisible());
        QCOMPARE(boxes.messages.size(), size_t(1));
        QCOMPARE(boxes.messages[0].text,
                 QString("This data set already exists. Generate it again?"));
        QCOMPARE(w.LastDataFile, std::string("26120305.vds"));
        QCOMPARE(fs::last_write_time(s.programDir / "26120305.vds"), before);

        // A length typed outside 1 to 99 is the limit it passed, in the box and in the name.
        d->VolMoveAve->setText("0");
        d->OKClick();
        QCOMPARE(d->VolMoveAve->text(), QString("1"));
        QVERIFY(fs::exists(s.programDir / "26120301.vds"));
        QVERIFY(!fs::exists(s.programDir / "26120300.vds"));
        QCOMPARE(w.MoveAveLength, 1);
    }

    void hostNotFound() {
        MainSetup s = Setup();
        s.env.dirs.SetWindowsDirectory(host_.tmp / "nowhere" / "drive_c" / "windows");
        WriteOwn("MoveAveLength=33\r\n");
        const std::string before = testutil::ReadFile(host_.tmp / "config" / "OstravlR.Ini");
        {
            ScreenerWindow w(s);
            QVERIFY(!w.HostFound());
            QCOMPARE(QString::fromStdString(w.HostError()), QString("Zolt can't find QEL files"));
            QVERIFY(w.HostReason().find("Qel32.Ini") != std::string::npos);
            QCOMPARE(w.MoveAveLength, 10); // its own settings were not read
            w.close();
        }
        QCOMPARE(testutil::ReadFile(host_.tmp / "config" / "OstravlR.Ini"), before);
    }
};

QTEST_MAIN(ScreenerWindowTest)
#include "ScreenerWindowTest.moc"
