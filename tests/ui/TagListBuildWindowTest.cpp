// The tag-list build from a result grid through its windows: the question, the progress window
// and Stop, the list the engine would write, replacing, and failures that write nothing.
#include "ui/TagListBuildWindow.h"

#include "UiTestSupport.h"
#include "hostdb/TagListBuild.h"
#include "hostdb/TagListFile.h"
#include "support/TestUtil.h"
#include "ui/NamedFileDialogs.h"
#include "ui/WindowCentering.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

using namespace ui;
using testutil::TempDir;
using uitest::Recorder;
using uitest::WhenModal;

namespace {

// The two programs' arguments of the procedure.
constexpr TagListProgram ZoltTagList{1, "ZOLT", "ZOLT TagList Name", 1001};
constexpr TagListProgram ZimraTagList{4, "ZIMRA", "ZimRA TagList Name", 1001};

constexpr int FirstRow = 3; // under the three title rows

// A results grid whose ticker column holds cells, one a row from FirstRow.
grid::CellGrid MakeGrid(const std::vector<std::string>& cells, int column = 1) {
    grid::CellGrid g(11, FirstRow + static_cast<int>(cells.size()), 0, FirstRow);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const int row = FirstRow + static_cast<int>(i);
        g.SetText(column, row, cells[i]);
        g.SetText(column == 1 ? 4 : 1, row, "not a ticker");
    }
    return g;
}

int LastRow(const grid::CellGrid& g) { return g.RowCount() - 1; }

// The file the engine writes for these rows under this list name.
std::string EngineBytes(const grid::CellGrid& g, int column, int first, int last,
                        const std::string& name) {
    TempDir other;
    const auto path = other / (name + ".LIS");
    hostdb::BuildTagListFile(path.string(), first, last,
                             [&](int row) { return g.Text(column, row); });
    return testutil::ReadFile(path);
}

std::vector<std::string> FilesIn(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> Listed(const QListWidget* list) {
    std::vector<std::string> out;
    for (int i = 0; i < list->count(); ++i) out.push_back(list->item(i)->text().toStdString());
    return out;
}

// Answers the next name dialog with name (OK), or cancels it when name is empty.
QTimer* AnswerName(const QString& name) {
    return WhenModal<SaveNamedFileDialog>([name](SaveNamedFileDialog* d) {
        if (name.isEmpty()) {
            QTest::mouseClick(d->CancelBtn, Qt::LeftButton);
            return;
        }
        d->SaveNameEdit->setText(name);
        QTest::mouseClick(d->OKBtn, Qt::LeftButton);
    });
}

// Runs action once, when the gauge first reaches percent during a build.
QMetaObject::Connection AtPercent(int percent, std::function<void()> action) {
    auto done = std::make_shared<bool>(false);
    return QObject::connect(TagListBuildWindow::Instance()->ggeBuild, &QProgressBar::valueChanged,
                            [=](int value) {
                                if (*done || value != percent) return;
                                *done = true;
                                action();
                            });
}

std::vector<std::string> TenTickers() {
    return {"AA", "BB", "CC", "DD", "EE", "FF", "GG", "HH", "II", "JJ"};
}

std::vector<std::string> ManyTickers(int count) {
    std::vector<std::string> cells;
    for (int i = 0; i < count; ++i)
        cells.push_back(std::string(1, char('A' + i / 676)) + char('A' + i / 26 % 26) +
                        char('A' + i % 26));
    return cells;
}

} // namespace

class TagListBuildWindowTest : public QObject {
    Q_OBJECT

    QWidget* window_ = nullptr; // the results window the grid stands in

private slots:
    void initTestCase() {
        window_ = new QWidget;
        window_->setGeometry(100, 80, 640, 480);
        window_->show();
        QVERIFY(!TagListBuildWindow::Existing()); // nothing made before it is needed
    }

    void cleanupTestCase() {
        delete TagListBuildWindow::Existing();
        delete window_;
    }

    // --- the decisions, without windows

    void questionText() {
        QCOMPARE(AnotherListQuestion("MYLIST"),
                 QString("We've already built a list (named MYLIST) from these tickers. Do you "
                         "want to build another list?"));
    }

