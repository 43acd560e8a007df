// Every window and dialog of both programs, in each of its pages and states, shows its texts
// whole at the default font.
#include "ClippedText.h"
#include "UiTestSupport.h"
#include "finder/app/FinderSettingsDialog.h"
#include "finder/app/FinderWindow.h"
#include "grid/view/FinderCell.h"
#include "grid/view/ScreenerCell.h"
#include "screener/app/DataSetChooser.h"
#include "screener/app/FilterDialog.h"
#include "screener/app/ScreenerWindow.h"
#include "screener/app/SettingsTextWindow.h"
#include "support/MadeHost.h"
#include "support/NullHostLink.h"
#include "support/ZoltRunner.h"
#include "ui/DateEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QTabWidget>
// Last: its macros would clash with Qt's headers.
#include <X11/Xlib.h>

class NoClippedTextTest : public QObject {
    Q_OBJECT
    testutil::MadeHost host_{{.tickers = 30}};
    QStringList cut_;

    template <typename Setup> Setup Places() {
        Setup s = host_.Places<Setup>();
        s.link = std::make_shared<testutil::NullHostLink>();
        return s;
    }
    // Records what `window` cuts, under `name`.
    void Check(const QString& name, QWidget* window) {
        QApplication::processEvents();
        for (const QString& c : uitest::ClippedTexts(window)) cut_ << name + ": " + c;
    }
    // The title rows of a results grid, each text drawn within the box it is clipped to.
    template <typename Plan>
    void CheckTitles(const QString& name, const gridview::GridView& view, Plan plan) {
        const grid::CellGrid& g = *view.Grid();
        for (int r = 0; r < g.FixedRows(); ++r)
            for (int c = 0; c < g.ColCount(); ++c) {
                const auto [text, font, x, box] = plan(c, r);
                const QString shown = text.trimmed();
                if (shown.isEmpty()) continue;
                const QFontMetrics fm(font);
                const int left = x + fm.horizontalAdvance(text.left(text.indexOf(shown)));
                const int right = left + fm.horizontalAdvance(shown);
                if (left < box.left() || right > box.left() + box.width())
                    cut_ << QStringLiteral("%1: title '%2' drawn over %3..%4, clipped to %5..%6")
                                .arg(name, text)
                                .arg(left)
                                .arg(right)
                                .arg(box.left())
                                .arg(box.left() + box.width());
            }
    }
    // The modal window that `open` brings up, checked and closed.
    void CheckModal(const QString& name, const std::function<void()>& open) {
        uitest::WhenModal<QDialog>([&](QDialog* d) {
            Check(name, d);
            d->reject();
            if (d->isVisible()) d->hide();
        });
        open();
    }

private slots:
    void screener() {
        testutil::Zolt(host_, {"generate", "--date", "2026-12-04", "--ma", "10"});
        zoltw::ScreenerWindow w(Places<zoltw::MainSetup>());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.DataSetChosen("26120410.vds", true);
        screener::FilterSettings all = screener::EveryTicker();
        all.DoEval = true;
        QVERIFY(w.RunFilter(all));
        // At its widest; narrower, the window itself cuts the status panels.
        w.resize(w.MaxFormWidth, w.height());
        Check("ZoltW", &w);
        CheckTitles("ZoltW", *w.sgdData, [&](int c, int r) {
            const gridview::GridView& v = *w.sgdData;
            const gridview::CellPlan p = gridview::PlanGridCell(
                {v.Grid(), c, r, v.CellRect(c, r), true, [&](int k) { return v.CellRect(k, r); }},
                "Arial", 10, v.palette(), QSize(16, 16));
            return std::tuple(p.ownerCol == c ? p.text : QString(), p.font, p.textX, p.clip);
        });
        zoltw::DataSetChooser* chooser = w.GetDataDialog();
        chooser->show();
        Check("chooser", chooser);
        chooser->hide();
        zoltw::FilterDialog* filter = w.GetFilterDialog();
        filter->show();
        for (int page = 0; page < filter->FilterPages->count(); ++page) {
            filter->FilterPages->setCurrentIndex(page);
            Check(QStringLiteral("filter page %1").arg(page), filter);
        }
        filter->hide();
        CheckModal("settings", [&] { w.ShowSettings(); });
        CheckModal("about", [&] { w.About1->trigger(); });
        QVERIFY2(cut_.isEmpty(), qPrintable(cut_.join('\n')));
    }

    void finder() {
        zimra::FinderWindow w(Places<zimra::MainSetup>());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        Check("Zimra", &w);
        w.RunFind([] {
            finder::FinderSettings s;
            s.MarketDate = hostdb::MarketCalendar::DateToDay(hostdb::EncodeDate(2026, 12, 4));
            s.DoEval = true;
            return s;
        }());
        CheckTitles("Zimra", *w.StringGrid1, [&](int c, int r) {
            const QRect rect = w.StringGrid1->CellRect(c, r);
            const gridview::FinderCellPlan p =
                gridview::PlanFinderCell(*w.StringGrid1->Grid(), c, r, rect, w.palette());
            return std::tuple(p.text, p.font, p.textX, rect);
        });
        zimra::FinderSettingsDialog* d = w.FindWhatDialog();
        d->show();
        Check("settings", d);
        d->PrevActCheckBox->click();
        d->DoEvalCheckBox->click();
        Check("settings, other choices", d);
        d->MarketDateEdit->SetDate(
            hostdb::MarketCalendar::DayToDate(w.Host().globals.LastMarketDay));
        emit d->MarketDateEdit->dateChanged();
        Check("settings, no evaluation possible", d);
        d->hide();
        CheckModal("about", [&] { w.About1->trigger(); });
        QVERIFY2(cut_.isEmpty(), qPrintable(cut_.join('\n')));
    }

    void captionsAreTheWindowsOwn() {
        ui::NameProgram({"ZoltW", "ZOLT (32-bit)", "ZOLT", "ZOLT", "", {}, "", ""});
        zoltw::ScreenerWindow w(Places<zoltw::MainSetup>());
        w.show();
        zoltw::DataSetChooser* chooser = w.GetDataDialog();
        chooser->show();
        QVERIFY(QTest::qWaitForWindowExposed(chooser));
        // What the X server holds for the window manager to show.
        Display* x = XOpenDisplay(nullptr);
        QVERIFY(x);
        Atom type;
        int format;
        unsigned long items, after;
        unsigned char* data = nullptr;
        XGetWindowProperty(x, static_cast<Window>(chooser->winId()),
                           XInternAtom(x, "_NET_WM_NAME", False), 0, 1024, False,
                           XInternAtom(x, "UTF8_STRING", False), &type, &format, &items, &after,
                           &data);
        const QString shown =
            data ? QString::fromUtf8(reinterpret_cast<char*>(data), static_cast<qsizetype>(items))
                 : QString();
        if (data) XFree(data);
        XCloseDisplay(x);
        QCOMPARE(shown, QString("Specify a data set"));
    }

    void cleanup() { cut_.clear(); }
};

// On an X server at its own resolution, as the programs run: at 96 dots per inch fonts round
// differently and hide cuts that users see.
int main(int argc, char** argv) {
    ui::ZoltApplication app(argc, argv);
    NoClippedTextTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "NoClippedTextTest.moc"
