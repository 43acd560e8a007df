// The generation and filtering windows: the data set the window writes against the command
// line's, Stop by button, Escape and the close box, a data set that cannot be written, and the
// filtering window's gauge and Stop.
#include "screener/app/WorkWindows.h"

#include "TestUtil.h"
#include "cli/Zolt.h"
#include "grid/view/PrintProgressDialog.h"
#include "tools/make-host/HostWriter.h"
#include "ui/UiTestSupport.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <sstream>

using namespace zoltw;
namespace fs = std::filesystem;

class WorkWindowsTest : public QObject {
    Q_OBJECT

    testutil::TempDir tmp_;
    hostdb::HostEnvironment env_;
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
        hostgen::Options o;
        o.root = tmp_ / "host";
        o.tickers = 40;
        o.years = 2;
        o.end = {2026, 12, 4};
        env_.dirs.SetWindowsDirectory(hostgen::MakeHost(o).windowsDirectory);
        env_.locale = platform::Locale::Posix();
        env_.now = hostdb::EncodeDateTime(2026, 12, 7, 12, 0);
        std::string error;
        QVERIFY(hostdb::DiscoverHost(hostdb::HostProgram::ZoltW, env_, host_, error));
        day_ = hostdb::MarketCalendar::DateToDay(hostdb::EncodeDate(2026, 12, 4));
    }

    void generationWritesWhatTheCommandLineWrites() {
        const fs::path out = tmp_ / "window" / "26120410.vds";
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

        fs::create_directories(tmp_ / "cli");
        std::ostringstream cout, cerr;
        QCOMPARE(cli::RunZolt({"--program-dir", (tmp_ / "cli").string(), "generate", "--date",
                               "2026-12-04", "--ma", "10"},
                              env_.dirs, env_.locale, env_.now, cout, cerr),
                 0);
        QVERIFY(testutil::ReadFile(out) == testutil::ReadFile(tmp_ / "cli" / "26120410.vds"));
    }

    void stopEscapeAndCloseBoxStopAfterTheirTicker() {
        const fs::path out = tmp_ / "stop.vds";
        auto stopAt = [](int at, std::function<void(GenerationWindow&)> how) {
            return [at, how](GenerationWindow& w, int n) {
                if (n == at) how(w);
            };
        };
        screener::GenerateResult r =
            Generate(out, stopAt(3, [](GenerationWindow& w) { w.StopButton->click(); }));
        QVERIFY(r.stopped);
        QCOMPARE(r.visited, 3);
        r = Generate(out,
                     stopAt(2, [](GenerationWindow& w) { QTest::keyClick(&w, Qt::Key_Escape); }));
        QCOMPARE(r.visited, 2);
        r = Generate(out, stopAt(4, [](GenerationWindow& w) { w.close(); }));
        QCOMPARE(r.visited, 4);
        // What was accepted among the first four is in the file.
        hostdb::MarketCalendar calendar(env_.locale);
        screener::GenerateInput first4 = Input(tmp_ / "four.vds");
        first4.tickerFiles.resize(4);
        screener::GenerateDataSet(first4, calendar);
        QVERIFY(testutil::ReadFile(out) == testutil::ReadFile(tmp_ / "four.vds"));
    }

    void aSetThatCannotBeWrittenIsReported() {
        testutil::WriteFile(tmp_ / "afile", "not a folder");
        uitest::Recorder boxes;
        hostdb::MarketCalendar calendar(env_.locale);
        GenerationWindow w(Input(tmp_ / "afile" / "26120410.vds"), calendar, nullptr);
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
