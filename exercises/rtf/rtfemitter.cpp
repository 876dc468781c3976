#include "rtfemitter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "common/cp1252.h"
#include "rtfunderline.h"

namespace molvane::rtf {

namespace {

using richtext::CharFormat;
using richtext::Paragraph;
using richtext::ParagraphFormat;

// Width shared by table columns the layout sizes: the text width of an A4
// page with 2 cm margins.
constexpr int kPageTextTwips = 9638;
constexpr std::size_t kHexPerLine = 128;

// A UTF-16 unit as \uN, N signed as RTF wants it, with "?" for the readers
// that skip one character after it.
void unicodeWord(char16_t unit, std::string& out) {
    out += "\\u";
    out += std::to_string(static_cast<std::int16_t>(unit));
    out += '?';
}

bool isHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

class Emitter {
public:
    explicit Emitter(const richtext::Document& document);
    std::string finish();

    void writeBlocks();

private:
    void writeTable(const richtext::Table& table);
    void writeParagraph(const Paragraph& paragraph, bool inTable);
    void writeParagraphProperties(const ParagraphFormat& format, bool inTable);
    void writeCharacterProperties(const CharFormat& format);
    void writePicture(const richtext::Picture& picture);
    void endParagraph();

    void escaped(std::u16string_view text, std::string& out);
    static void escapedName(std::u16string_view name, std::string& out);
    int fontIndex(const std::u16string& family);
    int colourIndex(const richtext::Colour& colour);

    void word(std::string_view name) { body_ += name; }
    void word(std::string_view name, int value) {
        body_ += name;
        body_ += std::to_string(value);
    }

    const richtext::Document& document_;
    std::vector<std::u16string> fonts_;
    std::map<std::u16string, int> fontIndices_;
    std::vector<richtext::Colour> colours_;
    std::string body_;
    std::map<char16_t, unsigned char> ansiBytes_;  // Windows-1252 bytes of the characters above 0x7F

    // The paragraph mark of the last paragraph written waits until we know
    // what follows: another paragraph, a cell end or nothing.
    bool paragraphOpen_ = false;
    bool lastParagraphEmpty_ = false;
    CharFormat lastMark_;
    int paragraphsInCell_ = 0;
};

Emitter::Emitter(const richtext::Document& document) : document_(document) {
    fontIndex(document.defaultFont);  // font 0 is the default font: \deff0
    for (int b = 0x80; b <= 0xFF; ++b)
        ansiBytes_.emplace(cp1252Character(static_cast<unsigned char>(b)), static_cast<unsigned char>(b));
}

std::string Emitter::finish() {
    // Every paragraph has its mark, the last one too: a reader takes a final
    // \par for the end of the last paragraph, so an empty one there survives.
    endParagraph();
    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        out += "{\\f" + std::to_string(i) + "\\fnil\\fcharset0 ";
        escapedName(fonts_[i], out);
        out += ";}";
    }
    out += "}\n{\\colortbl;";
    for (const richtext::Colour& c : colours_) {
        out += "\\red" + std::to_string(c.red) + "\\green" + std::to_string(c.green) + "\\blue" +
               std::to_string(c.blue) + ';';
    }
    out += "}\n";
    out += body_;
    out += "}\n";
    return out;
}

int Emitter::fontIndex(const std::u16string& family) {
    const std::u16string& name = family.empty() ? document_.defaultFont : family;
    const auto it = fontIndices_.find(name);
    if (it != fontIndices_.end()) return it->second;
    fonts_.push_back(name);
    const int index = static_cast<int>(fonts_.size()) - 1;
    fontIndices_.emplace(name, index);
    return index;
}

int Emitter::colourIndex(const richtext::Colour& colour) {
    const auto at = std::find(colours_.begin(), colours_.end(), colour);
    if (at != colours_.end()) return static_cast<int>(at - colours_.begin()) + 1;
    colours_.push_back(colour);
    return static_cast<int>(colours_.size());  // index 0 is "automatic"
}

// A font's name: plain ASCII as it is, every other character as \uN, which
// readers take whatever the font's code page, and nothing that would end or
// break the name.
void Emitter::escapedName(std::u16string_view name, std::string& out) {
    for (const char16_t u : name) {
        if (u == ';' || u < 0x20 || u == 0x2028 || u == 0x2029) continue;
        if (u == '\\' || u == '{' || u == '}') out += '\\';
        if (u < 0x7F)
            out += static_cast<char>(u);
        else
            unicodeWord(u, out);
    }
}

void Emitter::escaped(std::u16string_view text, std::string& out) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t u = text[i];
        // A half of a surrogate pair on its own stands for no character.
        if (isHighSurrogate(u) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            unicodeWord(u, out);
            u = text[++i];
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            u = 0xFFFD;
        }
        switch (u) {
            case '\\':
                out += "\\\\";
                continue;
            case '{':
                out += "\\{";
                continue;
            case '}':
                out += "\\}";
                continue;
            case '\t':
                out += "\\tab ";
                continue;
            case 0x2028:
                out += "\\line ";
                continue;
            case 0x00A0:
                out += "\\~";
                continue;
            case 0x2011:
                out += "\\_";
                continue;
            case 0x00AD:
                out += "\\-";
                continue;
            case 0xFFFC:
                continue;  // an object without a picture
            default:
                break;
        }
        if (u < 0x20) continue;
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (const auto it = ansiBytes_.find(u); it != ansiBytes_.end()) {
            static const char hex[] = "0123456789abcdef";
            out += "\\'";
            out += hex[it->second >> 4];
            out += hex[it->second & 0xF];
        } else {
            unicodeWord(u, out);
        }
    }
}

