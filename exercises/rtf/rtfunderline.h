// The underline words of RTF and the kinds of underline the rich text holds,
// in one table: the builder takes a word's kind from it, the writer the word
// of a kind. Words with no kind of their own (double, thick, words only) read
// as a single line.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "richtext.h"
#include "rtfcontrolwords.h"

namespace molvane::rtf {

struct UnderlineWord {
    Word word;
    richtext::Underline kind;
    std::string_view written;  // how the writer gives the kind; empty for words only read
};

inline constexpr std::array<UnderlineWord, 9> kUnderlineWords{{
    {Word::Underline, richtext::Underline::Single, "\\ul"},
    {Word::UnderlineDash, richtext::Underline::Dash, "\\uldash"},
    {Word::UnderlineDotted, richtext::Underline::Dotted, "\\uld"},
    {Word::UnderlineDashDot, richtext::Underline::DashDot, "\\uldashd"},
    {Word::UnderlineDashDotDot, richtext::Underline::DashDotDot, "\\uldashdd"},
    {Word::UnderlineWave, richtext::Underline::Wave, "\\ulwave"},
    {Word::UnderlineWords, richtext::Underline::Single, {}},
    {Word::UnderlineDouble, richtext::Underline::Single, {}},
    {Word::UnderlineThick, richtext::Underline::Single, {}},
}};

// The kind an underline word turns on; nothing for any other word.
constexpr std::optional<richtext::Underline> underlineKindOf(Word word) {
    for (const UnderlineWord& u : kUnderlineWords)
        if (u.word == word) return u.kind;
    return std::nullopt;
}

// The word that writes a kind; empty for no underline.
constexpr std::string_view underlineWordOf(richtext::Underline kind) {
    for (const UnderlineWord& u : kUnderlineWords)
        if (u.kind == kind && !u.written.empty()) return u.written;
    return {};
}

}  // namespace molvane::rtf
