// The measurements of the page's run as CSV, in both dialects.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>

#include "files/measurescsv.h"
#include "front/mainstate.h"

namespace molvane::web {

// Every file of an export: [{name, bytes}], the chosen file first.
emscripten::val measures(const MainState& state, bool python, const std::string& chosen) {
    emscripten::val files = emscripten::val::array();
    for (const CsvFile& file :
         measuresCsv(state.run(), state.table(), python ? CsvFormat::Python : CsvFormat::Spreadsheet)) {
        emscripten::val entry = emscripten::val::object();
        entry.set("name", csvFilePath(chosen, file.suffix));
        // Bytes, not a string: a decoder would drop the spreadsheet's byte-order mark.
        const emscripten::val view(emscripten::typed_memory_view(
            file.text.size(), reinterpret_cast<const unsigned char*>(file.text.data())));
        entry.set("bytes", emscripten::val::global("Uint8Array").new_(view));
        files.call<void>("push", entry);
    }
    return files;
}

}  // namespace molvane::web

EMSCRIPTEN_BINDINGS(molvane_measures) {
    using namespace molvane;
    emscripten::function("measuresCsv", &web::measures);
    emscripten::constant("exportCaption", std::string(kExportCaption));
    emscripten::constant("exportTitle", std::string(kExportTitle));
    emscripten::constant("exportName", std::string(kExportName));
    emscripten::constant("spreadsheetDialect", std::string(dialectName(CsvFormat::Spreadsheet)));
    emscripten::constant("pythonDialect", std::string(dialectName(CsvFormat::Python)));
}
