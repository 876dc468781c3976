// The table of values of a run: its columns, the Qr column, how many rows
// the row-count bar asks for, and how its columns share the table's width.
#pragma once

#include <array>

#include "common/grid.h"

namespace molvane {

// Column headers, row 0 of the table.
extern const std::array<const char*, 6> kTableHeaders;
inline constexpr int kTableColumns = 6;
// Column 5 holds Qr, hidden in white unless "Afficher Qr dans le tableau".
inline constexpr int kQrColumn = 5;

// The row-count bar `VScroll3` (positions 10 to 100) asks for 111 - position
// data rows, 101 down to 11; the grid has one row more, for the headers.
constexpr int tableRowsAt(int barPosition) {
    return 111 - barPosition;
}
constexpr int rowsBarPosition(int rows) {
    return 111 - rows;
}
inline constexpr int kFewestTableRows = tableRowsAt(100);
inline constexpr int kMostTableRows = tableRowsAt(10);

// Six equal columns over a table `widthPixels` wide, the first one 20 pixels
// narrower to leave room for the scroll bar; the widths are set in twips.
void layTableColumns(GridModel& table, int widthPixels);

}  // namespace molvane
