// Zimra's main window on a made host: start-up and menus, a find in the window against the
// command line's, sorting by header clicks, and expert ratings when the chart cannot give them.
#include "finder/app/FinderWindow.h"

#include "finder/engine/IndicatorLines.h"
#include "platform/Text.h"
#include "support/GridText.h"
#include "support/NullHostLink.h"
#include "support/ZoltRunner.h"
#include "ui/NamedFileDialogs.h"
#include "ui/UiTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

using namespace zimra;
namespace fs = std::filesystem;

namespace {

const hostdb::DateTimeValue Now = hostdb::EncodeDateTime(2026, 12, 7, 18, 0);

// A chart program that is there but has no MDI client, and records what it is asked.
struct ChartWithoutClient final : testutil::NullHostLink {
    std::vector<std::string> log;
    bool Post(const std::string&, int code, const std::string& text) override {
        log.push_back("post " + std::to_string(code) + " " + text);
        return true;
    }
    void Move(hostlink::WindowId, const hostlink::Rect&) override { log.push_back("move"); }
    void CloseWindows(const std::string&) override { log.push_back("close"); }
};

} // namespace

class FinderWindowTest : public QObject {
    Q_OBJECT

    testutil::MadeHost host_{{.now = Now}};

    MainSetup Setup(std::shared_ptr<hostlink::HostLink> link = nullptr) {
        MainSetup s = host_.Places<MainSetup>();
        s.link = std::move(link);
        return s;
    }

