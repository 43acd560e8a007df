// The generation and filtering windows: the data set the window writes against the command
// line's, Stop by button, Escape and the close box, a data set that cannot be written, and the
// filtering window's gauge and Stop.
#include "screener/app/WorkWindows.h"

#include "grid/view/PrintProgressDialog.h"
#include "support/ZoltRunner.h"
#include "ui/UiTestSupport.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace zoltw;
namespace fs = std::filesystem;

class WorkWindowsTest : public QObject {
    Q_OBJECT

    testutil::MadeHost made_;
    hostdb::HostEnvironment env_ = made_.Places().env;
    hostdb::HostInstallation host_;
    int day_ = 0;

    screener::GenerateInput Input(const fs::path& out) {
        screener::GenerateInput in;
        in.marketDay = day_;
        in.moveAveLength = 10;
        in.outputPath = out;
        in.tickerFiles = host_.tickerFiles;
        return in;
    }

    // Runs the window; `atTicker` is called with each ticker's count as it starts.
    screener::GenerateResult Generate(const fs::path& out,
                                      std::function<void(GenerationWindow&, int)> atTicker = {}) {
        hostdb::MarketCalendar calendar(env_.locale);
        screener::GenerateInput in = Input(out);
        GenerationWindow* self = nullptr;
        int n = 0;
        in.onTicker = [&](const std::string&, const std::string&) {
            if (atTicker) atTicker(*self, ++n);
        };
        GenerationWindow w(in, calendar, nullptr);
        self = &w;
        w.exec();
        return w.Result();
    }

private slots:
    void initTestCase() {
        std::string error;
        QVERIFY(hostdb::DiscoverHost(hostdb::HostProgram::ZoltW, env_, host_, error));
        day_ = hostdb::MarketCalendar::DateToDay(hostdb::EncodeDate(2026, 12, 4));
    }

    void generationWritesWhatTheCommandLineWrites() {
        const fs::path out = made_.tmp / "window" / "26120410.vds";
        fs::create_directories(out.parent_path());
        hostdb::MarketCalendar calendar(env_.locale);
        GenerationWindow w(Input(out), calendar, nullptr);
        QCOMPARE(w.windowTitle(), QString("Generating a new data set"));
        QVERIFY(!(w.windowFlags() & Qt::WindowCloseButtonHint));
        w.exec();
        QVERIFY(w.Result().written);
        QCOMPARE(w.Result().visited, int(host_.tickerFiles.size()));
        QCOMPARE(w.GenerateGauge->value(), int(host_.tickerFiles.size()));
        QVERIFY(w.TickerCode->text() != " ");
        QVERIFY(!w.isVisible());

        fs::create_directories(made_.tmp / "cli");
        QCOMPARE(testutil::RunZolt({"--program-dir", (made_.tmp / "cli").string(), "generate",
                                    "--date", "2026-12-04", "--ma", "10"},
                                   env_.now, env_.dirs)
                     .status,
                 0);
        QVERIFY(testutil::ReadFile(out) == testutil::ReadFile(made_.tmp / "cli" / "26120410.vds"));
    }

    void stopEscapeAndCloseBoxStopAfterTheirTicker() {
        const fs::path out = made_.tmp / "stop.vds";
        auto stopAt = [](int at, std::function<void(GenerationWindow&)> how) {
            return [at, how](GenerationWindow& w, int n) {
                if (n == at) how(w);
            };
        };
        screener::GenerateResult r = Generate(
            made_.tmp / "stop3.vds", stopAt(3, [](GenerationWindow& w) { w.StopButton->click(); }));
        QVERIFY(r.stopped);
        QCOMPARE(r.visited, 3);
        r = Generate(made_.tmp / "stop2.vds",
                     stopAt(2, [](GenerationWindow& w) { QTest::keyClick(&w, Qt::Key_Escape); }));
        QCOMPARE(r.visited, 2);
        r = Generate(out, stopAt(4, [](GenerationWindow& w) { w.close(); }));
        QCOMPARE(r.visited, 4);
        QVERIFY(r.written && !r.keptEarlier);

        // Generated again and stopped: the whole set stays, and the window says so until OK.
        const std::string partial = testutil::ReadFile(out);
        const fs::path again = made_.tmp / "again.vds";
        QVERIFY(Generate(again).written);
        const std::string whole = testutil::ReadFile(again);
        QString lastText;
        r = Generate(again, stopAt(3, [&](GenerationWindow& w) {
                         w.StopButton->click();
                         auto* poll = new QTimer(&w);
                         QObject::connect(poll, &QTimer::timeout, &w, [&w, poll, &lastText] {
                             if (w.StopButton->text() != "OK") return;
                             poll->stop();
                             lastText = w.TickerName->text();
                             w.StopButton->click();
                         });
                         poll->start(20);
                     }));
        QVERIFY(r.stopped && r.keptEarlier && !r.written);
        QCOMPARE(lastText, QString("Stopped; the earlier data set is kept"));
        QVERIFY(testutil::ReadFile(again) == whole);
        QVERIFY(whole.size() > partial.size());
        // What was accepted among the first four is in the file.
        hostdb::MarketCalendar calendar(env_.locale);
        screener::GenerateInput first4 = Input(made_.tmp / "four.vds");
        first4.tickerFiles.resize(4);
        screener::GenerateDataSet(first4, calendar);
        QVERIFY(testutil::ReadFile(out) == testutil::ReadFile(made_.tmp / "four.vds"));
    }

    void aSetThatCannotBeWrittenIsReported() {
        testutil::WriteFile(made_.tmp / "afile", "not a folder");
        uitest::Recorder boxes;
        hostdb::MarketCalendar calendar(env_.locale);
        GenerationWindow w(Input(made_.tmp / "afile" / "26120410.vds"), calendar, nullptr);
        w.exec();
        QVERIFY(!w.Error().empty());
        QCOMPARE(boxes.messages.size(), size_t(1));
        QCOMPARE(boxes.messages[0].kind, ui::BoxKind::Error);
        QVERIFY(boxes.messages[0].text.contains("26120410.vds"));
        QVERIFY(!w.Result().written);
    }

    void filteringWindowGaugeAndStop() {
        QList<bool> answers;
        FilteringWindow* self = nullptr;
        FilteringWindow w(
            [&](const hostdb::Progress& progress) {
                for (int i = 1; i <= 10; ++i) {
                    if (i == 5) self->StopButton->click();
                    answers << progress(i, 10);
                    if (i == 4) QCOMPARE(self->FilterGauge->Progress(), 4);
                }
            },
            nullptr);
        self = &w;
        w.ProcessInterval = std::chrono::milliseconds(0); // every step painted
        QCOMPARE(w.windowTitle(), QString("Filtering..."));
        QCOMPARE(w.size(), QSize(205, 63));
        QCOMPARE(w.FilterGauge->size(), QSize(49, 49));
        QCOMPARE(w.exec(), int(QDialog::Accepted));
        QCOMPARE(answers,
                 (QList<bool>{true, true, true, true, false, false, false, false, false, false}));
        QCOMPARE(w.FilterGauge->MaxValue(), 10);
    }
};

QTEST_MAIN(WorkWindowsTest)
#include "WorkWindowsTest.moc"
