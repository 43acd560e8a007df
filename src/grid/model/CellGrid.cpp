#include "grid/model/CellGrid.h"

#include <stdexcept>

namespace grid {

CellGrid::CellGrid(int colCount, int rowCount, int fixedCols, int fixedRows)
    : cols_(colCount), rows_(0), fixedCols_(fixedCols), fixedRows_(fixedRows) {
    if (colCount < 1 || rowCount < 0) throw std::invalid_argument("grid size");
    SetRowCount(rowCount);
}

void CellGrid::SetRowCount(int rows) {
    if (rows < 0) throw std::invalid_argument("grid row count");
    rows_ = rows;
    cells_.resize(static_cast<size_t>(rows) * static_cast<size_t>(cols_));
}

size_t CellGrid::Index(int col, int row) const {
    if (col < 0 || col >= cols_ || row < 0 || row >= rows_)
        throw std::out_of_range("grid cell " + std::to_string(col) + "," + std::to_string(row));
    return static_cast<size_t>(row) * static_cast<size_t>(cols_) + static_cast<size_t>(col);
}

void CellGrid::Set(int col, int row, std::string text, const CellFormat* format) {
    Cell& c = cells_[Index(col, row)];
    c.text = std::move(text);
    c.format = format;
}

void CellGrid::CopyRow(int row, const CellGrid& source, int from) {
    for (int c = 0; c < cols_; ++c) cells_[Index(c, row)] = source.At(c, from);
}

} // namespace grid
