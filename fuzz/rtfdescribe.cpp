#include "rtfdescribe.h"

#include <QCryptographicHash>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextTable>
#include <QUrl>

#include "exercises/rtf/richtextdocument.h"
#include "exercises/rtf/rtfreader.h"
#include "exercises/rtf/rtfwriter.h"

namespace molvane::rtf::test {

namespace {

QString resolvedFamily(const QTextDocument& doc, const QTextCharFormat& f) {
    const QStringList families = f.property(QTextFormat::FontFamilies).toStringList();
    return families.isEmpty() ? doc.defaultFont().family() : families.first();
}

double resolvedSize(const QTextDocument& doc, const QTextCharFormat& f) {
    return f.fontPointSize() > 0 ? f.fontPointSize() : doc.defaultFont().pointSizeF();
}

// Pictures by shown size (their own when the format gives none), pixel size,
// a digest of the pixels and their description.
QString describeImage(const QTextDocument& doc, const QTextImageFormat& f) {
    const QImage image = doc.resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const QByteArray pixels(reinterpret_cast<const char*>(argb.constBits()), argb.sizeInBytes());
    return QStringLiteral("image %1x%2 of %3x%4 %5")
               .arg(f.width() > 0 ? f.width() : image.width())
               .arg(f.height() > 0 ? f.height() : image.height())
               .arg(image.width())
               .arg(image.height())
               .arg(QString::fromLatin1(
                   QCryptographicHash::hash(pixels, QCryptographicHash::Md5).toHex().left(8))) +
           (f.hasProperty(kPictureDescription)
                ? QStringLiteral(" « %1 »").arg(f.stringProperty(kPictureDescription))
                : QString());
}

QString describeChars(const QTextDocument& doc, const QTextCharFormat& f) {
    QString s = resolvedFamily(doc, f) + QLatin1Char(' ') + QString::number(resolvedSize(doc, f));
    if (f.fontWeight() >= QFont::DemiBold) s += QLatin1String(" b");
    if (f.fontItalic()) s += QLatin1String(" i");
    if (f.underlineStyle() != QTextCharFormat::NoUnderline)
        s += QStringLiteral(" u%1").arg(f.underlineStyle());
    if (f.fontStrikeOut()) s += QLatin1String(" s");
    if (f.verticalAlignment() != QTextCharFormat::AlignNormal)
        s += QStringLiteral(" v%1").arg(f.verticalAlignment());
    if (f.fontCapitalization() != QFont::MixedCase)
        s += QStringLiteral(" caps%1").arg(f.fontCapitalization());
    if (f.foreground().style() != Qt::NoBrush) s += QLatin1String(" fg") + f.foreground().color().name();
    if (f.background().style() != Qt::NoBrush) s += QLatin1String(" bg") + f.background().color().name();
    return s;
}

}  // namespace

QStringList describe(const QTextDocument& doc) {
    QStringList lines;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QString line;
        const QTextCursor c(block);
        if (const QTextTable* table = c.currentTable()) {
            const QTextTableCell cell = table->cellAt(c);
            line += QStringLiteral("cell %1,%2 of %3x%4: ")
                        .arg(cell.row())
                        .arg(cell.column())
                        .arg(table->rows())
                        .arg(table->columns());
        }
        const QTextBlockFormat b = block.blockFormat();
        const int align = int(b.alignment() & Qt::AlignHorizontal_Mask);
        line += QStringLiteral("align %1 margins %2 %3 %4 %5 %6 line %7/%8")
                    .arg(align == 0 ? int(Qt::AlignLeft) : align)
                    .arg(b.leftMargin())
                    .arg(b.rightMargin())
                    .arg(b.textIndent())
                    .arg(b.topMargin())
                    .arg(b.bottomMargin())
                    .arg(b.lineHeight())
                    .arg(b.lineHeightType());
        for (const QTextOption::Tab& tab : b.tabPositions())
            line += QStringLiteral(" tab %1/%2").arg(tab.position).arg(tab.type);
        if (b.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) line += QLatin1String(" page");
        // Neighbouring pieces that look the same are one piece: where Qt
        // splits a run (pictures under two names with the same pixels) is
        // no part of the document.
        struct Piece {
            bool image;
            QString look;
            QString text;
            int count;
        };
        QList<Piece> pieces;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat f = fragment.charFormat();
            Piece piece = f.isImageFormat() ? Piece{true, describeImage(doc, f.toImageFormat()), QString(),
                                                    fragment.length()}
                                            : Piece{false, describeChars(doc, f), fragment.text(), 0};
            if (!pieces.isEmpty() && pieces.back().image == piece.image && pieces.back().look == piece.look) {
                pieces.back().text += piece.text;
                pieces.back().count += piece.count;
            } else {
                pieces.append(piece);
            }
        }
        for (const Piece& piece : pieces) {
            line += QLatin1String(" | ");
            line += piece.image ? QStringLiteral("<%1 %2>").arg(piece.count).arg(piece.look)
                                : QLatin1Char('"') + piece.text + QLatin1String("\" ") + piece.look;
        }
        lines.append(line);
    }
    return lines;
}

QString roundTripDifference(QByteArrayView data) {
    QTextDocument first;
    QTextCursor cursor(&first);
    if (RtfReader::read(data, cursor) == ReadStatus::NotRtf) return QString();
    const QByteArray written = RtfWriter::write(first);

    QTextDocument second;
    QTextCursor again(&second);
    if (const ReadStatus status = RtfReader::read(written, again); status != ReadStatus::Ok)
        return QStringLiteral("what the writer made reads with status %1").arg(int(status));
    const QStringList before = describe(first);
    const QStringList after = describe(second);
    for (qsizetype i = 0; i < std::max(before.size(), after.size()); ++i) {
        if (before.value(i) != after.value(i))
            return QStringLiteral("block %1:\n  read    %2\n  re-read %3")
                .arg(i)
                .arg(before.value(i), after.value(i));
    }
    if (const QByteArray rewritten = RtfWriter::write(second); rewritten != written) {
        qsizetype at = 0;
        while (at < written.size() && at < rewritten.size() && written.at(at) == rewritten.at(at)) ++at;
        return QStringLiteral("the second writing differs from byte %1:\n  %2\n  %3")
            .arg(at)
            .arg(QString::fromLatin1(written.mid(std::max<qsizetype>(0, at - 40), 80)),
                 QString::fromLatin1(rewritten.mid(std::max<qsizetype>(0, at - 40), 80)));
    }
    return QString();
}

}  // namespace molvane::rtf::test