void Emitter::writeBlocks() {
    for (const richtext::Block& block : document_.blocks) {
        if (block.table)
            writeTable(*block.table);
        else if (block.paragraph)
            writeParagraph(*block.paragraph, false);
    }
    // A table is followed by a paragraph, as in word processors: without
    // one, a reader would give the properties in force at the end of the
    // document to the table's last paragraph.
    if (!document_.blocks.empty() && document_.blocks.back().table) writeParagraph(Paragraph{}, false);
}

void Emitter::endParagraph() {
    if (!paragraphOpen_) return;
    if (lastParagraphEmpty_) {
        // the mark carries the size of an empty line
        body_ += '{';
        writeCharacterProperties(lastMark_);
        body_ += "\\par}\n";
    } else {
        body_ += "\\par\n";
    }
    paragraphOpen_ = false;
}

void Emitter::writeParagraph(const Paragraph& paragraph, bool inTable) {
    endParagraph();
    writeParagraphProperties(paragraph.format, inTable);
    if (paragraph.listItem) {
        // Word processors show the marker from \listtext.
        body_ += "{\\listtext";
        writeCharacterProperties(paragraph.mark);
        body_ += ' ';
        escaped(paragraph.listMarker, body_);
        body_ += "\\tab}";
    }
    for (const richtext::Run& run : paragraph.runs) {
        if (run.isPicture()) {
            if (static_cast<std::size_t>(run.picture) < document_.pictures.size())
                writePicture(document_.pictures[static_cast<std::size_t>(run.picture)]);
            continue;
        }
        body_ += '{';
        writeCharacterProperties(run.format);
        body_ += ' ';
        escaped(run.text, body_);
        body_ += '}';
    }
    paragraphOpen_ = true;
    ++paragraphsInCell_;
    lastParagraphEmpty_ = paragraph.runs.empty();
    lastMark_ = paragraph.mark;
}

void Emitter::writeParagraphProperties(const ParagraphFormat& format, bool inTable) {
    word("\\pard\\plain");
    if (inTable) word("\\intbl");
    // A property of the paragraph rather than a \page before it, so that it
    // holds for a first paragraph and in a table's cell too.
    if (format.pageBreakBefore) word("\\pagebb");
    switch (format.alignment) {
        case richtext::Alignment::Justify:
            word("\\qj");
            break;
        case richtext::Alignment::Centre:
            word("\\qc");
            break;
        case richtext::Alignment::Right:
            word("\\qr");
            break;
        case richtext::Alignment::Left:
            word("\\ql");
            break;
    }
    const auto measure = [this](std::string_view name, int twips) {
        if (twips != 0) word(name, twips);
    };
    measure("\\li", format.leftIndent);
    measure("\\ri", format.rightIndent);
    measure("\\fi", format.firstIndent);
    measure("\\sb", format.spaceBefore);
    measure("\\sa", format.spaceAfter);
    switch (format.lineSpacing) {
        case richtext::LineSpacing::Proportional:
            word("\\sl", format.lineSpacingValue);
            word("\\slmult1");
            break;
        case richtext::LineSpacing::AtLeast:
            word("\\sl", format.lineSpacingValue);
            word("\\slmult0");
            break;
        case richtext::LineSpacing::Exactly:
            word("\\sl", -format.lineSpacingValue);
            word("\\slmult0");
            break;
        case richtext::LineSpacing::Single:
            break;
    }
    for (const richtext::TabStop& tab : format.tabs) {
        if (tab.kind == richtext::TabKind::Right) word("\\tqr");
        if (tab.kind == richtext::TabKind::Centre) word("\\tqc");
        if (tab.kind == richtext::TabKind::Decimal) word("\\tqdec");
        word("\\tx", tab.position);
    }
    body_ += ' ';
}

