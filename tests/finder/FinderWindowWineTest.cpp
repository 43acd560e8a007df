// Zimra's window finding with expert ratings from the host stand-in under Wine on an X server:
// the rows its ratings file predicts, and the chart settings file as it was, also after Stop.
#include "finder/app/FinderWindow.h"
#include "hostlink/BridgeLink.h"
#include "hostlink/ChartLink.h"
#include "support/MadeHost.h"

#include <QFrame>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cstdlib>

using namespace zimra;
namespace fs = std::filesystem;

namespace {

const fs::path Prefix = ZOLT_TEST_WINEPREFIX;
const fs::path Qel = Prefix / "drive_c" / "QEL";
const fs::path WindowsDir = Prefix / "drive_c" / "windows";
const std::string UserChartIni = "[PROCHARTS]\r\nindicators=7,\r\nzoom=3\r\n";

std::string Day(int d) { return "2026-12-0" + std::to_string(d); }

} // namespace

class FinderWindowWineTest : public QObject {
    Q_OBJECT

    const testutil::MadeHost host_{{.now = hostdb::EncodeDateTime(2026, 12, 7, 18, 0),
                                    .seed = 11,
                                    .root = Prefix,
                                    .standin = fs::path(ZOLT_STANDIN_DIR) / "win64"}};
    std::shared_ptr<hostlink::BridgeLink> link_;

    MainSetup Setup() {
        MainSetup s = host_.Places<MainSetup>();
        s.link = link_;
        return s;
    }

    static finder::FinderSettings Settings(int prevChoice, int prevDays) {
        finder::FinderSettings s;
        s.MarketDate = hostdb::MarketCalendar::DateToDay(hostdb::EncodeDate(2026, 12, 4));
        s.MarketAction = 3; // closed below the 100-day line
        s.MarketLine = 11;
        s.DoPrevAction = false;
        s.PrevChoice = prevChoice;
        s.PrevDays = prevDays;
        s.PrevUp = true;
        s.PrevUpMin = 60;
        s.PrevUpMax = 100;
        return s;
    }

    static QStringList Rows(const FinderWindow& w) {
        QStringList rows;
        const finder::FinderState& st = w.State();
        for (int r = st.FirstResultRow; r <= st.LastResultRow; ++r)
            rows << QString::fromStdString(w.Grid().Text(0, r)).trimmed() + " " +
                        QString::fromStdString(w.Grid().Text(1, r)).trimmed() + " " +
                        QString::fromStdString(w.Grid().Text(4, r)).trimmed();
        return rows;
    }

private slots:
    void initTestCase() {
        testutil::WriteFile(Qel / "standin.ini", "");
        link_ = std::make_shared<hostlink::BridgeLink>(
            hostlink::BridgeSetup{ZOLT_BRIDGE_DIR, Prefix, Qel / "qelio32.dll", ""});
        link_->CloseWindows(hostlink::ChartWindowTitle);
    }

    void cleanupTestCase() {
        link_.reset();
        (void)std::system(("WINEPREFIX='" + Prefix.string() + "' wineserver -k").c_str());
    }

    // Rated on the market date, on the trading day before, too low, and too far back.
    void findListsWhatTheRatingsPredict() {
        FinderWindow w(Setup());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.RunFind(Settings(2, 2)); // no ratings asked: the candidates
        QStringList candidates;
        for (const QString& row : Rows(w)) candidates << row.section(' ', -1);
        QVERIFY(candidates.size() >= 3);
        testutil::WriteFile(Qel / "ratings.txt",
                            candidates[0].toStdString() + " " + Day(4) + " 85 15\r\n" +
                                candidates[1].toStdString() + " " + Day(3) + " 70 30\r\n" +
                                candidates[2].toStdString() + " " + Day(4) + " 59 41\r\n" +
                                candidates[2].toStdString() + " " + Day(1) + " 90 10\r\n");
        testutil::WriteFile(WindowsDir / "QelChart.Ini", UserChartIni);
        w.RunFind(Settings(0, 2));
        QStringList rows = Rows(w);
        rows.sort();
        QCOMPARE(rows, QStringList({"0 85-15 " + candidates[0], "1 70-30 " + candidates[1]}));
        QCOMPARE(testutil::ReadFile(WindowsDir / "QelChart.Ini"), UserChartIni);
        QCOMPARE(link_->FindWindow(hostlink::ChartWindowTitle), hostlink::WindowId(0));
        QVERIFY(w.TitlePanel->isHidden()); // ratings were read: nothing to explain
    }

    void stopInTheMiddle() {
        FinderWindow w(Setup());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        testutil::WriteFile(WindowsDir / "QelChart.Ini", UserChartIni);
        fs::remove(Qel / "standin.log");
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            if (testutil::ReadFile(Qel / "standin.log").find("request 1 ") == std::string::npos)
                return;
            watch.stop();
            QVERIFY(w.StopButton->isVisible());
            w.StopButton->click();
        });
        watch.start(20);
        w.RunFind(Settings(1, 9));
        QVERIFY(!watch.isActive());
        QVERIFY(w.State().stopped);
        QCOMPARE(testutil::ReadFile(WindowsDir / "QelChart.Ini"), UserChartIni);
        QCOMPARE(link_->FindWindow(hostlink::ChartWindowTitle), hostlink::WindowId(0));
        QVERIFY(w.FindButton->isVisible());
    }
};

QTEST_MAIN(FinderWindowWineTest)
#include "FinderWindowWineTest.moc"
