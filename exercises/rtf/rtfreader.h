// Reads RTF into a QTextDocument through a cursor, so that loading a file into
// an empty document and inserting RTF at the caret are the same operation.
// The builder reads the file into the rich-text model, which is then put
// into the document; the bounds and statuses are the builder's.
#pragma once

#include <QByteArrayView>
#include <QTextCursor>

#include "rtfbuilder.h"

namespace molvane::rtf {

class RtfReader {
public:
    // Inserts the document held by data at the cursor, which ends after it.
    // Pictures become image resources of the cursor's document; nothing is
    // ever fetched from outside the data.
    static ReadStatus read(QByteArrayView data, QTextCursor& cursor);

    // Whether data starts as an RTF document does.
    static bool isRtf(QByteArrayView data);
};

}  // namespace molvane::rtf
