// The results grid on screen: where the screener's drawing puts each cell's text, colours and
// icon, the raised title boxes in pixels, fixed rows over scrolled ones, and clicks on cells.
#include "grid/view/GridView.h"

#include "grid/view/FinderCell.h"
#include "grid/view/ScreenerCell.h"
#include "screener/engine/ResultGrid.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace gridview;

namespace {

const std::vector<int> Widths = {16, 63, 64, 67, 52, 54, 54, 56, 66, 64, 64};

QPalette Classic() {
    QPalette p;
    p.setColor(QPalette::Button, QColor(212, 208, 200));
    p.setColor(QPalette::ButtonText, Qt::black);
    p.setColor(QPalette::Light, Qt::white);
    p.setColor(QPalette::Dark, QColor(128, 128, 128));
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::Highlight, QColor(0, 0, 128));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
    return p;
}

} // namespace

class GridViewTest : public QObject {
    Q_OBJECT

    screener::ScreenerFormats f_;
    grid::CellGrid g_ = screener::MakeResultGrid();
    GridView view_;

    // Result rows of chart icon, ticker and a change in percent.
    void Fill(int rows) {
        g_.SetRowCount(screener::TitleRows + rows + 1);
        for (int r = 0; r < rows; ++r) {
            const int row = screener::TitleRows + r;
            screener::ClearRow(g_, f_, row);
            g_.Set(0, row, " ", &f_.FormatChart);
            g_.Set(1, row, "T" + std::to_string(r), &f_.FormatPlain);
            g_.Set(5, row, "  1.5 ", &f_.FormatRight);
        }
        screener::ClearRow(g_, f_, screener::TitleRows + rows);
        g_.Selection = {1, screener::TitleRows, 1, screener::TitleRows};
        view_.GridChanged();
    }

    CellPlan Plan(int col, int row) {
        return PlanGridCell(CellContext{&g_, col, row, view_.CellRect(col, row),
                                        row < 3 || col == 0,
                                        [&](int c) { return view_.CellRect(c, row); }},
                            "Arial", 10, Classic(), QSize(16, 16));
    }

private slots:
    void init() {
        g_ = screener::MakeResultGrid();
        screener::SetColumnTitles(g_, f_, -1, screener::ColumnTitleInfo{5, false, 0, "", ""});
        view_.setPalette(Classic());
        view_.SetColumnWidths(Widths);
        view_.SetCellPainter(ScreenerCellPainter());
        view_.resize(720, 400);
        view_.SetGrid(&g_);
        Fill(3);
    }

    void spannedTitlesAreDrawnByTheirOwner() {
        // The blank row-0 cell of column 3 paints "Weeks since previous" over columns 2 and 3.
        const CellPlan p = Plan(3, 0);
        QCOMPARE(p.ownerCol, 2);
        QCOMPARE(p.text, QString("Weeks since previous"));
        const QRect both = view_.CellRect(2, 0).united(view_.CellRect(3, 0));
        QCOMPARE(p.rect, both);
        const int tw = QFontMetrics(p.font).horizontalAdvance(p.text);
        QCOMPARE(p.textX, both.left() + (both.width() - tw) / 2);
        QCOMPARE(p.background, QColor(212, 208, 200));
        QCOMPARE(p.inset, 2);
        QCOMPARE(p.clip, both.adjusted(2, 0, -2, 0));
        // Row 1 of column 5 is blank under "Price Change" over columns 4 and 5.
        QCOMPARE(Plan(5, 1).ownerCol, 4);
        // The evaluation's title is grey when there is none.
        QCOMPARE(Plan(10, 0).foreground, QColor(128, 128, 128));
        QCOMPARE(Plan(10, 0).text, QString("Perf"));
    }

