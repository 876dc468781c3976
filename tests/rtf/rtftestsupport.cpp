#include "rtftestsupport.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextTable>
#include <QUrl>

namespace molvane::rtf::test {

Loaded load(const QByteArray& rtf) {
    Loaded result{std::make_unique<QTextDocument>(), ReadStatus::Ok};
    QTextCursor cursor(result.doc.get());
    result.status = RtfReader::read(rtf, cursor);
    return result;
}

QByteArray wrap(const QByteArray& body) {
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman\\fcharset2 Symbol;}"
           "{\\f2\\fcharset204 Times;}{\\f3\\fcharset2 Wingdings;}{\\f4\\fcharset128 MS Mincho;}}"
           "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\n" +
           body + "}";
}

QByteArray fixture(const char* name) {
    QFile file(QStringLiteral(RTF_TEST_DATA "/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

namespace {

QTextCursor cursorAt(const QTextDocument& doc, const QString& text) {
    QTextCursor found = doc.find(text);
    if (found.isNull()) return found;
    QTextCursor c(found.document());
    c.setPosition(found.selectionStart() + 1);
    return c;
}

QString resolvedFamily(const QTextDocument& doc, const QTextCharFormat& f) {
    const QStringList families = f.property(QTextFormat::FontFamilies).toStringList();
    return families.isEmpty() ? doc.defaultFont().family() : families.first();
}

double resolvedSize(const QTextDocument& doc, const QTextCharFormat& f) {
    return f.fontPointSize() > 0 ? f.fontPointSize() : doc.defaultFont().pointSizeF();
}

// Pictures by shown size (their own when the format gives none), pixel size,
// a digest of the pixels, and how many follow each other.
QString describeImage(const QTextDocument& doc, const QTextImageFormat& f, int count) {
    const QImage image = doc.resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const QByteArray pixels(reinterpret_cast<const char*>(argb.constBits()), argb.sizeInBytes());
    return QStringLiteral("<%6 image %1x%2 of %3x%4 %5>")
        .arg(f.width() > 0 ? f.width() : image.width())
        .arg(f.height() > 0 ? f.height() : image.height())
        .arg(image.width())
        .arg(image.height())
        .arg(QString::fromLatin1(QCryptographicHash::hash(pixels, QCryptographicHash::Md5).toHex().left(8)))
        .arg(count);
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

QTextCharFormat charFormatOf(const QTextDocument& doc, const QString& text) {
    const QTextCursor c = cursorAt(doc, text);
    return c.isNull() ? QTextCharFormat() : c.charFormat();
}

QTextBlockFormat blockFormatOf(const QTextDocument& doc, const QString& text) {
    const QTextCursor c = cursorAt(doc, text);
    return c.isNull() ? QTextBlockFormat() : c.blockFormat();
}

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
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat f = fragment.charFormat();
            line += QLatin1String(" | ");
            line += f.isImageFormat()
                        ? describeImage(doc, f.toImageFormat(), fragment.length())
                        : QLatin1Char('"') + fragment.text() + QLatin1String("\" ") + describeChars(doc, f);
        }
        lines.append(line);
    }
    return lines;
}

QByteArray pngOf(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

}  // namespace molvane::rtf::test

#include <gtest/gtest.h>

#include <QGuiApplication>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);  // fonts and images need a GUI application
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
