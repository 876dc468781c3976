// The desktop's side of the rich-text model: puts a model into a
// QTextDocument at a cursor, and takes a QTextDocument back as a model.
#pragma once

#include <QTextCursor>
#include <QTextDocument>
#include <QTextFormat>

#include "richtext.h"
#include "rtfbuilder.h"

namespace molvane::rtf {

// The property of a picture's QTextImageFormat that holds its description.
inline constexpr int kPictureDescription = QTextFormat::ImageAltText;

// Decodes the code pages Qt's Unicode library knows.
CodePageDecoder& qtCodePageDecoder();

// Inserts the model at the cursor, which ends after it; its first paragraph
// joins the cursor's. Pictures become image resources of the cursor's
// document (a picture Qt cannot decode is left out).
void insertRichText(const richtext::Document& model, QTextCursor& cursor);

// The document as the model: sizes, measures and fonts as they will be
// written (fonts and sizes the text leaves to the document made explicit),
// pictures as PNG, tables in tables as their cells' paragraphs.
richtext::Document richTextOf(const QTextDocument& document);

}  // namespace molvane::rtf
