// The screener's whole work flow by its buttons on a made host: Get Data generates a new set,
// Filter runs chosen settings, Build TagList writes the list; each compared with the command
// line's output for the same set, settings and tickers.
#include "TestUtil.h"
#include "cli/Zolt.h"
#include "screener/app/DataSetChooser.h"
#include "screener/app/FilterDialog.h"
#include "screener/app/ScreenerWindow.h"
#include "tools/make-host/HostWriter.h"
#include "ui/DateEdit.h"
#include "ui/NumericEdits.h"
#include "ui/NamedFileDialogs.h"
#include "ui/UiTestSupport.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <sstream>

using namespace zoltw;
namespace fs = std::filesystem;

class WorkFlowTest : public QObject {
    Q_OBJECT

    testutil::TempDir tmp_;
    fs::path windows_;
    const hostdb::DateTimeValue now_ = hostdb::EncodeDateTime(2026, 12, 7, 12, 0);

    std::string Zolt(std::vector<std::string> args) {
        std::vector<std::string> all = {"--windows-dir", windows_.string(), "--program-dir",
                                        (tmp_ / "prog").string()};
        all.insert(all.end(), args.begin(), args.end());
        std::ostringstream out, err;
        const int status = cli::RunZolt(all, {}, platform::Locale::Posix(), now_, out, err);
        if (status != 0) qWarning("%s", err.str().c_str());
        return out.str();
    }

private slots:
    void theWholeWorkFlow() {
        hostgen::Options o;
        o.root = tmp_ / "host";
        o.tickers = 60;
        o.years = 2;
        o.end = {2026, 12, 4};
        windows_ = hostgen::MakeHost(o).windowsDirectory;
        fs::create_directories(tmp_ / "prog");
        MainSetup s;
        s.env.dirs.SetWindowsDirectory(windows_);
        s.env.dirs.settings = tmp_ / "config";
        s.env.locale = platform::Locale::Posix();
        s.env.now = now_;
        s.programDir = tmp_ / "prog";
        s.ownSettings = tmp_ / "config" / "OstravlR.Ini";
        ScreenerWindow w(s);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        // Get Data: a new set for Thursday 3 December with a 5-day average.
        uitest::WhenModal<DataSetChooser>([](DataSetChooser* d) {
            QTest::mouseClick(d->GenerateNewButton, Qt::LeftButton);
            d->MarketDateEdit->SetDate(hostdb::EncodeDate(2026, 12, 3));
            emit d->MarketDateEdit->dateChanged();
            d->VolMoveAve->SetValue(5);
            QTest::mouseClick(d->OKBtn, Qt::LeftButton);
        });
        QTest::mouseClick(w.Button[ScreenerWindow::CmdGetData], Qt::LeftButton);
        QCOMPARE(w.LastDataFile, std::string("26120305.vds"));
        QVERIFY(w.IsEnabled(ScreenerWindow::CmdFilter));

        // Filter: the All page without minimums.
        screener::FilterSettings taken;
        uitest::WhenModal<FilterDialog>([&](FilterDialog* d) {
            d->FilterPages->setCurrentIndex(screener::PageAll);
            d->MinCloseEdit->setText("0.00");
            d->MinVolumeEdit->SetValue(0);
            QTest::mouseClick(d->DoItButton, Qt::LeftButton);
        });
        QTest::mouseClick(w.Button[ScreenerWindow::CmdFilter], Qt::LeftButton);
        taken = w.GetFilterDialog()->Record;
        QCOMPARE(taken.Page, int(screener::PageAll));
        QVERIFY(w.Results().LastResultRow > w.Results().FirstResultRow + 5);
        screener::SaveSettings(taken, tmp_ / "prog", "TAKEN", platform::Locale::Posix());
        std::string grid;
        for (int r = 0; r <= w.Results().PrintLastRow; ++r)
            for (int c = 0; c < w.Grid().ColCount(); ++c)
                grid += w.Grid().Text(c, r) + (c + 1 < w.Grid().ColCount() ? "\t" : "\n");
        QCOMPARE(QString::fromStdString(grid),
                 QString::fromStdString(Zolt({"filter", "--dataset", "26120305.vds", "--settings",
                                              "TAKEN", "--format", "grid"})));

        // Build TagList: the list the command line makes of the same tickers.
        uitest::WhenModal<ui::SaveNamedFileDialog>([](ui::SaveNamedFileDialog* d) {
            d->SaveNameEdit->setText("FLOW");
            QTest::mouseClick(d->OKBtn, Qt::LeftButton);
        });
        QTest::mouseClick(w.Button[ScreenerWindow::CmdBuildTagList], Qt::LeftButton);
        const fs::path qel = windows_.parent_path() / "QEL";
        QVERIFY(fs::exists(qel / "FLOW.LIS"));
        testutil::WriteFile(tmp_ / "tickers.txt",
                            Zolt({"filter", "--dataset", "26120305.vds", "--settings", "TAKEN",
                                  "--format", "tickers"}));
        fs::create_directories(tmp_ / "lists");
        Zolt({"taglist", "--name", "FLOW", "--dir", (tmp_ / "lists").string(), "--from",
              (tmp_ / "tickers.txt").string()});
        QVERIFY(testutil::ReadFile(qel / "FLOW.LIS") ==
                testutil::ReadFile(tmp_ / "lists" / "FLOW.LIS"));
    }
};

QTEST_MAIN(WorkFlowTest)
#include "WorkFlowTest.moc"
