// Loading and saving whole RTF files for the text area.
#pragma once

#include <QString>
#include <QTextDocument>

#include "rtfreader.h"

namespace molvane::rtf {

// Replaces the document's content with the file's. When the file cannot be
// read (CannotOpen, TooLarge, NotRtf) the document is left as it was.
ReadStatus loadRtfFile(const QString& path, QTextDocument& document);

// Writes through a temporary file that replaces the old one only once every
// byte is written, so a failed save keeps the previous file.
bool saveRtfFile(const QTextDocument& document, const QString& path);

}  // namespace molvane::rtf
