#include "rtfwriter.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <cstdint>

#include "common/cp1252.h"
#include "rtfunderline.h"
#include "rtfunits.h"

namespace molvane::rtf {

namespace {

// Width shared by table columns whose width Qt leaves to the layout: the text
// width of an A4 page with 2 cm margins.
constexpr int kPageTextTwips = 9638;
constexpr int kHexPerLine = 128;

QString listMarker(const QTextList& list, const QTextBlock& block) {
    switch (list.format().style()) {
        case QTextListFormat::ListDisc:
            return QString(QChar(0x2022));
        case QTextListFormat::ListCircle:
            return QString(QChar(0x25E6));
        case QTextListFormat::ListSquare:
            return QString(QChar(0x25AA));
        default:
            return list.itemText(block);
    }
}

// A UTF-16 unit as \uN, N signed as RTF wants it, with "?" for the readers
// that skip one character after it.
void unicodeWord(char16_t unit, QByteArray& out) {
    out += "\\u" + QByteArray::number(static_cast<std::int16_t>(unit)) + '?';
}

class Emitter {
public:
    explicit Emitter(const QTextDocument& document);
    QByteArray finish();

    void writeItems(QTextFrame::iterator it, bool inTable);

private:
    void writeTable(QTextTable* table);
    void writeBlock(const QTextBlock& block, bool inTable);
    void writeParagraphProperties(const QTextBlockFormat& format, bool inTable);
    void writeCharacterProperties(const QTextCharFormat& format);
    void writeImage(const QTextImageFormat& format);
    void endParagraph();

    void escaped(QStringView text, QByteArray& out);
    static void escapedName(QStringView name, QByteArray& out);
    int fontIndex(const QString& family);
    int colourIndex(const QColor& colour);
    QString familyOf(const QTextCharFormat& format) const;
    double pointSizeOf(const QTextCharFormat& format) const;

    void word(std::string_view name) { body_.append(name.data(), static_cast<qsizetype>(name.size())); }
    void word(const char* name, int value) {
        body_ += name;
        body_ += QByteArray::number(value);
    }

    const QTextDocument& document_;
    QString defaultFamily_;
    double defaultPointSize_;
    QStringList fonts_;
    QHash<QString, int> fontIndices_;
    QList<QRgb> colours_;
    QByteArray body_;
    QHash<char16_t, char> ansiBytes_;  // Windows-1252 bytes of the characters above 0x7F

    // The paragraph mark of the last block written waits until we know what
    // follows: another paragraph, a page break, a cell end or nothing.
    bool paragraphOpen_ = false;
    bool lastBlockEmpty_ = false;
    QTextCharFormat lastBlockMark_;
    int blocksInCell_ = 0;
};

Emitter::Emitter(const QTextDocument& document) : document_(document) {
    const QFont font = document.defaultFont();
    defaultFamily_ = font.family();
    defaultPointSize_ = font.pointSizeF() > 0  ? font.pointSizeF()
                        : font.pixelSize() > 0 ? font.pixelSize() * 0.75
                                               : 12.0;
    fontIndex(defaultFamily_);  // font 0 is the default font: \deff0
    for (int b = 0x80; b <= 0xFF; ++b) {
        const char byte = static_cast<char>(b);
        const QString c = QString::fromStdString(cp1252ToUtf8(std::string_view(&byte, 1)));
        if (c.size() == 1) ansiBytes_.insert(c.at(0).unicode(), byte);
    }
}

QByteArray Emitter::finish() {
    // Every paragraph has its mark, the last one too: a reader takes a final
    // \par for the end of the last paragraph, so an empty one there survives.
    endParagraph();
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
    for (int i = 0; i < fonts_.size(); ++i) {
        out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
        QString family = fonts_.at(i);
        escapedName(family, out);
        out += ";}";
    }
    out += "}\n{\\colortbl;";
    for (QRgb c : colours_) {
        out += "\\red" + QByteArray::number(qRed(c)) + "\\green" + QByteArray::number(qGreen(c)) + "\\blue" +
               QByteArray::number(qBlue(c)) + ';';
    }
    out += "}\n";
    out += body_;
    out += "}\n";
    return out;
}

int Emitter::fontIndex(const QString& family) {
    const auto it = fontIndices_.constFind(family);
    if (it != fontIndices_.constEnd()) return *it;
    fonts_.append(family);
    fontIndices_.insert(family, fonts_.size() - 1);
    return fonts_.size() - 1;
}

int Emitter::colourIndex(const QColor& colour) {
    const QRgb rgb = colour.rgb();
    const int at = colours_.indexOf(rgb);
    if (at >= 0) return at + 1;
    colours_.append(rgb);
    return colours_.size();  // index 0 is "automatic"
}

QString Emitter::familyOf(const QTextCharFormat& format) const {
    const QStringList families = format.property(QTextFormat::FontFamilies).toStringList();
    return families.isEmpty() || families.first().isEmpty() ? defaultFamily_ : families.first();
}

double Emitter::pointSizeOf(const QTextCharFormat& format) const {
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        return format.fontPointSize();
    if (format.hasProperty(QTextFormat::FontPixelSize))
        return format.intProperty(QTextFormat::FontPixelSize) * 0.75;
    return defaultPointSize_;
}

// A font's name: plain ASCII as it is, every other character as \uN, which
// readers take whatever the font's code page, and nothing that would end or
// break the name.
void Emitter::escapedName(QStringView name, QByteArray& out) {
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u == ';' || u < 0x20 || u == QChar::LineSeparator || u == QChar::ParagraphSeparator) continue;
        if (u == '\\' || u == '{' || u == '}') out += '\\';
        if (u < 0x7F)
            out += static_cast<char>(u);
        else
            unicodeWord(u, out);
    }
}

