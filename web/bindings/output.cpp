// The page's printing and copies: where the printed views go, the table of
// values as the clipboard takes it, and the copy menu's and print dialog's
// texts. Marshalling only; the rules are in output/printlayout.*,
// output/tablecopy.* and output/outputtexts.*.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>

#include "common/grid.h"
#include "common/units.h"
#include "files/measurescsv.h"
#include "output/outputtexts.h"
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

std::string text(std::string_view t) {
    return std::string(t);
}

emscripten::val copyMenu() {
    emscripten::val items = emscripten::val::array();
    for (const CopyMenuItem& i : kCopyMenuItems) {
        emscripten::val item = emscripten::val::object();
        item.set("name", text(i.name));
        item.set("caption", text(i.caption));
        item.set("parent", text(i.parent));
        item.set("download", text(i.download));
        items.call<void>("push", item);
    }
    emscripten::val menu = emscripten::val::object();
    menu.set("name", text(kCopyMenuName));
    menu.set("spokenName", text(kCopyMenuSpokenName));
    menu.set("regionName", text(kCopyMenuRegionName));
    menu.set("items", items);
    menu.set("exportSeparator", text(kExportSeparatorName));
    menu.set("exportItem", text(kExportItemName));
    menu.set("exportCaption", std::string(kExportCaption));
    return menu;
}

std::string downloadNotice(const std::string& fileName) {
    return copyDownloadNotice(fileName);
}

emscripten::val helpWindowTexts() {
    const HelpWindowTexts& t = kHelpWindowTexts;
    emscripten::val texts = emscripten::val::object();
    texts.set("title", text(t.title));
    texts.set("word", text(t.word));
    texts.set("back", text(t.back));
    texts.set("home", text(t.home));
    texts.set("close", text(t.close));
    texts.set("contentsName", text(t.contentsName));
    texts.set("pageName", text(t.pageName));
    return texts;
}

emscripten::val printDialogTexts() {
    const PrintDialogTexts& t = kPrintDialogTexts;
    emscripten::val texts = emscripten::val::object();
    texts.set("title", text(t.title));
    texts.set("options", text(t.options));
    emscripten::val views = emscripten::val::array();
    for (const std::string_view v : t.views) views.call<void>("push", text(v));
    texts.set("views", views);
    texts.set("viewsChosen", t.viewsChosen);
    texts.set("ok", text(t.ok));
    texts.set("printers", text(t.printers));
    texts.set("cancel", text(t.cancel));
    texts.set("titleLabel", text(t.titleLabel));
    texts.set("titleName", text(t.titleName));
    texts.set("defaultTitle", text(t.defaultTitle));
    texts.set("copiesLabel", text(t.copiesLabel));
    texts.set("copiesName", text(t.copiesName));
    texts.set("copiesDescription", copiesDescription());
    texts.set("mostCopies", kMostCopies);
    texts.set("waiting", text(t.waiting));
    texts.set("browserPrinterNote", text(t.browserPrinterNote));
    return texts;
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
    function("copyMenu", &copyMenu);
    function("printDialogTexts", &printDialogTexts);
    function("helpWindowTexts", &helpWindowTexts);
    function("copyDownloadNotice", &downloadNotice);
    // The grid is the one the simulation fills, bound beside the simulation.
    function("copyTableText", &copyTableText);
    function("tableHtml", &tableHtml);
}
