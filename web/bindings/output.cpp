// The page's printing and copies: where the printed views go, and the table
// of values as the clipboard takes it. Marshalling only; the rules are in
// output/printlayout.* and output/tablecopy.*.
#include <emscripten/bind.h>

#include "common/grid.h"
#include "common/units.h"
#include "output/printlayout.h"
#include "output/tablecopy.h"

namespace molvane {
namespace {

// The print dialog's choice as the page gives it: embind has no optional, so
// each view comes with a flag saying whether it is printed.
struct PrintRequest {
    bool animation = false;
    PixelSize animationSize;
    bool graph = false;
    PixelSize graphSize;
    bool table = false;
    TableExtent tableExtent;
    int copies = 1;
};

PageLayout layoutRequest(const PageGeometry& page, const PrintRequest& request) {
    PrintChoice choice;
    if (request.animation) choice.animation = request.animationSize;
    if (request.graph) choice.graph = request.graphSize;
    if (request.table) choice.table = request.tableExtent;
    choice.copies = request.copies;
    return layoutPages(page, choice);
}

int twipsPerPixel() {
    return kTwipsPerPixel;
}

}  // namespace
}  // namespace molvane

EMSCRIPTEN_BINDINGS(molvane_output) {
    using namespace emscripten;
    using namespace molvane;

    value_object<PageGeometry>("PageGeometry")
        .field("width", &PageGeometry::width)
        .field("height", &PageGeometry::height)
        .field("titleLine", &PageGeometry::titleLine)
        .field("smallLine", &PageGeometry::smallLine);
    value_object<PixelSize>("PixelSize")
        .field("width", &PixelSize::width)
        .field("height", &PixelSize::height);
    value_object<TableExtent>("TableExtent")
        .field("rows", &TableExtent::rows)
        .field("rowHeight", &TableExtent::rowHeight)
        .field("frame", &TableExtent::frame);
    value_object<PrintRequest>("PrintRequest")
        .field("animation", &PrintRequest::animation)
        .field("animationSize", &PrintRequest::animationSize)
        .field("graph", &PrintRequest::graph)
        .field("graphSize", &PrintRequest::graphSize)
        .field("table", &PrintRequest::table)
        .field("tableExtent", &PrintRequest::tableExtent)
        .field("copies", &PrintRequest::copies);
    enum_<Placed>("Placed")
        .value("Title", Placed::Title)
        .value("Animation", Placed::Animation)
        .value("Graph", Placed::Graph)
        .value("Table", Placed::Table);
    value_object<Placement>("Placement")
        .field("what", &Placement::what)
        .field("page", &Placement::page)
        .field("x", &Placement::x)
        .field("y", &Placement::y)
        .field("height", &Placement::height)
        .field("firstRow", &Placement::firstRow)
        .field("endRow", &Placement::endRow);
    register_vector<Placement>("PlacementList");
    value_object<PageLayout>("PageLayout")
        .field("pages", &PageLayout::pages)
        .field("items", &PageLayout::items);

    function("layoutPages", &layoutRequest);
    function("twipsPerPixel", &twipsPerPixel);
    // The grid is the one the simulation fills, bound beside the simulation.
    function("copyTableText", &copyTableText);
    function("tableHtml", &tableHtml);
}
