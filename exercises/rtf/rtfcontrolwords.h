// What each RTF control word the reader acts on is, in one table. Words not
// in it are ignored (or, behind \*, skipped with their group).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace molvane::rtf {

enum class WordKind {
    Flag,         // acts alone: \pard, \qc, \sub
    Toggle,       // on without parameter or with a non-zero one, off with 0: \b, \b0
    Value,        // needs a number; the table gives the one used when it is missing
    Symbol,       // stands for text or a break: \tab, \bullet, \par
    Destination,  // starts a group holding something other than body text
};

enum class Word : std::uint8_t {
    // document
    Rtf,
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    DefaultFont,
    UnicodeSkip,
    Unicode,
    IgnorableMarker,
    // font and colour tables
    Font,
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
    // characters
    Plain,
    Bold,
    Italic,
    Strike,
    Underline,
    UnderlineWords,
    UnderlineDotted,
    UnderlineDash,
    UnderlineDashDot,
    UnderlineDashDotDot,
    UnderlineDouble,
    UnderlineWave,
    UnderlineThick,
    UnderlineNone,
    Sub,
    Super,
    NoSuperSub,
    Up,
    Down,
    FontSize,
    Colour,
    Highlight,
    Hidden,
    Caps,
    SmallCaps,
    // paragraphs
    ParagraphDefault,
    AlignLeft,
    AlignCentre,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    LineSpacing,
    LineSpacingMultiple,
    TabStop,
    TabRight,
    TabCentre,
    TabDecimal,
    PageBreakBefore,
    // breaks, and symbols standing for one character (given as their value)
    Par,
    Page,
    Character,
    // tables
    InTable,
    RowDefaults,
    CellEdge,
    CellBorder,
    Cell,
    Row,
    // pictures
    PngBlip,
    JpegBlip,
    PictureWidth,
    PictureHeight,
    PictureGoalWidth,
    PictureGoalHeight,
    PictureScaleX,
    PictureScaleY,
    PictureProperties,  // {\*\picprop {\sp {\sn name}{\sv value}}...}
    PropertyName,
    PropertyValue,
    // destinations
    FontTable,
    ColourTable,
    Picture,
    ShapePicture,
    Field,
    FieldResult,
    ListText,
    Object,
    ObjectResult,
    SkippedDestination,
};

struct WordInfo {
    std::string_view name;
    WordKind kind;
    Word word;
    std::int32_t defaultValue;  // Value words: used when none is given; Character: the character
};

// The entry for a control word name, or for a control symbol given as a
// one-character name ("~", "_", "-", "*").
std::optional<WordInfo> lookupWord(std::string_view name);

}  // namespace molvane::rtf
