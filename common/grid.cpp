#include "grid.h"

#include <algorithm>

namespace molvane {

namespace {
constexpr int kDefaultColWidth = 960;  // twips
constexpr int kRowHeight = 240;        // twips: one line of an 8-point font
const std::string kEmpty;
}  // namespace

GridModel::GridModel(int rows, int cols) {
    setCols(std::max(cols, 0));
    setRows(std::max(rows, 0));
}

bool GridModel::setRows(int rows) {
    if (rows < 0) return false;
    cells_.resize(static_cast<std::size_t>(rows) * cols_);
    rows_ = rows;
    row_ = std::min(row_, std::max(rows_ - 1, 0));
    rowSel_ = std::min(rowSel_, std::max(rows_ - 1, 0));
    notifyShape();
    return true;
}

bool GridModel::setCols(int cols) {
    if (cols < 0) return false;
    std::vector<Cell> cells(static_cast<std::size_t>(rows_) * cols);
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < std::min(cols, cols_); ++c)
            cells[static_cast<std::size_t>(r) * cols + c] = std::move(at(r, c));
    cells_ = std::move(cells);
    cols_ = cols;
    colWidths_.resize(static_cast<std::size_t>(cols), kDefaultColWidth);
    col_ = std::min(col_, std::max(cols_ - 1, 0));
    colSel_ = std::min(colSel_, std::max(cols_ - 1, 0));
    notifyShape();
    return true;
}

void GridModel::clear() {
    for (auto& cell : cells_) cell.text.clear();
    notifyShape();
}

const std::string& GridModel::text(int row, int col) const {
    return valid(row, col) ? at(row, col).text : kEmpty;
}

bool GridModel::setText(int row, int col, std::string_view text) {
    if (!valid(row, col)) return false;
    at(row, col).text.assign(text);
    notifyCell(row, col);
    return true;
}

std::uint32_t GridModel::foreColor(int row, int col) const {
    return valid(row, col) ? at(row, col).foreColor : 0;
}
int GridModel::alignment(int row, int col) const {
    return valid(row, col) ? at(row, col).alignment : kAlignGeneral;
}

bool GridModel::setRow(int row) {
    if (row < 0 || row >= rows_) return false;
    row_ = rowSel_ = row;
    return true;
}

bool GridModel::setCol(int col) {
    if (col < 0 || col >= cols_) return false;
    col_ = colSel_ = col;
    return true;
}

bool GridModel::setCellForeColor(std::uint32_t colour) {
    if (!valid(row_, col_)) return false;
    at(row_, col_).foreColor = colour;
    notifyCell(row_, col_);
    return true;
}

bool GridModel::setCellAlignment(int code) {
    if (!valid(row_, col_)) return false;
    at(row_, col_).alignment = code;
    notifyCell(row_, col_);
    return true;
}

bool GridModel::setRowSel(int row) {
    if (row < 0 || row >= rows_) return false;
    rowSel_ = row;
    return true;
}

bool GridModel::setColSel(int col) {
    if (col < 0 || col >= cols_) return false;
    colSel_ = col;
    return true;
}

std::string GridModel::clip() const {
    std::string out;
    if (rows_ == 0 || cols_ == 0) return out;
    const int r0 = std::min(row_, rowSel_), r1 = std::max(row_, rowSel_);
    const int c0 = std::min(col_, colSel_), c1 = std::max(col_, colSel_);
    for (int r = r0; r <= r1; ++r) {
        if (r > r0) out += '\r';
        for (int c = c0; c <= c1; ++c) {
            if (c > c0) out += '\t';
            out += at(r, c).text;
        }
    }
    return out;
}

bool GridModel::setColWidth(int col, int twips) {
    if (col < 0 || col >= cols_ || twips < 0) return false;
    colWidths_[static_cast<std::size_t>(col)] = twips;
    notifyShape();
    return true;
}

int GridModel::colWidth(int col) const {
    return col >= 0 && col < cols_ ? colWidths_[static_cast<std::size_t>(col)] : 0;
}

int GridModel::rowHeight(int row) const {
    return row >= 0 && row < rows_ ? kRowHeight : 0;
}

}  // namespace molvane