    void textPlaceByAlignment() {
        const int row = screener::TitleRows;
        // Right: 2 pixels from the right edge.
        CellPlan p = Plan(5, row);
        const QRect r5 = view_.CellRect(5, row);
        QCOMPARE(p.textX,
                 r5.left() + r5.width() - 2 - QFontMetrics(p.font).horizontalAdvance("  1.5 "));
        QCOMPARE(p.inset, 1);
        QCOMPARE(p.background, QColor(Qt::white));
        // Left: 2 pixels in, 4 in a fixed cell.
        g_.Selection = {};
        QCOMPARE(Plan(1, row).textX, view_.CellRect(1, row).left() + 2);
        QCOMPARE(Plan(1, 2).textX, view_.CellRect(1, 2).left() + 4);
        // Dash-centred: the first "-" at the middle.
        const grid::CellFormat dash{grid::AlignDash, false, false, 1, 0};
        g_.Set(6, row, "85-15", &dash);
        p = Plan(6, row);
        const QRect r6 = view_.CellRect(6, row);
        QCOMPARE(p.textX,
                 r6.left() + r6.width() / 2 - QFontMetrics(p.font).horizontalAdvance("85"));
        // An unknown alignment draws right-aligned; a cell without a format left-aligned.
        const grid::CellFormat odd{7, false, false, 1, 0};
        g_.Set(7, row, "x", &odd);
        const QRect r7 = view_.CellRect(7, row);
        QCOMPARE(Plan(7, row).textX,
                 r7.left() + r7.width() - 2 - QFontMetrics(p.font).horizontalAdvance("x"));
        g_.Set(8, row, "y", nullptr);
        QCOMPARE(Plan(8, row).textX, view_.CellRect(8, row).left() + 2);
        // A whole-row cell from any column.
        const grid::CellFormat wide{grid::AlignLeft, false, false, -1, 0};
        g_.Set(4, row + 1, "wide", &wide);
        p = Plan(4, row + 1);
        QCOMPARE(p.ownerCol, 0);
        QCOMPARE(p.rect.left(), 0);
        QCOMPARE(p.rect.right(), view_.CellRect(10, row + 1).right());
    }

    void selectionAndIcon() {
        // A selected title cell: highlight colours, no inset.
        g_.Selection = {2, 0, 2, 2};
        CellPlan p = Plan(2, 1);
        QVERIFY(p.selected);
        QCOMPARE(p.background, QColor(0, 0, 128));
        QCOMPARE(p.foreground, QColor(Qt::white));
        QCOMPARE(p.inset, 0);
        QVERIFY(Plan(3, 0).selected); // owned by column 2
        // The chart icon is centred whatever the text.
        g_.Set(0, 4, "XYZ", &f_.FormatChart);
        p = Plan(0, 4);
        const QRect r = view_.CellRect(0, 4);
        QVERIFY(p.icon);
        QCOMPARE(p.iconPos,
                 QPoint(r.left() + (r.width() - 16) / 2, r.top() + (r.height() - 16) / 2));
    }

    void titleBoxesInPixels() {
        QImage image(view_.viewport()->size(), QImage::Format_RGB32);
        view_.viewport()->render(&image);
        const QRect r0 = view_.CellRect(5, 0), r2 = view_.CellRect(5, 2);
        const int L = view_.CellRect(4, 0).left(), R = r0.left() + r0.width();
        const QColor light(Qt::white), dark(128, 128, 128), face(212, 208, 200);
        // One raised box per column over the three title rows, no line between them.
        QCOMPARE(image.pixelColor(L + 1, r0.top() + 1), light);
        QCOMPARE(image.pixelColor(L + 1, r0.bottom() + 1), light); // across the gap
        QCOMPARE(image.pixelColor(L + 10, r0.bottom() + 1), face);
        QCOMPARE(image.pixelColor(R - 1, r0.top() + 5), dark);
        QCOMPARE(image.pixelColor(R - 1, r2.top() - 1), dark);
        QCOMPARE(image.pixelColor(L + 10, r2.bottom()), dark); // the bottom of the box
        // The icon's red cursor bar sits in the middle of column 0 of the first result row.
        const QRect c0 = view_.CellRect(0, screener::TitleRows);
        const QPoint icon(c0.left() + (c0.width() - 16) / 2, c0.top() + (c0.height() - 16) / 2);
        QCOMPARE(image.pixelColor(icon + QPoint(13, 5)), QColor(200, 0, 0));
    }

    void fixedRowsStayWhileRowsScroll() {
        Fill(5000);
        QVERIFY(view_.verticalScrollBar()->maximum() > 4900);
        view_.ScrollToRow(4000);
        QVERIFY(!view_.CellRect(1, 4000).isEmpty());
        QVERIFY(view_.CellRect(1, 3).isEmpty());
        QCOMPARE(view_.CellRect(2, 0).top(), 0); // the titles stay on top
        QCOMPARE(view_.CellRect(1, view_.TopRow()).top(), 3 * 19);
        int col = -1, row = -1;
        QVERIFY(view_.CellAt(QPoint(20, 3 * 19 + 19 + 2), col, row));
        QCOMPARE(col, 1);
        QCOMPARE(row, view_.TopRow() + 1);
        QVERIFY(view_.CellAt(QPoint(5, 20), col, row));
        QCOMPARE(row, 1);
        QVERIFY(!view_.CellAt(QPoint(700, 20), col, row)); // right of the columns
    }

