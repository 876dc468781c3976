// Course documents: simple HTML files a teacher edits, turned into the
// rich text the text area loads, in one house style.
#pragma once

#include <QString>
#include <QTextDocument>

namespace molvane::course {

// Width of the text area the documents are read in, in pixels: pictures
// wider than this are refused.
inline constexpr int kTextAreaWidth = 358;
inline constexpr int kMaxPictureWidth = kTextAreaWidth - 40;

// French typography in an HTML text: the blank before ; ? ! » and after «
// becomes a narrow non-breaking space, the one before : a non-breaking space,
// and so does the blank between a number and its unit (s, min, h, %), so that
// a line never starts with the sign. Written as entities, so that the source
// of a generated page still shows them.
QString frenchSpacing(QString html);

// Fills the document from the HTML text, the pictures it names being read
// from the folder imageFolder. Headings, paragraphs and tables get the house
// style (Arial, 10 points for the text). On failure, error says why: a
// picture missing, unreadable or too wide.
bool buildDocument(const QString& html, const QString& imageFolder, QTextDocument& document, QString& error);

}  // namespace molvane::course
