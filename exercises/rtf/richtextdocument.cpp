#include "richtextdocument.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <map>

#include "rtfcharsets.h"
#include "rtfunits.h"

namespace molvane::rtf {

namespace {

using richtext::CharFormat;
using richtext::Paragraph;
using richtext::ParagraphFormat;

QString toQString(const std::u16string& text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}
std::u16string toU16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

class QtDecoder : public CodePageDecoder {
public:
    bool decode(int codePage, std::string_view bytes, std::u16string& out) override {
        const char* name = codecNameForCodePage(codePage);
        if (!name) return false;
        auto it = decoders_.find(codePage);
        if (it == decoders_.end()) it = decoders_.emplace(codePage, QStringDecoder(name)).first;
        QStringDecoder& decoder = it->second;
        if (!decoder.isValid()) return false;
        decoder.resetState();
        const QString text =
            decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
        out += toU16(text);
        return true;
    }

private:
    std::map<int, QStringDecoder> decoders_;
};

// ---- model to document ----

QTextCharFormat::UnderlineStyle qtUnderline(richtext::Underline kind) {
    switch (kind) {
        case richtext::Underline::Single:
            return QTextCharFormat::SingleUnderline;
        case richtext::Underline::Dash:
            return QTextCharFormat::DashUnderline;
        case richtext::Underline::Dotted:
            return QTextCharFormat::DotLine;
        case richtext::Underline::DashDot:
            return QTextCharFormat::DashDotLine;
        case richtext::Underline::DashDotDot:
            return QTextCharFormat::DashDotDotLine;
        case richtext::Underline::Wave:
            return QTextCharFormat::WaveUnderline;
        case richtext::Underline::None:
            break;
    }
    return QTextCharFormat::NoUnderline;
}

QColor qtColour(const richtext::Colour& c) {
    return QColor(c.red, c.green, c.blue);
}

// Properties are set in one order always: Qt tells formats apart by it.
QTextCharFormat qtCharFormat(const CharFormat& c) {
    QTextCharFormat f;
    if (!c.font.empty()) f.setFontFamilies(QStringList{toQString(c.font)});
    f.setFontPointSize(c.halfPoints / 2.0);
    if (c.bold) f.setFontWeight(QFont::Bold);
    if (c.italic) f.setFontItalic(true);
    if (c.strike) f.setFontStrikeOut(true);
    if (c.underline != richtext::Underline::None) f.setUnderlineStyle(qtUnderline(c.underline));
    if (c.vertical == richtext::VerticalPosition::Superscript)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    if (c.vertical == richtext::VerticalPosition::Subscript)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (c.capitals == richtext::Capitals::All) f.setFontCapitalization(QFont::AllUppercase);
    if (c.capitals == richtext::Capitals::Small) f.setFontCapitalization(QFont::SmallCaps);
    if (c.foreground) f.setForeground(qtColour(*c.foreground));
    if (c.background) f.setBackground(qtColour(*c.background));
    return f;
}

QTextBlockFormat qtBlockFormat(const ParagraphFormat& p) {
    QTextBlockFormat f;
    switch (p.alignment) {
        case richtext::Alignment::Left:
            f.setAlignment(Qt::AlignLeft);
            break;
        case richtext::Alignment::Centre:
            f.setAlignment(Qt::AlignHCenter);
            break;
        case richtext::Alignment::Right:
            f.setAlignment(Qt::AlignRight);
            break;
        case richtext::Alignment::Justify:
            f.setAlignment(Qt::AlignJustify);
            break;
    }
    f.setLeftMargin(twipsToPixels(p.leftIndent));
    f.setRightMargin(twipsToPixels(p.rightIndent));
    f.setTextIndent(twipsToPixels(p.firstIndent));
    f.setTopMargin(twipsToPixels(p.spaceBefore));
    f.setBottomMargin(twipsToPixels(p.spaceAfter));
    switch (p.lineSpacing) {
        case richtext::LineSpacing::Proportional:
            f.setLineHeight(p.lineSpacingValue * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
            break;
        case richtext::LineSpacing::AtLeast:
            f.setLineHeight(twipsToPixels(p.lineSpacingValue), QTextBlockFormat::MinimumHeight);
            break;
        case richtext::LineSpacing::Exactly:
            f.setLineHeight(twipsToPixels(p.lineSpacingValue), QTextBlockFormat::FixedHeight);
            break;
        case richtext::LineSpacing::Single:
            break;
    }
    if (!p.tabs.empty()) {
        QList<QTextOption::Tab> tabs;
        for (const richtext::TabStop& t : p.tabs) {
            const QTextOption::TabType type = t.kind == richtext::TabKind::Right    ? QTextOption::RightTab
                                              : t.kind == richtext::TabKind::Centre ? QTextOption::CenterTab
                                              : t.kind == richtext::TabKind::Decimal
                                                  ? QTextOption::DelimiterTab
                                                  : QTextOption::LeftTab;
            tabs.append(QTextOption::Tab(twipsToPixels(t.position), type));
        }
        f.setTabPositions(tabs);
    }
    if (p.pageBreakBefore) f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return f;
}

// Plays the model into the document with the cursor moves a reader working
// on the document would make, so that text read into a paragraph, a table's
// cell or the middle of a text lands as it always has.
class Inserter {
public:
    Inserter(const richtext::Document& model, QTextCursor& cursor) : model_(model), cursor_(cursor) {}

    void run() {
        bool first = true;
        for (const richtext::Block& block : model_.blocks) {
            if (block.paragraph) {
                if (table_)
                    leaveTable();
                else if (!first)
                    cursor_.insertBlock();
                paragraph(*block.paragraph);
            } else if (block.table) {
                if (table_) leaveTable();
                table(*block.table);
            }
            first = false;
        }
    }

private:
    void leaveTable() {
        cursor_ = table_->lastCursorPosition();
        cursor_.movePosition(QTextCursor::NextBlock);
        table_ = nullptr;
    }

    void paragraph(const Paragraph& p) {
        for (const richtext::Run& run : p.runs) {
            if (run.isPicture())
                picture(run.picture);
            else if (!run.text.empty())
                cursor_.insertText(toQString(run.text), qtCharFormat(run.format));
        }
        if (p.formatted) {
            cursor_.setBlockFormat(qtBlockFormat(p.format));
            cursor_.setBlockCharFormat(qtCharFormat(p.mark));
        }
    }

    void paragraphs(const std::vector<Paragraph>& list) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (i > 0) cursor_.insertBlock();
            paragraph(list[i]);
        }
    }

