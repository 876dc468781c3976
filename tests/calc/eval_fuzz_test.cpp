// Random key sequences and random bytes through calcule: every one must end
// with a code from 0 to 3, and a success must leave one finite number.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <string_view>

#include "calc/eval.h"
#include "common/numbers.h"

namespace molvane {
namespace {

// The texts the calculator's keys append.
// clang-format off
constexpr std::array<std::string_view, 38> kKeyTexts = {
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", ".", "E", "E+3", "E-6", "E+12", "E-12",
    "(", ")", "sin ", "cos ", "tan ", "invSIN ", "invCOS ", "invTAN ", "ln ", "log ", "exp ",
    "SQR ", "10 ^ ", "1 / ", "3.14159265358979", " * ", " / ", "+", " + ", "-", " - ", " ^ 2"};
// clang-format on

void expectSoundOutcome(const std::string& expression, bool radians) {
    std::string text = expression;
    const std::int16_t code = calcule(text, radians);
    ASSERT_GE(code, 0) << expression;
    ASSERT_LE(code, 3) << expression;
    if (code != kCalculOk) return;
    ASSERT_EQ(text.find(' '), std::string::npos) << expression;
    ASSERT_EQ(text.find("INF"), std::string::npos) << expression;
    ASSERT_EQ(text.find("NAN"), std::string::npos) << expression;
}

TEST(CalculeFuzz, RandomKeySequencesEndSoundly) {
    std::mt19937 random(20240607);
    std::uniform_int_distribution<std::size_t> key(0, kKeyTexts.size() - 1);
    std::uniform_int_distribution<int> length(0, 30);
    for (int i = 0; i < 12000; ++i) {
        std::string expression;
        for (int n = length(random); n > 0; --n) expression += kKeyTexts[key(random)];
        expectSoundOutcome(expression, i % 2 == 0);
        if (HasFatalFailure()) return;
    }
}

TEST(CalculeFuzz, LongRandomKeySequencesEndSoundly) {
    std::mt19937 random(77);
    std::uniform_int_distribution<std::size_t> key(0, kKeyTexts.size() - 1);
    for (int i = 0; i < 40; ++i) {
        std::string expression;
        for (int n = 0; n < 1500; ++n) expression += kKeyTexts[key(random)];
        expectSoundOutcome(expression, i % 2 == 0);
        if (HasFatalFailure()) return;
    }
}

TEST(CalculeFuzz, RandomCharactersEndSoundly) {
    std::mt19937 random(4242);
    constexpr std::string_view kAlphabet = "0123456789.+-*/^() EDSINCOTAVLGXPQRdex";
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::uniform_int_distribution<int> byte(1, 255);
    std::uniform_int_distribution<int> length(0, 40);
    for (int i = 0; i < 30000; ++i) {
        std::string expression;
        for (int n = length(random); n > 0; --n)
            expression += i % 4 == 0 ? static_cast<char>(byte(random)) : kAlphabet[pick(random)];
        expectSoundOutcome(expression, i % 2 == 1);
        if (HasFatalFailure()) return;
    }
}

}  // namespace
}  // namespace molvane
