// Reads RTF into the rich-text model: fonts, colours, paragraphs, tables,
// pictures with their descriptions; everything else a file may hold (fields'
// instructions, headers, styles, objects' data) is passed over. Every length,
// count and depth a file could make grow is bounded below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "richtext.h"

namespace molvane::rtf {

// What the builder met; everything read up to a problem stays in the model.
enum class ReadStatus {
    Ok,
    NotRtf,        // does not start with {\rtf: nothing read
    Truncated,     // the data ended inside a group
    Malformed,     // bad escapes, over-long words or numbers, short \bin data
    TooDeep,       // groups nested beyond kMaxGroupDepth: their content was dropped
    LimitReached,  // a table, picture or table size went past its bound and was cut
    CannotOpen,    // file helpers only: missing, unreadable, or not a regular file
    TooLarge,      // file helpers only: file bigger than kMaxFileBytes
    TooLong,       // the document went past one of its own bounds: only its beginning was read
};

// Bounds on what a file may make the builder hold.
inline constexpr int kMaxGroupDepth = 200;
inline constexpr int kMaxFonts = 1024;
inline constexpr int kMaxFontNameBytes = 256;
inline constexpr int kMaxColours = 1024;
inline constexpr int kMaxTabStops = 64;
inline constexpr int kMaxTableColumns = 63;
inline constexpr int kMaxTableCells = 4000;  // the desktop re-indexes a table on every new row: keep it small
inline constexpr std::size_t kMaxPictureBytes = 16u << 20;
inline constexpr std::int64_t kMaxPicturePixels = 4096LL * 4096;
inline constexpr std::int64_t kMaxDocumentPicturePixels = 4 * kMaxPicturePixels;
inline constexpr std::int64_t kMaxFileBytes = 64LL << 20;
inline constexpr int kMaxPictures = 1000;
inline constexpr std::size_t kMaxDescriptionCharacters = 1000;

// Bounds on the document built, so that any file within kMaxFileBytes reads
// and lays out in a moment: past one of them the builder stops with TooLong.
inline constexpr std::int64_t kMaxCharacters = 1000000;  // text, pictures and paragraph marks
inline constexpr int kMaxLines = 20000;                  // paragraphs and line breaks
inline constexpr int kMaxRuns = 100000;                  // pieces of text of one format, pictures and tabs
// Text layout takes time that grows with a word's length times its changes
// of format; a zero-width space is put into a word that grows longer than
// this, which gives the layout somewhere to break it and shows nothing.
inline constexpr int kMaxWordCharacters = 256;

// Text in code pages other than Windows-1252 and the symbol fonts' is
// decoded by the platform, which knows more of them.
class CodePageDecoder {
public:
    virtual ~CodePageDecoder() = default;
    // Appends the characters of bytes in the Windows code page to out; false
    // when the code page is unknown here, and out is left as it was.
    virtual bool decode(int codePage, std::string_view bytes, std::u16string& out) = 0;
};

// Whether data starts as an RTF document does.
bool isRtf(std::string_view data);

// Reads data into document, which should be empty. Without a decoder, text
// in code pages other than Windows-1252 reads as Windows-1252.
ReadStatus buildRichText(std::string_view data, richtext::Document& document,
                         CodePageDecoder* decoder = nullptr);

}  // namespace molvane::rtf
