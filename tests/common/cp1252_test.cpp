#include "common/cp1252.h"

#include <gtest/gtest.h>

using namespace molvane;

TEST(Cp1252, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const auto back = utf8ToCp1252(cp1252ToUtf8(all));
    EXPECT_TRUE(back.lossless);
    EXPECT_EQ(back.bytes, all);
}

TEST(Cp1252, KnownCharacters) {
    struct Case {
        const char* utf8;
        const char* bytes;
    } cases[] = {
        {"Équilibre", "\xC9quilibre"},
        {"€", "\x80"},
        {"œuf",
         "\x9C"
         "uf"},
        {"…", "\x85"},
        {"’", "\x92"},
        {"Ÿ", "\x9F"},
        {"« à »", "\xAB \xE0 \xBB"},
    };
    for (const auto& c : cases) {
        const auto out = utf8ToCp1252(c.utf8);
        EXPECT_TRUE(out.lossless) << c.utf8;
        EXPECT_EQ(out.bytes, c.bytes) << c.utf8;
        EXPECT_EQ(cp1252ToUtf8(c.bytes), c.utf8);
    }
}

TEST(Cp1252, CharactersWithoutByteAreReported) {
    for (const char* text : {"α", "x≤y", "\xC3", "\xFF\xFE", "😀"}) {
        const auto out = utf8ToCp1252(text);
        EXPECT_FALSE(out.lossless) << text;
        EXPECT_NE(out.bytes.find('?'), std::string::npos);
    }
}

TEST(Cp1252, EachByteIsTheCharacterOfItsText) {
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        const std::string utf8 = cp1252ToUtf8(std::string_view(&byte, 1));
        // Decode the one character back from UTF-8.
        const auto lead = static_cast<unsigned char>(utf8[0]);
        char32_t c = lead;
        if (utf8.size() == 2) c = ((lead & 0x1F) << 6) | (utf8[1] & 0x3F);
        if (utf8.size() == 3) c = ((lead & 0x0F) << 12) | ((utf8[1] & 0x3F) << 6) | (utf8[2] & 0x3F);
        EXPECT_EQ(char32_t{cp1252Character(static_cast<unsigned char>(b))}, c) << b;
    }
}