    void table(const richtext::Table& t) {
        QTextTableFormat format;
        format.setBorder(t.borders ? 1 : 0);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderCollapse(true);
        format.setCellSpacing(0);
        format.setCellPadding(2);
        QList<QTextLength> widths;
        for (int width : t.columnWidths)
            widths.append(QTextLength(QTextLength::FixedLength, twipsToPixels(width)));
        if (!widths.isEmpty()) format.setColumnWidthConstraints(widths);
        table_ = cursor_.insertTable(1, std::max(1, t.firstColumns), format);
        if (!table_) return;
        for (std::size_t r = 0; r < t.rows.size(); ++r) {
            const richtext::TableRow& row = t.rows[r];
            if (r > 0) table_->appendRows(1);
            const int cells = std::min<int>(row.cellsRead, static_cast<int>(row.cells.size()));
            for (int c = 0; c < cells; ++c) {
                if (c >= table_->columns()) table_->appendColumns(1);
                cursor_ = table_->cellAt(static_cast<int>(r), c).firstCursorPosition();
                paragraphs(row.cells[static_cast<std::size_t>(c)].paragraphs);
            }
        }
    }

    void picture(int index) {
        if (index < 0 || static_cast<std::size_t>(index) >= model_.pictures.size()) return;
        const richtext::Picture& p = model_.pictures[static_cast<std::size_t>(index)];
        const QByteArray data(p.bytes.data(), static_cast<qsizetype>(p.bytes.size()));
        const QString hash =
            QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex());
        const QUrl name(QStringLiteral("rtfimage:") + hash);
        if (!cursor_.document()->resource(QTextDocument::ImageResource, name).isValid()) {
            QBuffer buffer;
            buffer.setData(data);
            buffer.open(QIODevice::ReadOnly);
            QImageReader reader(&buffer, p.format == richtext::PictureFormat::Png ? "png" : "jpeg");
            const QImage image = reader.read();
            if (image.isNull()) return;
            cursor_.document()->addResource(QTextDocument::ImageResource, name, image);
        }
        QTextImageFormat format;
        format.setName(name.toString());
        format.setWidth(twipsToPixels(p.width));
        format.setHeight(twipsToPixels(p.height));
        if (!p.description.empty()) format.setProperty(kPictureDescription, toQString(p.description));
        cursor_.insertImage(format);
    }

