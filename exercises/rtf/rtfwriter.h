// Writes a QTextDocument as RTF that word processors open and that
// RtfReader reads back into the same document, through the rich-text model.
#pragma once

#include <QByteArray>
#include <QTextDocument>

namespace molvane::rtf {

class RtfWriter {
public:
    // Text is Windows-1252 with \'hh escapes and \uN? for other characters;
    // pictures are written as PNG with their descriptions. Writing cannot fail.
    static QByteArray write(const QTextDocument& document);
};

}  // namespace molvane::rtf