void Emitter::escaped(QStringView text, QByteArray& out) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t u = text.at(i).unicode();
        // A half of a surrogate pair on its own stands for no character.
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            unicodeWord(u, out);
            u = text.at(++i).unicode();
        } else if (QChar::isSurrogate(u)) {
            u = QChar::ReplacementCharacter;
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
            case QChar::ObjectReplacementCharacter:
                continue;  // an object without a picture
            default:
                break;
        }
        if (u < 0x20) continue;
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (const auto it = ansiBytes_.constFind(u); it != ansiBytes_.constEnd()) {
            static const char hex[] = "0123456789abcdef";
            const auto b = static_cast<unsigned char>(*it);
            out += "\\'";
            out += hex[b >> 4];
            out += hex[b & 0xF];
        } else {
            unicodeWord(u, out);
        }
    }
}

void Emitter::writeItems(QTextFrame::iterator it, bool inTable) {
    for (; !it.atEnd(); ++it) {
        if (QTextFrame* frame = it.currentFrame()) {
            auto* table = qobject_cast<QTextTable*>(frame);
            if (table && !inTable)
                writeTable(table);
            else
                writeItems(frame->begin(), inTable);  // tables in tables come out as their paragraphs
        } else {
            writeBlock(it.currentBlock(), inTable);
        }
    }
}

void Emitter::endParagraph() {
    if (!paragraphOpen_) return;
    if (lastBlockEmpty_) {
        // the mark carries the size of an empty line
        body_ += '{';
        writeCharacterProperties(lastBlockMark_);
        body_ += "\\par}\n";
    } else {
        body_ += "\\par\n";
    }
    paragraphOpen_ = false;
}

void Emitter::writeBlock(const QTextBlock& block, bool inTable) {
    const QTextBlockFormat format = block.blockFormat();
    endParagraph();
    writeParagraphProperties(format, inTable);
    if (const QTextList* list = block.textList()) {
        // Word processors show the marker from \listtext; Qt draws it itself.
        body_ += "{\\listtext";
        writeCharacterProperties(block.charFormat());
        body_ += ' ';
        escaped(listMarker(*list, block), body_);
        body_ += "\\tab}";
    }
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid()) continue;
        const QTextCharFormat charFormat = fragment.charFormat();
        if (charFormat.isImageFormat()) {
            for (int i = 0; i < fragment.length(); ++i) writeImage(charFormat.toImageFormat());
            continue;
        }
        body_ += '{';
        writeCharacterProperties(charFormat);
        body_ += ' ';
        escaped(fragment.text(), body_);
        body_ += '}';
    }
    paragraphOpen_ = true;
    ++blocksInCell_;
    lastBlockEmpty_ = block.length() <= 1;
    lastBlockMark_ = block.charFormat();
}

void Emitter::writeParagraphProperties(const QTextBlockFormat& format, bool inTable) {
    word("\\pard\\plain");
    if (inTable) word("\\intbl");
    // A property of the paragraph rather than a \page before it, so that it
    // holds for a first paragraph and in a table's cell too.
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) word("\\pagebb");
    const Qt::Alignment horizontal = format.alignment() & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignJustify)
        word("\\qj");
    else if (horizontal & Qt::AlignHCenter)
        word("\\qc");
    else if (horizontal & Qt::AlignRight)
        word("\\qr");
    else
        word("\\ql");
    const auto measure = [this](const char* name, double pixels) {
        if (const int twips = pixelsToTwips(pixels); twips != 0) word(name, twips);
    };
    measure("\\li", format.leftMargin());
    measure("\\ri", format.rightMargin());
    measure("\\fi", format.textIndent());
    measure("\\sb", format.topMargin());
    measure("\\sa", format.bottomMargin());
    switch (format.lineHeightType()) {
        case QTextBlockFormat::ProportionalHeight:
            word("\\sl", static_cast<int>(std::lround(format.lineHeight() * 240.0 / 100.0)));
            word("\\slmult1");
            break;
        case QTextBlockFormat::MinimumHeight:
            word("\\sl", pixelsToTwips(format.lineHeight()));
            word("\\slmult0");
            break;
        case QTextBlockFormat::FixedHeight:
            word("\\sl", -pixelsToTwips(format.lineHeight()));
            word("\\slmult0");
            break;
        default:
            break;
    }
    for (const QTextOption::Tab& tab : format.tabPositions()) {
        if (tab.type == QTextOption::RightTab) word("\\tqr");
        if (tab.type == QTextOption::CenterTab) word("\\tqc");
        if (tab.type == QTextOption::DelimiterTab) word("\\tqdec");
        word("\\tx", pixelsToTwips(tab.position));
    }
    body_ += ' ';
}

