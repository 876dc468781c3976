// The calculator's expression evaluator. It builds no tree: it rewrites the
// expression text step after step, replacing each part it can compute by the
// text of its value (15 significant digits), until one number is left. The
// rewriting also decides precedence: functions, then parentheses, then the
// binary operators in the fixed order ^ / * - +.
#pragma once

#include <cstdint>
#include <string>

namespace molvane {

// Codes given back by calcule.
constexpr std::int16_t kCalculOk = 0;
constexpr std::int16_t kCalculImpossible = 1;   // cannot be computed
constexpr std::int16_t kErreurParentheses = 2;  // "(" and ")" do not balance
constexpr std::int16_t kErreurOperateurs = 3;   // "*", "/" or "^" without a right operand

// Evaluates an expression as the calculator's keys leave it ("2 * (3 + sin 30)").
// On success the text becomes the result number (trimmed) and kCalculOk is
// returned; otherwise the text is left part-way and one of the three error
// codes is returned. Trigonometric functions work in radians or in degrees.
std::int16_t calcule(std::string& texte, bool radians);

// The steps of calcule, open for tests. Every text position and counter is
// 16-bit as in the rest of the program: a text too long for them makes a step
// fail. Steps that compute or rewrite return false on any failure (division
// by zero, domain error, overflow, a text too long); calcule turns that into
// kCalculImpossible.
class Evaluateur {
public:
    // Upper-cases, drops blanks, folds sign pairs ("--" is "+"), unwraps
    // parenthesised plain numbers ((-7) is -7), then calls decoupe.
    [[nodiscard]] bool normalise(std::string& texte);
    // Lays out the tokens: blanks around binary operators and after function
    // codes, key texts turned into codes ("LN" is "LON", "INVSIN" is "ISI"),
    // and one blank at each end.
    [[nodiscard]] bool decoupe(std::string& texte);
    // Sets code to kErreurOperateurs or kErreurParentheses (the latter wins)
    // and never back to kCalculOk.
    static void verifie(const std::string& texte, std::int16_t& code);
    // Recounts the three counters below.
    [[nodiscard]] bool compte(const std::string& texte);
    // Applies every function whose argument is already a plain number.
    [[nodiscard]] bool fonctions(std::string& texte, bool radians);
    // Reduces innermost groups that hold no function.
    [[nodiscard]] bool parentheses(std::string& texte);
    // Reduces binary operators, one at a time, highest first.
    [[nodiscard]] bool operateurs(std::string& texte);

    std::int16_t nbparentheses = 0;  // "(" characters
    std::int16_t nbfonctions = 0;    // function codes
    std::int16_t nboperateurs = 0;   // binary-operator tokens such as " + "
};

}  // namespace molvane
