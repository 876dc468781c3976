// The table of values as the clipboard takes it, in plain C++ so that the
// desktop and the page copy the very same characters.
#pragma once

#include <string>

namespace molvane {

class GridModel;

// Selects the whole grid, fixed cells included, and gives its text as the
// clipboard takes it: a tab between cells, a line feed between rows, none
// after the last; every cell as it is shown.
std::string copyTableText(GridModel& grid);

// The same cells as an HTML table, for word processors and spreadsheets:
// the header row in <th>, the cells trimmed so that they read as numbers.
std::string tableHtml(const GridModel& grid);

}  // namespace molvane
