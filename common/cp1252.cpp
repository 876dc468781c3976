#include "cp1252.h"

#include <array>
#include <cstdint>

namespace molvane {

namespace {

// Code points of bytes 0x80 to 0x9F; the rest of the range is Latin-1.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

int byteFor(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (std::size_t k = 0; k < kHigh.size(); ++k)
        if (kHigh[k] == c) return static_cast<int>(0x80 + k);
    return -1;
}

// Next code point of a UTF-8 text; a malformed sequence gives -1 and skips one byte.
long nextCodePoint(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    int extra = b0 < 0x80 ? 0 : (b0 >> 5) == 0x6 ? 1 : (b0 >> 4) == 0xE ? 2 : (b0 >> 3) == 0x1E ? 3 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= s.size()) {
        ++i;
        return -1;
    }
    long c = extra == 0 ? b0 : b0 & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return -1;
        }
        c = (c << 6) | (b & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    return c;
}

}  // namespace

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        appendUtf8(out, b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char32_t{b});
    }
    return out;
}

char16_t cp1252Character(unsigned char byte) {
    return static_cast<char16_t>(byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : char32_t{byte});
}

Cp1252Text utf8ToCp1252(std::string_view text) {
    Cp1252Text result;
    result.bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const long c = nextCodePoint(text, i);
        const int b = c < 0 ? -1 : byteFor(static_cast<char32_t>(c));
        if (b < 0) {
            result.bytes += '?';
            result.lossless = false;
        } else {
            result.bytes += static_cast<char>(b);
        }
    }
    return result;
}

}  // namespace molvane
