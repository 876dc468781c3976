#include "rtfreader.h"

#include <QBuffer>
#include <QColor>
#include <QCryptographicHash>
#include <QImage>
#include <QImageReader>
#include <QStringDecoder>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>
#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/cp1252.h"
#include "rtfcharsets.h"
#include "rtfcontrolwords.h"
#include "rtftokenizer.h"
#include "rtfunderline.h"
#include "rtfunits.h"

namespace molvane::rtf {

namespace {

enum class Destination {
    Body,  // text of the document
    Skip,  // ignored with everything nested in it
    FontTable,
    ColourTable,
    Picture,
    Object,  // an embedded object: only its \result shows
};

struct CharState {
    int font = -1;  // -1: the document's default font
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    QTextCharFormat::UnderlineStyle underline = QTextCharFormat::NoUnderline;
    QTextCharFormat::VerticalAlignment vertical = QTextCharFormat::AlignNormal;
    QFont::Capitalization caps = QFont::MixedCase;
    int colour = 0;  // indexes into the colour table; 0 is "automatic"
    int highlight = 0;
};

struct TabStop {
    int twips;
    QTextOption::TabType type;
};

struct ParaState {
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftIndent = 0;  // twips
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0;  // \sl: 0 single, > 0 at least, < 0 exactly
    bool lineMultiple = false;
    bool pageBefore = false;  // \pagebb
    bool inTable = false;
    std::vector<TabStop> tabs;
};

struct State {
    CharState chr;
    ParaState para;
    Destination dest = Destination::Body;
    int unicodeSkip = 1;
};

struct FontEntry {
    QString family;
    int codePage = 0;  // 0: the document's
    SymbolFont symbol = SymbolFont::None;
};

struct Picture {
    QByteArray data;
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
};

int clampInt(qint64 v, int lo, int hi) {
    return static_cast<int>(std::clamp<qint64>(v, lo, hi));
}

// Indents, spacing and tab positions beyond 22 inches are nonsense; keeping
// them in range also keeps the layout engine out of trouble.
constexpr int kMaxTwips = 22 * 1440;
int twipsParam(qint64 v) {
    return clampInt(v, -kMaxTwips, kMaxTwips);
}

// Puts U+FFFD for what no document may hold: halves of surrogate pairs on
// their own, control characters other than the tab (a decoder's mark for a
// byte it could not read), and the object character, which stands for a
// picture only in a picture's format. A paragraph separator would make Qt
// split the block behind the reader's back: it becomes a line break.
void makeWellFormed(QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            ++i;
        } else if (QChar::isSurrogate(u) || (u < 0x20 && u != '\t') ||
                   u == QChar::ObjectReplacementCharacter) {
            text[i] = QChar::ReplacementCharacter;
        } else if (u == QChar::ParagraphSeparator) {
            text[i] = QChar::LineSeparator;
        }
    }
}

// \uN gives a UTF-16 unit as a signed 16-bit number: -1 is U+FFFF.
qint64 unicodeUnit(std::int32_t value) {
    return value < 0 ? qint64(value) + 65536 : value;
}

