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