    static finder::FinderSettings ClosedBelow() {
        finder::FinderSettings s;
        s.MarketDate = hostdb::MarketCalendar::DateToDay(hostdb::EncodeDate(2026, 12, 4));
        s.MarketAction = 3;
        s.MarketLine = 11;
        return s;
    }

private slots:
    void startUpAndMenus() {
        FinderWindow w(Setup());
        QVERIFY(w.HostFound());
        QCOMPARE(w.windowTitle(), QString("ZimRA"));
        QVERIFY(!w.Find1->isEnabled());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.Find1->isEnabled() && w.FindButton->isEnabled());
        for (QAction* a : {w.Print1, w.BuildTagList1, w.GotoCharts1}) QVERIFY(!a->isEnabled());
        QVERIFY(!w.Stop1->isVisible());
        QVERIFY(w.StopButton->isHidden());
        QVERIFY(w.StringGrid1->isHidden());
        QCOMPARE(w.Title2->text(), QString("Last Market Date is Monday, December 7, 2026"));
        QStringList file, help;
        for (QAction* a : w.File1->actions()) file << (a->isSeparator() ? "-" : a->text());
        for (QAction* a : w.Help1->actions()) help << (a->isSeparator() ? "-" : a->text());
        QCOMPARE(file, QStringList({"&Find...", "-", "&Print...", "&Build TagList...",
                                    "Go to &Charts", "-", "E&xit"}));
        QCOMPARE(help, QStringList({"&Contents", "&Topic Search", "&How to use Help", "-",
                                    "&About  ZimRA"}));
        QCOMPARE(w.ChartsButton->toolTip(), QString("Build a TagList and\nGo to Charts"));
        // The default width is the rule's limit.
        w.resize(w.DefaultWidth + 80, w.height());
        QCOMPARE(w.width(), w.DefaultWidth);
    }

    void findInTheWindowAndSorting() {
        FinderWindow w(Setup());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const finder::FinderSettings s = ClosedBelow();
        w.RunFind(s);
        QVERIFY(!w.Running());
        QVERIFY(!w.StringGrid1->isHidden());
        QVERIFY(w.FindButton->isVisible() && w.StopButton->isHidden());
        const finder::FinderState& st = w.State();
        QVERIFY(st.listed >= 3);
        QVERIFY(w.Print1->isEnabled() && w.ChartsButton->isEnabled());
        // Cell for cell what `zolt find --format grid` prints.
        finder::SaveFinderSettings(s, host_.program, "BELOW");
        const std::string out =
            testutil::Zolt(host_, {"find", "--settings", "BELOW", "--format", "grid"});
        QCOMPARE(QString::fromStdString(testutil::GridText(w.Grid(), st.EndRow - 1)),
                 QString::fromStdString(out));

        auto tickers = [&] {
            QStringList v;
            for (int r = st.FirstResultRow; r <= st.LastResultRow; ++r)
                v << QString::fromStdString(w.Grid().Text(4, r)).trimmed();
            return v;
        };
        auto click = [&](Qt::MouseButton b, Qt::KeyboardModifiers m = {}) {
            QTest::mouseClick(w.StringGrid1->viewport(), b, m,
                              w.StringGrid1->CellRect(4, 2).center());
        };
        const QStringList before = tickers();
        click(Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(tickers(), before);
        click(Qt::LeftButton);
        QStringList sorted = before;
        std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
        QCOMPARE(tickers(), sorted);
        QVERIFY(w.Grid().Format(4, 2)->Style & grid::StyleBold);
        click(Qt::RightButton);
        std::reverse(sorted.begin(), sorted.end());
        QCOMPARE(tickers(), sorted);
        QVERIFY(w.TitlePanel->isHidden());
    }

    void keyboardWalkCopyAndChart() {
        auto link = std::make_shared<ChartWithoutClient>();
        FinderWindow w(Setup(link));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.RunFind(ClosedBelow());
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const finder::FinderState& st = w.State();
        const grid::GridRect& sel = w.Grid().Selection;
        // The find leaves the selection below the results, the first of them in view; the walk
        // starts at the first.
        QVERIFY(sel.top > st.LastResultRow);
        QVERIFY(w.StringGrid1->verticalScrollBar()->value() == 0);
        QTest::keyClick(&w, Qt::Key_Down);
        QCOMPARE(sel.top, st.FirstResultRow);
        QTest::keyClick(&w, Qt::Key_Up);
        QCOMPARE(sel.top, st.FirstResultRow); // not above the results
        QTest::keyClick(&w, Qt::Key_Down);
        QCOMPARE(sel.top, st.FirstResultRow + 1);
        QTest::keyClick(&w, Qt::Key_Return);
        QCOMPARE(QString::fromStdString(link->log.back()),
                 "post 1 " + QString::fromStdString(w.Grid().Text(4, sel.top)).trimmed());
        QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = QGuiApplication::clipboard()->text().split('\n');
        QCOMPARE(lines.size(), st.EndRow + 1);
        QCOMPARE(lines[2], QString("\t\tthe line\t\tTicker\tName"));
    }

    // Our own chart follows the walk and the sorts and draws the find's line, whose values on
    // the market date and the day before put the row's cross where the row says it is.
    void ownChartWithTheFindsLine() {
        FinderWindow w(Setup());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        finder::FinderSettings s = ClosedBelow();
        s.MarketAction = 2; // crossed below
        s.MarketLine = 9;   // 21d ST MA
        s.DoPrevAction = true;
        s.PrevActLine = 0;
        s.PrevActSpentDays = 1;
        s.PrevActOutOfDays = 1;
        w.RunFind(s);
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const finder::FinderState& st = w.State();
        QVERIFY(st.listed >= 2);
        const grid::GridRect& sel = w.Grid().Selection;
        auto symbol = [&] { return std::string(platform::Trim(w.Grid().Text(4, sel.top))); };
        QTest::keyClick(&w, Qt::Key_Space); // below the results: nothing to chart
        QVERIFY(!w.Chart());
        QTest::keyClick(&w, Qt::Key_Down);
        QTest::keyClick(&w, Qt::Key_Space);
        QVERIFY(w.Chart() && w.Chart()->isVisible());
        ui::ChartView* view = w.Chart()->View();
        QCOMPARE(view->Content().history.symbol, symbol());
        QTest::keyClick(&w, Qt::Key_Down);
        QCOMPARE(view->Content().history.symbol, symbol());

        // Two lines, the market line first; at the market bar the close crossed below it.
        const ui::ChartContent& c = view->Content();
        QCOMPARE(c.lines.size(), size_t(2));
        QCOMPARE(c.lines[0].name, QString("21d ST MA"));
        QCOMPARE(c.lines[1].name, QString("Upper Boll. Band"));
        const int m = view->MarketBar();
        QCOMPARE(c.history.bars[static_cast<size_t>(m)].day, s.MarketDate);
        const auto& bars = c.history.bars;
        const std::vector<float>& ma = c.lines[0].values;
        QVERIFY(bars[static_cast<size_t>(m)].close < ma[static_cast<size_t>(m)]);
        int before = m - 1; // the day before with a close
        while (bars[static_cast<size_t>(before)].close == 0) --before;
        QVERIFY(bars[static_cast<size_t>(before)].close > ma[static_cast<size_t>(before)]);
        // The line on the market date is the find engine's.
        hostdb::TickerFile t;
        t.SetFileName(c.history.file.string());
        finder::LineRings rings;
        finder::ComputeLines(t, s.MarketDate, 9, -1, rings);
        QCOMPARE(ma[static_cast<size_t>(m)], rings.Line(9, 0));

        // The wheel zooms around the pointer, a drag pans, Home brings the six months back, and
        // the crosshair's day is told in the status line.
        const int shown = view->LastShown() - view->FirstShown() + 1;
        const QPoint middle(view->width() / 2, view->height() / 3);
        const int under = view->BarAtX(middle.x());
        QWheelEvent in(middle, view->mapToGlobal(middle), {}, {0, 240}, Qt::NoButton, {},
                       Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &in);
        QVERIFY(view->LastShown() - view->FirstShown() + 1 < shown);
        QVERIFY(std::abs(view->BarAtX(middle.x()) - under) <= 1);
        const int first = view->FirstShown();
        QTest::mousePress(view, Qt::LeftButton, {}, middle);
        QTest::mouseMove(view, middle + QPoint(150, 0));
        QTest::mouseRelease(view, Qt::LeftButton, {}, middle + QPoint(150, 0));
        QVERIFY(view->FirstShown() < first); // dragged right: earlier days
        QVERIFY(w.Chart()->StatusText().contains("Open "));
        QVERIFY(w.Chart()->StatusText().contains("Volume "));
        QTest::keyClick(view, Qt::Key_Home);
        QCOMPARE(view->LastShown(), m);
        QCOMPARE(view->LastShown() - view->FirstShown() + 1, shown);

        w.SortColumn(finder::ColTicker, true);
        QCOMPARE(view->Content().history.symbol, symbol());
        // A left click on a result row highlights it while the chart is open.
        QTest::mouseClick(w.StringGrid1->viewport(), Qt::LeftButton, {},
                          w.StringGrid1->CellRect(4, st.FirstResultRow).center());
        QCOMPARE(sel.top, st.FirstResultRow);
        QCOMPARE(view->Content().history.symbol, symbol());
        QTest::keyClick(w.Chart(), Qt::Key_Escape);
        QVERIFY(!w.Chart()->isVisible());
    }

    void reportTagListAndCharts() {
        auto link = std::make_shared<ChartWithoutClient>();
        FinderWindow w(Setup(link));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.RunFind(ClosedBelow());
        // The report: its title lines, the description on page 1, the rows.
        const QString pdf = QString::fromStdString((host_.tmp / "zimra.pdf").string());
        w.Printer().setOutputFormat(QPrinter::PdfFormat);
        w.Printer().setOutputFileName(pdf);
        uitest::WhenModal<QPrintDialog>([](QPrintDialog* d) { d->accept(); });
        w.PrintButton->click();
        QProcess text;
        text.start("pdftotext", {"-layout", pdf, "-"});
        QVERIFY(text.waitForFinished(60000));
        const QString page = QString::fromUtf8(text.readAllStandardOutput()).section('\f', 0, 0);
        QVERIFY(page.contains("ZimRA Results"));
        QVERIFY(page.contains("Report of tickers that closed below their"));
        QVERIFY(page.contains("Page 1"));
        QVERIFY(!page.contains("Printed for"));
        QVERIFY(page.contains(
            QString::fromStdString(w.Grid().Text(4, w.State().FirstResultRow)).trimmed()));

        // Go to Charts asks for a name first, then opens the list on its first ticker.
        int asked = 0;
        uitest::WhenModal<ui::SaveNamedFileDialog>([&](ui::SaveNamedFileDialog* d) {
            ++asked;
            QCOMPARE(d->windowTitle(), QString("ZimRA TagList Name"));
            QCOMPARE(d->SaveNameEdit->text(), QString("ZIMRA"));
            d->OKBtn->click();
        });
        w.ChartsButton->click();
        QCOMPARE(asked, 1);
        QVERIFY(fs::exists(host_.windows.parent_path() / "QEL" / "ZIMRA.LIS"));
        QCOMPARE(QString::fromStdString(link->log[link->log.size() - 2]), QString("post 6 ZIMRA"));
        QCOMPARE(QString::fromStdString(link->log.back()),
                 "post 1 " + QString::fromStdString(w.TagListFirstTicker));
        // A new find forgets the list.
        w.RunFind(ClosedBelow());
        QVERIFY(w.TagListName.empty());
    }

    // Result rows with the day numbers, ratings and results the sort must order, sorted by clicks.
    void sortCasesThroughTheWidget() {
        FinderWindow w(Setup());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const finder::FinderFormats& f = w.Formats();
        auto make = [&](int rows) {
            grid::CellGrid g(finder::FinderColumns, 3 + rows + 2, 0, 3);
            for (int r = 0; r < g.RowCount(); ++r)
                for (int c = 0; c < finder::FinderColumns; ++c) g.Set(c, r, " ", &f.PlainLeft);
            const char* heads[] = {"day #", "ER", "the line", " ", " Ticker", " Name"};
            for (int c = 0; c < finder::FinderColumns; ++c) g.Set(c, 2, heads[c], &f.Centred);
            return g;
        };
        grid::CellGrid g = make(3);
        const char* day[] = {"0", "2", "0"};
        const char* er[] = {"90-10", "20-80", "95-5"};
        const char* result[] = {"12.3%   ", " ", "-4.0%   "};
        for (int i = 0; i < 3; ++i) {
            g.Set(0, 3 + i, day[i], &f.Centred);
            g.Set(1, 3 + i, er[i], &f.Dash);
            g.Set(3, 3 + i, result[i], &f.Right);
            g.Set(4, 3 + i, std::string(1, char('A' + i)), &f.PlainLeft);
        }
        finder::FinderState st;
        st.FirstResultRow = 3, st.LastResultRow = 5, st.EndRow = 7, st.listed = 3;
        w.ShowResults(g, st);
        auto column = [&](int c) {
            QStringList v;
            for (int r = 3; r <= 5; ++r) v << QString::fromStdString(w.Grid().Text(c, r));
            return v;
        };
        auto click = [&](int col, Qt::MouseButton b) {
            QTest::mouseClick(w.StringGrid1->viewport(), b, {},
                              w.StringGrid1->CellRect(col, 2).center());
        };
        click(0, Qt::RightButton); // descending by day #: the row with 2 first
        QCOMPARE(column(0).first(), QString("2"));
        click(1, Qt::RightButton); // 95-5 above 90-10 above 20-80
        QCOMPARE(column(1), QStringList({"95-5", "90-10", "20-80"}));
        QVERIFY(w.Grid().Format(1, 2)->Style & grid::StyleBold);
        QVERIFY(!(w.Grid().Format(0, 2)->Style & grid::StyleBold));
        click(3, Qt::LeftButton); // a blank result cell is the lowest, 12.3% is 12.3
        QCOMPARE(column(3), QStringList({" ", "-4.0%   ", "12.3%   "}));

        // Over 2,500 rows a numeric column is not sorted; the ticker column is.
        grid::CellGrid big = make(2501);
        finder::FinderState many;
        many.FirstResultRow = 3, many.LastResultRow = 3 + 2500, many.EndRow = 3 + 2502;
        many.listed = 2501;
        w.ShowResults(big, many);
        QString title, text;
        uitest::WhenModal<QMessageBox>([&](QMessageBox* m) {
            title = m->windowTitle();
            text = m->text();
            m->accept();
        });
        click(2, Qt::LeftButton);
        QCOMPARE(title, QString("Too many items"));
        QVERIFY(text.startsWith("Sorry, but there are more items than can be sorted"));
        QVERIFY(!w.StringGrid1->isHidden());
    }

    void savedMinimisedStartsNormal() {
        testutil::WriteFile(host_.tmp / "config" / "OstravlR.Ini", "[ZimRA]\r\nState=1\r\n");
        FinderWindow w(Setup());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!w.isMinimized());
        fs::remove(host_.tmp / "config" / "OstravlR.Ini");
    }

    void ratingsWithoutTheHostLink() {
        struct NoWine final : testutil::NullHostLink {
            hostlink::Rect Screen() override { return {}; }
            std::string Problem() const override {
                return "Wine is not installed (no wine on the PATH)";
            }
        };
        auto link = std::make_shared<NoWine>();
        FinderWindow w(Setup(link));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QRect before = w.geometry();
        finder::FinderSettings s = ClosedBelow();
        s.PrevChoice = 1; // listed either way, without a rating
        s.PrevUp = true;
        w.RunFind(s);
        QVERIFY(w.State().listed > 0);
        QVERIFY(!w.TitlePanel->isHidden());
        QCOMPARE(w.Title2->text(),
                 QString("the host's screen is unknown (Wine is not installed (no "
                         "wine on the PATH))"));
        QCOMPARE(w.geometry(), before); // never moved
        QCOMPARE(link->asked, 0);       // and no other window driven
    }

    void aSlowHostIsToldAndStopEndsTheWait() {
        // The link's first request waits in slices, as the bridge does while Wine starts.
        struct SlowStart final : testutil::NullHostLink {
            hostlink::WaitHook hook;
            std::function<void(double)> atSlice;
            double gaveUpAt = -1;
            void SetWaitHook(hostlink::WaitHook h) override { hook = std::move(h); }
            hostlink::Rect Screen() override {
                for (double s = 0; s < 60; s += 0.1) {
                    if (!hook("starting the host link under Wine", s))
                        return gaveUpAt = s, hostlink::Rect{};
                    if (atSlice) atSlice(s);
                }
                return {0, 0, 1024, 768};
            }
        };
        auto link = std::make_shared<SlowStart>();
        FinderWindow w(Setup(link));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QString told;
        link->atSlice = [&](double s) {
            if (s > 2.05 && told.isEmpty())
                told = w.TitlePanel->isVisible() ? w.Title1->text() : "-";
            if (s > 2.65 && w.StopButton->isVisible())
                QTest::mouseClick(w.StopButton, Qt::LeftButton);
        };
        finder::FinderSettings s = ClosedBelow();
        s.PrevChoice = 0;
        s.PrevUp = true;
        w.RunFind(s);
        QCOMPARE(told, QString("starting the host link under Wine..."));
        QVERIFY2(link->gaveUpAt > 2.6 && link->gaveUpAt < 2.85, QByteArray::number(link->gaveUpAt));
    }

    void ratingsWithoutAChartClient() {
        auto link = std::make_shared<ChartWithoutClient>();
        FinderWindow w(Setup(link));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QRect before = w.geometry();
        finder::FinderSettings s = ClosedBelow();
        s.PrevChoice = 0; // required
        s.PrevUp = true;
        w.RunFind(s);
        QCOMPARE(w.State().listed, 0); // no rating can be read, so none meets the test
        QVERIFY(!w.TitlePanel->isHidden());
        QCOMPARE(w.Title2->text(), QString("the chart window has no MDI client"));
        QCOMPARE(w.geometry(), before); // moved out of the chart's way and back
        QVERIFY(!link->log.empty());
        QCOMPARE(link->log.back(), std::string("close"));
    }
};

QTEST_MAIN(FinderWindowTest)
#include "FinderWindowTest.moc"
