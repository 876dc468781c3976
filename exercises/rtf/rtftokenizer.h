// Splits RTF bytes into tokens: braces, control words, control symbols,
// \'hh bytes, runs of plain text and \bin data. It knows nothing about what
// a word means; the builder does. Tokens are views into the input, so reading
// allocates nothing, and every length and number is bounded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace molvane::rtf {

enum class TokenType {
    GroupStart,
    GroupEnd,
    ControlWord,    // name, and parameter when hasParameter
    ControlSymbol,  // symbol: the one character after the backslash
    HexByte,        // byte: the value of \'hh
    Text,           // bytes: plain text, never holding \ { } CR or LF
    Binary,         // bytes: the data of \binN
    End,
};

struct Token {
    TokenType type = TokenType::End;
    std::string_view name;   // ControlWord
    std::string_view bytes;  // Text, Binary
    bool hasParameter = false;
    std::int32_t parameter = 0;
    char symbol = 0;
    unsigned char byte = 0;
};

// Malformed input the tokenizer recovered from; the first one is kept.
enum class TokenError {
    None,
    ControlWordTooLong,  // name cut to kMaxControlWord letters
    ParameterTooLong,    // more than kMaxParameterDigits digits, value saturated
    BadHexEscape,        // \' not followed by two hex digits
    TruncatedBinary,     // \binN with fewer than N bytes left
    TruncatedEscape,     // a backslash as the last byte
};

inline constexpr std::size_t kMaxControlWord = 32;
inline constexpr std::size_t kMaxParameterDigits = 10;

// Value of a hexadecimal digit, or -1.
int hexValue(char c);

class Tokenizer {
public:
    explicit Tokenizer(std::string_view input) : input_(input) {}

    // Every call but the one returning End consumes at least one byte.
    Token next();

    TokenError error() const { return error_; }
    std::size_t offset() const { return pos_; }

private:
    Token controlWord();
    Token controlSymbol(char c);
    void fail(TokenError e) {
        if (error_ == TokenError::None) error_ = e;
    }

    std::string_view input_;
    std::size_t pos_ = 0;
    TokenError error_ = TokenError::None;
};

}  // namespace molvane::rtf
