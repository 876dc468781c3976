// The table of values as a plain model: a rectangle of text cells with a text
// colour and an alignment each, a current cell and a selection. Row 0 and
// column 0 are the fixed header row and time column. A view shows it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace molvane {

// Cell alignment codes.
constexpr int kAlignLeftTop = 0;
constexpr int kAlignCenterTop = 3;
constexpr int kAlignRightTop = 6;
constexpr int kAlignGeneral = 9;  // left for text, the default

// Told of changes, so that a view can repaint what changed.
class GridObserver {
public:
    virtual ~GridObserver() = default;
    virtual void cellChanged(int row, int col) = 0;
    virtual void shapeChanged() = 0;  // rows, columns or widths
};

class GridModel {
public:
    GridModel(int rows, int cols);

    int rows() const { return rows_; }
    int cols() const { return cols_; }
    // Rows are added or dropped at the end; a negative count is refused.
    bool setRows(int rows);
    bool setCols(int cols);

    // Every cell's text becomes empty, fixed cells included.
    void clear();

    // Out-of-range cells read empty and refuse writes.
    const std::string& text(int row, int col) const;
    bool setText(int row, int col, std::string_view text);
    std::uint32_t foreColor(int row, int col) const;
    int alignment(int row, int col) const;

    // The current cell, on which the cell-format operations act.
    int row() const { return row_; }
    int col() const { return col_; }
    bool setRow(int row);
    bool setCol(int col);
    bool setCellForeColor(std::uint32_t colour);
    bool setCellAlignment(int code);

    // The selection runs from the current cell to (rowSel, colSel).
    bool setRowSel(int row);
    bool setColSel(int col);
    int rowSel() const { return rowSel_; }
    int colSel() const { return colSel_; }
    // The selected cells' texts, a tab between cells and a carriage return
    // between rows, nothing after the last row.
    std::string clip() const;

    // Widths and heights in twips.
    bool setColWidth(int col, int twips);
    int colWidth(int col) const;
    int rowHeight(int row) const;

    void setObserver(GridObserver* observer) { observer_ = observer; }

private:
    struct Cell {
        std::string text;
        std::uint32_t foreColor = 0;
        int alignment = kAlignGeneral;
    };
    bool valid(int row, int col) const { return row >= 0 && row < rows_ && col >= 0 && col < cols_; }
    Cell& at(int row, int col) { return cells_[static_cast<std::size_t>(row) * cols_ + col]; }
    const Cell& at(int row, int col) const { return cells_[static_cast<std::size_t>(row) * cols_ + col]; }
    void notifyCell(int row, int col) {
        if (observer_) observer_->cellChanged(row, col);
    }
    void notifyShape() {
        if (observer_) observer_->shapeChanged();
    }

    int rows_ = 0;
    int cols_ = 0;
    std::vector<Cell> cells_;
    std::vector<int> colWidths_;
    int row_ = 0, col_ = 0, rowSel_ = 0, colSel_ = 0;
    GridObserver* observer_ = nullptr;
};

}  // namespace molvane