void Emitter::writeCharacterProperties(const CharFormat& format) {
    word("\\f", fontIndex(format.font));
    word("\\fs", format.halfPoints);
    if (format.bold) word("\\b");
    if (format.italic) word("\\i");
    if (const std::string_view underline = underlineWordOf(format.underline); !underline.empty())
        word(underline);
    if (format.strike) word("\\strike");
    if (format.vertical == richtext::VerticalPosition::Superscript) word("\\super");
    if (format.vertical == richtext::VerticalPosition::Subscript) word("\\sub");
    if (format.capitals == richtext::Capitals::All) word("\\caps");
    if (format.capitals == richtext::Capitals::Small) word("\\scaps");
    if (format.foreground) word("\\cf", colourIndex(*format.foreground));
    if (format.background) word("\\highlight", colourIndex(*format.background));
}

void Emitter::writePicture(const richtext::Picture& picture) {
    body_ += "{\\pict";
    if (!picture.description.empty()) {
        // where word processors keep a picture's alternative text
        body_ += "{\\*\\picprop{\\sp{\\sn wzDescription}{\\sv ";
        escaped(picture.description, body_);
        body_ += "}}}";
    }
    word(picture.format == richtext::PictureFormat::Jpeg ? "\\jpegblip" : "\\pngblip");
    word("\\picw", picture.pixelWidth);
    word("\\pich", picture.pixelHeight);
    word("\\picwgoal", picture.width);
    word("\\pichgoal", picture.height);
    static const char hex[] = "0123456789abcdef";
    for (std::size_t at = 0; at < picture.bytes.size(); ++at) {
        if (at % (kHexPerLine / 2) == 0) body_ += '\n';
        const auto b = static_cast<unsigned char>(picture.bytes[at]);
        body_ += hex[b >> 4];
        body_ += hex[b & 0xF];
    }
    body_ += "}";
}

void Emitter::writeTable(const richtext::Table& table) {
    endParagraph();
    const int columns = table.columns;

    // Given widths are kept; the others share the page.
    std::vector<int> widths(static_cast<std::size_t>(columns), 0);
    int fixedTotal = 0;
    int freeColumns = 0;
    for (int c = 0; c < columns; ++c) {
        const auto at = static_cast<std::size_t>(c);
        const int width = at < table.columnWidths.size() ? table.columnWidths[at] : 0;
        if (width > 0) {
            widths[at] = width;
            fixedTotal += width;
        } else {
            ++freeColumns;
        }
    }
    const int share = freeColumns ? std::max(300, (kPageTextTwips - fixedTotal) / freeColumns) : 0;
    for (int& w : widths)
        if (w == 0) w = share;

    for (const richtext::TableRow& row : table.rows) {
        word("\\trowd\\trgaph108");
        int edge = 0;
        for (int c = 0; c < columns; ++c) {
            if (table.borders)
                word(
                    "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\br"
                    "drs\\brdrw10");
            edge += widths[static_cast<std::size_t>(c)];
            word("\\cellx", edge);
        }
        body_ += '\n';
        for (int c = 0; c < columns; ++c) {
            const auto at = static_cast<std::size_t>(c);
            if (at < row.cells.size() && !row.cells[at].covered) {
                paragraphsInCell_ = 0;
                for (const Paragraph& paragraph : row.cells[at].paragraphs) writeParagraph(paragraph, true);
                // A \par right before \cell ends the same paragraph as the
                // cell mark: an empty last paragraph needs a mark of its own.
                if (paragraphsInCell_ > 1 && lastParagraphEmpty_) endParagraph();
            } else {
                writeParagraphProperties(ParagraphFormat{}, true);  // covered by a merged cell
            }
            paragraphOpen_ = false;
            word("\\cell\n");
        }
        word("\\row\n");
    }
}

}  // namespace

std::string writeRtf(const richtext::Document& document) {
    Emitter emitter(document);
    emitter.writeBlocks();
    return emitter.finish();
}

}  // namespace molvane::rtf