    void clicksReportTheirCell() {
        view_.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view_));
        QSignalSpy spy(&view_, &GridView::CellReleased);
        const QRect r = view_.CellRect(3, 1);
        QTest::mouseClick(view_.viewport(), Qt::RightButton, Qt::ShiftModifier, r.center());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy[0][0].toInt(), 3);
        QCOMPARE(spy[0][1].toInt(), 1);
        QCOMPARE(spy[0][2].value<Qt::MouseButton>(), Qt::RightButton);
        QCOMPARE(spy[0][3].value<Qt::KeyboardModifiers>(),
                 Qt::KeyboardModifiers(Qt::ShiftModifier));
    }

    void finderCells() {
        grid::CellGrid g(6, 5, 0, 3);
        const grid::CellFormat boldLeft{grid::AlignLeft, false, false, 1, grid::StyleBold};
        const grid::CellFormat right{grid::AlignRight, false, false, 1, 0};
        const grid::CellFormat centre{grid::AlignCentre, false, false, 1, 0};
        const grid::CellFormat dash{grid::AlignDash, false, false, 1, 0};
        const grid::CellFormat odd{9, false, false, 1, 0};
        g.Set(4, 2, " Ticker", &boldLeft);
        g.Set(3, 3, "12.3%", &right);
        g.Set(0, 0, "Found", &centre);
        g.Set(1, 3, "85-15", &dash);
        g.Set(2, 3, "x", &odd);
        GridView view;
        view.setPalette(Classic());
        view.SetColumnWidths({60, 60, 60, 80, 60, 200});
        view.SetCellPainter(FinderCellPainter());
        view.resize(560, 200);
        view.SetGrid(&g);
        auto plan = [&](int c, int r) {
            return PlanFinderCell(g, c, r, view.CellRect(c, r), Classic());
        };
        const QRect t = view.CellRect(4, 2);
        FinderCellPlan p = plan(4, 2);
        QVERIFY(p.font.bold());
        QCOMPARE(p.textX, t.left()); // no inset
        QCOMPARE(p.textY, t.top());
        QCOMPARE(p.background, QColor(212, 208, 200));
        const QRect r3 = view.CellRect(3, 3);
        p = plan(3, 3);
        QCOMPARE(p.textX,
                 r3.left() + r3.width() - QFontMetrics(p.font).horizontalAdvance("12.3% "));
        QCOMPARE(p.background, QColor(Qt::white));
        const QRect r1 = view.CellRect(1, 3);
        p = plan(1, 3);
        QCOMPARE(p.textX,
                 r1.left() + (r1.width() / 2 - QFontMetrics(p.font).horizontalAdvance("85")));
        QCOMPARE(plan(2, 3).textX, view.CellRect(2, 3).left()); // any other code: left
        const QRect r0 = view.CellRect(0, 0);
        p = plan(0, 0);
        QCOMPARE(p.textX,
                 r0.left() + (r0.width() - QFontMetrics(p.font).horizontalAdvance("Found")) / 2);
        // The selected result row is highlighted; a header row never is.
        const grid::GridRect none = g.Selection;
        g.Selection = {0, 2, 5, 3};
        QCOMPARE(plan(3, 3).background, Classic().color(QPalette::Highlight));
        QCOMPARE(plan(3, 3).foreground, Classic().color(QPalette::HighlightedText));
        QCOMPARE(plan(4, 2).background, QColor(212, 208, 200));
        g.Selection = none;

        QImage image(view.viewport()->size(), QImage::Format_RGB32);
        view.viewport()->render(&image);
        const QColor light(Qt::white), dark(128, 128, 128);
        QCOMPARE(image.pixelColor(r0.left() + 1, r0.top() + 5), light);
        QCOMPARE(image.pixelColor(r0.left() + 10, r0.top() + 1), light); // the top of row 0
        QCOMPARE(image.pixelColor(r0.left() + r0.width() - 1, r0.top() + 5), dark);
        QCOMPARE(image.pixelColor(t.left() + 10, t.top() + t.height() - 1), dark);  // last header
        QCOMPARE(image.pixelColor(r3.left() + 1, r3.top() + 5), QColor(Qt::white)); // no frame
    }

    void ansiTextsShowAsTheHostWroteThem() {
        QCOMPARE(CellText("Caf\xE9 \x95 \x80"), QString::fromUtf8("Caf\u00e9 \u2022 \u20ac"));
        QCOMPARE(CellText("M\xC3\xA4rz"), QString::fromUtf8("M\u00e4rz"));
        QCOMPARE(CellText("\xC3"), QString::fromUtf8("\u00c3")); // a cut UTF-8 sequence
    }
};

QTEST_MAIN(GridViewTest)
#include "GridViewTest.moc"
