// The format a grid cell is drawn and printed with: alignment, grey text, icon, span and font
// style. Formats are created once by a window and shared by reference; cells never own them.
#pragma once

namespace grid {

enum Alignment : int { AlignLeft = 0, AlignRight = 1, AlignCentre = 2, AlignDash = 3 };
enum FontStyle : unsigned {
    StyleBold = 1,
    StyleItalic = 2,
    StyleUnderline = 4,
    StyleStrikeOut = 8
};

struct CellFormat {
    int Alignment = AlignLeft; // any other value draws right-aligned
    bool Dim = false;
    bool Images = false; // the chart icon is drawn centred over the text
    int Span = 1;        // columns covered from the cell's own; negative: the whole row
    unsigned Style = 0;
};

} // namespace grid