    const richtext::Document& model_;
    QTextCursor& cursor_;
    QTextTable* table_ = nullptr;
};

// ---- document to model ----

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

richtext::Underline underlineOf(const QTextCharFormat& format) {
    switch (format.underlineStyle()) {
        case QTextCharFormat::SingleUnderline:
            return richtext::Underline::Single;
        case QTextCharFormat::DashUnderline:
            return richtext::Underline::Dash;
        case QTextCharFormat::DotLine:
            return richtext::Underline::Dotted;
        case QTextCharFormat::DashDotLine:
            return richtext::Underline::DashDot;
        case QTextCharFormat::DashDotDotLine:
            return richtext::Underline::DashDotDot;
        case QTextCharFormat::WaveUnderline:
            return richtext::Underline::Wave;
        default:
            break;
    }
    return format.fontUnderline() ? richtext::Underline::Single : richtext::Underline::None;
}

richtext::Colour colourOf(const QBrush& brush) {
    const QRgb rgb = brush.color().rgb();
    return richtext::Colour{static_cast<std::uint8_t>(qRed(rgb)), static_cast<std::uint8_t>(qGreen(rgb)),
                            static_cast<std::uint8_t>(qBlue(rgb))};
}

class Taker {
public:
    explicit Taker(const QTextDocument& document) : document_(document) {
        const QFont font = document.defaultFont();
        defaultFamily_ = font.family();
        defaultPointSize_ = font.pointSizeF() > 0  ? font.pointSizeF()
                            : font.pixelSize() > 0 ? font.pixelSize() * 0.75
                                                   : 12.0;
        model_.defaultFont = toU16(defaultFamily_);
    }

    richtext::Document take() {
        items(document_.rootFrame()->begin(), nullptr);
        return std::move(model_);
    }

private:
    // Blocks and frames in order; into a table's cell when cell is given.
    void items(QTextFrame::iterator it, std::vector<Paragraph>* cell) {
        for (; !it.atEnd(); ++it) {
            if (QTextFrame* frame = it.currentFrame()) {
                auto* table = qobject_cast<QTextTable*>(frame);
                if (table && !cell)
                    tableOf(table);
                else
                    items(frame->begin(), cell);  // tables in tables come out as their paragraphs
            } else {
                Paragraph p = paragraphOf(it.currentBlock());
                if (cell)
                    cell->push_back(std::move(p));
                else
                    model_.blocks.push_back(richtext::Block{std::move(p), std::nullopt});
            }
        }
    }

