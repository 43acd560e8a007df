// The printed report: pages of a PDF as pdftotext reads them, positions drawn on a canvas of
// known metrics, copies, Cancel, over-full pages, and the Printing window.
#include "grid/view/GridReport.h"

#include "grid/view/PrintProgressDialog.h"
#include "support/TestUtil.h"
#include "ui/UiTestSupport.h"

#include <QDir>
#include <QKeyEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <optional>

using namespace grid;

namespace {

const CellFormat Plain;
const CellFormat Bold{AlignLeft, false, false, 1, StyleBold};
const CellFormat Centre{AlignCentre, false, false, 1, 0};
const CellFormat CentreBold{AlignCentre, false, false, 1, StyleBold};
const CellFormat CentreSpan2{AlignCentre, false, false, 2, 0};
const CellFormat Right{AlignRight, false, false, 1, 0};
const CellFormat Dash{AlignDash, false, false, 1, 0};
const CellFormat Chart{AlignLeft, false, true, 1, 0};

// A results-shaped grid: three title rows, then rows "R0001"... with blank and empty cells.
CellGrid MakeGrid(int resultRows) {
    CellGrid g(11, 3 + resultRows, 1, 3);
    for (int c = 0; c < 11; ++c)
        for (int r = 0; r < 3; ++r) g.Set(c, r, " ", &Plain);
    g.Set(2, 0, "Weeks since previous", &CentreSpan2);
    g.Set(3, 0, " ", &CentreSpan2);
    g.Set(1, 2, " Ticker", &Bold);
    g.Set(2, 2, "High ", &Right);
    g.Set(5, 2, "(%) ", &Right);
    for (int i = 0; i < resultRows; ++i) {
        int r = 3 + i;
        for (int c = 0; c < 11; ++c) g.Set(c, r, " ", &Plain);
        g.Set(0, r, " ", &Chart);
        g.Set(1, r, QStringLiteral("R%1").arg(i + 1, 4, 10, QLatin1Char('0')).toStdString(),
              &Plain);
        g.Set(2, r, "12.5 ", &Right);
        g.Set(4, r, "", &Right);
        g.Set(5, r, i % 2 ? "-1.5 " : "0.3 ", &Right);
        g.Set(6, r, "12-34", &Dash);
    }
    return g;
}

PrintLines Lines(const QString& prefix, int n, const CellFormat* f = &Plain) {
    PrintLines lines;
    for (int i = 1; i <= n; ++i) lines.push_back({(prefix + QString::number(i)).toStdString(), f});
    return lines;
}

struct Drawn {
    int x, y;
    QString text;
    unsigned style;
};

// Records the jobs drawn; with an inner canvas it forwards everything and measures there,
// otherwise every text is 10 pixels high and 5 wide per character at 100 pixels per inch.
class Recorder : public PrintCanvas {
public:
    explicit Recorder(PrintCanvas* inner = nullptr, int pageHeight = 200)
        : inner_(inner), pageHeight_(pageHeight) {}

    struct Job {
        std::vector<std::vector<Drawn>> pages;
        bool ended = false, aborted = false;
        int drawsAfterAbort = 0;
    };
    std::vector<Job> jobs;
    int begins = 0, newPages = 0, ends = 0, aborts = 0;

