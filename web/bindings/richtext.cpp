// The rich-text model for the page: RTF read by the shared builder into plain
// JS objects, and written back from them by the shared writer; the text
// area's words, names and recovery timing. Marshalling only: the rules are in
// exercises/rtf/.
#include "exercises/rtf/richtext.h"

#include <emscripten/bind.h>

#include <array>
#include <cstdint>
#include <string>

#include "exercises/rtf/rtfbuilder.h"
#include "exercises/rtf/rtfcharsets.h"
#include "exercises/rtf/rtfemitter.h"
#include "exercises/rtf/textrules.h"
#include "files/filemessages.h"

namespace molvane::web {
namespace {

using emscripten::val;
namespace rt = richtext;

// JS strings are UTF-16 like the model's; embind carries std::string as UTF-8.
std::string utf8(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string utf16(const std::string& text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const int extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
        char32_t c = extra == 0 ? byte : byte & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < text.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += static_cast<std::size_t>(extra) + 1;
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::u16string textOf(const val& value) {
    return utf16(value.as<std::string>());
}

val bytesOut(const std::string& bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    return val::global("Uint8Array").new_(val(emscripten::typed_memory_view(bytes.size(), data)));
}

std::string bytesIn(const val& array) {
    std::string bytes(array["length"].as<std::size_t>(), '\0');
    auto* data = reinterpret_cast<std::uint8_t*>(bytes.data());
    val(emscripten::typed_memory_view(bytes.size(), data)).call<void>("set", array);
    return bytes;
}

// Each enumeration by its names, in the order of its values.
constexpr std::array kAlignments{"left", "centre", "right", "justify"};
constexpr std::array kUnderlines{"none", "single", "dash", "dotted", "dashDot", "dashDotDot", "wave"};
constexpr std::array kVerticals{"normal", "superscript", "subscript"};
constexpr std::array kCapitals{"mixed", "all", "small"};
constexpr std::array kTabKinds{"left", "right", "centre", "decimal"};
constexpr std::array kLineSpacings{"single", "proportional", "atLeast", "exactly"};
constexpr std::array kPictureFormats{"png", "jpeg"};

template <typename E, std::size_t N>
val nameOf(E value, const std::array<const char*, N>& names) {
    return val(std::string(names[static_cast<std::size_t>(value)]));
}

template <typename E, std::size_t N>
E valueOf(const val& name, const std::array<const char*, N>& names) {
    const std::string text = name.isString() ? name.as<std::string>() : std::string();
    for (std::size_t i = 0; i < N; ++i)
        if (text == names[i]) return static_cast<E>(i);
    return static_cast<E>(0);
}

val colourOut(const std::optional<rt::Colour>& colour) {
    if (!colour) return val::null();
    return val((colour->red << 16) | (colour->green << 8) | colour->blue);
}

std::optional<rt::Colour> colourIn(const val& value) {
    if (!value.isNumber()) return std::nullopt;
    const int rgb = value.as<int>();
    return rt::Colour{static_cast<std::uint8_t>((rgb >> 16) & 0xFF),
                      static_cast<std::uint8_t>((rgb >> 8) & 0xFF), static_cast<std::uint8_t>(rgb & 0xFF)};
}

val charFormatOut(const rt::CharFormat& f) {
    val o = val::object();
    o.set("font", utf8(f.font));
    o.set("halfPoints", f.halfPoints);
    o.set("bold", f.bold);
    o.set("italic", f.italic);
    o.set("strike", f.strike);
    o.set("underline", nameOf(f.underline, kUnderlines));
    o.set("vertical", nameOf(f.vertical, kVerticals));
    o.set("capitals", nameOf(f.capitals, kCapitals));
    o.set("foreground", colourOut(f.foreground));
    o.set("background", colourOut(f.background));
    return o;
}

rt::CharFormat charFormatIn(const val& o) {
    rt::CharFormat f;
    f.font = textOf(o["font"]);
    f.halfPoints = o["halfPoints"].as<int>();
    f.bold = o["bold"].as<bool>();
    f.italic = o["italic"].as<bool>();
    f.strike = o["strike"].as<bool>();
    f.underline = valueOf<rt::Underline>(o["underline"], kUnderlines);
    f.vertical = valueOf<rt::VerticalPosition>(o["vertical"], kVerticals);
    f.capitals = valueOf<rt::Capitals>(o["capitals"], kCapitals);
    f.foreground = colourIn(o["foreground"]);
    f.background = colourIn(o["background"]);
    return f;
}

val paragraphFormatOut(const rt::ParagraphFormat& f) {
    val o = val::object();
    o.set("alignment", nameOf(f.alignment, kAlignments));
    o.set("leftIndent", f.leftIndent);
    o.set("rightIndent", f.rightIndent);
    o.set("firstIndent", f.firstIndent);
    o.set("spaceBefore", f.spaceBefore);
    o.set("spaceAfter", f.spaceAfter);
    o.set("lineSpacing", nameOf(f.lineSpacing, kLineSpacings));
    o.set("lineSpacingValue", f.lineSpacingValue);
    o.set("pageBreakBefore", f.pageBreakBefore);
    val tabs = val::array();
    for (const rt::TabStop& tab : f.tabs) {
        val t = val::object();
        t.set("position", tab.position);
        t.set("kind", nameOf(tab.kind, kTabKinds));
        tabs.call<void>("push", t);
    }
    o.set("tabs", tabs);
    return o;
}

rt::ParagraphFormat paragraphFormatIn(const val& o) {
    rt::ParagraphFormat f;
    f.alignment = valueOf<rt::Alignment>(o["alignment"], kAlignments);
    f.leftIndent = o["leftIndent"].as<int>();
    f.rightIndent = o["rightIndent"].as<int>();
    f.firstIndent = o["firstIndent"].as<int>();
    f.spaceBefore = o["spaceBefore"].as<int>();
    f.spaceAfter = o["spaceAfter"].as<int>();
    f.lineSpacing = valueOf<rt::LineSpacing>(o["lineSpacing"], kLineSpacings);
    f.lineSpacingValue = o["lineSpacingValue"].as<int>();
    f.pageBreakBefore = o["pageBreakBefore"].as<bool>();
    const val tabs = o["tabs"];
    const int count = tabs["length"].as<int>();
    for (int i = 0; i < count; ++i)
        f.tabs.push_back({tabs[i]["position"].as<int>(), valueOf<rt::TabKind>(tabs[i]["kind"], kTabKinds)});
    return f;
}

val paragraphsOut(const std::vector<rt::Paragraph>& paragraphs);

val paragraphOut(const rt::Paragraph& p) {
    val o = val::object();
    o.set("format", paragraphFormatOut(p.format));
    o.set("mark", charFormatOut(p.mark));
    o.set("formatted", p.formatted);
    o.set("listItem", p.listItem);
    o.set("listMarker", utf8(p.listMarker));
    val runs = val::array();
    for (const rt::Run& run : p.runs) {
        val r = val::object();
        r.set("text", utf8(run.text));
        r.set("format", charFormatOut(run.format));
        r.set("picture", run.picture);
        runs.call<void>("push", r);
    }
    o.set("runs", runs);
    return o;
}

rt::Paragraph paragraphIn(const val& o) {
    rt::Paragraph p;
    p.format = paragraphFormatIn(o["format"]);
    p.mark = charFormatIn(o["mark"]);
    p.formatted = o["formatted"].as<bool>();
    p.listItem = o["listItem"].as<bool>();
    p.listMarker = textOf(o["listMarker"]);
    const val runs = o["runs"];
    const int count = runs["length"].as<int>();
    for (int i = 0; i < count; ++i) {
        const val r = runs[i];
        p.runs.push_back({textOf(r["text"]), charFormatIn(r["format"]), r["picture"].as<int>()});
    }
    return p;
}

val paragraphsOut(const std::vector<rt::Paragraph>& paragraphs) {
    val list = val::array();
    for (const rt::Paragraph& p : paragraphs) list.call<void>("push", paragraphOut(p));
    return list;
}

std::vector<rt::Paragraph> paragraphsIn(const val& list) {
    std::vector<rt::Paragraph> paragraphs;
    const int count = list["length"].as<int>();
    for (int i = 0; i < count; ++i) paragraphs.push_back(paragraphIn(list[i]));
    return paragraphs;
}

val tableOut(const rt::Table& t) {
    val o = val::object();
    val widths = val::array();
    for (int w : t.columnWidths) widths.call<void>("push", w);
    o.set("columnWidths", widths);
    o.set("borders", t.borders);
    o.set("columns", t.columns);
    o.set("firstColumns", t.firstColumns);
    val rows = val::array();
    for (const rt::TableRow& row : t.rows) {
        val r = val::object();
        val cells = val::array();
        for (const rt::TableCell& cell : row.cells) {
            val c = val::object();
            c.set("paragraphs", paragraphsOut(cell.paragraphs));
            c.set("covered", cell.covered);
            cells.call<void>("push", c);
        }
        r.set("cells", cells);
        r.set("cellsRead", row.cellsRead);
        rows.call<void>("push", r);
    }
    o.set("rows", rows);
    return o;
}

rt::Table tableIn(const val& o) {
    rt::Table t;
    const val widths = o["columnWidths"];
    for (int i = 0, n = widths["length"].as<int>(); i < n; ++i) t.columnWidths.push_back(widths[i].as<int>());
    t.borders = o["borders"].as<bool>();
    t.columns = o["columns"].as<int>();
    t.firstColumns = o["firstColumns"].as<int>();
    const val rows = o["rows"];
    for (int i = 0, n = rows["length"].as<int>(); i < n; ++i) {
        rt::TableRow row;
        const val cells = rows[i]["cells"];
        for (int k = 0, m = cells["length"].as<int>(); k < m; ++k)
            row.cells.push_back({paragraphsIn(cells[k]["paragraphs"]), cells[k]["covered"].as<bool>()});
        row.cellsRead = rows[i]["cellsRead"].as<int>();
        t.rows.push_back(std::move(row));
    }
    return t;
}

val documentOut(const rt::Document& d) {
    val o = val::object();
    val blocks = val::array();
    for (const rt::Block& block : d.blocks) {
        val b = val::object();
        if (block.paragraph) b.set("paragraph", paragraphOut(*block.paragraph));
        if (block.table) b.set("table", tableOut(*block.table));
        blocks.call<void>("push", b);
    }
    o.set("blocks", blocks);
    val pictures = val::array();
    for (const rt::Picture& p : d.pictures) {
        val pic = val::object();
        pic.set("bytes", bytesOut(p.bytes));
        pic.set("format", nameOf(p.format, kPictureFormats));
        pic.set("pixelWidth", p.pixelWidth);
        pic.set("pixelHeight", p.pixelHeight);
        pic.set("width", p.width);
        pic.set("height", p.height);
        pic.set("description", utf8(p.description));
        pictures.call<void>("push", pic);
    }
    o.set("pictures", pictures);
    o.set("defaultFont", utf8(d.defaultFont));
    return o;
}

rt::Document documentIn(const val& o) {
    rt::Document d;
    const val blocks = o["blocks"];
    for (int i = 0, n = blocks["length"].as<int>(); i < n; ++i) {
        rt::Block block;
        const val b = blocks[i];
        if (!b["paragraph"].isUndefined() && !b["paragraph"].isNull())
            block.paragraph = paragraphIn(b["paragraph"]);
        if (!b["table"].isUndefined() && !b["table"].isNull()) block.table = tableIn(b["table"]);
        d.blocks.push_back(std::move(block));
    }
    const val pictures = o["pictures"];
    for (int i = 0, n = pictures["length"].as<int>(); i < n; ++i) {
        const val p = pictures[i];
        rt::Picture pic;
        pic.bytes = bytesIn(p["bytes"]);
        pic.format = valueOf<rt::PictureFormat>(p["format"], kPictureFormats);
        pic.pixelWidth = p["pixelWidth"].as<int>();
        pic.pixelHeight = p["pixelHeight"].as<int>();
        pic.width = p["width"].as<int>();
        pic.height = p["height"].as<int>();
        pic.description = textOf(p["description"]);
        d.pictures.push_back(std::move(pic));
    }
    d.defaultFont = textOf(o["defaultFont"]);
    return d;
}

// Code pages other than Windows-1252 go to the page's decoder (the browser's
// TextDecoder), called with the code page, its name and the bytes; it gives
// back the text, or null for a code page it does not know.
class PageDecoder final : public rtf::CodePageDecoder {
public:
    explicit PageDecoder(val decode) : decode_(std::move(decode)) {}
    bool decode(int codePage, std::string_view bytes, std::u16string& out) override {
        const char* name = rtf::codecNameForCodePage(codePage);
        if (!name) return false;
        const val text = decode_(codePage, std::string(name), bytesOut(std::string(bytes)));
        if (!text.isString()) return false;
        out += textOf(text);
        return true;
    }

private:
    val decode_;
};

val readRtf(const val& bytes, const val& decode) {
    const std::string data = bytesIn(bytes);
    rt::Document document;
    rtf::ReadStatus status;
    if (decode.isUndefined() || decode.isNull()) {
        status = rtf::buildRichText(data, document);
    } else {
        PageDecoder decoder(decode);
        status = rtf::buildRichText(data, document, &decoder);
    }
    val result = val::object();
    result.set("status", static_cast<int>(status));
    result.set("nothingLoaded", textrules::nothingLoaded(status));
    result.set("notice", textrules::readNotice(status));
    result.set("document", documentOut(document));
    return result;
}

val writeRtf(const val& document) {
    return bytesOut(rtf::writeRtf(documentIn(document)));
}

std::string recoveryQuestion(const std::string& fich, int year, int month, int day, int hour, int minute) {
    return textrules::recoveryQuestion(fich, {year, month, day, hour, minute});
}

std::string copyFaultElsewhere(const std::string& where) {
    return textrules::copyFaultText(textrules::CopyFaultKind::Other, where);
}

std::string overwriteQuestion(const std::string& name) {
    return textrules::overwriteQuestion(name);
}

std::string withRtfExtension(const std::string& name) {
    return textrules::withRtfExtension(name);
}

std::string textAreaName(const std::string& fich) {
    return textrules::textAreaName(fich);
}

std::string fileNameOf(const std::string& path) {
    return std::string(textrules::fileNameOf(path));
}

}  // namespace
}  // namespace molvane::web

EMSCRIPTEN_BINDINGS(molvane_richtext) {
    using namespace emscripten;
    using namespace molvane;
    function("readRtf", &web::readRtf);
    function("writeRtf", &web::writeRtf);
    function("textAreaName", &web::textAreaName);
    function("withRtfExtension", &web::withRtfExtension);
    function("fileNameOf", &web::fileNameOf);
    function("overwriteQuestion", &web::overwriteQuestion);
    function("recoveryQuestion", &web::recoveryQuestion);
    function("copyFaultElsewhere", &web::copyFaultElsewhere);
    constant("rtfMaxFileBytes", static_cast<double>(rtf::kMaxFileBytes));
    constant("saveTextTitle", std::string(textrules::kSaveTextTitle));
    constant("discardTitle", std::string(textrules::kDiscardTitle));
    constant("discardText", std::string(textrules::kDiscardText));
    constant("rtfFilterName", std::string(textrules::kRtfFilterName));
    constant("rtfPatterns", std::string(textrules::kRtfPatterns));
    constant("reopenedPrefix", std::string(textrules::kReopenedPrefix));
    constant("incompleteReadTitle", std::string(textrules::kIncompleteReadTitle));
    constant("copyQuietMs", textrules::kCopyQuietMs);
    constant("copyLongestMs", textrules::kCopyLongestMs);
    constant("browserStorageName", std::string(textrules::kBrowserStorageName));
    constant("recoveryTitle", std::string(textrules::kRecoveryTitle));
    constant("recoveryYes", std::string(textrules::kRecoveryYes));
    constant("recoveryNo", std::string(textrules::kRecoveryNo));
    constant("textWriteErrorTitle", std::string(kWriteErrorTitle));
    constant("textReadErrorTitle", std::string(kReadErrorTitle));
    constant("driveAdvice", std::string(kDriveAdvice));
}
