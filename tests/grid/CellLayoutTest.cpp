// Grid rows laid out in fixed-width columns: alignments, longer texts kept whole, spans,
// overflow and trailing blanks.
#include "grid/model/CellLayout.h"

#include <gtest/gtest.h>
#include <vector>

using namespace grid;

TEST(CellLayout, AlignmentsWithinACell) {
    EXPECT_EQ(AlignCell("ab", AlignLeft, 5), "ab   ");
    EXPECT_EQ(AlignCell("ab", AlignRight, 5), "   ab");
    EXPECT_EQ(AlignCell("ab", AlignCentre, 5), " ab  ");
    EXPECT_EQ(AlignCell("ab", 7, 5), "   ab"); // an unknown alignment is drawn right
    // The first "-" at the middle, as far as the room allows.
    EXPECT_EQ(AlignCell("90-10", AlignDash, 9), "  90-10  ");
    EXPECT_EQ(AlignCell("5-95", AlignDash, 9), "   5-95  ");
    EXPECT_EQ(AlignCell("100-100", AlignDash, 8), " 100-100");
    EXPECT_EQ(AlignCell("none", AlignDash, 9), "none     ");
    EXPECT_EQ(AlignCell("", AlignCentre, 3), "   ");
}

TEST(CellLayout, LongerTextsAreKeptWhole) {
    for (int a : {AlignLeft, AlignRight, AlignCentre, AlignDash})
        EXPECT_EQ(AlignCell("ABCDEFG", a, 4), "ABCDEFG") << a;
    EXPECT_EQ(AlignCell("ABCD", AlignRight, 4), "ABCD");
    EXPECT_EQ(AlignCell("x", AlignLeft, 0), "x");
}

TEST(CellLayout, RowsWithSpansOverflowAndTrailingBlanks) {
    CellFormat left, right{AlignRight}, centre{AlignCentre}, span2{AlignCentre, false, false, 2},
        rest{AlignLeft, false, false, -1}, wide{AlignRight, false, false, 9};
    CellGrid g(4, 5, 0, 0);
    const std::vector<int> widths{3, 4, 5, 6};
    for (int c = 0; c < 4; ++c) g.Set(c, 0, std::string(1, static_cast<char>('a' + c)), &right);
    EXPECT_EQ(LayOutRow(g, 0, widths), "  a   b    c     d");

    // A spanning cell takes its neighbours' widths and hides their texts.
    g.Set(0, 1, "AVG", &span2);
    g.Set(1, 1, "hidden", &right);
    g.Set(2, 1, "x", &left);
    g.Set(3, 1, " ", &left);
    EXPECT_EQ(LayOutRow(g, 1, widths), "  AVG  x"); // trailing blanks removed

    // A negative span, or one past the row's end, covers the rest of the row.
    g.Set(1, 2, "Stopped", &rest);
    g.Set(2, 2, "hidden", &left);
    g.Set(0, 2, "", nullptr);
    EXPECT_EQ(LayOutRow(g, 2, widths), "   Stopped");
    g.Set(1, 2, "end", &wide);
    EXPECT_EQ(LayOutRow(g, 2, widths), std::string(15, ' ') + "end");

    // A text wider than its cell is not cut: it pushes the rest of the line.
    g.Set(0, 3, "TOOLONG", &left);
    g.Set(1, 3, "b", &centre);
    g.Set(2, 3, "c", &right);
    g.Set(3, 3, "", &left);
    EXPECT_EQ(LayOutRow(g, 3, widths), "TOOLONG b      c");

    // Cells without a format are left-aligned; missing widths count as nothing.
    g.Set(0, 4, "p", nullptr);
    g.Set(1, 4, "q", nullptr);
    g.Set(2, 4, "r", nullptr);
    g.Set(3, 4, "s", nullptr);
    EXPECT_EQ(LayOutRow(g, 4, std::vector<int>{2, -3}), "p qrs");
    EXPECT_EQ(LayOutRow(CellGrid(2, 1, 0, 0), 0, widths), "");
}