    void tableOf(QTextTable* table) {
        const QTextTableFormat format = table->format();
        richtext::Table t;
        t.columns = table->columns();
        t.firstColumns = t.columns;
        t.borders = format.border() > 0;
        const QList<QTextLength> constraints = format.columnWidthConstraints();
        for (int c = 0; c < t.columns; ++c) {
            const QTextLength length = c < constraints.size() ? constraints.at(c) : QTextLength();
            int width = 0;
            if (length.type() == QTextLength::FixedLength)
                width = std::max(1, pixelsToTwips(length.rawValue()));
            else if (length.type() == QTextLength::PercentageLength)
                width =
                    std::max(1, static_cast<int>(std::lround(length.rawValue() * kPageTextTwips / 100.0)));
            t.columnWidths.push_back(width);
        }
        for (int r = 0; r < table->rows(); ++r) {
            richtext::TableRow row;
            row.cellsRead = t.columns;
            for (int c = 0; c < t.columns; ++c) {
                richtext::TableCell cell;
                const QTextTableCell qtCell = table->cellAt(r, c);
                if (qtCell.row() == r && qtCell.column() == c)
                    items(qtCell.begin(), &cell.paragraphs);
                else
                    cell.covered = true;
                row.cells.push_back(std::move(cell));
            }
            t.rows.push_back(std::move(row));
        }
        model_.blocks.push_back(richtext::Block{std::nullopt, std::move(t)});
    }

