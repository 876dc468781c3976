#include "common/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace molvane;

TEST(LeadingNumber, ReadsWhatFitsAndStops) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},         {"abc", 0},    {"  12", 12},   {"12abc", 12}, {"-3.5", -3.5}, {".5", 0.5},
        {"-.25", -0.25}, {"1E3", 1000}, {"1.5D2", 150}, {"2e-1", 0.2}, {"1e", 1},      {"1E+", 1},
        {"007", 7},      {"75 %", 75},  {"1 000", 1},   {"+4", 4},     {"3.2.1", 3.2}, {"\t 9", 9},
        {"-", 0},        {".", 0},      {"1E-400", 0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(leadingNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(LeadingNumber, ReportsLengthAndOverflow) {
    auto r = readLeadingNumber(" 2.5E+2)");
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.end, 7u);
    EXPECT_FALSE(r.overflow);
    auto big = readLeadingNumber("1E400");
    EXPECT_TRUE(big.overflow);
    EXPECT_FALSE(roundToInt32(big.value).has_value());
    EXPECT_FALSE(readLeadingNumber("x1").found);
}

// Texts at the edges of the double range and at rounding ties, where a
// conversion that is not correctly rounded or that misjudges the range shows.
TEST(LeadingNumber, RoundsCorrectlyAtTheEdgesOfTheRange) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::string tinyDigits = "0." + std::string(400, '0') + "1";
    const std::string hugeDigits = "1" + std::string(400, '0');
    struct Case {
        std::string text;
        double value;
        bool overflow;
    } cases[] = {
        {"1e-310", 1e-310, false},  // below the smallest normal: kept, not flushed
        {"4.9e-324", std::numeric_limits<double>::denorm_min(), false},
        {"2.4703282292062328e-324", std::numeric_limits<double>::denorm_min(),
         false},                                // just above half of it
        {"2.4703282292062327e-324", 0, false},  // just below: zero
        {"1E-400", 0, false},
        {"-1E-400", 0, false},
        {"1e-99999999999999999999", 0, false},
        {tinyDigits, 0, false},  // tiny without an exponent
        {tinyDigits + "E+5", 0, false},
        {"0." + std::string(330, '0') + "1e10", 1e-321, false},
        {"2.2250738585072011e-308", 2.2250738585072009e-308, false},
        {"1.7976931348623158e308", std::numeric_limits<double>::max(), false},
        {"1.7976931348623159e308", inf, true},
        {"1e309", inf, true},
        {"-1D309", -inf, true},
        {"1e99999999999999999999", inf, true},
        {hugeDigits, inf, true},  // huge without an exponent
        {hugeDigits + "e-300", 1e100, false},
        {"0e999999", 0, false},
        {"9007199254740993", 9007199254740992.0, false},  // a tie: to the even neighbour
        {"9007199254740995", 9007199254740996.0, false},
        {"1.00000000000000011102230246251565404236316680908203125", 1.0, false},
        {"1.00000000000000011102230246251565404236316680908203126", std::nextafter(1.0, 2.0), false},
        {"123456789012345678901234567890", 1.2345678901234568e29, false},
        {"0.1", 0.1, false},
        {"1,5", 1, false},  // a comma is not a point, whatever the locale
    };
    for (const auto& c : cases) {
        const NumberRead r = readLeadingNumber(c.text);
        EXPECT_EQ(r.value, c.value) << c.text;
        EXPECT_EQ(r.overflow, c.overflow) << c.text;
        EXPECT_TRUE(r.found) << c.text;
    }
}