void Emitter::writeCharacterProperties(const QTextCharFormat& format) {
    word("\\f", fontIndex(familyOf(format)));
    word("\\fs", static_cast<int>(std::lround(pointSizeOf(format) * 2)));
    if (format.fontWeight() >= QFont::DemiBold) word("\\b");
    if (format.fontItalic()) word("\\i");
    if (const std::string_view underline = underlineWordOf(format.underlineStyle()); !underline.empty())
        word(underline);
    else if (format.fontUnderline())
        word(underlineWordOf(QTextCharFormat::SingleUnderline));
    if (format.fontStrikeOut()) word("\\strike");
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript) word("\\super");
    if (format.verticalAlignment() == QTextCharFormat::AlignSubScript) word("\\sub");
    if (format.fontCapitalization() == QFont::AllUppercase) word("\\caps");
    if (format.fontCapitalization() == QFont::SmallCaps) word("\\scaps");
    if (format.foreground().style() != Qt::NoBrush) word("\\cf", colourIndex(format.foreground().color()));
    if (format.background().style() != Qt::NoBrush)
        word("\\highlight", colourIndex(format.background().color()));
}

void Emitter::writeImage(const QTextImageFormat& format) {
    const QVariant resource = document_.resource(QTextDocument::ImageResource, QUrl(format.name()));
    QImage image;
    if (resource.canConvert<QImage>() && resource.typeId() == QMetaType::QImage)
        image = resource.value<QImage>();
    else if (resource.typeId() == QMetaType::QPixmap)
        image = resource.value<QPixmap>().toImage();
    else if (resource.typeId() == QMetaType::QByteArray)
        image = QImage::fromData(resource.toByteArray());
    if (image.isNull()) return;

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return;

    const double width = format.width() > 0 ? format.width() : image.width();
    const double height = format.height() > 0 ? format.height() : image.height();
    body_ += "{\\pict\\pngblip";
    word("\\picw", image.width());
    word("\\pich", image.height());
    word("\\picwgoal", pixelsToTwips(width));
    word("\\pichgoal", pixelsToTwips(height));
    const QByteArray hex = png.toHex();
    for (qsizetype at = 0; at < hex.size(); at += kHexPerLine) {
        body_ += '\n';
        body_ += hex.mid(at, kHexPerLine);
    }
    body_ += "}";
}

void Emitter::writeTable(QTextTable* table) {
    endParagraph();
    const QTextTableFormat format = table->format();
    const int columns = table->columns();
    const QList<QTextLength> constraints = format.columnWidthConstraints();

    // Fixed widths are kept; percentages and free columns share the page.
    QList<int> widths(columns, 0);
    int fixedTotal = 0;
    int freeColumns = 0;
    for (int c = 0; c < columns; ++c) {
        const QTextLength length = c < constraints.size() ? constraints.at(c) : QTextLength();
        if (length.type() == QTextLength::FixedLength) {
            widths[c] = std::max(1, pixelsToTwips(length.rawValue()));
            fixedTotal += widths[c];
        } else if (length.type() == QTextLength::PercentageLength) {
            widths[c] =
                std::max(1, static_cast<int>(std::lround(length.rawValue() * kPageTextTwips / 100.0)));
            fixedTotal += widths[c];
        } else {
            ++freeColumns;
        }
    }
    const int share = freeColumns ? std::max(300, (kPageTextTwips - fixedTotal) / freeColumns) : 0;
    for (int& w : widths)
        if (w == 0) w = share;

    for (int r = 0; r < table->rows(); ++r) {
        word("\\trowd\\trgaph108");
        int edge = 0;
        for (int c = 0; c < columns; ++c) {
            if (format.border() > 0)
                word(
                    "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\br"
                    "drs\\brdrw10");
            edge += widths[c];
            word("\\cellx", edge);
        }
        body_ += '\n';
        for (int c = 0; c < columns; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() == r && cell.column() == c) {
                blocksInCell_ = 0;
                writeItems(cell.begin(), true);
                // A \par right before \cell ends the same paragraph as the
                // cell mark: an empty last paragraph needs a mark of its own.
                if (blocksInCell_ > 1 && lastBlockEmpty_) endParagraph();
            } else {
                writeParagraphProperties(QTextBlockFormat(), true);  // covered by a merged cell
            }
            paragraphOpen_ = false;
            word("\\cell\n");
        }
        word("\\row\n");
    }
}

}  // namespace

QByteArray RtfWriter::write(const QTextDocument& document) {
    Emitter emitter(document);
    emitter.writeItems(document.rootFrame()->begin(), false);
    return emitter.finish();
}

}  // namespace molvane::rtf