    Paragraph paragraphOf(const QTextBlock& block) {
        Paragraph p;
        p.formatted = true;
        p.format = paragraphFormatOf(block.blockFormat());
        p.mark = charFormatOf(block.charFormat());
        if (const QTextList* list = block.textList()) {
            p.listItem = true;
            p.listMarker = toU16(listMarker(*list, block));
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) continue;
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                for (int i = 0; i < fragment.length(); ++i) {
                    const int index = pictureOf(format.toImageFormat());
                    if (index >= 0) p.runs.push_back(richtext::Run{{}, charFormatOf(format), index});
                }
                continue;
            }
            p.runs.push_back(richtext::Run{toU16(fragment.text()), charFormatOf(format), -1});
        }
        return p;
    }

    QString familyOf(const QTextCharFormat& format) const {
        const QStringList families = format.property(QTextFormat::FontFamilies).toStringList();
        return families.isEmpty() || families.first().isEmpty() ? defaultFamily_ : families.first();
    }

    double pointSizeOf(const QTextCharFormat& format) const {
        if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
            return format.fontPointSize();
        if (format.hasProperty(QTextFormat::FontPixelSize))
            return format.intProperty(QTextFormat::FontPixelSize) * 0.75;
        return defaultPointSize_;
    }

    CharFormat charFormatOf(const QTextCharFormat& format) const {
        CharFormat c;
        c.font = toU16(familyOf(format));
        c.halfPoints = static_cast<int>(std::lround(pointSizeOf(format) * 2));
        c.bold = format.fontWeight() >= QFont::DemiBold;
        c.italic = format.fontItalic();
        c.strike = format.fontStrikeOut();
        c.underline = underlineOf(format);
        if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            c.vertical = richtext::VerticalPosition::Superscript;
        if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
            c.vertical = richtext::VerticalPosition::Subscript;
        if (format.fontCapitalization() == QFont::AllUppercase) c.capitals = richtext::Capitals::All;
        if (format.fontCapitalization() == QFont::SmallCaps) c.capitals = richtext::Capitals::Small;
        if (format.foreground().style() != Qt::NoBrush) c.foreground = colourOf(format.foreground());
        if (format.background().style() != Qt::NoBrush) c.background = colourOf(format.background());
        return c;
    }

    static ParagraphFormat paragraphFormatOf(const QTextBlockFormat& format) {
        ParagraphFormat p;
        const Qt::Alignment horizontal = format.alignment() & Qt::AlignHorizontal_Mask;
        if (horizontal & Qt::AlignJustify)
            p.alignment = richtext::Alignment::Justify;
        else if (horizontal & Qt::AlignHCenter)
            p.alignment = richtext::Alignment::Centre;
        else if (horizontal & Qt::AlignRight)
            p.alignment = richtext::Alignment::Right;
        p.leftIndent = pixelsToTwips(format.leftMargin());
        p.rightIndent = pixelsToTwips(format.rightMargin());
        p.firstIndent = pixelsToTwips(format.textIndent());
        p.spaceBefore = pixelsToTwips(format.topMargin());
        p.spaceAfter = pixelsToTwips(format.bottomMargin());
        switch (format.lineHeightType()) {
            case QTextBlockFormat::ProportionalHeight:
                p.lineSpacing = richtext::LineSpacing::Proportional;
                p.lineSpacingValue = static_cast<int>(std::lround(format.lineHeight() * 240.0 / 100.0));
                break;
            case QTextBlockFormat::MinimumHeight:
                p.lineSpacing = richtext::LineSpacing::AtLeast;
                p.lineSpacingValue = pixelsToTwips(format.lineHeight());
                break;
            case QTextBlockFormat::FixedHeight:
                p.lineSpacing = richtext::LineSpacing::Exactly;
                p.lineSpacingValue = pixelsToTwips(format.lineHeight());
                break;
            default:
                break;
        }
        for (const QTextOption::Tab& tab : format.tabPositions()) {
            richtext::TabStop stop;
            stop.position = pixelsToTwips(tab.position);
            stop.kind = tab.type == QTextOption::RightTab       ? richtext::TabKind::Right
                        : tab.type == QTextOption::CenterTab    ? richtext::TabKind::Centre
                        : tab.type == QTextOption::DelimiterTab ? richtext::TabKind::Decimal
                                                                : richtext::TabKind::Left;
            p.tabs.push_back(stop);
        }
        p.pageBreakBefore = (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) != 0;
        return p;
    }

    // The picture an image format shows, as PNG; -1 when its image is missing.
    int pictureOf(const QTextImageFormat& format) {
        auto it = encoded_.find(format.name());
        if (it == encoded_.end()) {
            const QVariant resource = document_.resource(QTextDocument::ImageResource, QUrl(format.name()));
            QImage image;
            if (resource.canConvert<QImage>() && resource.typeId() == QMetaType::QImage)
                image = resource.value<QImage>();
            else if (resource.typeId() == QMetaType::QPixmap)
                image = resource.value<QPixmap>().toImage();
            else if (resource.typeId() == QMetaType::QByteArray)
                image = QImage::fromData(resource.toByteArray());
            richtext::Picture picture;
            if (!image.isNull()) {
                QByteArray png;
                QBuffer buffer(&png);
                buffer.open(QIODevice::WriteOnly);
                if (image.save(&buffer, "PNG")) {
                    picture.bytes.assign(png.constData(), static_cast<std::size_t>(png.size()));
                    picture.pixelWidth = image.width();
                    picture.pixelHeight = image.height();
                }
            }
            it = encoded_.insert(format.name(), picture);
        }
        if (it->bytes.empty()) return -1;
        richtext::Picture picture = *it;
        picture.width = pixelsToTwips(format.width() > 0 ? format.width() : picture.pixelWidth);
        picture.height = pixelsToTwips(format.height() > 0 ? format.height() : picture.pixelHeight);
        picture.description = toU16(format.stringProperty(kPictureDescription));
        model_.pictures.push_back(std::move(picture));
        return static_cast<int>(model_.pictures.size()) - 1;
    }

    // Width shared by table columns given as a share of the page: the text
    // width of an A4 page with 2 cm margins.
    static constexpr int kPageTextTwips = 9638;

    const QTextDocument& document_;
    QString defaultFamily_;
    double defaultPointSize_ = 12.0;
    QHash<QString, richtext::Picture> encoded_;  // by image name: each is encoded once
    richtext::Document model_;
};

}  // namespace

CodePageDecoder& qtCodePageDecoder() {
    thread_local QtDecoder decoder;
    return decoder;
}

void insertRichText(const richtext::Document& model, QTextCursor& cursor) {
    Inserter(model, cursor).run();
}

richtext::Document richTextOf(const QTextDocument& document) {
    return Taker(document).take();
}

}  // namespace molvane::rtf
