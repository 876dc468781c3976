#include "rtfbuilder.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/cp1252.h"
#include "picturesize.h"
#include "rtfcharsets.h"
#include "rtfcontrolwords.h"
#include "rtftokenizer.h"
#include "rtfunderline.h"

namespace molvane::rtf {

namespace {

using richtext::Alignment;
using richtext::Capitals;
using richtext::CharFormat;
using richtext::Colour;
using richtext::Paragraph;
using richtext::ParagraphFormat;
using richtext::TabKind;
using richtext::Underline;
using richtext::VerticalPosition;

enum class Destination {
    Body,  // text of the document
    Skip,  // ignored with everything nested in it
    FontTable,
    ColourTable,
    Picture,
    PictureProperties,  // a picture's named properties
    PropertyName,
    PropertyValue,
    Object,  // an embedded object: only its \result shows
};

constexpr char16_t kLineSeparator = 0x2028;
constexpr char16_t kParagraphSeparator = 0x2029;
constexpr char16_t kObjectReplacement = 0xFFFC;
constexpr char16_t kReplacement = 0xFFFD;
constexpr char16_t kZeroWidthSpace = 0x200B;

bool isHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}
bool isSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDFFF;
}
bool isSpace(char16_t u) {
    return (u >= 0x09 && u <= 0x0D) || u == 0x20 || u == 0x85 || u == 0xA0 || u == 0x1680 ||
           (u >= 0x2000 && u <= 0x200A) || u == kLineSeparator || u == kParagraphSeparator || u == 0x202F ||
           u == 0x205F || u == 0x3000;
}

struct CharState {
    int font = -1;  // -1: the document's default font
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    Underline underline = Underline::None;
    VerticalPosition vertical = VerticalPosition::Normal;
    Capitals caps = Capitals::Mixed;
    int colour = 0;  // indexes into the colour table; 0 is "automatic"
    int highlight = 0;
};

struct ParaState {
    Alignment alignment = Alignment::Left;
    int leftIndent = 0;  // twips
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0;  // \sl: 0 single, > 0 at least, < 0 exactly
    bool lineMultiple = false;
    bool pageBefore = false;  // \pagebb
    bool inTable = false;
    std::vector<richtext::TabStop> tabs;
};

struct State {
    CharState chr;
    ParaState para;
    Destination dest = Destination::Body;
    int unicodeSkip = 1;
};

struct FontEntry {
    std::u16string family;
    int codePage = 0;  // 0: the document's
    SymbolFont symbol = SymbolFont::None;
};

struct PendingPicture {
    std::string data;
    int pendingNibble = -1;
    bool png = false;
    bool jpeg = false;
    bool tooBig = false;
    int width = 0;  // \picw, \pich: pixels for bitmaps
    int height = 0;
    int goalWidth = 0;  // twips
    int goalHeight = 0;
    int scaleX = 100;
    int scaleY = 100;
    std::u16string description;
};

int clampInt(std::int64_t v, int lo, int hi) {
    return static_cast<int>(std::clamp<std::int64_t>(v, lo, hi));
}

// Indents, spacing and tab positions beyond 22 inches are nonsense; keeping
// them in range also keeps the layout engine out of trouble.
constexpr int kMaxTwips = 22 * 1440;
int twipsParam(std::int64_t v) {
    return clampInt(v, -kMaxTwips, kMaxTwips);
}

// Pictures' shown sizes are worked out in pixels of 15 twips, the desktop's,
// so that what it shows and what is written again agree to the twip.
constexpr double kTwipsPerPixel = 15.0;
int pixelsToTwips(double pixels) {
    return static_cast<int>(std::lround(pixels * kTwipsPerPixel));
}

// Puts U+FFFD for what no document may hold: halves of surrogate pairs on
// their own, control characters other than the tab (a decoder's mark for a
// byte it could not read), and the object character, which stands for a
// picture only in a picture's format. A paragraph separator would split the
// paragraph behind the builder's back: it becomes a line break.
void makeWellFormed(std::u16string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        if (isHighSurrogate(u) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            ++i;
        } else if (isSurrogate(u) || (u < 0x20 && u != '\t') || u == kObjectReplacement) {
            text[i] = kReplacement;
        } else if (u == kParagraphSeparator) {
            text[i] = kLineSeparator;
        }
    }
}

