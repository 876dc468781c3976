// Reads RTF into a QTextDocument through a cursor, so that loading a file into
// an empty document and inserting RTF at the caret are the same operation.
#pragma once

#include <QByteArrayView>
#include <QTextCursor>
#include <cstddef>

namespace molvane::rtf {

// What the reader met; everything read up to a problem stays in the document.
enum class ReadStatus {
    Ok,
    NotRtf,        // does not start with {\rtf: nothing inserted
    Truncated,     // the data ended inside a group
    Malformed,     // bad escapes, over-long words or numbers, short \bin data
    TooDeep,       // groups nested beyond kMaxGroupDepth: their content was dropped
    LimitReached,  // a table, picture or table size went past its bound and was cut
    CannotOpen,    // file helpers only
    TooLarge,      // file helpers only: file bigger than kMaxFileBytes
};

// Bounds on what a file may make the reader hold.
inline constexpr int kMaxGroupDepth = 200;
inline constexpr int kMaxFonts = 1024;
inline constexpr int kMaxFontNameBytes = 256;
inline constexpr int kMaxColours = 1024;
inline constexpr int kMaxTabStops = 64;
inline constexpr int kMaxTableColumns = 63;
inline constexpr int kMaxTableCells = 4000;  // Qt re-indexes a table on every new row: keep it small
inline constexpr std::size_t kMaxPictureBytes = 16u << 20;
inline constexpr qint64 kMaxPicturePixels = 4096LL * 4096;
inline constexpr qint64 kMaxDocumentPicturePixels = 4 * kMaxPicturePixels;
inline constexpr qint64 kMaxFileBytes = 64LL << 20;

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
