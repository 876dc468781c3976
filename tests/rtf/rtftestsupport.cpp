#include "rtftestsupport.h"

#include <QBuffer>
#include <QFile>
#include <QTextCursor>

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

}  // namespace

QTextCharFormat charFormatOf(const QTextDocument& doc, const QString& text) {
    const QTextCursor c = cursorAt(doc, text);
    return c.isNull() ? QTextCharFormat() : c.charFormat();
}

QTextBlockFormat blockFormatOf(const QTextDocument& doc, const QString& text) {
    const QTextCursor c = cursorAt(doc, text);
    return c.isNull() ? QTextBlockFormat() : c.blockFormat();
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
