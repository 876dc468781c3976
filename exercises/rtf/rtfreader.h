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
    CannotOpen,    // file helpers only: missing, unreadable, or not a regular file
    TooLarge,      // file helpers only: file bigger than kMaxFileBytes
    TooLong,       // the document went past one of its own bounds: only its beginning was read
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
inline constexpr int kMaxPictures = 1000;

// Bounds on the document built, so that any file within kMaxFileBytes reads
// and lays out in a moment: past one of them the reader stops with TooLong.
inline constexpr qint64 kMaxCharacters = 1000000;  // text, pictures and paragraph marks
inline constexpr int kMaxLines = 20000;            // paragraphs and line breaks
inline constexpr int kMaxRuns = 100000;            // pieces of text of one format, pictures and tabs
// Qt lays out a word in time that grows with its length times its changes of
// format; a zero-width space is put into a word that grows longer than this,
// which gives the layout somewhere to break it and shows nothing.
inline constexpr int kMaxWordCharacters = 256;

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