SymbolFont symbolFontFor(const QString& family) {
    if (family.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0) return SymbolFont::Symbol;
    if (family.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive)) return SymbolFont::Wingdings;
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
    explicit Builder(QTextCursor& cursor) : cursor_(cursor) {}
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
    void flushBytes();
    void flushText();
    QTextCharFormat charFormat() const;
    QTextBlockFormat blockFormat() const;
    const FontEntry* font(int number) const;

    // paragraphs and tables
    void ensureContainer();
    void paragraphBreak(bool page);
    void applyBlockFormat();
    void endCell();
    void endRow();
    void startTable();
    void leaveTable();

    // tables in the header
    void fontTableText(std::string_view bytes);
    void commitFont();
    void colourTableText(std::string_view bytes);

    void finishPicture();

    // bounds on what the document holds
    void stop();
    bool insertBlock();
    QString boundedText(QString text);
    std::size_t pendingRoom() const;

    QTextCursor& cursor_;
    std::vector<State> stack_;
    int droppedDepth_ = 0;  // groups opened past kMaxGroupDepth
    bool ignorableNext_ = false;
    int skipCount_ = 0;  // characters still to skip after \uN
    ReadStatus status_ = ReadStatus::Ok;

    int documentCodePage_ = kCodePageAnsi;
    int defaultFont_ = -1;
    std::map<int, FontEntry> fonts_;
    std::vector<QColor> colours_;
    std::map<int, QStringDecoder> decoders_;

    // font table entry being read
    int fontNumber_ = 0;
    int fontCharset_ = 0;
    bool fontCharsetGiven_ = false;
    int fontCodePage_ = 0;
    std::string fontName_;  // bytes still to decode
    int fontEntries_ = 0;
    QString fontNameText_;  // the name decoded so far (\u characters, and the bytes before them)
    int fontEntryCodePage() const;
    bool fontNameHasRoom() const;
    QString decodeFontName(const std::string& bytes) const;
    void fontNameUnit(qint64 unit);
    // colour table entry being read
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colourGiven_ = false;

    std::string bytes_;  // undecoded text in the current code page
    QString text_;       // decoded text not yet in the document

    bool pendingBreak_ = false;  // a \par whose new block waits for content
    bool pendingPage_ = false;
    bool breakInCell_ = false;  // the pending \par ended a paragraph of a table's cell
    bool blockBreaksPage_ = false;
    bool blockTouched_ = false;  // the current block received something

    QTextTable* table_ = nullptr;
    int row_ = 0;
    int column_ = 0;
    bool cellEnded_ = false;
    bool rowEnded_ = false;
    bool tablesDisabled_ = false;  // past kMaxTableCells: cells become tabs
    int cellsUsed_ = 0;
    std::vector<int> cellEdges_;
    bool rowBorders_ = false;
    QTextOption::TabType nextTabType_ = QTextOption::LeftTab;

    Picture picture_;
    qint64 picturePixels_ = 0;
    int pictures_ = 0;

    qint64 characters_ = 0;
    int lines_ = 1;  // the block the reading starts in
    int runs_ = 0;
    int wordLength_ = 0;  // characters since the last place a line may break
    bool full_ = false;   // a bound was reached: nothing more is read
};

ReadStatus Builder::run(std::string_view data) {
    Tokenizer tokens(data);
    if (!readHeader(tokens)) return ReadStatus::NotRtf;

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
        if (!pendingBreak_ && blockTouched_) applyBlockFormat();
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
    if (closing == Destination::FontTable && (!fontName_.empty() || !fontNameText_.isEmpty())) commitFont();
    // The last paragraph needs no \par: it takes the properties in force
    // when the document's group closes.
    if (stack_.size() == 2 && !pendingBreak_ && blockTouched_) applyBlockFormat();
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
                    if (!fontName_.empty() || !fontNameText_.isEmpty()) commitFont();
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
            picture_ = Picture{};
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
        const qint64 unit = unicodeUnit(value);
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
            c.caps = on ? QFont::AllUppercase : QFont::MixedCase;
            break;
        case Word::SmallCaps:
            c.caps = on ? QFont::SmallCaps : QFont::MixedCase;
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
            c.underline = on ? *underlineStyleOf(info.word) : QTextCharFormat::NoUnderline;
            break;
        case Word::UnderlineNone:
            c.underline = QTextCharFormat::NoUnderline;
            break;
        case Word::Sub:
            c.vertical = QTextCharFormat::AlignSubScript;
            break;
        case Word::Super:
            c.vertical = QTextCharFormat::AlignSuperScript;
            break;
        case Word::NoSuperSub:
            c.vertical = QTextCharFormat::AlignNormal;
            break;
        case Word::Up:
            c.vertical = value > 0 ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignNormal;
            break;
        case Word::Down:
            c.vertical = value > 0 ? QTextCharFormat::AlignSubScript : QTextCharFormat::AlignNormal;
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
            p.alignment = Qt::AlignLeft;
            break;
        case Word::AlignCentre:
            p.alignment = Qt::AlignHCenter;
            break;
        case Word::AlignRight:
            p.alignment = Qt::AlignRight;
            break;
        case Word::AlignJustify:
            p.alignment = Qt::AlignJustify;
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
            nextTabType_ = QTextOption::RightTab;
            break;
        case Word::TabCentre:
            nextTabType_ = QTextOption::CenterTab;
            break;
        case Word::TabDecimal:
            nextTabType_ = QTextOption::DelimiterTab;
            break;
        case Word::TabStop:
            if (static_cast<int>(p.tabs.size()) < kMaxTabStops)
                p.tabs.push_back({std::max(0, twipsParam(value)), nextTabType_});
            nextTabType_ = QTextOption::LeftTab;
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
                if (picture_.data.size() >= static_cast<qsizetype>(kMaxPictureBytes)) {
                    picture_.tooBig = true;
                    return;
                }
                picture_.data.append(char(picture_.pendingNibble * 16 + d));
                picture_.pendingNibble = -1;
            }
            return;
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
    if (picture_.data.size() + static_cast<qsizetype>(bytes.size()) >
        static_cast<qsizetype>(kMaxPictureBytes)) {
        picture_.tooBig = true;
        return;
    }
    picture_.data.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
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
    const auto room = static_cast<std::size_t>(std::max<qint64>(0, kMaxCharacters - characters_)) * 4 + 4;
    const std::size_t held = bytes_.size() + static_cast<std::size_t>(text_.size());
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
    text_.append(QChar(static_cast<char16_t>(c)));  // every character here is one UTF-16 unit
}