TEST(NumberText, ShortestForm) {
    struct Case {
        double value;
        bool blank;
        const char* text;
    } cases[] = {
        {0, false, "0"},
        {0, true, " 0"},
        {100, false, "100"},
        {50, true, " 50"},
        {-5, true, "-5"},
        {0.5, false, ".5"},
        {-0.25, false, "-.25"},
        {0.5, true, " .5"},
        {1e15, false, "1E+15"},
        {999999999999999, false, "999999999999999"},
        {1.5e-7, false, "1.5E-07"},
        {0.0001, false, ".0001"},
        {1e-5, false, "1E-05"},
        {0.49999999999999994, false, ".5"},
        {2.0 / 3.0, false, ".666666666666667"},
        {123456789012345678.0, false, "1.23456789012346E+17"},
        {1234.5, false, "1234.5"},
        {-1e20, false, "-1E+20"},
        {1e100, false, "1E+100"},
        // Rounding to 15 digits: ties go to the even digit, and a carry can
        // change the form.
        {100000000000000.5, false, "100000000000000"},
        {100000000000001.5, false, "100000000000002"},
        {999999999999999.5, false, "1E+15"},
        {0.000099999999999999995, false, ".0001"},
        {0.1 + 0.2, false, ".3"},
        {-0.0, false, "0"},
        {9007199254740992.0, false, "9.00719925474099E+15"},
        {1e23, false, "1E+23"},
        {std::numeric_limits<double>::denorm_min(), false, "4.94065645841247E-324"},
        {std::numeric_limits<double>::max(), false, "1.79769313486232E+308"},
        {-std::numeric_limits<double>::min(), false, "-2.2250738585072E-308"},
    };
    for (const auto& c : cases) EXPECT_EQ(numberText(c.value, c.blank), c.text) << c.value;
}

TEST(NumberText, ReadsBackToTheSameFifteenDigits) {
    for (double v : {1.0 / 3.0, 2.718281828459045, -12345.678901234567, 6.02214076e23, 1.5e-9}) {
        const double back = leadingNumber(numberText(v));
        EXPECT_EQ(numberText(back), numberText(v));
    }
}

// The CSV files' numbers: the fewest digits that read back, plain or with an
// exponent, whichever is shorter.
TEST(RoundTripText, FewestDigitsThatReadBack) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {-0.0, "-0"},
        {0.1, "0.1"},
        {0.1 + 0.2, "0.30000000000000004"},
        {1.0 / 3.0, "0.3333333333333333"},
        {1234.5, "1234.5"},
        {100, "100"},
        {123456, "123456"},
        {1e5, "1e+05"},  // shorter than 100000
        {0.0001, "1e-04"},
        {-2.5e-7, "-2.5e-07"},
        {1e16, "1e+16"},
        {1e22, "1e+22"},
        {9007199254740992.0, "9007199254740992"},
        {std::ldexp(1.0, 60), "1152921504606846976"},     // a whole number with all its digits
        {std::ldexp(1.0, 122), "5.316911983139664e+36"},  // the gap below a power of two is narrower
        {std::numeric_limits<double>::denorm_min(), "5e-324"},
        {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
        {std::numeric_limits<double>::infinity(), "inf"},
        {-std::numeric_limits<double>::infinity(), "-inf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(roundTripText(c.value), c.text) << c.value;
        if (std::isfinite(c.value)) {
            EXPECT_EQ(readLeadingNumber(c.text).value, c.value) << c.text;
        }
    }
}

TEST(RoundTo, HalvesToEvenAndOverflow) {
    EXPECT_EQ(roundToInt16(2.5), 2);
    EXPECT_EQ(roundToInt16(3.5), 4);
    EXPECT_EQ(roundToInt16(-2.5), -2);
    EXPECT_EQ(roundToInt16(2.4999), 2);
    EXPECT_EQ(roundToInt16(32767.4), 32767);
    EXPECT_FALSE(roundToInt16(32767.5).has_value());
    EXPECT_EQ(roundToInt16(-32768.4), -32768);
    EXPECT_FALSE(roundToInt16(-32769).has_value());
    EXPECT_FALSE(roundToInt16(std::nan("")).has_value());
    EXPECT_FALSE(roundToInt16(std::numeric_limits<double>::infinity()).has_value());
    EXPECT_EQ(roundToInt32(2147483647.0), 2147483647);
    EXPECT_FALSE(roundToInt32(2147483647.5).has_value());
    EXPECT_EQ(roundToInt32(-0.5), 0);
}

