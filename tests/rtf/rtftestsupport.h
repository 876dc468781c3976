// Helpers shared by the reader and writer tests.
#pragma once

#include <QImage>
#include <QStringList>
#include <QTextDocument>
#include <memory>
#include <ostream>

#include "fuzz/rtfdescribe.h"
#include "rtfreader.h"

// Readable failures for Qt strings and lists of them.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace molvane::rtf::test {

struct Loaded {
    std::unique_ptr<QTextDocument> doc;
    ReadStatus status;
};

Loaded load(const QByteArray& rtf);

// Wraps a body in a header with fonts f0 Arial, f1 Symbol (charset 2),
// f2 Times (Cyrillic charset), f3 Wingdings, f4 MS Mincho (Shift_JIS), and
// colours 1 red, 2 blue.
QByteArray wrap(const QByteArray& body);

QByteArray fixture(const char* name);

// Format of the first character of the first occurrence of text.
QTextCharFormat charFormatOf(const QTextDocument& doc, const QString& text);
QTextBlockFormat blockFormatOf(const QTextDocument& doc, const QString& text);

// describe() and roundTripDifference() come from fuzz/rtfdescribe.h.

QByteArray pngOf(const QImage& image);

}  // namespace molvane::rtf::test
