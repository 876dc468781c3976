#include "calc/eval.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "common/numbers.h"

namespace molvane {
namespace {

struct Case {
    const char* expression;  // as the calculator's keys leave it
    bool radians;
    const char* result;  // the text on success
    std::int16_t code;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << '"' << c.expression << '"';
}

class Calcule : public testing::TestWithParam<Case> {};

TEST_P(Calcule, GivesResultOrCode) {
    const Case& c = GetParam();
    std::string text = c.expression;
    const std::int16_t code = calcule(text, c.radians);
    EXPECT_EQ(code, c.code);
    if (c.code == kCalculOk) {
        EXPECT_EQ(text, c.result);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Precedence, Calcule, testing::Values(
    Case{"2 * 3 + 4", false, "10", 0},
    Case{"2 + 3 * 4", false, "14", 0},
    Case{"2 ^ 3 ^ 2", false, "64", 0},
    Case{"8 / 2 / 2", false, "2", 0},
    Case{"2 * (3 + sin 30)", false, "7", 0},
    Case{"(2 + 3) * 4", false, "20", 0},
    Case{"((2 + 3))", false, "5", 0},
    Case{"(((1 + 2) * 3) - 4) / 5", false, "1", 0},
    Case{"1 / 3", false, ".333333333333333", 0}));
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(Signs, Calcule, testing::Values(
    Case{"-2 ^ 2", false, "4", 0},
    Case{"5 - -3", false, "8", 0},
    Case{"2 ^ -1", false, ".5", 0},
    Case{"(-7)", false, "-7", 0},
    Case{"(-3) ^ 2", false, "9", 0},
    Case{"2 - (-3)", false, "5", 0},
    Case{"2 * -3", false, "-6", 0},
    Case{"- - - 4", false, "-4", 0},
    Case{"1 - .25 - 1", false, "-.25", 0}));
// clang-format on

// A minus glued to a power's base is not folded into the operator before it.
// clang-format off
INSTANTIATE_TEST_SUITE_P(SignOfPowerBase, Calcule, testing::Values(
    Case{"3 - (1 - 2) ^ 2", false, "2", 0},
    Case{"3 - (-1) ^ 2", false, "2", 0},
    Case{"2 + (1 - 2) ^ 2 / 4", false, "2.25", 0},
    Case{"2 + -1 ^ 2", false, "3", 0},
    Case{"5 - -2 ^ 3", false, "13", 0},
    Case{"1 - -2E+1 ^ 2", false, "-399", 0},
    Case{"5 - -2 * 3", false, "11", 0}));
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(Numbers, Calcule, testing::Values(
    Case{"1E+3 * 2", false, "2000", 0},
    Case{"2E-3", false, "2E-3", 0},
    Case{"", false, "", 0},
    Case{"1.2.3 + 1", false, "2.2", 0},
    Case{"2 3", false, "23", 0},
    Case{"1D2 + 0", false, "100", 0},
    Case{"1E+14 * 10", false, "1E+15", 0},
    Case{"1 / 3E+6", false, "3.33333333333333E-07", 0},
    Case{"1 / 100000", false, "1E-05", 0},
    Case{"1 / 10000", false, ".0001", 0},
    Case{".1 + .2", false, ".3", 0}));
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(Functions, Calcule, testing::Values(
    Case{"sin 30", false, ".5", 0},
    Case{"invSIN .5", false, "30", 0},
    Case{"invCOS 1", false, "0", 0},
    Case{"invSIN -1", false, "-90", 0},
    Case{"invTAN 1", false, "45", 0},
    Case{"sin (30 + 60)", false, "1", 0},
    Case{"tan 45", false, "1", 0},
    Case{"sin 30", true, "-.988031624092862", 0},
    Case{"invCOS -1", true, "3.14159265358979", 0},
    Case{"log 100", false, "2", 0},
    Case{"exp 1", false, "2.71828182845905", 0},
    Case{"SQR 2", false, "1.4142135623731", 0},
    Case{"2 * sin 30", false, "1", 0},
    Case{"sin sin 30", true, "-.834944331803534", 0},
    Case{"exp ln 5", false, "5", 0},
    Case{"sin (SQR (8100))", false, "1", 0},
    Case{"-sin 30", false, "-.5", 0}));
// clang-format on

// The two mends: ln of a group, and a group that normalising unwrapped.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Mends, Calcule, testing::Values(
    Case{"ln (2 + 3)", false, "1.6094379124341", 0},
    Case{"ln (exp (2))", false, "2", 0},
    Case{"2 * ln (1 + 1) - ln 4", false, "0", 0},
    Case{"((2 + 3))", false, "5", 0},
    Case{"(((4 * 2)))", false, "8", 0},
    Case{"(sin 30) * 2", false, "1", 0}));
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(Failures, Calcule, testing::Values(
    Case{"ln 0", false, "", 1},
    Case{"SQR -4", false, "", 1},
    Case{"1 / 0", false, "", 1},
    Case{"0 ^ -1", false, "", 1},
    Case{"-8 ^ .5", false, "", 1},
    Case{"invSIN 2", false, "", 1},
    Case{"invCOS -1.5", false, "", 1},
    Case{"exp 1000", false, "", 1},
    Case{"1E+300 * 1E+300", false, "", 1},
    Case{"10 ^ 400", false, "", 1},
    Case{"1E+999 + 1", false, "", 1},
    Case{"sin 1E+999", false, "", 1},
    Case{"* 2", false, "", 1},
    Case{"sin", false, "", 1},
    Case{"2 +", false, "", 1},
    Case{"2) * (3", false, "", 1},
    Case{"invSIN", false, "", 1}));
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(InputErrors, Calcule, testing::Values(
    Case{"(2 + 3", false, "", 2},
    Case{"2 + 3)", false, "", 2},
    Case{"2 * / 3", false, "", 3},
    Case{"2 *", false, "", 3},
    Case{"2 ^", false, "", 3},
    Case{"4 /", false, "", 3},
    Case{"(2 *", false, "", 2},
    Case{"((2 * / 3)", false, "", 2}));
// clang-format on

// Sixty nested functions need one cycle each: well within the bound.
TEST(CalculeLimits, DeepNestingWithinCycleBound) {
    std::string text;
    for (int i = 0; i < 60; ++i) text += "SQR (";
    text += "1";
    text.append(60, ')');
    EXPECT_EQ(calcule(text, false), kCalculOk);
    EXPECT_EQ(text, "1");

    std::string plain(500, '(');
    plain += "1 + 1";
    plain.append(500, ')');
    EXPECT_EQ(calcule(plain, false), kCalculOk);
    EXPECT_EQ(plain, "2");
}

TEST(CalculeLimits, TooManyCyclesFails) {
    std::string text;
    for (int i = 0; i < 120; ++i) text += "SQR (";
    text += "1";
    text.append(120, ')');
    EXPECT_EQ(calcule(text, false), kCalculImpossible);
}

TEST(CalculeLimits, LongSumsAndSixteenBitPositions) {
    std::string sum = "1";
    for (int i = 1; i < 2000; ++i) sum += " + 1";
    EXPECT_EQ(calcule(sum, false), kCalculOk);
    EXPECT_EQ(sum, "2000");

    // The walk of the token layout is bounded by a 16-bit position.
    std::string huge = "1";
    for (int i = 1; i < 6000; ++i) huge += "+1";
    EXPECT_EQ(calcule(huge, false), kCalculImpossible);
}

// Results at the edge of the double range: the 15-digit text of the largest
// double does not read back, which the window reports as an overflow.
TEST(CalculeLimits, LargestValuesStayText) {
    std::string text = "1.7976931348623157E+308 * 1";
    ASSERT_EQ(calcule(text, false), kCalculOk);
    EXPECT_EQ(text, "1.79769313486232E+308");
    EXPECT_TRUE(readLeadingNumber(text).overflow);

    std::string tiny = "1E-300 * 1E-300";
    ASSERT_EQ(calcule(tiny, false), kCalculOk);
    EXPECT_EQ(tiny, "0");
}

struct StepCase {
    const char* input;
    const char* output;
};

TEST(Normalise, RewritesAsTheStepsSay) {
    const std::vector<StepCase> cases = {
        {"2 * (3 + sin 30)", " 2 * (3 + SIN 30) "},
        {"(-12.5)", " -12.5 "},
        {"(1E+3)", " (1E+3) "},
        {"(2+3)", " (2 + 3) "},
        {"()", " () "},
        {"((5))", " 5 "},
        {"5--3", " 5 + 3 "},
        {"5---3", " 5 - 3 "},
        {"5+-3", " 5 - 3 "},
        {"3--1^2", " 3 - -1 ^ 2 "},
        {"3+-1.5E+2^2", " 3 + -1.5E+2 ^ 2 "},
        {"3--1E^2", " 3 + 1E ^ 2 "},
        {"5-+3", " 5 - 3 "},
        {"++5", " 5 "},
        {"----5", " 5 "},
        {"(-(-5))", " 5 "},
        {"2*-3", " 2 * -3 "},
        {"2^-1", " 2 ^ -1 "},
        {"1e-3+2d+4", " 1E-3 + 2D+4 "},
        {"ln 5", " LON 5 "},
        {"LON5", " LON 5 "},
        {"invsin .5", " ISI .5 "},
        {"log(2)", " LOG 2 "},
        {"", "  "},
    };
    for (const StepCase& c : cases) {
        Evaluateur steps;
        std::string text = c.input;
        ASSERT_TRUE(steps.normalise(text)) << c.input;
        EXPECT_EQ(text, c.output) << c.input;
    }
}

TEST(Verifie, CodesAndWhichWins) {
    const std::vector<std::pair<const char*, std::int16_t>> cases = {
        {" 2 * 3 ", 0}, {" 2 * ", 3}, {" 2 *  / 3 ", 3}, {" 2 ^ ", 3}, {" (2 + 3 ", 2},
        {" (2 * ", 2},  {" 2 + ", 0}, {" 2 - ", 0},      {" )( ", 0},
    };
    for (const auto& [text, expected] : cases) {
        std::int16_t code = 0;
        Evaluateur::verifie(text, code);
        EXPECT_EQ(code, expected) << text;
    }
    std::int16_t code = 3;
    Evaluateur::verifie(" 2 ", code);
    EXPECT_EQ(code, 3) << "verifie never clears a code";
}

TEST(Compte, CountsTheThreeKinds) {
    Evaluateur steps;
    ASSERT_TRUE(steps.compte(" 2 * (3 + SIN 30) - (LON 2 ^ -1E-3) "));
    EXPECT_EQ(steps.nbparentheses, 2);
    EXPECT_EQ(steps.nbfonctions, 2);
    EXPECT_EQ(steps.nboperateurs, 4);
}

TEST(Fonctions, LeavesArgumentsThatAreNotPlainNumbers) {
    Evaluateur steps;
    std::string text = " SIN (30 + 60) + COS 60 ";
    ASSERT_TRUE(steps.compte(text));
    ASSERT_TRUE(steps.fonctions(text, false));
    EXPECT_EQ(text, " SIN (30 + 60) + .5 ");
    EXPECT_EQ(steps.nbfonctions, 1);
}

TEST(Parentheses, WaitsForFunctionsInsideAGroup) {
    Evaluateur steps;
    std::string text = " 2 * (3 + SIN 30) ";
    ASSERT_TRUE(steps.compte(text));
    ASSERT_TRUE(steps.parentheses(text));
    EXPECT_EQ(text, " 2 * (3 + SIN 30) ");
    EXPECT_EQ(steps.nbparentheses, 1);
}

// Every value written reads back to the same 15-digit text.
TEST(NumberText, WrittenValuesReadBack) {
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    auto next = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int i = 0; i < 20000; ++i) {
        double value;
        const std::uint64_t bits = next();
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value) || std::fabs(value) > 1.7e308) continue;
        const std::string text = numberText(value, false);
        const NumberRead read = readLeadingNumber(text);
        ASSERT_TRUE(read.found) << text;
        ASSERT_EQ(read.end, text.size()) << text;
        ASSERT_EQ(numberText(read.value, false), text);
    }
}

