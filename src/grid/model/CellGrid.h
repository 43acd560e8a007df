// The text grid behind the result windows and reports: rows x columns of (text, shared format),
// fixed title rows, and the one selection rectangle that only the program moves.
#pragma once

#include "grid/model/CellFormat.h"

#include <string>
#include <vector>

namespace grid {

struct Cell {
    std::string text;
    const CellFormat* format = nullptr;
};

struct GridRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

class CellGrid {
public:
    CellGrid(int colCount, int rowCount, int fixedCols, int fixedRows);

    int ColCount() const { return cols_; }
    int RowCount() const { return rows_; }
    int FixedCols() const { return fixedCols_; }
    int FixedRows() const { return fixedRows_; }

    // New rows start with empty texts and no format, as a string grid's do.
    void SetRowCount(int rows);

    const Cell& At(int col, int row) const { return cells_[Index(col, row)]; }
    const std::string& Text(int col, int row) const { return At(col, row).text; }
    const CellFormat* Format(int col, int row) const { return At(col, row).format; }
    void Set(int col, int row, std::string text, const CellFormat* format);
    void SetText(int col, int row, std::string text) {
        cells_[Index(col, row)].text = std::move(text);
    }

    // Row `row` takes the texts and formats of row `from` of `source` (same column count).
    void CopyRow(int row, const CellGrid& source, int from);

    GridRect Selection;

private:
    size_t Index(int col, int row) const;

    int cols_, rows_, fixedCols_, fixedRows_;
    std::vector<Cell> cells_;
};

} // namespace grid