    void outcomes() {
        hostdb::TagListBuild build;
        build.added = 2;
        build.firstTicker = "AAA";
        TagListOutcome ok = OutcomeOfBuild("ZOLT", build, "");
        QVERIFY(ok.written);
        QVERIFY(ok.message.isEmpty());

        build.stopped = true; // a stopped list with tickers is a list
        QVERIFY(OutcomeOfBuild("ZOLT", build, "").written);

        TagListOutcome failed =
            OutcomeOfBuild("ZOLT", build, "cannot write the tag list /x/ZOLT.LIS: Disk full");
        QVERIFY(!failed.written);
        QCOMPARE(failed.kind, BoxKind::Error);
        QCOMPARE(failed.buttons, QMessageBox::StandardButtons(QMessageBox::Abort));
        QCOMPARE(failed.message, QString("The TagList ZOLT was not written: cannot write the tag "
                                         "list /x/ZOLT.LIS: Disk full"));

        hostdb::TagListBuild none;
        TagListOutcome empty = OutcomeOfBuild("ZOLT", none, "");
        QVERIFY(!empty.written);
        QVERIFY(empty.message.contains("hold no ticker"));
        none.stopped = true;
        QVERIFY(OutcomeOfBuild("ZOLT", none, "").message.contains("stopped before any ticker"));

        build.stopped = false;
        build.refused = {"VERYLONGTICKER", "OTHERLONGONE"};
        TagListOutcome partial = OutcomeOfBuild("ZOLT", build, "");
        QVERIFY(partial.written);
        QCOMPARE(partial.kind, BoxKind::Warning);
        QVERIFY(partial.message.endsWith("VERYLONGTICKER, OTHERLONGONE"));

        build.unprintable = 2;
        QVERIFY(OutcomeOfBuild("ZOLT", build, "")
                    .message.endsWith("OTHERLONGONE. 2 tickers were left out: a ticker holds no "
                                      "control characters."));
        build.refused.clear();
        QCOMPARE(OutcomeOfBuild("ZOLT", build, "").message,
                 QString("The TagList ZOLT was written. 2 tickers were left out: a ticker holds "
                         "no control characters."));
        none.stopped = false;
        none.unprintable = 1;
        const TagListOutcome nothing = OutcomeOfBuild("ZOLT", none, "");
        QVERIFY(!nothing.written);
        QCOMPARE(nothing.message, QString("The TagList ZOLT was not written: 1 ticker was left "
                                          "out: a ticker holds no control characters."));
    }

    // --- the progress window

    void progressWindowLayout() {
        TagListBuildWindow* f = TagListBuildWindow::Instance();
        QCOMPARE(TagListBuildWindow::Instance(), f); // one per program
        QVERIFY(f->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!f->isVisible());
        QCOMPARE(f->size(), QSize(237, 119));
        QCOMPARE(f->Panel1->geometry(), QRect(0, 0, 237, 119));
        QCOMPARE(f->Label1->text(), QString("Building TagList..."));
        QCOMPARE(f->Label1->pos(), QPoint(60, 8));
        QCOMPARE(f->Panel2->geometry(), QRect(16, 32, 204, 33));
        QCOMPARE(f->Panel2->Caption(), QString("Building TagList"));
        QCOMPARE(f->ggeBuild->parentWidget(), static_cast<QWidget*>(f->Panel2));
        QCOMPARE(f->ggeBuild->geometry(), QRect(2, 2, 200, 29)); // inside the bevel
        QCOMPARE(f->ggeBuild->minimum(), 0);
        QCOMPARE(f->ggeBuild->maximum(), 100);
        QCOMPARE(f->btnStop->text(), QString("Stop"));
        QCOMPARE(f->btnStop->geometry(), QRect(74, 81, 89, 29));
        QVERIFY(!f->btnStop->icon().isNull());
        QVERIFY(f->btnStop->isDefault());
        QCOMPARE(f->btnStop->focusPolicy(), Qt::NoFocus);

        // The gauge fills in red from the left, without a border.
        f->ggeBuild->setValue(50);
        QImage gauge = f->ggeBuild->grab().toImage();
        QCOMPARE(QColor(gauge.pixel(3, 14)), QColor(Qt::red));
        QCOMPARE(QColor(gauge.pixel(0, 0)), QColor(Qt::red));
        QVERIFY(QColor(gauge.pixel(196, 14)) != QColor(Qt::red));
    }

