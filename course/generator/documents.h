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

// Fills the document from the HTML text, the pictures it names being read
// from the folder imageFolder. Headings, paragraphs and tables get the house
// style (Arial, 10 points for the text). On failure, error says why: a
// picture missing, unreadable or too wide.
bool buildDocument(const QString& html, const QString& imageFolder, QTextDocument& document, QString& error);

}  // namespace molvane::course
