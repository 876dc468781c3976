// Where the printed views go on the page. Pure arithmetic, in twips (1/1440
// inch) from the top left of the printable area, so that the layout can be
// checked without a printer.
#pragma once

#include <optional>
#include <vector>

#include "common/units.h"

namespace molvane {

struct PageGeometry {
    double width = 0;      // W, the printable width
    double height = 0;     // H, the printable height
    double titleLine = 0;  // height of a line of Arial 12 bold
    double smallLine = 0;  // height of a line of Arial 10 bold
};

struct PixelSize {
    int width = 0;
    int height = 0;
};

// The table of values: its grid rows (header included) and the height the
// grid gives its rows. `frame` is what its picture adds around the rows.
struct TableExtent {
    int rows = 0;
    double rowHeight = 0;  // twips
    double frame = 0;      // twips
};

struct PrintChoice {
    std::optional<PixelSize> animation;
    std::optional<PixelSize> graph;
    std::optional<TableExtent> table;
    int copies = 1;
};

enum class Placed { Title, Animation, Graph, Table };

struct Placement {
    Placed what = Placed::Title;
    int page = 0;  // from 0, over the whole document
    double x = 0;
    double y = 0;
    double height = 0;  // twips; for the table, its rows times the row height
    // For the table: the header row, then data rows firstRow .. endRow - 1
    // (counted from 0 under the header).
    int firstRow = 0;
    int endRow = 0;
};

struct PageLayout {
    int pages = 0;
    std::vector<Placement> items;  // in printing order
};

// Each copy: the title at the top, the animation centred at H/20, the graph
// centred below it, then the table at W/10, on a new page when it does not
// fit below the pictures. A table taller than a whole page goes on over the
// next pages, its header row repeated, rather than leaving a blank page and
// losing its last rows off the paper.
PageLayout layoutPages(const PageGeometry& page, const PrintChoice& choice);

}  // namespace molvane