TEST(NumberText, EvaluatorForms) {
    const std::vector<std::pair<double, const char*>> cases = {
        {0.49999999999999994, ".5"},
        {-0.25, "-.25"},
        {1e15, "1E+15"},
        {1.5e-7, "1.5E-07"},
        {123456789012345.0, "123456789012345"},
        {2.5e-5, "2.5E-05"},
        {2.5e-4, ".00025"},
        {1e100, "1E+100"},
        {-0.0, "0"},
        {5, "5"},
        {1.0 / 3, ".333333333333333"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(numberText(value, false), text) << value;
    EXPECT_EQ(numberText(5, true), " 5");
    EXPECT_EQ(numberText(-2, true), "-2");
}

// The calculator's scientific display, down to the smallest doubles.
TEST(NumberText, ScientificPicture) {
    const std::vector<std::pair<double, const char*>> cases = {
        {1234.5, "1.2345E+03"},
        {5, "5.E+00"},
        {0, "0.E+00"},
        {-0.125, "-1.25E-01"},
        {9.999999999, "1.E+01"},
        {1.7976931348623157e308, "1.7976931E+308"},
        {4.9406564584124654e-324, "4.9406565E-324"},
        {2.2250738585072014e-308, "2.2250739E-308"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(formatPicture(value, "#.#######E+00", '.'), text) << value;
}

}  // namespace
}  // namespace molvane
