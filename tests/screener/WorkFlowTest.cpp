// The screener's whole work flow by its buttons on a made host: Get Data generates a new set,
// Filter runs chosen settings, Build TagList writes the list; each compared with the command
// line's output for the same set, settings and tickers.
#include "screener/app/DataSetChooser.h"
#include "screener/app/FilterDialog.h"
#include "screener/app/ScreenerWindow.h"
#include "support/ZoltRunner.h"
#include "ui/DateEdit.h"
#include "ui/NamedFileDialogs.h"
#include "ui/NumericEdits.h"
#include "ui/UiTestSupport.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace zoltw;
namespace fs = std::filesystem;

class WorkFlowTest : public QObject {
    Q_OBJECT

    testutil::MadeHost host_{{.tickers = 60}};

    std::string Zolt(const std::vector<std::string>& args) { return testutil::Zolt(host_, args); }

private slots:
    void theWholeWorkFlow() {
        ScreenerWindow w(host_.Places<MainSetup>());
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
        screener::SaveSettings(taken, host_.program, "TAKEN", platform::Locale::Posix());
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
        const fs::path qel = host_.windows.parent_path() / "QEL";
        QVERIFY(fs::exists(qel / "FLOW.LIS"));
        testutil::WriteFile(host_.tmp / "tickers.txt",
                            Zolt({"filter", "--dataset", "26120305.vds", "--settings", "TAKEN",
                                  "--format", "tickers"}));
        fs::create_directories(host_.tmp / "lists");
        Zolt({"taglist", "--name", "FLOW", "--dir", (host_.tmp / "lists").string(), "--from",
              (host_.tmp / "tickers.txt").string()});
        QVERIFY(testutil::ReadFile(qel / "FLOW.LIS") ==
                testutil::ReadFile(host_.tmp / "lists" / "FLOW.LIS"));
    }
};

QTEST_MAIN(WorkFlowTest)
#include "WorkFlowTest.moc"