TEST(FormatPicture, Pictures) {
    struct Case {
        double value;
        const char* picture;
        char separator;
        const char* text;
    } cases[] = {
        {0, "### ##0.0", '.', "0.0"},
        {0.4, "### ##0.0", '.', "0.4"},
        {0.4, "### ##0.0", ',', "0,4"},
        {20, "### ##0.0", '.', "20.0"},
        {1234.5, "### ##0.0", '.', "1 234.5"},
        {1234567, "### ##0.0", '.', "1234 567.0"},
        {1234567, "# ### ##0.0", '.', "1 234 567.0"},
        {0.30303, "# ### ##0.0", '.', "0.3"},
        {7200, "# ### ##0.0", '.', "7 200.0"},
        {1600, "0.##E+00", '.', "1.6E+03"},
        {1250, "0.##E+00", '.', "1.25E+03"},
        {1000.4, "0.##E+00", '.', "1.E+03"},
        {2500000, "0.##E+00", ',', "2,5E+06"},
        {999.999, "0.##E+00", '.', "1.E+03"},
        {0, "####0.0###", '.', "0.0"},
        {1, "####0.0###", '.', "1.0"},
        {1000, "####0.0###", '.', "1000.0"},
        {1.0 / 3.0, "####0.0###", '.', "0.3333"},
        {0.25, "####0.0###", ',', "0,25"},
        {-1.5, "####0.0###", '.', "-1.5"},
        {5, "00", '.', "05"},
        {0, "00", '.', "00"},
        {123, "00", '.', "123"},
        {5.3, "00.0", '.', "05.3"},
        {15.3, "00.0", ',', "15,3"},
        {59.96, "00.0", '.', "60.0"},
        {1234.5, "#.#######E+00", '.', "1.2345E+03"},
        {5, "#.#######E+00", '.', "5.E+00"},
        {-0.00012345678912, "#.#######E+00", '.', "-1.2345679E-04"},
        {9.999999999, "#.#######E+00", '.', "1.E+01"},
        {1e-300, "#.#######E+00", '.', "1.E-300"},
        {1e20, "### ##0.0", '.', "100000000000000000 000.0"},
        {0.04, "00.0", '.', "00.0"},
        {-0.04, "00.0", '.', "00.0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatPicture(c.value, c.picture, c.separator), c.text) << c.value << " " << c.picture;
}

// Halves go away from zero on the decimal value the user reads, whatever its
// binary neighbour: 0.35 is 0.34999999999999997779 as a double.
TEST(FormatPicture, HalvesRoundAwayFromZero) {
    struct Case {
        double value;
        const char* picture;
        const char* text;
    } cases[] = {
        {0.25, "# ### ##0.0", "0.3"},
        {0.35, "# ### ##0.0", "0.4"},
        {2.5, "00", "03"},
        {-2.5, "00", "-03"},
        {0.05, "### ##0.0", "0.1"},
        {0.049999, "### ##0.0", "0.0"},
        {1125, "0.##E+00", "1.13E+03"},
        {1135, "0.##E+00", "1.14E+03"},
        {1124.9, "0.##E+00", "1.12E+03"},
        {0.03125, "####0.0###", "0.0313"},
        {-0.03125, "####0.0###", "-0.0313"},
        {0.1 + 0.2, "####0.0###", "0.3"},
        {1.23456785, "#.#######E+00", "1.2345679E+00"},
        {1.00000005, "#.#######E+00", "1.0000001E+00"},
        {9.5, "00", "10"},
        {99.95, "00.0", "100.0"},
        {0.1 * 3, "### ##0.0", "0.3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatPicture(c.value, c.picture), c.text) << c.value << " " << c.picture;
}

TEST(Trimmed, RemovesOuterBlanksOnly) {
    EXPECT_EQ(trimmed("  0.4      "), "0.4");
    EXPECT_EQ(trimmed("1 234.5"), "1 234.5");
    EXPECT_EQ(trimmed("   "), "");
}