const FontEntry* Builder::font(int number) const {
    const auto it = fonts_.find(number < 0 ? defaultFont_ : number);
    return it == fonts_.end() ? nullptr : &it->second;
}

void Builder::flushBytes() {
    if (bytes_.empty()) return;
    const FontEntry* f = font(state().chr.font);
    const int codePage = f && f->codePage ? f->codePage : documentCodePage_;
    if (f && f->symbol != SymbolFont::None) {
        for (char ch : bytes_) {
            const auto b = static_cast<unsigned char>(ch);
            const char32_t mapped = symbolFontCharacter(f->symbol, b);
            text_.append(QChar(static_cast<char16_t>(mapped ? mapped : b)));
        }
    } else if (codePage == kCodePageSymbol) {
        text_.append(QString::fromLatin1(bytes_.data(), static_cast<qsizetype>(bytes_.size())));
    } else if (codePage == kCodePageAnsi || !codecNameForCodePage(codePage)) {
        text_.append(QString::fromStdString(cp1252ToUtf8(bytes_)));
    } else {
        auto it = decoders_.find(codePage);
        if (it == decoders_.end())
            it = decoders_.emplace(codePage, QStringDecoder(codecNameForCodePage(codePage))).first;
        QStringDecoder& decoder = it->second;
        if (decoder.isValid()) {
            decoder.resetState();
            text_.append(
                decoder.decode(QByteArrayView(bytes_.data(), static_cast<qsizetype>(bytes_.size()))));
        } else {
            text_.append(QString::fromStdString(cp1252ToUtf8(bytes_)));
        }
    }
    bytes_.clear();
}

void Builder::flushText() {
    flushBytes();
    if (text_.isEmpty()) return;
    makeWellFormed(text_);
    ensureContainer();
    // What fits goes in, even when the bound is reached inside this text.
    const QString text = boundedText(std::exchange(text_, QString()));
    if (text.isEmpty()) return;
    cursor_.insertText(text, charFormat());
    blockTouched_ = true;
}

void Builder::stop() {
    full_ = true;
    status_ = ReadStatus::TooLong;  // the one thing worth telling: the end of the document is missing
}

