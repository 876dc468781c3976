#include <gtest/gtest.h>

#include <string>

#include "rtfcharsets.h"
#include "rtfcontrolwords.h"
#include "rtftokenizer.h"

using namespace molvane::rtf;

namespace {

// Tokens as one readable line: { } \word \word(N) 'hh "text" S:c B:bytes
std::string tokens(std::string_view input, TokenError* error = nullptr) {
    Tokenizer t(input);
    std::string out;
    for (Token k = t.next(); k.type != TokenType::End; k = t.next()) {
        if (!out.empty()) out += ' ';
        switch (k.type) {
            case TokenType::GroupStart:
                out += '{';
                break;
            case TokenType::GroupEnd:
                out += '}';
                break;
            case TokenType::ControlWord:
                out += '\\' + std::string(k.name);
                if (k.hasParameter) out += '(' + std::to_string(k.parameter) + ')';
                break;
            case TokenType::ControlSymbol:
                out += "S:" + std::string(1, k.symbol);
                break;
            case TokenType::HexByte: {
                char buf[4];
                std::snprintf(buf, sizeof buf, "'%02x", k.byte);
                out += buf;
                break;
            }
            case TokenType::Text:
                out += '"' + std::string(k.bytes) + '"';
                break;
            case TokenType::Binary:
                out += "B:" + std::string(k.bytes);
                break;
            case TokenType::End:
                break;
        }
    }
    if (error) *error = t.error();
    return out;
}

struct TokenCase {
    const char* input;
    const char* expected;
    TokenError error;
};

class TokenizerCases : public ::testing::TestWithParam<TokenCase> {};

TEST_P(TokenizerCases, SplitsAsExpected) {
    TokenError error = TokenError::None;
    EXPECT_EQ(tokens(GetParam().input, &error), GetParam().expected) << GetParam().input;
    EXPECT_EQ(error, GetParam().error) << GetParam().input;
}

INSTANTIATE_TEST_SUITE_P(
    Tokenizer, TokenizerCases,
    ::testing::Values(
        TokenCase{"{\\rtf1 a}", "{ \\rtf(1) \"a\" }", TokenError::None},
        // the space after a word is its delimiter; a second one is text
        TokenCase{"\\b  x", "\\b \" x\"", TokenError::None},
        TokenCase{"\\fi-360\\li0x", "\\fi(-360) \\li(0) \"x\"", TokenError::None},
        // a minus sign not followed by a digit is text
        TokenCase{"\\b-x", "\\b \"-x\"", TokenError::None},
        // line ends lay out the file and vanish, even inside text
        TokenCase{"ab\r\ncd\n", "\"ab\" \"cd\"", TokenError::None},
        TokenCase{"\\'e9\\'C9", "'e9 'c9", TokenError::None},
        TokenCase{"\\~\\{\\}\\\\\\*", "S:~ S:{ S:} S:\\ S:*", TokenError::None},
        TokenCase{"\\bin3 {}\\x", "B:{}\\ \"x\"", TokenError::None},
        TokenCase{"\\bin0 a", "B: \"a\"", TokenError::None},
        TokenCase{"\\bin-5 a", "B: \"a\"", TokenError::None},
        // hostile input: the damage is contained and reported
        TokenCase{"\\bin99 ab", "B:ab", TokenError::TruncatedBinary},
        TokenCase{"\\'zz", "\"\" \"zz\"", TokenError::BadHexEscape},
        TokenCase{"\\'4", "\"\"", TokenError::BadHexEscape},
        TokenCase{"ab\\", "\"ab\"", TokenError::TruncatedEscape},
        TokenCase{"\\fs99999999999 x", "\\fs(2147483647) \"x\"", TokenError::ParameterTooLong},
        TokenCase{"\\fs-99999999999 x", "\\fs(-2147483648) \"x\"", TokenError::ParameterTooLong},
        TokenCase{"\\fs4294967296 x", "\\fs(2147483647) \"x\"", TokenError::None},
        TokenCase{"\\abcdefghijklmnopqrstuvwxyzabcdefghij1 x", "\\abcdefghijklmnopqrstuvwxyzabcdef(1) \"x\"",
                  TokenError::ControlWordTooLong}));

TEST(Tokenizer, EveryTokenConsumesInputSoReadingEnds) {
    // Inputs built from each special byte repeated: the loop must end
    // after at most one token per byte.
    for (const char* piece : {"\\", "{", "}", "\\'", "\\'g", "\\bin", "\\u-", "\r", " "}) {
        std::string input;
        for (int i = 0; i < 200; ++i) input += piece;
        Tokenizer t(input);
        std::size_t count = 0;
        while (t.next().type != TokenType::End) ASSERT_LE(++count, input.size()) << piece;
    }
}

TEST(ControlWords, TableClassifiesWords) {
    struct Case {
        const char* name;
        WordKind kind;
        Word word;
        int defaultValue;
    };
    const Case cases[] = {
        {"b", WordKind::Toggle, Word::Bold, 0},
        {"fs", WordKind::Value, Word::FontSize, 24},
        {"uc", WordKind::Value, Word::UnicodeSkip, 1},
        {"up", WordKind::Value, Word::Up, 6},
        {"picscalex", WordKind::Value, Word::PictureScaleX, 100},
        {"qc", WordKind::Flag, Word::AlignCentre, 0},
        {"lin", WordKind::Value, Word::LeftIndent, 0},
        {"par", WordKind::Symbol, Word::Par, 0},
        {"~", WordKind::Symbol, Word::Character, 0xA0},
        {"line", WordKind::Symbol, Word::Character, 0x2028},
        {"*", WordKind::Flag, Word::IgnorableMarker, 0},
        {"fonttbl", WordKind::Destination, Word::FontTable, 0},
        {"fldinst", WordKind::Destination, Word::SkippedDestination, 0},
        {"nonshppict", WordKind::Destination, Word::SkippedDestination, 0},
        {"ulthdashdd", WordKind::Toggle, Word::UnderlineDashDotDot, 0},
    };
    for (const Case& c : cases) {
        const auto info = lookupWord(c.name);
        ASSERT_TRUE(info) << c.name;
        EXPECT_EQ(info->kind, c.kind) << c.name;
        EXPECT_EQ(info->word, c.word) << c.name;
        EXPECT_EQ(info->defaultValue, c.defaultValue) << c.name;
    }
    for (const char* unknown : {"", "bb", "B", "fonttblx", "zzz", "{"})
        EXPECT_FALSE(lookupWord(unknown)) << unknown;
}

TEST(Charsets, CharsetsAndCodePages) {
    const std::pair<int, int> charsets[] = {{0, 0},      {1, 0},      {2, kCodePageSymbol},
                                            {128, 932},  {204, 1251}, {238, 1250},
                                            {161, 1253}, {77, 10000}, {999, 0}};
    for (auto [charset, codePage] : charsets) EXPECT_EQ(codePageForCharset(charset), codePage) << charset;
    EXPECT_STREQ(codecNameForCodePage(1251), "windows-1251");
    EXPECT_STREQ(codecNameForCodePage(932), "Shift_JIS");
    EXPECT_EQ(codecNameForCodePage(12345), nullptr);
}

TEST(Charsets, SymbolFontsDrawUnicodeCharacters) {
    struct Case {
        SymbolFont font;
        std::uint32_t code;
        char32_t expected;
    };
    const Case cases[] = {
        {SymbolFont::Symbol, 0xB7, 0x2022},
        {SymbolFont::Symbol, 0xAE, 0x2192},
        {SymbolFont::Symbol, 'P', 0x03A0},
        {SymbolFont::Symbol, 0xB8, 0x00F7},
        {SymbolFont::Symbol, 0xAC, 0x2190},
        {SymbolFont::Symbol, 0xD6, 0x221A},
        {SymbolFont::Symbol, 'a', 0x03B1},
        {SymbolFont::Symbol, 0xF0B7, 0x2022},
        {SymbolFont::Symbol, 0x90, 0},
        {SymbolFont::Symbol, 0x1F, 0},
        {SymbolFont::Symbol, 0x100, 0},
        {SymbolFont::Wingdings, '6', 0x231B},
        {SymbolFont::Wingdings, 0xF0FC, 0x2713},
        {SymbolFont::Wingdings, 'A', 0},
        {SymbolFont::None, 0xB7, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(symbolFontCharacter(c.font, c.code), c.expected) << std::hex << c.code;
}

}  // namespace
