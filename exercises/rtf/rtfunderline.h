// The underline words of RTF and the styles Qt draws for them, in one table:
// the reader takes a word's style from it, the writer the word of a style.
// Words Qt has no style for (double, thick, words only) read as a single line.
#pragma once

#include <QTextCharFormat>
#include <array>
#include <optional>
#include <string_view>

#include "rtfcontrolwords.h"

namespace molvane::rtf {

struct UnderlineWord {
    Word word;
    QTextCharFormat::UnderlineStyle style;
    std::string_view written;  // how the writer gives the style; empty for words only read
};

inline constexpr std::array<UnderlineWord, 9> kUnderlineWords{{
    {Word::Underline, QTextCharFormat::SingleUnderline, "\\ul"},
    {Word::UnderlineDash, QTextCharFormat::DashUnderline, "\\uldash"},
    {Word::UnderlineDotted, QTextCharFormat::DotLine, "\\uld"},
    {Word::UnderlineDashDot, QTextCharFormat::DashDotLine, "\\uldashd"},
    {Word::UnderlineDashDotDot, QTextCharFormat::DashDotDotLine, "\\uldashdd"},
    {Word::UnderlineWave, QTextCharFormat::WaveUnderline, "\\ulwave"},
    {Word::UnderlineWords, QTextCharFormat::SingleUnderline, {}},
    {Word::UnderlineDouble, QTextCharFormat::SingleUnderline, {}},
    {Word::UnderlineThick, QTextCharFormat::SingleUnderline, {}},
}};

// The style an underline word turns on; nothing for any other word.
constexpr std::optional<QTextCharFormat::UnderlineStyle> underlineStyleOf(Word word) {
    for (const UnderlineWord& u : kUnderlineWords)
        if (u.word == word) return u.style;
    return std::nullopt;
}

// The word that writes a style; empty for no underline, or a style RTF has no word for.
constexpr std::string_view underlineWordOf(QTextCharFormat::UnderlineStyle style) {
    for (const UnderlineWord& u : kUnderlineWords)
        if (u.style == style && !u.written.empty()) return u.written;
    return {};
}

}  // namespace molvane::rtf
