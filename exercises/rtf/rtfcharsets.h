// Which code page the bytes of an RTF text run are in, and the characters the
// Symbol and Wingdings fonts draw for their bytes, so that such text can be
// shown in any font.
#pragma once

#include <cstdint>

namespace molvane::rtf {

inline constexpr int kCodePageAnsi = 1252;
inline constexpr int kCodePageSymbol = 42;  // the code page Windows gives symbol fonts

// Code page of a font's \fcharset; 0 when the charset defers to the
// document's code page (ANSI, default, or unknown).
int codePageForCharset(int charset);

// Name under which the Unicode library knows a Windows code page, or nullptr.
const char* codecNameForCodePage(int codePage);

enum class SymbolFont { None, Symbol, Wingdings };

// Unicode character drawn by a symbol font for a byte (or for the private-use
// character U+F000 + byte that some writers use instead); 0 when unknown.
char32_t symbolFontCharacter(SymbolFont font, std::uint32_t code);

}  // namespace molvane::rtf
