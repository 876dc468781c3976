#include "rtftokenizer.h"

#include <limits>

namespace molvane::rtf {

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

Token Tokenizer::next() {
    Token t;
    while (pos_ < input_.size()) {
        const char c = input_[pos_];
        switch (c) {
            case '{':
                ++pos_;
                t.type = TokenType::GroupStart;
                return t;
            case '}':
                ++pos_;
                t.type = TokenType::GroupEnd;
                return t;
            case '\r':
            case '\n':
                ++pos_;  // line ends only lay the file out
                continue;
            case '\\':
                ++pos_;
                if (pos_ >= input_.size()) {
                    fail(TokenError::TruncatedEscape);
                    t.type = TokenType::End;
                    return t;
                }
                if (isLetter(input_[pos_])) return controlWord();
                return controlSymbol(input_[pos_++]);
            default: {
                const std::size_t start = pos_;
                while (pos_ < input_.size()) {
                    const char d = input_[pos_];
                    if (d == '{' || d == '}' || d == '\\' || d == '\r' || d == '\n') break;
                    ++pos_;
                }
                t.type = TokenType::Text;
                t.bytes = input_.substr(start, pos_ - start);
                return t;
            }
        }
    }
    t.type = TokenType::End;
    return t;
}

Token Tokenizer::controlWord() {
    Token t;
    t.type = TokenType::ControlWord;
    const std::size_t start = pos_;
    while (pos_ < input_.size() && isLetter(input_[pos_])) ++pos_;
    std::size_t length = pos_ - start;
    if (length > kMaxControlWord) {
        fail(TokenError::ControlWordTooLong);
        length = kMaxControlWord;
    }
    t.name = input_.substr(start, length);

    bool negative = false;
    if (pos_ + 1 < input_.size() && input_[pos_] == '-' && isDigit(input_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    if (pos_ < input_.size() && isDigit(input_[pos_])) {
        t.hasParameter = true;
        std::int64_t value = 0;
        std::size_t digits = 0;
        while (pos_ < input_.size() && isDigit(input_[pos_])) {
            if (digits < kMaxParameterDigits) value = value * 10 + (input_[pos_] - '0');
            ++digits;
            ++pos_;
        }
        if (digits > kMaxParameterDigits) fail(TokenError::ParameterTooLong);
        if (negative) value = -value;
        constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
        constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
        t.parameter = static_cast<std::int32_t>(value < lo ? lo : value > hi ? hi : value);
    }
    if (pos_ < input_.size() && input_[pos_] == ' ') ++pos_;  // the delimiter belongs to the word

    if (t.name == "bin") {
        const std::size_t wanted =
            t.hasParameter && t.parameter > 0 ? static_cast<std::size_t>(t.parameter) : 0;
        const std::size_t left = input_.size() - pos_;
        if (wanted > left) fail(TokenError::TruncatedBinary);
        const std::size_t taken = wanted < left ? wanted : left;
        t.type = TokenType::Binary;
        t.bytes = input_.substr(pos_, taken);
        pos_ += taken;
    }
    return t;
}

Token Tokenizer::controlSymbol(char c) {
    Token t;
    if (c == '\'') {
        const int hi = pos_ < input_.size() ? hexValue(input_[pos_]) : -1;
        const int lo = pos_ + 1 < input_.size() ? hexValue(input_[pos_ + 1]) : -1;
        if (hi < 0 || lo < 0) {
            // Give an empty text token rather than recursing: a long run of
            // bad escapes must not grow the stack.
            fail(TokenError::BadHexEscape);
            if (hi >= 0) ++pos_;
            t.type = TokenType::Text;
            return t;
        }
        pos_ += 2;
        t.type = TokenType::HexByte;
        t.byte = static_cast<unsigned char>(hi * 16 + lo);
        return t;
    }
    t.type = TokenType::ControlSymbol;
    t.symbol = c;
    return t;
}

}  // namespace molvane::rtf
