// Loading and saving whole RTF files for the text area.
#pragma once

#include <QString>
#include <QTextDocument>

#include "rtfreader.h"

namespace molvane::rtf {

// Replaces the document's content with the file's. When the file cannot be
// read (CannotOpen, TooLarge, NotRtf) the document is left as it was. Only
// regular files are read: a path naming a FIFO, a device or a folder is
// CannotOpen at once, never a wait.
ReadStatus loadRtfFile(const QString& path, QTextDocument& document);

// Whether a load read nothing at all, which the caller reports as a read failure.
bool nothingLoaded(ReadStatus status);

// The French notice the text area shows after a load that kept only part of
// the file (Truncated, Malformed, TooDeep, LimitReached, TooLong); empty for
// Ok and for the statuses that load nothing.
QString readNotice(ReadStatus status);

// Writes through a temporary file that replaces the old one only once every
// byte is written, so a failed save keeps the previous file.
bool saveRtfFile(const QTextDocument& document, const QString& path);

}  // namespace molvane::rtf