    bool BeginJob(const QString& title) override {
        ++begins;
        jobs.push_back({});
        jobs.back().pages.emplace_back();
        return inner_ ? inner_->BeginJob(title) : true;
    }
    void NewPage() override {
        ++newPages;
        jobs.back().pages.emplace_back();
        if (inner_) inner_->NewPage();
    }
    bool EndJob() override {
        ++ends;
        jobs.back().ended = true;
        return inner_ ? inner_->EndJob() : true;
    }
    void AbortJob() override {
        ++aborts;
        jobs.back().aborted = true;
        if (inner_) inner_->AbortJob();
    }
    int PixelsPerInch() const override { return inner_ ? inner_->PixelsPerInch() : 100; }
    int PageHeight() const override { return inner_ ? inner_->PageHeight() : pageHeight_; }
    void SetFont(const QString& family, int size, unsigned style) override {
        style_ = style;
        if (inner_) inner_->SetFont(family, size, style);
    }
    int TextWidth(const QString& t) const override {
        return inner_ ? inner_->TextWidth(t) : 5 * static_cast<int>(t.size());
    }
    int TextHeight(const QString& t) const override { return inner_ ? inner_->TextHeight(t) : 10; }
    void DrawText(int x, int y, const QString& t) override {
        if (jobs.back().aborted) ++jobs.back().drawsAfterAbort;
        jobs.back().pages.back().push_back({x, y, t, style_});
        if (inner_) inner_->DrawText(x, y, t);
    }
    QString Error() const override { return inner_ ? inner_->Error() : QString(); }

private:
    PrintCanvas* inner_;
    int pageHeight_;
    unsigned style_ = 0;
};

std::optional<Drawn> Find(const std::vector<Drawn>& page, const QString& text) {
    for (const Drawn& d : page)
        if (d.text == text) return d;
    return std::nullopt;
}

// The row names on a page, in the order drawn.
QStringList RowsOn(const std::vector<Drawn>& page) {
    QStringList rows;
    static const QRegularExpression name(QStringLiteral("^R\\d{4}$"));
    for (const Drawn& d : page)
        if (name.match(d.text).hasMatch()) rows << d.text;
    return rows;
}

PrintInputs Inputs(const CellGrid& g, int header, int firstPage, int copies = 1) {
    PrintInputs in;
    in.headerLines = Lines(QStringLiteral("Header "), header, &Centre);
    in.firstPageLines = Lines(QStringLiteral("Setting "), firstPage);
    in.documentTitle = QStringLiteral("Zolt");
    in.printedFor = QStringLiteral("Test User");
    in.copies = copies;
    in.firstRow = g.FixedRows();
    in.lastRow = g.RowCount() - 1;
    in.screenPixelsPerInch = 100;
    in.printFontSize = 10;
    in.screenFontSize = 10;
    in.grid = &g;
    in.columnWidths.assign(11, 40);
    return in;
}

// The pages of a PDF as `pdftotext -layout` reads them.
QStringList PdfPages(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    while (!pages.isEmpty() && pages.back().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

QPageLayout A5() {
    return QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

QStringList FilesIn(const std::filesystem::path& dir) {
    QStringList names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names << QString::fromStdString(e.path().filename().string());
    names.sort();
    return names;
}

} // namespace

class GridReportTest : public QObject {
    Q_OBJECT

private slots:
    // --- layout rules -------------------------------------------------------------------

    void columnEdgesDivideOnce() {
        const std::vector<int> widths{16, 63, 64, 67, 52, 54, 54, 56, 66, 64, 64};
        std::vector<int> x = ColumnEdges(widths, 11, 1200, 11, 96, 10);
        // 63 * 1200 * 11 / 960 = 866.25; dividing by 96 first would give 787 * 11 / 10 = 865.
        const std::vector<int> expected{0,    220,  1086, 1966, 2887, 3602,
                                        4344, 5086, 5856, 6763, 7643, 8523};
        QCOMPARE(x, expected);
        // Missing widths count as 0, a zero screen size divides by 1 instead of crashing.
        QCOMPARE(ColumnEdges(std::vector<int>{10}, 3, 100, 10, 100, 10),
                 (std::vector<int>{0, 10, 10, 10}));
        QCOMPARE(ColumnEdges(std::vector<int>{3}, 1, 2, 1, 0, 10), (std::vector<int>{0, 6}));
    }

    void textPlacesInABox() {
        QCOMPARE(TextX(AlignLeft, 100, 45, 10, 0), 100);
        QCOMPARE(TextX(AlignRight, 100, 45, 10, 0), 135);
        QCOMPARE(TextX(AlignCentre, 100, 45, 10, 0), 117);
        QCOMPARE(TextX(AlignCentre, 100, 20, 31, 0), 95); // -11 div 2 = -5
        QCOMPARE(TextX(AlignDash, 100, 45, 30, 12), 110);
        QCOMPARE(TextX(7, 100, 45, 10, 0), 100); // unknown values print left on paper
    }

    void jobFileNames() {
        QCOMPARE(JobFileName(QStringLiteral("/tmp/report.pdf"), 1),
                 QStringLiteral("/tmp/report.pdf"));
        QCOMPARE(JobFileName(QStringLiteral("/tmp/report.pdf"), 2),
                 QStringLiteral("/tmp/report (2).pdf"));
        QCOMPARE(JobFileName(QStringLiteral("/a.b/report"), 3), QStringLiteral("/a.b/report (3)"));
        QCOMPARE(JobFileName(QStringLiteral("/tmp/.pdf"), 2), QStringLiteral("/tmp/.pdf (2)"));
    }

    void printedForIsTheNameBeforeTheFirstComma() {
        QCOMPARE(FullNameFromGecos("Jane Doe,Room 4,555-1234,"), std::string("Jane Doe"));
        QCOMPARE(FullNameFromGecos("Jane Doe"), std::string("Jane Doe"));
        QCOMPARE(FullNameFromGecos(",,,"), std::string());
        QCOMPARE(FullNameFromGecos(""), std::string());
        QCOMPARE(FullNameFromGecos(nullptr), std::string());
        QVERIFY(!PrintedForText().contains(QLatin1Char(',')));
    }

    // --- positions on a canvas of known metrics -----------------------------------------

    void footerSitsBelowTheLastLineOnFullAndShortPages() {
        // Page height 200, line height 10: 16 lines per page, the footer at y = 170.
        // Page 1 uses 2 + 2 + 3 + 1 lines before its rows, later pages 2 + 3 + 1.
        CellGrid g = MakeGrid(20);
        PrintInputs in = Inputs(g, 2, 2);
        Recorder rec;
        ReportRun run(in, rec);
        QCOMPARE(run.Run(), PrintOutcome::Done);
        QCOMPARE(rec.jobs.size(), size_t(1));
        const auto& pages = rec.jobs[0].pages;
        QCOMPARE(pages.size(), size_t(3));
        QCOMPARE(RowsOn(pages[0]).size(), 8);
        QCOMPARE(RowsOn(pages[1]).size(), 10);
        QCOMPARE(RowsOn(pages[2]).size(), 2); // the short last page
        for (int p = 0; p < 3; ++p) {
            auto footer = Find(pages[p], QStringLiteral("Page %1").arg(p + 1));
            QVERIFY(footer);
            QCOMPARE(footer->y, 170);
            QCOMPARE(footer->x, 50 + (440 - 30) / 2); // centred over the 11 columns of 40
        }
        auto printedFor = Find(pages[0], QStringLiteral("Printed for Test User"));
        QVERIFY(printedFor);
        QCOMPARE(printedFor->y, 170);
        QCOMPARE(printedFor->x, 50);
        QVERIFY(!Find(pages[1], QStringLiteral("Printed for Test User")));

        // Page 2: header lines at 0 and 10, title rows at 20 to 40, a blank line, rows from 60.
        QCOMPARE(Find(pages[1], QStringLiteral("Header 2"))->y, 10);
        QCOMPARE(Find(pages[1], QStringLiteral(" Ticker"))->y, 40);
        QCOMPARE(Find(pages[1], QStringLiteral("R0009"))->y, 60);
        QVERIFY(!Find(pages[1], QStringLiteral("Setting 1")));
        // Cells align in their own column's box; a spanned title over its columns, as on screen.
        QCOMPARE(Find(pages[1], QStringLiteral("12.5 "))->x, 50 + 120 - 25);
        QCOMPARE(Find(pages[1], QStringLiteral("12-34"))->x, 50 + 240 + 20 - 10);
        QCOMPARE(Find(pages[0], QStringLiteral("Weeks since previous"))->x,
                 50 + 80 + (80 - 100) / 2);
        QCOMPARE(Find(pages[0], QStringLiteral("Header 1"))->style, 0u);
        QCOMPARE(Find(pages[0], QStringLiteral(" Ticker"))->style, unsigned(StyleBold));

        // Blank and empty cells, the icon column included, draw nothing.
        for (const auto& page : pages)
            for (const Drawn& d : page) QVERIFY2(!d.text.trimmed().isEmpty(), "blank text drawn");

        // Without a printed-for text page 1 has only the page number in its footer.
        in.printedFor.clear();
        Recorder rec2;
        ReportRun run2(in, rec2);
        QCOMPARE(run2.Run(), PrintOutcome::Done);
        for (const Drawn& d : rec2.jobs[0].pages[0]) QVERIFY(!d.text.startsWith("Printed for"));

        // A summary that would straddle pages 2 and 3 starts page 3 instead.
        in.keepTogetherFrom = 3 + 16; // R0017 to R0020
        Recorder rec3;
        ReportRun run3(in, rec3);
        QCOMPARE(run3.Run(), PrintOutcome::Done);
        QCOMPARE(RowsOn(rec3.jobs[0].pages[1]).size(), 8);
        QCOMPARE(RowsOn(rec3.jobs[0].pages[2]), QStringList({"R0017", "R0018", "R0019", "R0020"}));
    }

    void overFullFirstPageStillEndsAndPrintsEveryRow() {
        // 2 header lines and 20 first-page lines fill page 1: its rows move to page 2 on.
        CellGrid g = MakeGrid(25);
        PrintInputs in = Inputs(g, 2, 20);
        Recorder rec;
        ReportRun run(in, rec);
        QCOMPARE(run.Run(), PrintOutcome::Done);
        const auto& pages = rec.jobs[0].pages;
        QCOMPARE(pages.size(), size_t(4));
        QCOMPARE(RowsOn(pages[0]).size(), 0);
        QVERIFY(Find(pages[0], QStringLiteral("Setting 20")));
        QVERIFY(Find(pages[0], QStringLiteral("Page 1")));
        QCOMPARE(Find(pages[0], QStringLiteral("Page 1"))->y, 260); // below the 26 lines used
        QStringList all;
        for (const auto& page : pages) all << RowsOn(page);
        QCOMPARE(all.size(), 25);
        for (int i = 0; i < 25; ++i)
            QCOMPARE(all[i], QStringLiteral("R%1").arg(i + 1, 4, 10, QLatin1Char('0')));
        for (size_t p = 1; p < pages.size(); ++p)
            QVERIFY(!Find(pages[p], QStringLiteral("Setting 1")));

        // Header lines alone overfill every page: one row per page after page 1.
        in = Inputs(g, 15, 1);
        in.lastRow = in.firstRow + 4;
        Recorder rec2;
        ReportRun run2(in, rec2);
        QCOMPARE(run2.Run(), PrintOutcome::Done);
        QCOMPARE(rec2.jobs[0].pages.size(), size_t(6));
        QCOMPARE(RowsOn(rec2.jobs[0].pages[0]).size(), 0);
        for (int p = 1; p < 6; ++p) QCOMPARE(RowsOn(rec2.jobs[0].pages[p]).size(), 1);

        // No first-page lines and a page too small for anything: still one row per page.
        in.firstPageLines.clear();
        Recorder rec3(nullptr, 20); // lines per page 2 div 1 - 4 < 0
        ReportRun run3(in, rec3);
        QCOMPARE(run3.Run(), PrintOutcome::Done);
        QCOMPARE(rec3.jobs[0].pages.size(), size_t(5));
        for (const auto& page : rec3.jobs[0].pages) QCOMPARE(RowsOn(page).size(), 1);
    }

    void rowsOutsideTheGridAreNotPrinted() {
        CellGrid g = MakeGrid(3);
        PrintInputs in = Inputs(g, 1, 0);
        in.lastRow = 100;
        Recorder rec;
        ReportRun run(in, rec);
        QCOMPARE(run.Run(), PrintOutcome::Done);
        QCOMPARE(RowsOn(rec.jobs[0].pages[0]).size(), 3);
    }

    void hostTextsPrintAsTheScreenShowsThem() {
        CellGrid g = MakeGrid(3);
        g.Set(7, 3, "\x95 Caf\xE9",
              &Plain); // the host's own code page, as a ticker's name holds it
        const PrintInputs in = Inputs(g, 1, 0);
        Recorder rec;
        ReportRun run(in, rec);
        QCOMPARE(run.Run(), PrintOutcome::Done);
        QVERIFY(Find(rec.jobs[0].pages[0], QString::fromUtf8("\u2022 Caf\u00e9")));
    }

    // --- PDF through the Printing window ------------------------------------------------

    void pdfPagesAsRead() {
        testutil::TempDir tmp;
        QString path = QString::fromStdString((tmp / "report.pdf").string());
        PdfFileCanvas pdf(path, A5(), 300);
        Recorder rec(&pdf);

        // Enough rows for three pages, measured with the same font.
        pdf.SetFont(QStringLiteral("Arial"), 11, StyleBold);
        int lines = pdf.PageHeight() / pdf.TextHeight(QStringLiteral("Mpgy")) - 4;
        int first = lines - (3 + 6 + 3 + 1), later = lines - (3 + 3 + 1);
        QVERIFY(first > 0);
        CellGrid g = MakeGrid(first + later + later / 2);

        PrintLines header{
            {"Zolt v2.07 Results", &CentreBold}, {"Printed 03/05/2024", &Centre}, {" ", &Plain}};
        PrintLines settings = Lines(QStringLiteral("Setting line "), 6);
        std::vector<int> widths{16, 63, 64, 67, 52, 54, 54, 56, 66, 64, 64};
        PrintOutcome outcome = PrintStringGrid(header, settings, QStringLiteral("Zolt"),
                                               QStringLiteral("Test User"), 1, 3, g.RowCount() - 1,
                                               QStringLiteral("Arial"), 11, 96, 10, g, widths, rec);
        QCOMPARE(outcome, PrintOutcome::Done);
        QCOMPARE(FilesIn(tmp.Path()), QStringList{QStringLiteral("report.pdf")});

        QStringList pages = PdfPages(path);
        QCOMPARE(pages.size(), 3);
        QList<int> rowsPerPage;
        for (int p = 0; p < 3; ++p) {
            const QString& text = pages[p];
            QVERIFY(text.contains(QStringLiteral("Zolt v2.07 Results")));
            QVERIFY(text.contains(QStringLiteral("Printed 03/05/2024")));
            QVERIFY(text.contains(QStringLiteral("Weeks since previous")));
            QVERIFY(text.contains(QStringLiteral("Ticker")));
            QVERIFY(text.contains(QRegularExpression(QStringLiteral("\\bPage %1\\b").arg(p + 1))));
            QCOMPARE(text.contains(QStringLiteral("Setting line 1")), p == 0);
            QCOMPARE(text.contains(QStringLiteral("Setting line 6")), p == 0);
            QCOMPARE(text.contains(QStringLiteral("Printed for Test User")), p == 0);
            rowsPerPage << static_cast<int>(
                text.count(QRegularExpression(QStringLiteral("R\\d{4}"))));
        }
        QCOMPARE(rowsPerPage[0], first);
        QCOMPARE(rowsPerPage[1], later);
        QVERIFY(rowsPerPage[1] > rowsPerPage[0]);
        QCOMPARE(rowsPerPage[0] + rowsPerPage[1] + rowsPerPage[2], g.RowCount() - 3);
        // The header lines lead every page; the settings follow them on page 1.
        QVERIFY(pages[0].indexOf("Zolt v2.07") < pages[0].indexOf("Setting line 1"));
        QVERIFY(pages[0].indexOf("Setting line 6") < pages[0].indexOf("Weeks since"));
    }

    void twoCopiesAreTwoDocuments() {
        testutil::TempDir tmp;
        QString path = QString::fromStdString((tmp / "report.pdf").string());
        PdfFileCanvas pdf(path, A5(), 300);
        Recorder rec(&pdf);
        CellGrid g = MakeGrid(60);
        PrintInputs in = Inputs(g, 2, 3, 2);
        in.fontName = QStringLiteral("Arial");
        QCOMPARE(PrintStringGrid(in, rec), PrintOutcome::Done);
        QCOMPARE(rec.begins, 2);
        QCOMPARE(rec.ends, 2);
        QCOMPARE(FilesIn(tmp.Path()),
                 (QStringList{QStringLiteral("report (2).pdf"), QStringLiteral("report.pdf")}));
        QStringList one = PdfPages(path);
        QStringList two = PdfPages(JobFileName(path, 2));
        QVERIFY(one.size() >= 2);
        QCOMPARE(two.size(), one.size());
        for (const QStringList& doc : {one, two}) {
            QVERIFY(doc[0].contains(QStringLiteral("Setting 3")));
            QVERIFY(doc[0].contains(QStringLiteral("Page 1")));
            QVERIFY(doc[0].contains(QStringLiteral("R0001")));
            QVERIFY(!doc[1].contains(QStringLiteral("Setting 1")));
        }
    }

    void cancelOnPageTwo_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("Escape key") << true;
    }

    void cancelOnPageTwo() {
        QFETCH(bool, escape);
        testutil::TempDir tmp;
        QString path = QString::fromStdString((tmp / "report.pdf").string());
        PdfFileCanvas pdf(path, A5(), 300);
        Recorder rec(&pdf);
        CellGrid g = MakeGrid(150);
        PrintInputs in = Inputs(g, 2, 3, 2);

        bool closedAfterCancel = false;
        QPointer<PrintProgressDialog> window;
        uitest::WhenModal<PrintProgressDialog>([&](PrintProgressDialog* w) {
            window = w;
            connect(w, &QWidget::windowTitleChanged, w, [&, w](const QString& title) {
                if (title != QStringLiteral("Printing page 2")) return;
                if (escape)
                    QTest::keyClick(w, Qt::Key_Escape);
                else
                    w->CancelButton->click();
            });
            connect(w, &QDialog::finished, w, [&] { closedAfterCancel = true; });
        });
        QCOMPARE(PrintStringGrid(in, rec), PrintOutcome::Cancelled);

        QVERIFY(closedAfterCancel);
        QVERIFY(!window);          // released when it closed
        QCOMPARE(rec.begins, 1);   // no second copy
        QCOMPARE(rec.newPages, 1); // no page after 2
        QCOMPARE(rec.aborts, 1);
        QCOMPARE(rec.ends, 0);
        QCOMPARE(rec.jobs[0].drawsAfterAbort, 0);
        QVERIFY(rec.jobs[0].pages.size() == 2);
        QVERIFY(RowsOn(rec.jobs[0].pages[1]).size() < RowsOn(rec.jobs[0].pages[0]).size() + 10);
        QCOMPARE(FilesIn(tmp.Path()), QStringList{}); // nothing half-written, no temporary
    }

    void printingWindow() {
        CellGrid g = MakeGrid(40);
        PrintInputs in = Inputs(g, 2, 2);
        Recorder rec;
        bool checked = false;
        int beginsAtShow = -1;
        QPointer<ui::PieGauge> gauge;
        uitest::WhenModal<PrintProgressDialog>([&](PrintProgressDialog* w) {
            beginsAtShow = rec.begins; // the run waits for its 100 ms kick-off
            QCOMPARE(w->windowTitle(), QStringLiteral("Printing page 1"));
            QCOMPARE(w->size(), QSize(205, 63));
            QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
            QCOMPARE(w->CancelButton->text(), QStringLiteral("Cancel"));
            QCOMPARE(w->PrintGauge->size(), QSize(49, 49));
            QVERIFY(w->PrintGauge->geometry().left() > w->CancelButton->geometry().right());
            QVERIFY(w->PrintKickoff->isSingleShot());
            QCOMPARE(w->PrintKickoff->interval(), 100);
            gauge = w->PrintGauge;
            connect(w, &QDialog::finished, w, [&, w](int result) {
                QCOMPARE(result, int(QDialog::Accepted));
                QCOMPARE(w->windowTitle(),
                         QStringLiteral("Printing page 5")); // 8 + 10 + 10 + 10 + 2 rows
                QCOMPARE(w->PrintGauge->MaxValue(), 40);
                QCOMPARE(w->PrintGauge->Progress(), 40);
                checked = true;
            });
        });
        QCOMPARE(PrintStringGrid(in, rec), PrintOutcome::Done);
        QCOMPARE(beginsAtShow, 0);
        QVERIFY(checked);
        QCOMPARE(rec.ends, 1);
    }

    void cancelBeforeTheKickOffPrintsNothing() {
        CellGrid g = MakeGrid(5);
        PrintInputs in = Inputs(g, 1, 1);
        Recorder rec;
        uitest::WhenModal<PrintProgressDialog>(
            [](PrintProgressDialog* w) { w->CancelButton->click(); });
        QCOMPARE(PrintStringGrid(in, rec), PrintOutcome::Cancelled);
        QCOMPARE(rec.begins, 0);
    }

    // --- the Print command --------------------------------------------------------------

    void printDialogCancelledDoesNothing() {
        testutil::TempDir tmp;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString((tmp / "report.pdf").string()));
        CellGrid g = MakeGrid(5);
        uitest::WhenModal<QPrintDialog>([](QPrintDialog* d) { d->reject(); });
        QVERIFY(!PrintReport(nullptr, Inputs(g, 1, 1), &printer));
        QCOMPARE(FilesIn(tmp.Path()), QStringList{});
    }

    void printDialogToAFile() {
        testutil::TempDir tmp;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        QString path = QString::fromStdString((tmp / "report.pdf").string());
        printer.setOutputFileName(path);
        printer.setCopyCount(2);
        CellGrid g = MakeGrid(5);
        uitest::WhenModal<QPrintDialog>([](QPrintDialog* d) { d->accept(); });
        QVERIFY(PrintReport(nullptr, Inputs(g, 1, 1), &printer));
        QCOMPARE(printer.copyCount(), 1); // the copies were jobs, not the spooler's
        QCOMPARE(FilesIn(tmp.Path()),
                 (QStringList{QStringLiteral("report (2).pdf"), QStringLiteral("report.pdf")}));
        QVERIFY(PdfPages(path).value(0).contains(QStringLiteral("Printed for Test User")));
    }

    void unwritableFileIsReported() {
        testutil::TempDir tmp;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(
            QString::fromStdString((tmp / "missing" / "report.pdf").string()));
        CellGrid g = MakeGrid(5);
        uitest::Recorder boxes;
        uitest::WhenModal<QPrintDialog>([](QPrintDialog* d) { d->accept(); });
        QVERIFY(!PrintReport(nullptr, Inputs(g, 1, 1), &printer));
        QCOMPARE(boxes.messages.size(), size_t(1));
        QCOMPARE(boxes.messages[0].kind, ui::BoxKind::Error);
        QVERIFY(boxes.messages[0].text.contains(QStringLiteral("report.pdf")));
    }
};

ZOLT_UI_TEST_MAIN(GridReportTest)
#include "GridReportTest.moc"