// The part of a piece of text that fits the document's bounds, with a
// zero-width space wherever a word grows too long; stops the reading when
// something did not fit.
QString Builder::boundedText(QString text) {
    if (full_ || ++runs_ > kMaxRuns) {
        if (!full_) stop();
        return QString();
    }
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QChar::LineSeparator && ++lines_ > kMaxLines) {
            stop();
            break;
        }
        // Qt lays a tab out as dearly as a piece of text of its own.
        if (c == QLatin1Char('\t') && ++runs_ > kMaxRuns) {
            stop();
            break;
        }
        if (c == QChar::Space || c == QLatin1Char('\t') || c == QChar::LineSeparator ||
            c.unicode() == 0x200B) {
            wordLength_ = 0;
        } else if (!c.isLowSurrogate() && ++wordLength_ > kMaxWordCharacters) {
            out.append(QChar(0x200B));
            wordLength_ = 1;
        }
        out.append(c);
    }
    if (characters_ + out.size() > kMaxCharacters) {
        qsizetype room = kMaxCharacters - characters_;
        if (room > 0 && out.at(room - 1).isHighSurrogate()) --room;  // a pair stays whole
        out.truncate(std::max<qsizetype>(room, 0));
        stop();
    }
    characters_ += out.size();
    return out;
}

// A new block at the cursor, as long as the document has room for one.
bool Builder::insertBlock() {
    if (full_ || ++lines_ > kMaxLines || ++characters_ > kMaxCharacters) {
        if (!full_) stop();
        return false;
    }
    cursor_.insertBlock();
    wordLength_ = 0;
    return true;
}

QTextCharFormat Builder::charFormat() const {
    const CharState& c = state().chr;
    QTextCharFormat f;
    if (const FontEntry* entry = font(c.font);
        entry && entry->symbol == SymbolFont::None && !entry->family.isEmpty())
        f.setFontFamilies(QStringList{entry->family});
    f.setFontPointSize(c.halfPoints / 2.0);
    if (c.bold) f.setFontWeight(QFont::Bold);
    if (c.italic) f.setFontItalic(true);
    if (c.strike) f.setFontStrikeOut(true);
    if (c.underline != QTextCharFormat::NoUnderline) f.setUnderlineStyle(c.underline);
    if (c.vertical != QTextCharFormat::AlignNormal) f.setVerticalAlignment(c.vertical);
    if (c.caps != QFont::MixedCase) f.setFontCapitalization(c.caps);
    const auto colourAt = [this](int index) {
        return index > 0 && index < static_cast<int>(colours_.size()) ? colours_[index] : QColor();
    };
    if (const QColor fg = colourAt(c.colour); fg.isValid()) f.setForeground(fg);
    if (const QColor bg = colourAt(c.highlight); bg.isValid()) f.setBackground(bg);
    return f;
}