std::u16string trimmed(const std::u16string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isSpace(text[begin])) ++begin;
    while (end > begin && isSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

void appendCp1252(std::string_view bytes, std::u16string& out) {
    for (char ch : bytes) out.push_back(cp1252Character(static_cast<unsigned char>(ch)));
}
void appendLatin1(std::string_view bytes, std::u16string& out) {
    for (char ch : bytes) out.push_back(static_cast<unsigned char>(ch));
}

bool equalsAsciiNoCase(const std::u16string& text, std::string_view ascii, bool prefix) {
    if (text.size() < ascii.size() || (!prefix && text.size() != ascii.size())) return false;
    for (std::size_t i = 0; i < ascii.size(); ++i) {
        char16_t c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char16_t>(c - 'A' + 'a');
        char a = ascii[i];
        if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
        if (c != static_cast<char16_t>(a)) return false;
    }
    return true;
}

// \uN gives a UTF-16 unit as a signed 16-bit number: -1 is U+FFFF.
std::int64_t unicodeUnit(std::int32_t value) {
    return value < 0 ? std::int64_t(value) + 65536 : value;
}

SymbolFont symbolFontFor(const std::u16string& family) {
    if (equalsAsciiNoCase(family, "Symbol", false)) return SymbolFont::Symbol;
    if (equalsAsciiNoCase(family, "Wingdings", true)) return SymbolFont::Wingdings;
    return SymbolFont::None;
}

// Consumes "{\\rtf", which every RTF file starts with (blanks allowed before).
bool readHeader(Tokenizer& tokens) {
    Token t = tokens.next();
    while (t.type == TokenType::Text && t.bytes.find_first_not_of(" \t") == std::string_view::npos)
        t = tokens.next();
    if (t.type != TokenType::GroupStart) return false;
    t = tokens.next();
    return t.type == TokenType::ControlWord && t.name == "rtf";
}

class Builder {
public:
    Builder(richtext::Document& document, CodePageDecoder* decoder) : doc_(document), decoder_(decoder) {}
    ReadStatus run(std::string_view data);

private:
    State& state() { return stack_.back(); }
    const State& state() const { return stack_.back(); }
    void report(ReadStatus s) {
        if (status_ == ReadStatus::Ok) status_ = s;
    }

    void groupStart();
    bool groupEnd();  // false once the outermost group has closed
    void controlWord(std::string_view name, bool hasParameter, std::int32_t parameter);
    void bodyWord(const WordInfo& info, bool on, std::int32_t value);
    void destinationWord(Word word);
    void textBytes(std::string_view bytes);
    void binaryData(std::string_view bytes);

    // body text
    void appendByte(unsigned char b);
    void appendCharacter(char32_t c);
    void decodeBytes(int codePage, std::string_view bytes, std::u16string& out);
    void flushBytes();
    void flushText();
    CharFormat charFormat() const;
    ParagraphFormat paragraphFormat() const;
    const FontEntry* font(int number) const;

    // the model: where the next content goes
    Paragraph& paragraph();
    richtext::Table& table() { return *doc_.blocks[static_cast<std::size_t>(tableBlock_)].table; }
    bool inTable() const { return tableBlock_ >= 0; }
    void addText(const std::u16string& text, const CharFormat& format);

    // paragraphs and tables
    void ensureContainer();
    void paragraphBreak(bool page);
    void applyParagraphFormat();
    void endCell();
    void endRow();
    void startTable();
    void leaveTable();
    void enterCell(int row, int column);

    // tables in the header
    void fontTableText(std::string_view bytes);
    void commitFont();
    void colourTableText(std::string_view bytes);

    void finishPicture();
    void descriptionUnit(std::int64_t unit);
    void flushDescription();
    bool descriptionHasRoom() const;

    // bounds on what the document holds
    void stop();
    bool insertParagraph();
    std::u16string boundedText(const std::u16string& text);
    std::size_t pendingRoom() const;

    richtext::Document& doc_;
    CodePageDecoder* decoder_;
    std::vector<State> stack_;
    int droppedDepth_ = 0;  // groups opened past kMaxGroupDepth
    bool ignorableNext_ = false;
    int skipCount_ = 0;  // characters still to skip after \uN
    ReadStatus status_ = ReadStatus::Ok;

    int documentCodePage_ = kCodePageAnsi;
    int defaultFont_ = -1;
    std::map<int, FontEntry> fonts_;
    std::vector<std::optional<Colour>> colours_;

    // font table entry being read
    int fontNumber_ = 0;
    int fontCharset_ = 0;
    bool fontCharsetGiven_ = false;
    int fontCodePage_ = 0;
    std::string fontName_;  // bytes still to decode
    int fontEntries_ = 0;
    std::u16string fontNameText_;  // the name decoded so far (\u characters, and the bytes before them)
    int fontEntryCodePage() const;
    bool fontNameHasRoom() const;
    std::u16string decodeFontName(const std::string& bytes) const;
    void fontNameUnit(std::int64_t unit);
    // colour table entry being read
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colourGiven_ = false;

    std::string bytes_;    // undecoded text in the current code page
    std::u16string text_;  // decoded text not yet in the document

    bool pendingBreak_ = false;  // a \par whose new paragraph waits for content
    bool pendingPage_ = false;
    bool breakInCell_ = false;  // the pending \par ended a paragraph of a table's cell
    bool blockBreaksPage_ = false;
    bool blockTouched_ = false;  // the current paragraph received something

    int tableBlock_ = -1;  // the table being read, as its place in the document's blocks
    int row_ = 0;
    int column_ = 0;
    bool cellEnded_ = false;
    bool rowEnded_ = false;
    bool tablesDisabled_ = false;  // past kMaxTableCells: cells become tabs
    int cellsUsed_ = 0;
    std::vector<int> cellEdges_;
    bool rowBorders_ = false;
    TabKind nextTabType_ = TabKind::Left;

    PendingPicture picture_;
    std::string propertyName_;      // of the picture's property being read
    std::string descriptionBytes_;  // undecoded bytes of its description
    std::int64_t picturePixels_ = 0;
    int pictures_ = 0;

    std::int64_t characters_ = 0;
    int lines_ = 1;  // the paragraph the reading starts in
    int runs_ = 0;
    int wordLength_ = 0;  // characters since the last place a line may break
    bool full_ = false;   // a bound was reached: nothing more is read
};

ReadStatus Builder::run(std::string_view data) {
    Tokenizer tokens(data);
    if (!readHeader(tokens)) return ReadStatus::NotRtf;

    doc_.blocks.push_back(richtext::Block{Paragraph{}, std::nullopt});
    stack_.reserve(kMaxGroupDepth + 1);
    stack_.push_back(State{});
    stack_.push_back(State{});
    bool open = true;
    for (Token t = tokens.next(); t.type != TokenType::End && open && !full_; t = tokens.next()) {
        switch (t.type) {
            case TokenType::GroupStart:
                groupStart();
                break;
            case TokenType::GroupEnd:
                open = groupEnd();
                break;
            case TokenType::ControlWord:
                controlWord(t.name, t.hasParameter, t.parameter);
                break;
            case TokenType::ControlSymbol:
                if (t.symbol == '\\' || t.symbol == '{' || t.symbol == '}')
                    textBytes(std::string_view(&t.symbol, 1));
                else if (t.symbol == '\n' || t.symbol == '\r')
                    controlWord("par", false, 0);  // a backslash ending a line is a paragraph mark
                else
                    controlWord(std::string_view(&t.symbol, 1), false, 0);
                break;
            case TokenType::HexByte:
                textBytes(std::string_view(reinterpret_cast<const char*>(&t.byte), 1));
                break;
            case TokenType::Text:
                textBytes(t.bytes);
                break;
            case TokenType::Binary:
                binaryData(t.bytes);
                break;
            case TokenType::End:
                break;
        }
    }
    flushText();
    if (state().dest == Destination::Picture) finishPicture();
    // A tokenizer error explains a truncation it caused (\bin eating the end).
    if (tokens.error() != TokenError::None) report(ReadStatus::Malformed);
    if (open) {
        if (!pendingBreak_ && blockTouched_) applyParagraphFormat();
        if (!full_) report(ReadStatus::Truncated);
    }
    return status_;
}

void Builder::groupStart() {
    flushText();
    skipCount_ = 0;
    ignorableNext_ = false;
    if (droppedDepth_ > 0 || static_cast<int>(stack_.size()) > kMaxGroupDepth) {
        ++droppedDepth_;
        report(ReadStatus::TooDeep);
        return;
    }
    stack_.push_back(stack_.back());
}

bool Builder::groupEnd() {
    flushText();
    skipCount_ = 0;
    ignorableNext_ = false;
    if (droppedDepth_ > 0) {
        --droppedDepth_;
        return true;
    }
    const Destination closing = state().dest;
    if (closing == Destination::FontTable && (!fontName_.empty() || !fontNameText_.empty())) commitFont();
    if (closing == Destination::PropertyValue) flushDescription();
    // The last paragraph needs no \par: it takes the properties in force
    // when the document's group closes.
    if (stack_.size() == 2 && !pendingBreak_ && blockTouched_) applyParagraphFormat();
    stack_.pop_back();
    if (closing == Destination::Picture && state().dest != Destination::Picture) finishPicture();
    return stack_.size() > 1;
}

void Builder::controlWord(std::string_view name, bool hasParameter, std::int32_t parameter) {
    if (skipCount_ > 0) {
        --skipCount_;
        return;
    }
    const auto info = lookupWord(name);
    const bool ignorable = ignorableNext_;
    ignorableNext_ = false;
    Destination& dest = state().dest;
    if (dest == Destination::Skip || droppedDepth_ > 0) return;
    if (!info) {
        if (ignorable) {
            flushText();
            dest = Destination::Skip;
        }
        return;
    }
    if (info->word == Word::IgnorableMarker) {
        ignorableNext_ = true;
        return;
    }
    if (info->kind == WordKind::Destination) {
        flushText();
        destinationWord(info->word);
        return;
    }
    if (ignorable) {
        dest = Destination::Skip;  // \* before a word that is no destination
        return;
    }
    const std::int32_t value = hasParameter ? parameter : info->defaultValue;
    const bool on = !hasParameter || parameter != 0;

    switch (dest) {
        case Destination::FontTable:
            switch (info->word) {
                case Word::Font:
                    if (!fontName_.empty() || !fontNameText_.empty()) commitFont();
                    fontNumber_ = value;
                    fontCharset_ = 0;
                    fontCharsetGiven_ = false;
                    fontCodePage_ = 0;
                    break;
                case Word::Unicode:
                    skipCount_ = state().unicodeSkip;
                    fontNameUnit(unicodeUnit(value));
                    break;
                case Word::Character:
                    fontNameUnit(info->defaultValue);
                    break;
                case Word::FontCharset:
                    fontCharset_ = value;
                    fontCharsetGiven_ = true;
                    break;
                case Word::FontCodePage:
                    fontCodePage_ = value;
                    break;
                default:
                    break;
            }
            return;
        case Destination::ColourTable:
            switch (info->word) {
                case Word::Red:
                    red_ = clampInt(value, 0, 255), colourGiven_ = true;
                    break;
                case Word::Green:
                    green_ = clampInt(value, 0, 255), colourGiven_ = true;
                    break;
                case Word::Blue:
                    blue_ = clampInt(value, 0, 255), colourGiven_ = true;
                    break;
                default:
                    break;
            }
            return;
        case Destination::Picture:
            switch (info->word) {
                case Word::PngBlip:
                    picture_.png = true;
                    break;
                case Word::JpegBlip:
                    picture_.jpeg = true;
                    break;
                case Word::PictureWidth:
                    picture_.width = clampInt(value, 0, kMaxTwips);
                    break;
                case Word::PictureHeight:
                    picture_.height = clampInt(value, 0, kMaxTwips);
                    break;
                case Word::PictureGoalWidth:
                    picture_.goalWidth = clampInt(value, 0, kMaxTwips);
                    break;
                case Word::PictureGoalHeight:
                    picture_.goalHeight = clampInt(value, 0, kMaxTwips);
                    break;
                case Word::PictureScaleX:
                    picture_.scaleX = clampInt(value, 1, 1000);
                    break;
                case Word::PictureScaleY:
                    picture_.scaleY = clampInt(value, 1, 1000);
                    break;
                default:
                    break;
            }
            return;
        case Destination::PropertyValue:
            if (info->word == Word::Unicode) {
                skipCount_ = state().unicodeSkip;
                descriptionUnit(unicodeUnit(value));
            } else if (info->word == Word::Character) {
                descriptionUnit(info->defaultValue);
            }
            return;
        case Destination::PictureProperties:
        case Destination::PropertyName:
            return;
        case Destination::Body:
        case Destination::Object:
            bodyWord(*info, on, value);
            return;
        case Destination::Skip:
            return;
    }
}

void Builder::destinationWord(Word word) {
    Destination& dest = state().dest;
    const bool body = dest == Destination::Body || dest == Destination::Object;
    switch (word) {
        case Word::FontTable:
            dest = body ? Destination::FontTable : Destination::Skip;
            fontName_.clear();
            fontNameText_.clear();
            break;
        case Word::ColourTable:
            dest = body ? Destination::ColourTable : Destination::Skip;
            red_ = green_ = blue_ = 0;
            colourGiven_ = false;
            break;
        case Word::Picture:
            if (dest == Destination::Picture) break;
            dest = body ? Destination::Picture : Destination::Skip;
            picture_ = PendingPicture{};
            break;
        case Word::PictureProperties:
            dest = dest == Destination::Picture ? Destination::PictureProperties : Destination::Skip;
            break;
        case Word::PropertyName:
            dest = dest == Destination::PictureProperties ? Destination::PropertyName : Destination::Skip;
            propertyName_.clear();
            break;
        case Word::PropertyValue:
            dest = dest == Destination::PictureProperties ? Destination::PropertyValue : Destination::Skip;
            descriptionBytes_.clear();
            break;
        case Word::ObjectResult:
            if (dest == Destination::Object) dest = Destination::Body;
            break;
        case Word::ShapePicture:
        case Word::Field:
        case Word::FieldResult:
        case Word::ListText:
            if (!body) dest = Destination::Skip;
            break;
        case Word::Object:
            dest = body ? Destination::Object : Destination::Skip;
            break;
        default:
            dest = Destination::Skip;
            break;
    }
}

void Builder::bodyWord(const WordInfo& info, bool on, std::int32_t value) {
    // Words that only add characters keep the pending text as it is.
    if (info.word == Word::Character) {
        appendCharacter(char32_t(info.defaultValue));
        return;
    }
    if (info.word == Word::Unicode) {
        skipCount_ = state().unicodeSkip;
        const std::int64_t unit = unicodeUnit(value);
        appendCharacter(unit >= 0 && unit <= 0xFFFF ? char32_t(unit) : char32_t(0xFFFD));
        return;
    }
    flushText();
    CharState& c = state().chr;
    ParaState& p = state().para;
    switch (info.word) {
        case Word::Ansi:
            documentCodePage_ = kCodePageAnsi;
            break;
        case Word::Mac:
            documentCodePage_ = 10000;
            break;
        case Word::Pc:
            documentCodePage_ = 437;
            break;
        case Word::Pca:
            documentCodePage_ = 850;
            break;
        case Word::AnsiCpg:
            documentCodePage_ = codecNameForCodePage(value) ? value : kCodePageAnsi;
            break;
        case Word::DefaultFont:
            defaultFont_ = value;
            break;
        case Word::UnicodeSkip:
            state().unicodeSkip = clampInt(value, 0, 16);
            break;

        case Word::Plain:
            c = CharState{};
            break;
        case Word::Font:
            c.font = value;
            break;
        case Word::FontSize:
            c.halfPoints = value > 0 ? clampInt(value, 2, 2000) : 24;
            break;
        case Word::Bold:
            c.bold = on;
            break;
        case Word::Italic:
            c.italic = on;
            break;
        case Word::Strike:
            c.strike = on;
            break;
        case Word::Hidden:
            c.hidden = on;
            break;
        case Word::Caps:
            c.caps = on ? Capitals::All : Capitals::Mixed;
            break;
        case Word::SmallCaps:
            c.caps = on ? Capitals::Small : Capitals::Mixed;
            break;
        case Word::Underline:
        case Word::UnderlineWords:
        case Word::UnderlineDouble:
        case Word::UnderlineThick:
        case Word::UnderlineDotted:
        case Word::UnderlineDash:
        case Word::UnderlineDashDot:
        case Word::UnderlineDashDotDot:
        case Word::UnderlineWave:
            c.underline = on ? *underlineKindOf(info.word) : Underline::None;
            break;
        case Word::UnderlineNone:
            c.underline = Underline::None;
            break;
        case Word::Sub:
            c.vertical = VerticalPosition::Subscript;
            break;
        case Word::Super:
            c.vertical = VerticalPosition::Superscript;
            break;
        case Word::NoSuperSub:
            c.vertical = VerticalPosition::Normal;
            break;
        case Word::Up:
            c.vertical = value > 0 ? VerticalPosition::Superscript : VerticalPosition::Normal;
            break;
        case Word::Down:
            c.vertical = value > 0 ? VerticalPosition::Subscript : VerticalPosition::Normal;
            break;
        case Word::Colour:
            c.colour = value;
            break;
        case Word::Highlight:
            c.highlight = value;
            break;

        case Word::ParagraphDefault:
            p = ParaState{};
            break;
        case Word::AlignLeft:
            p.alignment = Alignment::Left;
            break;
        case Word::AlignCentre:
            p.alignment = Alignment::Centre;
            break;
        case Word::AlignRight:
            p.alignment = Alignment::Right;
            break;
        case Word::AlignJustify:
            p.alignment = Alignment::Justify;
            break;
        case Word::LeftIndent:
            p.leftIndent = twipsParam(value);
            break;
        case Word::RightIndent:
            p.rightIndent = twipsParam(value);
            break;
        case Word::FirstIndent:
            p.firstIndent = twipsParam(value);
            break;
        case Word::SpaceBefore:
            p.spaceBefore = std::max(0, twipsParam(value));
            break;
        case Word::SpaceAfter:
            p.spaceAfter = std::max(0, twipsParam(value));
            break;
        case Word::LineSpacing:
            p.lineSpacing = twipsParam(value);
            break;
        case Word::LineSpacingMultiple:
            p.lineMultiple = on;
            break;
        case Word::TabRight:
            nextTabType_ = TabKind::Right;
            break;
        case Word::TabCentre:
            nextTabType_ = TabKind::Centre;
            break;
        case Word::TabDecimal:
            nextTabType_ = TabKind::Decimal;
            break;
        case Word::TabStop:
            if (static_cast<int>(p.tabs.size()) < kMaxTabStops)
                p.tabs.push_back(richtext::TabStop{std::max(0, twipsParam(value)), nextTabType_});
            nextTabType_ = TabKind::Left;
            break;
        case Word::InTable:
            p.inTable = true;
            break;
        case Word::PageBreakBefore:
            p.pageBefore = on;
            break;

        case Word::RowDefaults:
            cellEdges_.clear();
            rowBorders_ = false;
            break;
        case Word::CellEdge:
            if (static_cast<int>(cellEdges_.size()) < kMaxTableColumns)
                cellEdges_.push_back(value);  // bounded as column widths below
            break;
        case Word::CellBorder:
            rowBorders_ = true;
            break;

        case Word::Par:
            paragraphBreak(false);
            break;
        case Word::Page:
            paragraphBreak(true);
            break;
        case Word::Cell:
            endCell();
            break;
        case Word::Row:
            endRow();
            break;
        default:
            break;
    }
}

void Builder::textBytes(std::string_view bytes) {
    const Destination dest = droppedDepth_ > 0 ? Destination::Skip : state().dest;
    std::size_t start = 0;
    while (skipCount_ > 0 && start < bytes.size()) {
        --skipCount_;
        ++start;
    }
    bytes.remove_prefix(start);
    if (bytes.empty()) return;
    switch (dest) {
        case Destination::Body: {
            if (state().chr.hidden) return;
            const std::size_t room = pendingRoom();
            for (char ch : bytes.substr(0, room)) appendByte(static_cast<unsigned char>(ch));
            if (bytes.size() > room) flushText();  // which finds the document full
            return;
        }
        case Destination::FontTable:
            fontTableText(bytes);
            return;
        case Destination::ColourTable:
            colourTableText(bytes);
            return;
        case Destination::Picture:
            for (char ch : bytes) {
                const int d = hexValue(ch);
                if (d < 0) continue;
                if (picture_.pendingNibble < 0) {
                    picture_.pendingNibble = d;
                    continue;
                }
                if (picture_.data.size() >= kMaxPictureBytes) {
                    picture_.tooBig = true;
                    return;
                }
                picture_.data.push_back(static_cast<char>(picture_.pendingNibble * 16 + d));
                picture_.pendingNibble = -1;
            }
            return;
        case Destination::PropertyName:
            // Names are short words; a long one is none the builder knows.
            if (propertyName_.size() + bytes.size() <= 64) propertyName_.append(bytes);
            return;
        case Destination::PropertyValue:
            if (propertyName_ != "wzDescription") return;
            for (char ch : bytes) {
                if (!descriptionHasRoom()) break;
                if (static_cast<unsigned char>(ch) >= 0x20) descriptionBytes_.push_back(ch);
            }
            return;
        case Destination::PictureProperties:
        case Destination::Skip:
        case Destination::Object:
            return;
    }
}

void Builder::binaryData(std::string_view bytes) {
    if (skipCount_ > 0) {
        --skipCount_;
        return;
    }
    if (droppedDepth_ > 0 || state().dest != Destination::Picture) return;
    if (picture_.data.size() + bytes.size() > kMaxPictureBytes) {
        picture_.tooBig = true;
        return;
    }
    picture_.data.append(bytes);
}

// ---- body text ----

void Builder::appendByte(unsigned char b) {
    if (b < 0x20 && b != '\t') return;  // stray control bytes carry no text
    bytes_.push_back(static_cast<char>(b));
}

// How many more bytes the text waiting to go in may grow by: a character
// takes at most four, and past the document's room for characters nothing
// held can go in. One run of text may be the whole file.
std::size_t Builder::pendingRoom() const {
    const auto room =
        static_cast<std::size_t>(std::max<std::int64_t>(0, kMaxCharacters - characters_)) * 4 + 4;
    const std::size_t held = bytes_.size() + text_.size();
    return room > held ? room - held : 0;
}

void Builder::appendCharacter(char32_t c) {
    if (state().dest != Destination::Body || state().chr.hidden) return;
    if (c < 0x20 && c != U'\t') return;
    if (pendingRoom() == 0) {
        flushText();  // which finds the document full
        return;
    }
    flushBytes();
    const FontEntry* f = font(state().chr.font);
    if (f && f->symbol != SymbolFont::None && c >= 0xF020 && c <= 0xF0FF) {
        if (const char32_t mapped = symbolFontCharacter(f->symbol, c)) c = mapped;
    }
    text_.push_back(static_cast<char16_t>(c));  // every character here is one UTF-16 unit
}

const FontEntry* Builder::font(int number) const {
    const auto it = fonts_.find(number < 0 ? defaultFont_ : number);
    return it == fonts_.end() ? nullptr : &it->second;
}

// Bytes of a code page: Windows-1252 and the symbol code page here, the
// others by the platform's decoder, or as Windows-1252 when it has none.
void Builder::decodeBytes(int codePage, std::string_view bytes, std::u16string& out) {
    if (codePage == kCodePageSymbol) {
        appendLatin1(bytes, out);
    } else if (codePage == kCodePageAnsi || !codecNameForCodePage(codePage) || !decoder_ ||
               !decoder_->decode(codePage, bytes, out)) {
        appendCp1252(bytes, out);
    }
}

void Builder::flushBytes() {
    if (bytes_.empty()) return;
    const FontEntry* f = font(state().chr.font);
    const int codePage = f && f->codePage ? f->codePage : documentCodePage_;
    if (f && f->symbol != SymbolFont::None) {
        for (char ch : bytes_) {
            const auto b = static_cast<unsigned char>(ch);
            const char32_t mapped = symbolFontCharacter(f->symbol, b);
            text_.push_back(static_cast<char16_t>(mapped ? mapped : b));
        }
    } else {
        decodeBytes(codePage, bytes_, text_);
    }
    bytes_.clear();
}

void Builder::flushText() {
    flushBytes();
    if (text_.empty()) return;
    makeWellFormed(text_);
    ensureContainer();
    // What fits goes in, even when the bound is reached inside this text.
    const std::u16string text = boundedText(std::exchange(text_, std::u16string()));
    if (text.empty()) return;
    addText(text, charFormat());
    blockTouched_ = true;
}

void Builder::stop() {
    full_ = true;
    status_ = ReadStatus::TooLong;  // the one thing worth telling: the end of the document is missing
}

// The part of a piece of text that fits the document's bounds, with a
// zero-width space wherever a word grows too long; stops the reading when
// something did not fit.
std::u16string Builder::boundedText(const std::u16string& text) {
    if (full_ || ++runs_ > kMaxRuns) {
        if (!full_) stop();
        return {};
    }
    std::u16string out;
    out.reserve(text.size());
    for (const char16_t c : text) {
        if (c == kLineSeparator && ++lines_ > kMaxLines) {
            stop();
            break;
        }
        // A tab is laid out as dearly as a piece of text of its own.
        if (c == u'\t' && ++runs_ > kMaxRuns) {
            stop();
            break;
        }
        if (c == u' ' || c == u'\t' || c == kLineSeparator || c == kZeroWidthSpace) {
            wordLength_ = 0;
        } else if (!isLowSurrogate(c) && ++wordLength_ > kMaxWordCharacters) {
            out.push_back(kZeroWidthSpace);
            wordLength_ = 1;
        }
        out.push_back(c);
    }
    if (characters_ + static_cast<std::int64_t>(out.size()) > kMaxCharacters) {
        std::int64_t room = kMaxCharacters - characters_;
        if (room > 0 && isHighSurrogate(out[static_cast<std::size_t>(room - 1)]))
            --room;  // a pair stays whole
        out.resize(static_cast<std::size_t>(std::max<std::int64_t>(room, 0)));
        stop();
    }
    characters_ += static_cast<std::int64_t>(out.size());
    return out;
}

// A new paragraph where the content goes, as long as the document has room.
bool Builder::insertParagraph() {
    if (full_ || ++lines_ > kMaxLines || ++characters_ > kMaxCharacters) {
        if (!full_) stop();
        return false;
    }
    Paragraph next;
    const Paragraph& before = paragraph();
    next.format = before.format;  // until its own come
    next.mark = before.mark;
    if (inTable())
        table()
            .rows[static_cast<std::size_t>(row_)]
            .cells[static_cast<std::size_t>(column_)]
            .paragraphs.push_back(std::move(next));
    else
        doc_.blocks.push_back(richtext::Block{std::move(next), std::nullopt});
    wordLength_ = 0;
    return true;
}

Paragraph& Builder::paragraph() {
    if (inTable())
        return table()
            .rows[static_cast<std::size_t>(row_)]
            .cells[static_cast<std::size_t>(column_)]
            .paragraphs.back();
    return *doc_.blocks.back().paragraph;
}

void Builder::addText(const std::u16string& text, const CharFormat& format) {
    std::vector<richtext::Run>& runs = paragraph().runs;
    if (!runs.empty() && !runs.back().isPicture() && runs.back().format == format) {
        runs.back().text += text;
        return;
    }
    runs.push_back(richtext::Run{text, format, -1});
}

CharFormat Builder::charFormat() const {
    const CharState& c = state().chr;
    CharFormat f;
    if (const FontEntry* entry = font(c.font);
        entry && entry->symbol == SymbolFont::None && !entry->family.empty())
        f.font = entry->family;
    f.halfPoints = c.halfPoints;
    f.bold = c.bold;
    f.italic = c.italic;
    f.strike = c.strike;
    f.underline = c.underline;
    f.vertical = c.vertical;
    f.capitals = c.caps;
    const auto colourAt = [this](int index) {
        return index > 0 && index < static_cast<int>(colours_.size())
                   ? colours_[static_cast<std::size_t>(index)]
                   : std::nullopt;
    };
    f.foreground = colourAt(c.colour);
    f.background = colourAt(c.highlight);
    return f;
}

ParagraphFormat Builder::paragraphFormat() const {
    const ParaState& p = state().para;
    ParagraphFormat f;
    f.alignment = p.alignment;
    f.leftIndent = p.leftIndent;
    f.rightIndent = p.rightIndent;
    f.firstIndent = p.firstIndent;
    f.spaceBefore = p.spaceBefore;
    f.spaceAfter = p.spaceAfter;
    if (p.lineSpacing != 0) {
        if (p.lineMultiple && p.lineSpacing > 0) {
            f.lineSpacing = richtext::LineSpacing::Proportional;
            f.lineSpacingValue = p.lineSpacing;
        } else if (p.lineSpacing > 0) {
            f.lineSpacing = richtext::LineSpacing::AtLeast;
            f.lineSpacingValue = p.lineSpacing;
        } else {
            f.lineSpacing = richtext::LineSpacing::Exactly;
            f.lineSpacingValue = -p.lineSpacing;
        }
    }
    f.tabs = p.tabs;
    f.pageBreakBefore = blockBreaksPage_ || p.pageBefore;
    return f;
}

// ---- paragraphs and tables ----

void Builder::enterCell(int row, int column) {
    row_ = row;
    column_ = column;
    richtext::TableRow& r = table().rows[static_cast<std::size_t>(row)];
    r.cellsRead = std::max(r.cellsRead, column + 1);
    blockTouched_ = false;
}

// Puts the next content where it goes: into a new paragraph after a \par,
// into the table's next cell or row, or out of the table.
void Builder::ensureContainer() {
    const bool wantTable = state().para.inTable && !tablesDisabled_;
    if (inTable() && !wantTable) leaveTable();
    if (wantTable) {
        if (!inTable()) {
            startTable();
        } else if (rowEnded_) {
            richtext::Table& t = table();
            if (cellsUsed_ + t.columns > kMaxTableCells) {
                report(ReadStatus::LimitReached);
                tablesDisabled_ = true;
                leaveTable();
                return ensureContainer();
            }
            richtext::TableRow row;
            row.cells.resize(static_cast<std::size_t>(t.columns), richtext::TableCell{{Paragraph{}}, false});
            t.rows.push_back(std::move(row));
            cellsUsed_ += t.columns;
            rowEnded_ = false;
            cellEnded_ = false;
            enterCell(row_ + 1, 0);
        } else if (cellEnded_) {
            richtext::Table& t = table();
            const int rows = static_cast<int>(t.rows.size());
            if (column_ + 1 >= t.columns) {
                if (t.columns < kMaxTableColumns && cellsUsed_ + rows <= kMaxTableCells) {
                    for (richtext::TableRow& row : t.rows)
                        row.cells.push_back(richtext::TableCell{{Paragraph{}}, false});
                    ++t.columns;
                    cellsUsed_ += rows;
                } else {
                    // no room for another column: the rest of the row shares the last cell
                    report(ReadStatus::LimitReached);
                    cellEnded_ = false;
                    if (++runs_ > kMaxRuns || ++characters_ > kMaxCharacters) return stop();
                    const Paragraph& last = paragraph();
                    const CharFormat format = last.runs.empty() ? last.mark : last.runs.back().format;
                    addText(u"\t", format);
                    return;
                }
            }
            cellEnded_ = false;
            enterCell(row_, column_ + 1);
        }
        if (pendingBreak_ && insertParagraph()) {
            blockBreaksPage_ = false;
            blockTouched_ = false;
        }
        pendingBreak_ = false;
        return;
    }
    if (pendingBreak_) {
        if (!insertParagraph()) return;
        pendingBreak_ = false;
        blockBreaksPage_ = pendingPage_;
        pendingPage_ = false;
        blockTouched_ = false;
    }
}

void Builder::paragraphBreak(bool page) {
    ensureContainer();
    applyParagraphFormat();
    pendingBreak_ = true;
    breakInCell_ = inTable();
    pendingPage_ = page;
    blockTouched_ = true;
}

void Builder::applyParagraphFormat() {
    Paragraph& p = paragraph();
    p.format = paragraphFormat();
    p.mark = charFormat();
    p.formatted = true;
}

void Builder::endCell() {
    if (tablesDisabled_) {
        appendCharacter(U'\t');
        return;
    }
    state().para.inTable = true;  // a cell mark is a table even without \intbl
    // The cell mark ends its last paragraph itself; one that a \par just
    // ended keeps the properties it took there.
    const bool ended = pendingBreak_ && breakInCell_;
    pendingBreak_ = false;
    ensureContainer();
    if (full_) return;
    if (!ended) applyParagraphFormat();  // even an empty paragraph's
    cellEnded_ = true;
}

void Builder::endRow() {
    if (tablesDisabled_) {
        paragraphBreak(false);
        return;
    }
    if (!inTable()) return;
    pendingBreak_ = false;
    cellEnded_ = false;
    rowEnded_ = true;
}

void Builder::startTable() {
    if (cellsUsed_ + static_cast<int>(std::max<std::size_t>(1, cellEdges_.size())) > kMaxTableCells) {
        report(ReadStatus::LimitReached);
        tablesDisabled_ = true;
        ensureContainer();
        return;
    }
    richtext::Table t;
    t.borders = rowBorders_;
    t.columns = std::max(1, static_cast<int>(cellEdges_.size()));
    t.firstColumns = t.columns;
    // Each column is at most as wide as any other measure may be; a row of
    // them may be wider, as the writer gives it back.
    std::int64_t previous = 0;
    for (int edge : cellEdges_) {
        if (edge <= previous) {
            t.columnWidths.clear();
            break;
        }
        t.columnWidths.push_back(static_cast<int>(std::min<std::int64_t>(edge - previous, kMaxTwips)));
        previous = edge;
    }
    richtext::TableRow row;
    row.cells.resize(static_cast<std::size_t>(t.columns), richtext::TableCell{{Paragraph{}}, false});
    t.rows.push_back(std::move(row));
    // A pending \par before the table needs no paragraph of its own: the
    // table always starts on a new line.
    pendingBreak_ = false;
    pendingPage_ = false;
    cellsUsed_ += t.columns;
    doc_.blocks.push_back(richtext::Block{std::nullopt, std::move(t)});
    tableBlock_ = static_cast<int>(doc_.blocks.size()) - 1;
    cellEnded_ = false;
    rowEnded_ = false;
    enterCell(0, 0);
}

void Builder::leaveTable() {
    tableBlock_ = -1;
    doc_.blocks.push_back(richtext::Block{Paragraph{}, std::nullopt});
    pendingBreak_ = false;
    blockTouched_ = false;
}

// ---- font and colour tables ----

void Builder::fontTableText(std::string_view bytes) {
    for (char ch : bytes) {
        if (ch == ';') {
            commitFont();
        } else if (static_cast<unsigned char>(ch) >= 0x20 &&  // control bytes are no part of a name
                   fontNameHasRoom()) {
            fontName_.push_back(ch);
        }
    }
}

// A character of a font's name given as a character rather than a byte: as
// a byte would be, ";" ends the name and what does not print is no part of it.
void Builder::fontNameUnit(std::int64_t unit) {
    if (unit == ';') return commitFont();
    if (unit < 0x20 || unit > 0xFFFF || unit == kLineSeparator || unit == kParagraphSeparator ||
        !fontNameHasRoom())
        return;
    fontNameText_ += decodeFontName(fontName_);
    fontName_.clear();
    fontNameText_.push_back(static_cast<char16_t>(unit));
}

bool Builder::fontNameHasRoom() const {
    return fontName_.size() + fontNameText_.size() < static_cast<std::size_t>(kMaxFontNameBytes);
}

// The entry's \cpg when it is one the reader knows, else its \fcharset's; 0
// when the font defers to the document.
int Builder::fontEntryCodePage() const {
    return fontCodePage_ && codecNameForCodePage(fontCodePage_) ? fontCodePage_
                                                                : codePageForCharset(fontCharset_);
}

// A name is in its font's code page, or in the document's when the font
// defers to it (what a Cyrillic or Central-European Windows writes); a symbol
// font's name is in Windows-1252 like any name of an unknown code page.
std::u16string Builder::decodeFontName(const std::string& bytes) const {
    const int own = fontEntryCodePage();
    const int codePage = own ? own : documentCodePage_;
    std::u16string out;
    if (codePage != kCodePageAnsi && codecNameForCodePage(codePage)) {
        if (!decoder_ || !decoder_->decode(codePage, bytes, out)) appendLatin1(bytes, out);
    } else {
        appendCp1252(bytes, out);
    }
    return out;
}

void Builder::commitFont() {
    // No real font table has more entries than fonts: past that, entries
    // (the same number given again and again) are not even decoded. Each
    // entry adds at most one font, so this bounds the fonts kept as well.
    if (++fontEntries_ > kMaxFonts) {
        fontName_.clear();
        fontNameText_.clear();
        report(ReadStatus::LimitReached);
        return;
    }
    const int codePage = fontEntryCodePage();
    std::u16string family = fontNameText_ + decodeFontName(fontName_);
    fontName_.clear();
    fontNameText_.clear();
    makeWellFormed(family);
    family = trimmed(family);
    FontEntry entry;
    entry.family = family;
    // A font said to hold ordinary text is taken at its word, whatever its
    // name: a pupil may well type in a font named Symbol.
    entry.symbol =
        fontCharsetGiven_ && codePage != kCodePageSymbol ? SymbolFont::None : symbolFontFor(family);
    entry.codePage =
        codePage == kCodePageSymbol && entry.symbol == SymbolFont::None ? kCodePageSymbol : codePage;
    fonts_[fontNumber_] = entry;
}

void Builder::colourTableText(std::string_view bytes) {
    for (char ch : bytes) {
        if (ch != ';') continue;
        if (static_cast<int>(colours_.size()) >= kMaxColours) {
            report(ReadStatus::LimitReached);
            return;
        }
        colours_.push_back(colourGiven_ ? std::optional<Colour>(Colour{static_cast<std::uint8_t>(red_),
                                                                       static_cast<std::uint8_t>(green_),
                                                                       static_cast<std::uint8_t>(blue_)})
                                        : std::nullopt);
        red_ = green_ = blue_ = 0;
        colourGiven_ = false;
    }
}

// ---- pictures ----

bool Builder::descriptionHasRoom() const {
    return picture_.description.size() + descriptionBytes_.size() < kMaxDescriptionCharacters;
}

void Builder::flushDescription() {
    if (descriptionBytes_.empty()) return;
    decodeBytes(documentCodePage_, descriptionBytes_, picture_.description);
    descriptionBytes_.clear();
}

// A character of the description given as \uN or a symbol word.
void Builder::descriptionUnit(std::int64_t unit) {
    if (propertyName_ != "wzDescription" || !descriptionHasRoom() || unit < 0x20 || unit > 0xFFFF) return;
    flushDescription();
    picture_.description.push_back(static_cast<char16_t>(unit));
}

void Builder::finishPicture() {
    PendingPicture pict = std::move(picture_);
    picture_ = PendingPicture{};
    if (full_) return;
    if (pict.tooBig) {
        report(ReadStatus::LimitReached);
        return;
    }
    const std::string& data = pict.data;
    const bool png = pict.png || data.starts_with("\x89PNG");
    const bool jpeg = pict.jpeg || data.starts_with("\xFF\xD8\xFF");
    if ((!png && !jpeg) || data.empty() || state().chr.hidden) return;  // other formats cannot be shown here

    const std::optional<PictureHeader> header = readPictureHeader(data);
    if (!header) return;
    const std::int64_t pixels = std::int64_t(header->width) * header->height;
    if (pixels > kMaxPicturePixels || picturePixels_ + pixels > kMaxDocumentPicturePixels ||
        pictures_ >= kMaxPictures) {
        report(ReadStatus::LimitReached);
        return;
    }
    if (++runs_ > kMaxRuns || ++characters_ > kMaxCharacters) {
        stop();
        return;
    }
    picturePixels_ += pixels;
    ++pictures_;

    const double baseWidth = pict.goalWidth > 0 ? pict.goalWidth / kTwipsPerPixel : header->width;
    const double baseHeight = pict.goalHeight > 0 ? pict.goalHeight / kTwipsPerPixel : header->height;
    // The shown size is kept in whole twips within the bound on measures, as
    // the writer gives it back.
    const auto shown = [](double pixels) { return std::clamp(pixelsToTwips(pixels), 1, kMaxTwips); };
    richtext::Picture picture;
    picture.format = header->format;
    picture.pixelWidth = header->width;
    picture.pixelHeight = header->height;
    picture.width = shown(baseWidth * pict.scaleX / 100.0);
    picture.height = shown(baseHeight * pict.scaleY / 100.0);
    makeWellFormed(pict.description);
    for (char16_t& c : pict.description)
        if (c == u'\t' || c == kLineSeparator) c = u' ';
    picture.description = std::move(pict.description);
    ensureContainer();
    if (full_) return;
    picture.bytes = std::move(pict.data);
    doc_.pictures.push_back(std::move(picture));
    richtext::Run run;
    run.format = charFormat();
    run.picture = static_cast<int>(doc_.pictures.size()) - 1;
    paragraph().runs.push_back(std::move(run));
    blockTouched_ = true;
}

}  // namespace

bool isRtf(std::string_view data) {
    Tokenizer tokens(data);
    return readHeader(tokens);
}

ReadStatus buildRichText(std::string_view data, richtext::Document& document, CodePageDecoder* decoder) {
    Builder builder(document, decoder);
    return builder.run(data);
}

}  // namespace molvane::rtf