    void enterAndEscapePressStop() {
        TagListBuildWindow* f = TagListBuildWindow::Instance();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            f->Start(window_);
            QVERIFY(!f->StopPressed());
            QTest::keyClick(f, key);
            QVERIFY(f->StopPressed());
            QVERIFY(f->isVisible()); // the build, not the key, hides it
            f->Finish();
        }
        f->Start(window_);
        f->close(); // closing it mid-build means Stop
        QVERIFY(f->StopPressed());
        QVERIFY(f->isVisible());
        f->Finish();
        QVERIFY(!f->isVisible());
    }

    // --- building from a grid

    void buildsTheListTheEngineWould() {
        Recorder rec;
        TempDir host;
        {
            hostdb::TagListFile old; // written where it is named, when it is written
            old.AddTicker((host / "OLD.LIS").string(), "IBM", 0);
            old.Write();
        }
        testutil::WriteFile(host / "BAD.LIS", "no tag list here, just text of some length");
        testutil::WriteFile(host / "NOTE.TXT", "");
        const grid::CellGrid g = MakeGrid({"AAA; BBB;aaa", "", " ", "CCC;;DDD", "bbb", "EEE"});

        QString caption, shown;
        std::vector<std::string> listed;
        WhenModal<SaveNamedFileDialog>([&](SaveNamedFileDialog* d) {
            caption = d->windowTitle();
            shown = d->SaveNameEdit->text();
            listed = Listed(d->SaveNameList);
            QCOMPARE(d->DeleteButton->text(), QString("Delete a TagList"));
            QTest::mouseClick(d->HelpBtn, Qt::LeftButton);
            QTest::mouseClick(d->OKBtn, Qt::LeftButton);
        });
        bool visibleDuring = false;
        QPoint posDuring;
        auto c = AtPercent(50, [&] {
            visibleDuring = TagListBuildWindow::Instance()->isVisible();
            posDuring = TagListBuildWindow::Instance()->pos();
        });
        std::string name, first = "stale";
        QVERIFY(
            BuildTagList(g, window_, FirstRow, LastRow(g), ZoltTagList, host.Path(), name, first));
        QObject::disconnect(c);

        QCOMPARE(caption, QString("ZOLT TagList Name"));
        QCOMPARE(shown, QString("ZOLT"));                  // the default name
        QCOMPARE(listed, std::vector<std::string>{"OLD"}); // tag lists only
        QCOMPARE(rec.helpContexts, std::vector<int>{1001});
        QCOMPARE(name, std::string("ZOLT"));
        QCOMPARE(first, std::string("AAA"));
        QVERIFY(rec.messages.empty());
        QCOMPARE(testutil::ReadFile(host / "ZOLT.LIS"),
                 EngineBytes(g, 1, FirstRow, LastRow(g), "ZOLT"));
        QCOMPARE(hostdb::TickersOfRows(FirstRow, LastRow(g), [&](int r) { return g.Text(1, r); }),
                 (std::vector<std::string>{"AAA", "BBB", "CCC", "DDD", "EEE"}));
        QCOMPARE(FilesIn(host.Path()),
                 (std::vector<std::string>{"BAD.LIS", "NOTE.TXT", "OLD.LIS", "ZOLT.LIS"}));

        // Shown centred over the grid's window while it ran, hidden after, the gauge full.
        TagListBuildWindow* f = TagListBuildWindow::Instance();
        QVERIFY(visibleDuring);
        QCOMPARE(posDuring, CenteredPosition(f->frameGeometry().size(), window_->frameGeometry(),
                                             window_->screen()->geometry().size()));
        QVERIFY(!f->isVisible());
        QCOMPARE(f->ggeBuild->value(), 100);
    }

    void finderTakesItsColumnAndNames() {
        Recorder rec;
        TempDir host;
        const grid::CellGrid g = MakeGrid({"XYZ", "QRS"}, 4);
        QString caption, shown;
        WhenModal<SaveNamedFileDialog>([&](SaveNamedFileDialog* d) {
            caption = d->windowTitle();
            shown = d->SaveNameEdit->text();
            QTest::mouseClick(d->OKBtn, Qt::LeftButton);
        });
        std::string name, first;
        QVERIFY(
            BuildTagList(g, window_, FirstRow, LastRow(g), ZimraTagList, host.Path(), name, first));
        QCOMPARE(caption, QString("ZimRA TagList Name"));
        QCOMPARE(shown, QString("ZIMRA"));
        QCOMPARE(name, std::string("ZIMRA"));
        QCOMPARE(first, std::string("XYZ"));
        QCOMPARE(testutil::ReadFile(host / "ZIMRA.LIS"),
                 EngineBytes(g, 4, FirstRow, LastRow(g), "ZIMRA"));
    }

    void cancelledNameDialogBuildsNothing() {
        Recorder rec;
        TempDir host;
        const grid::CellGrid g = MakeGrid({"AAA"});
        TagListBuildWindow* f = TagListBuildWindow::Instance();
        f->ggeBuild->setValue(77);
        AnswerName("");
        std::string name, first = "KEPT";
        QVERIFY(
            !BuildTagList(g, window_, FirstRow, LastRow(g), ZoltTagList, host.Path(), name, first));
        QCOMPARE(name, std::string());
        QCOMPARE(first, std::string("KEPT"));
        QVERIFY(FilesIn(host.Path()).empty());
        QCOMPARE(f->ggeBuild->value(), 77); // the window was never started
        QVERIFY(rec.messages.empty());
    }

    void secondBuildAsksFirst() {
        Recorder rec;
        TempDir host;
        const grid::CellGrid g = MakeGrid({"AAA", "BBB"});
        std::string name = "ZOLT", first = "AAA";

        // No: nothing is asked for, nothing written or forgotten.
        rec.answers = {QMessageBox::No};
        QTimer* watch = AnswerName("NEVER");
        QVERIFY(
            !BuildTagList(g, window_, FirstRow, LastRow(g), ZoltTagList, host.Path(), name, first));
        QTest::qWait(30);
        QVERIFY(!FilesIn(host.Path()).size());
        delete watch; // it never found a dialog
        QCOMPARE(name, std::string("ZOLT"));
        QCOMPARE(first, std::string("AAA"));
        QCOMPARE(rec.messages.size(), size_t(1));
        QCOMPARE(rec.messages[0].kind, BoxKind::Confirmation);
        QCOMPARE(rec.messages[0].buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(rec.messages[0].text, AnotherListQuestion("ZOLT"));

        // Yes: the dialog offers the last name; another name makes another list.
        rec.answers = {QMessageBox::Yes};
        QString shown;
        WhenModal<SaveNamedFileDialog>([&](SaveNamedFileDialog* d) {
            shown = d->SaveNameEdit->text();
            d->SaveNameEdit->setText("SECOND");
            QTest::mouseClick(d->OKBtn, Qt::LeftButton);
        });
        QVERIFY(
            BuildTagList(g, window_, FirstRow, LastRow(g), ZoltTagList, host.Path(), name, first));
        QCOMPARE(shown, QString("ZOLT"));
        QCOMPARE(name, std::string("SECOND"));
        QCOMPARE(FilesIn(host.Path()), std::vector<std::string>{"SECOND.LIS"});
        QCOMPARE(testutil::ReadFile(host / "SECOND.LIS"),
                 EngineBytes(g, 1, FirstRow, LastRow(g), "SECOND"));
    }

    void existingListIsReplacedOnlyWhenAllowed() {
        Recorder rec;
        TempDir host;
        const std::string before = "an older list, not even a tag list";
        testutil::WriteFile(host / "zolt.lis", before);
        const grid::CellGrid g = MakeGrid({"NEW"});
        std::string name, first;

        // No to replacing brings the dialog back; cancelling it then leaves the file.
        rec.answers = {QMessageBox::No};
        rec.onMessage = [&](const uitest::Message&) { AnswerName(""); };
        AnswerName("ZOLT");
        QVERIFY(
            !BuildTagList(g, window_, FirstRow, LastRow(g), ZoltTagList, host.Path(), name, first));
        QCOMPARE(rec.messages.at(0).text,
                 QString("The TagList ZOLT already exists. Do you want to replace it?"));
        QCOMPARE(testutil::ReadFile(host / "zolt.lis"), before);
        QCOMPARE(name, std::string());

        // Yes replaces that very file, whatever case its name has.
        rec.messages.clear();
        rec.onMessage = nullptr;
        rec.answers = {QMessageBox::Yes};
        AnswerName("ZOLT");
        QVERIFY(
            BuildTagList(g, window_, FirstRow, LastRow(g), ZoltTagList, host.Path(), name, first));
        QCOMPARE(rec.messages.size(), size_t(1));
        QCOMPARE(FilesIn(host.Path()), std::vector<std::string>{"zolt.lis"});
        QCOMPARE(testutil::ReadFile(host / "zolt.lis"),
                 EngineBytes(g, 1, FirstRow, LastRow(g), "ZOLT"));
    }

    // --- Stop

    void stopAfterTheThirdOfTenRows() {
        Recorder rec;
        TempDir host;
        const grid::CellGrid g = MakeGrid(TenTickers());
        AnswerName("TEN");
        auto c = AtPercent(
            30, [] { QTest::mouseClick(TagListBuildWindow::Instance()->btnStop, Qt::LeftButton); });
        std::string name, first;
        QVERIFY(
            BuildTagList(g, window_, FirstRow, LastRow(g), ZoltTagList, host.Path(), name, first));
        QObject::disconnect(c);
        QCOMPARE(name, std::string("TEN"));
        QCOMPARE(first, std::string("AA"));
        QCOMPARE(TagListBuildWindow::Instance()->ggeBuild->value(), 30);
        QVERIFY(!TagListBuildWindow::Instance()->isVisible());
        QCOMPARE(testutil::ReadFile(host / "TEN.LIS"),
                 EngineBytes(g, 1, FirstRow, FirstRow + 2, "TEN"));
        QVERIFY(rec.messages.empty());
    }

    void stopReachesALongBuildThroughItsEvents() {
        // The press arrives as a queued event, as a user's does, so it is only seen because the
        // build lets events through; every row does so here.
        const grid::CellGrid g = MakeGrid(ManyTickers(1000));
        TagListBuildWindow* f = TagListBuildWindow::Instance();
        f->ProcessInterval = std::chrono::milliseconds(0);
        const std::vector<std::function<void()>> presses = {
            [f] {
                QCoreApplication::postEvent(
                    f, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
            },
            [f] {
                const QPointF at(10, 10);
                QCoreApplication::postEvent(
                    f->btnStop,
                    new QMouseEvent(QEvent::MouseButtonPress, at, f->btnStop->mapToGlobal(at),
                                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
                QCoreApplication::postEvent(
                    f->btnStop,
                    new QMouseEvent(QEvent::MouseButtonRelease, at, f->btnStop->mapToGlobal(at),
                                    Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
            },
        };
        for (const auto& press : presses) {
            Recorder rec;
            TempDir host;
            AnswerName("LONG");
            auto c = AtPercent(30, press);
            std::string name, first;
            QVERIFY(BuildTagList(g, window_, FirstRow, LastRow(g), ZoltTagList, host.Path(), name,
                                 first));
            QObject::disconnect(c);
            QCOMPARE(name, std::string("LONG"));
            QCOMPARE(f->ggeBuild->value(), 30);
            // Stopped after the row that brought the gauge to 30: rows 1 to 300.
            QCOMPARE(testutil::ReadFile(host / "LONG.LIS"),
                     EngineBytes(g, 1, FirstRow, FirstRow + 299, "LONG"));
        }
        f->ProcessInterval = std::chrono::milliseconds(50);
    }

    void stopBeforeAnyTickerWritesNothing() {
        Recorder rec;
        TempDir host;
        std::vector<std::string> cells(10, " ");
        cells[5] = "LATE";
        const grid::CellGrid g = MakeGrid(cells);
        AnswerName("EARLY");
        auto c = AtPercent(20, [] { TagListBuildWindow::Instance()->btnStop->click(); });
        std::string name = "", first = "KEPT";
        QVERIFY(
            !BuildTagList(g, window_, FirstRow, LastRow(g), ZoltTagList, host.Path(), name, first));
        QObject::disconnect(c);
        QVERIFY(FilesIn(host.Path()).empty());
        QCOMPARE(name, std::string());
        QCOMPARE(first, std::string("KEPT"));
        QCOMPARE(rec.messages.size(), size_t(1));
        QVERIFY(rec.messages[0].text.contains("EARLY was not written"));
    }

    // --- failures

    void rowsWithoutTickersWriteNoList() {
        Recorder rec;
        TempDir host;
        const grid::CellGrid g = MakeGrid({"", " ", ";", " ; "});
        AnswerName("EMPTY");
        std::string name, first;
        QVERIFY(
            !BuildTagList(g, window_, FirstRow, LastRow(g), ZoltTagList, host.Path(), name, first));
        QVERIFY(FilesIn(host.Path()).empty());
        QCOMPARE(name, std::string()); // Go to Charts must not open a list that is not there
        QCOMPARE(rec.messages.size(), size_t(1));
        QCOMPARE(rec.messages[0].text,
                 QString("The TagList EMPTY was not written: these rows hold no ticker."));
    }

    void unwritableFolderIsReported() {
        Recorder rec;
        TempDir host;
        const grid::CellGrid g = MakeGrid({"AAA", "BBB"});
        std::string name = "", first = "";

        // A folder that is not there.
        const auto missing = host / "gone";
        AnswerName("ZOLT");
        QVERIFY(!BuildTagList(g, window_, FirstRow, LastRow(g), ZoltTagList, missing, name, first));
        QCOMPARE(rec.messages.size(), size_t(1));
        QCOMPARE(rec.messages[0].kind, BoxKind::Error);
        QVERIFY(rec.messages[0].text.startsWith("The TagList ZOLT was not written: "));
        QVERIFY(
            rec.messages[0].text.contains(QString::fromStdString((missing / "ZOLT.LIS").string())));
        QVERIFY(rec.messages[0].text.contains("No such file or directory"));
        QVERIFY(!std::filesystem::exists(missing));
        QCOMPARE(name, std::string());
        QVERIFY(!TagListBuildWindow::Instance()->isVisible());

        // A name taken by something that is no file: not asked about, and not replaced.
        rec.messages.clear();
        std::filesystem::create_directory(host / "ZOLT.LIS");
        AnswerName("ZOLT");
        QVERIFY(
            !BuildTagList(g, window_, FirstRow, LastRow(g), ZoltTagList, host.Path(), name, first));
        QCOMPARE(rec.messages.size(), size_t(1));
        QVERIFY(
            rec.messages[0].text.contains(QString::fromStdString((host / "ZOLT.LIS").string())));
        QVERIFY(rec.messages[0].text.contains("File exists"));
        QVERIFY(std::filesystem::is_directory(host / "ZOLT.LIS"));
        QCOMPARE(FilesIn(host.Path()), std::vector<std::string>{"ZOLT.LIS"}); // nothing left over
        QCOMPARE(name, std::string());
    }

    void rowsBeyondTheGridReadAsEmpty() {
        Recorder rec;
        TempDir host;
        const grid::CellGrid g = MakeGrid({"AAA"});
        AnswerName("ZOLT");
        std::string name, first;
        QVERIFY(BuildTagList(g, window_, FirstRow, FirstRow + 5, ZoltTagList, host.Path(), name,
                             first));
        QCOMPARE(testutil::ReadFile(host / "ZOLT.LIS"),
                 EngineBytes(g, 1, FirstRow, FirstRow, "ZOLT"));
    }

    void noSecondBuildWhileOneRuns() {
        Recorder rec;
        TempDir host;
        const grid::CellGrid g = MakeGrid(TenTickers());
        AnswerName("ONE");
        bool inner = true, modal = false;
        std::string name, first, name2, first2;
        auto c = AtPercent(50, [&] {
            modal = TagListBuildWindow::Instance()->windowModality() == Qt::ApplicationModal;
            inner = BuildTagList(g, window_, FirstRow, LastRow(g), ZoltTagList, host.Path(), name2,
                                 first2);
        });
        QVERIFY(
            BuildTagList(g, window_, FirstRow, LastRow(g), ZoltTagList, host.Path(), name, first));
        QObject::disconnect(c);
        QVERIFY(!inner);
        QVERIFY(modal); // the grid's window takes no input while its rows are read
        QCOMPARE(rec.beeps, 1);
        QCOMPARE(name2, std::string());
        QCOMPARE(FilesIn(host.Path()), std::vector<std::string>{"ONE.LIS"});
    }
};

ZOLT_UI_TEST_MAIN(TagListBuildWindowTest)
#include "TagListBuildWindowTest.moc"