QTextBlockFormat Builder::blockFormat() const {
    const ParaState& p = state().para;
    QTextBlockFormat f;
    f.setAlignment(p.alignment);
    f.setLeftMargin(twipsToPixels(p.leftIndent));
    f.setRightMargin(twipsToPixels(p.rightIndent));
    f.setTextIndent(twipsToPixels(p.firstIndent));
    f.setTopMargin(twipsToPixels(p.spaceBefore));
    f.setBottomMargin(twipsToPixels(p.spaceAfter));
    if (p.lineSpacing != 0) {
        if (p.lineMultiple && p.lineSpacing > 0)
            f.setLineHeight(p.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (p.lineSpacing > 0)
            f.setLineHeight(twipsToPixels(p.lineSpacing), QTextBlockFormat::MinimumHeight);
        else
            f.setLineHeight(twipsToPixels(-p.lineSpacing), QTextBlockFormat::FixedHeight);
    }
    if (!p.tabs.empty()) {
        QList<QTextOption::Tab> tabs;
        for (const TabStop& t : p.tabs) tabs.append(QTextOption::Tab(twipsToPixels(t.twips), t.type));
        f.setTabPositions(tabs);
    }
    if (blockBreaksPage_ || p.pageBefore) f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return f;
}

// ---- paragraphs and tables ----

// Puts the cursor where the next content goes: into a new block after a
// \par, into the table's next cell or row, or out of the table.
void Builder::ensureContainer() {
    const bool wantTable = state().para.inTable && !tablesDisabled_;
    if (table_ && !wantTable) leaveTable();
    if (wantTable) {
        if (!table_) {
            startTable();
        } else if (rowEnded_) {
            if (cellsUsed_ + table_->columns() > kMaxTableCells) {
                report(ReadStatus::LimitReached);
                tablesDisabled_ = true;
                leaveTable();
                return ensureContainer();
            }
            table_->appendRows(1);
            cellsUsed_ += table_->columns();
            ++row_;
            column_ = 0;
            rowEnded_ = false;
            cellEnded_ = false;
            cursor_ = table_->cellAt(row_, 0).firstCursorPosition();
            blockTouched_ = false;
        } else if (cellEnded_) {
            if (column_ + 1 >= table_->columns()) {
                if (table_->columns() < kMaxTableColumns && cellsUsed_ + table_->rows() <= kMaxTableCells) {
                    table_->appendColumns(1);
                    cellsUsed_ += table_->rows();
                } else {
                    // no room for another column: the rest of the row shares the last cell
                    report(ReadStatus::LimitReached);
                    cellEnded_ = false;
                    if (++runs_ > kMaxRuns || ++characters_ > kMaxCharacters) return stop();
                    cursor_.insertText(QStringLiteral("\t"));
                    return;
                }
            }
            ++column_;
            cellEnded_ = false;
            cursor_ = table_->cellAt(row_, column_).firstCursorPosition();
            blockTouched_ = false;
        }
        if (pendingBreak_ && insertBlock()) {
            blockBreaksPage_ = false;
            blockTouched_ = false;
        }
        pendingBreak_ = false;
        return;
    }
    if (pendingBreak_) {
        if (!insertBlock()) return;
        pendingBreak_ = false;
        blockBreaksPage_ = pendingPage_;
        pendingPage_ = false;
        blockTouched_ = false;
    }
}

void Builder::paragraphBreak(bool page) {
    ensureContainer();
    applyBlockFormat();
    pendingBreak_ = true;
    breakInCell_ = table_ != nullptr;
    pendingPage_ = page;
    blockTouched_ = true;
}

void Builder::applyBlockFormat() {
    cursor_.setBlockFormat(blockFormat());
    cursor_.setBlockCharFormat(charFormat());
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
    if (!ended) applyBlockFormat();  // even an empty paragraph's
    cellEnded_ = true;
}

void Builder::endRow() {
    if (tablesDisabled_) {
        paragraphBreak(false);
        return;
    }
    if (!table_) return;
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
    QTextTableFormat format;
    format.setBorder(rowBorders_ ? 1 : 0);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(2);
    const int columns = std::max(1, static_cast<int>(cellEdges_.size()));
    QList<QTextLength> widths;
    // Each column is at most as wide as any other measure may be; a row of
    // them may be wider, as the writer gives it back.
    qint64 previous = 0;
    for (int edge : cellEdges_) {
        if (edge <= previous) {
            widths.clear();
            break;
        }
        const int width = static_cast<int>(std::min<qint64>(edge - previous, kMaxTwips));
        widths.append(QTextLength(QTextLength::FixedLength, twipsToPixels(width)));
        previous = edge;
    }
    if (!widths.isEmpty()) format.setColumnWidthConstraints(widths);
    // A pending \par before the table needs no block of its own: the table
    // always starts on a new line.
    pendingBreak_ = false;
    pendingPage_ = false;
    table_ = cursor_.insertTable(1, columns, format);
    cellsUsed_ += columns;
    row_ = 0;
    column_ = 0;
    cellEnded_ = false;
    rowEnded_ = false;
    blockTouched_ = false;
}

void Builder::leaveTable() {
    cursor_ = table_->lastCursorPosition();
    cursor_.movePosition(QTextCursor::NextBlock);
    table_ = nullptr;
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
void Builder::fontNameUnit(qint64 unit) {
    if (unit == ';') return commitFont();
    if (unit < 0x20 || unit > 0xFFFF || unit == QChar::LineSeparator || unit == QChar::ParagraphSeparator ||
        !fontNameHasRoom())
        return;
    fontNameText_ += decodeFontName(fontName_);
    fontName_.clear();
    fontNameText_ += QChar(static_cast<char16_t>(unit));
}

bool Builder::fontNameHasRoom() const {
    return fontName_.size() + static_cast<std::size_t>(fontNameText_.size()) <
           static_cast<std::size_t>(kMaxFontNameBytes);
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
QString Builder::decodeFontName(const std::string& bytes) const {
    const int own = fontEntryCodePage();
    const int codePage = own ? own : documentCodePage_;
    const char* codec = codePage != kCodePageAnsi ? codecNameForCodePage(codePage) : nullptr;
    if (codec) {
        QStringDecoder decoder(codec);
        return decoder.isValid()
                   ? QString(decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size()))))
                   : QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    }
    return QString::fromStdString(cp1252ToUtf8(bytes));
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
    QString family = fontNameText_ + decodeFontName(fontName_);
    fontName_.clear();
    fontNameText_.clear();
    makeWellFormed(family);
    family = family.trimmed();
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
        colours_.push_back(colourGiven_ ? QColor(red_, green_, blue_) : QColor());
        red_ = green_ = blue_ = 0;
        colourGiven_ = false;
    }
}

