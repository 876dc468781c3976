// The rich text of the text area as plain data: paragraphs, tables and
// pictures, with the formats word processors share. The RTF builder fills
// it, the RTF writer writes it, the desktop maps it to and from its text
// document and the page shows it; none of them needs another's types.
//
// Text is UTF-16, as the desktop's and the page's strings are, so that an
// offset in a run is an offset on screen. Measures are twips (1/1440 inch).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace molvane::richtext {

enum class Alignment : std::uint8_t { Left, Centre, Right, Justify };
enum class Underline : std::uint8_t { None, Single, Dash, Dotted, DashDot, DashDotDot, Wave };
enum class VerticalPosition : std::uint8_t { Normal, Superscript, Subscript };
enum class Capitals : std::uint8_t { Mixed, All, Small };
enum class TabKind : std::uint8_t { Left, Right, Centre, Decimal };
enum class LineSpacing : std::uint8_t {
    Single,
    Proportional,  // lineSpacingValue in 240ths of a line: 360 is one and a half
    AtLeast,       // lineSpacingValue in twips
    Exactly,       // lineSpacingValue in twips
};
enum class PictureFormat : std::uint8_t { Png, Jpeg };

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Colour&) const = default;
};

struct CharFormat {
    std::u16string font;  // family; empty for the document's default font
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    Underline underline = Underline::None;
    VerticalPosition vertical = VerticalPosition::Normal;
    Capitals capitals = Capitals::Mixed;
    std::optional<Colour> foreground;  // none: the text's usual colour
    std::optional<Colour> background;  // none: no highlight
    bool operator==(const CharFormat&) const = default;
};

struct TabStop {
    int position = 0;  // twips from the left indent's origin
    TabKind kind = TabKind::Left;
    bool operator==(const TabStop&) const = default;
};

struct ParagraphFormat {
    Alignment alignment = Alignment::Left;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;  // of the first line, from the left indent
    int spaceBefore = 0;
    int spaceAfter = 0;
    LineSpacing lineSpacing = LineSpacing::Single;
    int lineSpacingValue = 0;
    bool pageBreakBefore = false;
    std::vector<TabStop> tabs;
    bool operator==(const ParagraphFormat&) const = default;
};

// A picture as its file's bytes. The shown size may differ from the pixels'.
struct Picture {
    std::string bytes;
    PictureFormat format = PictureFormat::Png;
    int pixelWidth = 0;
    int pixelHeight = 0;
    int width = 0;  // shown, twips
    int height = 0;
    std::u16string description;  // what a screen reader says for it; may be empty
    bool operator==(const Picture&) const = default;
};

// A piece of text of one format, or one picture.
struct Run {
    std::u16string text;  // empty for a picture
    CharFormat format;
    int picture = -1;  // index into Document::pictures, or -1 for text
    bool isPicture() const { return picture >= 0; }
    bool operator==(const Run&) const = default;
};

struct Paragraph {
    ParagraphFormat format;
    CharFormat mark;  // the format of the paragraph mark: an empty line's height
    // Whether the file gave the paragraph its properties. One that ended
    // before they came (the file was cut, or a bound reached) takes the
    // paragraph's before it, or those of the one it was read into.
    bool formatted = false;
    bool listItem = false;      // a list's item, drawn with its marker
    std::u16string listMarker;  // "•", "1.", ...
    std::vector<Run> runs;
    bool operator==(const Paragraph&) const = default;
};

struct TableCell {
    std::vector<Paragraph> paragraphs;  // at least one
    bool covered = false;               // hidden under a neighbour merged over it
    bool operator==(const TableCell&) const = default;
};

struct TableRow {
    std::vector<TableCell> cells;  // as many as the table has columns
    int cellsRead = 0;             // cells the file gave this row; the rest were added for a longer row
    bool operator==(const TableRow&) const = default;
};

struct Table {
    // Twips; 0, or missing past the end, for a column the layout sizes.
    std::vector<int> columnWidths;
    bool borders = false;
    int columns = 1;
    int firstColumns = 1;  // columns of the first row before later rows added some
    std::vector<TableRow> rows;
    bool operator==(const Table&) const = default;
};

// A paragraph or a table, in reading order.
struct Block {
    std::optional<Paragraph> paragraph;
    std::optional<Table> table;
    bool operator==(const Block&) const = default;
};

// The document begins with a paragraph (text read into an existing paragraph
// joins it) and a paragraph follows a table only when the file gave one.
struct Document {
    std::vector<Block> blocks;
    std::vector<Picture> pictures;
    std::u16string defaultFont;  // family for runs that name none
    bool operator==(const Document&) const = default;
};

// Plain text of a run list, a picture counting as its description.
std::u16string plainText(const std::vector<Run>& runs, const Document& document);

}  // namespace molvane::richtext