// ---- pictures ----

void Builder::finishPicture() {
    Picture pict = std::move(picture_);
    picture_ = Picture{};
    if (full_) return;
    if (pict.tooBig) {
        report(ReadStatus::LimitReached);
        return;
    }
    const QByteArray& data = pict.data;
    const bool png = pict.png || data.startsWith("\x89PNG");
    const bool jpeg = pict.jpeg || data.startsWith("\xFF\xD8\xFF");
    if ((!png && !jpeg) || data.isEmpty() || state().chr.hidden)
        return;  // other formats cannot be shown here

    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, png ? "png" : "jpeg");
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()) return;
    const qint64 pixels = qint64(size.width()) * size.height();
    if (pixels > kMaxPicturePixels || picturePixels_ + pixels > kMaxDocumentPicturePixels ||
        pictures_ >= kMaxPictures) {
        report(ReadStatus::LimitReached);
        return;
    }
    if (++runs_ > kMaxRuns || ++characters_ > kMaxCharacters) {
        stop();
        return;
    }
    const QImage image = reader.read();
    if (image.isNull()) return;
    picturePixels_ += pixels;
    ++pictures_;

    const QString hash =
        QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex());
    const QUrl name(QStringLiteral("rtfimage:") + hash);
    cursor_.document()->addResource(QTextDocument::ImageResource, name, image);

    const double baseWidth = pict.goalWidth > 0 ? twipsToPixels(pict.goalWidth) : image.width();
    const double baseHeight = pict.goalHeight > 0 ? twipsToPixels(pict.goalHeight) : image.height();
    // The shown size is kept in whole twips within the bound on measures, as
    // the writer gives it back.
    const auto shown = [](double pixels) {
        return twipsToPixels(std::clamp(pixelsToTwips(pixels), 1, kMaxTwips));
    };
    QTextImageFormat format;
    format.setName(name.toString());
    format.setWidth(shown(baseWidth * pict.scaleX / 100.0));
    format.setHeight(shown(baseHeight * pict.scaleY / 100.0));
    ensureContainer();
    if (full_) return;
    cursor_.insertImage(format);
    blockTouched_ = true;
}

}  // namespace

bool RtfReader::isRtf(QByteArrayView data) {
    Tokenizer tokens(std::string_view(data.data(), static_cast<std::size_t>(data.size())));
    return readHeader(tokens);
}

ReadStatus RtfReader::read(QByteArrayView data, QTextCursor& cursor) {
    if (cursor.isNull()) return ReadStatus::NotRtf;
    Builder builder(cursor);
    cursor.beginEditBlock();
    const ReadStatus status =
        builder.run(std::string_view(data.data(), static_cast<std::size_t>(data.size())));
    cursor.endEditBlock();
    return status;
}

}  // namespace molvane::rtf
