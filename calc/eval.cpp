#include "calc/eval.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "common/numbers.h"

namespace molvane {

namespace {

// Text positions are 16-bit: a text longer than this cannot be walked.
constexpr std::size_t kMaxPosition = 32767;
// Bound on the rewriting cycles of calcule: an expression that still has
// something left to reduce after that many cycles cannot be computed.
constexpr int kMaxCycles = 100;

constexpr std::array<std::string_view, 10> kFunctionCodes = {"SIN", "COS", "TAN", "ISI", "ICO",
                                                             "ITA", "LOG", "LON", "EXP", "SQR"};
// In the order they are reduced.
constexpr std::array<std::string_view, 5> kOperators = {" ^ ", " / ", " * ", " - ", " + "};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isFunctionCode(std::string_view t, std::size_t at) {
    const std::string_view three = t.substr(at, 3);
    return std::find(kFunctionCodes.begin(), kFunctionCodes.end(), three) != kFunctionCodes.end();
}

void upperCase(std::string& t) {
    for (char& c : t)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

void removeBlanks(std::string& t) {
    std::erase(t, ' ');
}

// Walks a text left to right while rewriting it at the walk position. What the
// walk has passed is never changed again, so it is kept apart and the rest is
// stored reversed: every rewrite at the position costs only what it changes.
class RewriteCursor {
public:
    explicit RewriteCursor(std::string_view text) : ahead_(text.rbegin(), text.rend()) {
        passed_.reserve(text.size() * 3);
    }

    // The text at the position starts with s.
    bool at(std::string_view s) const {
        if (s.size() > ahead_.size()) return false;
        for (std::size_t j = 0; j < s.size(); ++j)
            if (ahead_[ahead_.size() - 1 - j] != s[j]) return false;
        return true;
    }
    bool atAny(std::string_view a, std::string_view b) const { return at(a) || at(b); }
    // The character `offset` places after the position ('\0' past the end).
    char next(std::size_t offset = 0) const {
        return offset < ahead_.size() ? ahead_[ahead_.size() - 1 - offset] : '\0';
    }
    // The character just before the position ('\0' at the start).
    char previous() const { return passed_.empty() ? '\0' : passed_.back(); }
    // Puts s in place of the n characters at the position.
    void replace(std::size_t n, std::string_view s) {
        ahead_.resize(ahead_.size() - std::min(n, ahead_.size()));
        ahead_.append(s.rbegin(), s.rend());
    }
    // Puts c in place of the character `offset` places after the position, if any.
    bool set(std::size_t offset, char c) {
        if (offset >= ahead_.size()) return false;
        ahead_[ahead_.size() - 1 - offset] = c;
        return true;
    }
    void advance() {
        if (ahead_.empty()) return;
        passed_ += ahead_.back();
        ahead_.pop_back();
    }
    std::string text() const { return passed_ + std::string(ahead_.rbegin(), ahead_.rend()); }

private:
    std::string passed_;
    std::string ahead_;  // reversed
};

// A number starts `offset` places after the cursor and is raised to a power.
bool powerBaseAt(const RewriteCursor& cursor, std::size_t offset) {
    std::size_t digits = 0;
    for (char c = cursor.next(offset); isDigit(c) || c == '.'; c = cursor.next(++offset))
        digits += isDigit(c);
    if (digits == 0) return false;
    if (cursor.next(offset) == 'E' || cursor.next(offset) == 'D') {
        std::size_t e = offset + 1;
        if (cursor.next(e) == '+' || cursor.next(e) == '-') ++e;
        if (isDigit(cursor.next(e))) {
            while (isDigit(cursor.next(e))) ++e;
            offset = e;
        }
    }
    return cursor.next(offset) == '^';
}

// One pass over the sign pairs: at each position of the text as it was when
// the pass began, "--" becomes "+", then "+-" and "-+" become "-", then "++"
// becomes "+", each check seeing what the previous one left.
// A minus glued to a number binds tighter than "^" (-2^2 is 4), so a pair
// whose minus belongs to a power's base stays: folding 3--1^2 into 3+1^2
// would give 4 where 3-(-1)^2 is 2.
std::string foldSignPairs(const std::string& t) {
    RewriteCursor cursor(t);
    for (std::size_t p = 0; p < t.size(); ++p) {
        if (!cursor.atAny("+", "-")) {  // every pair starts with a sign
            cursor.advance();
            continue;
        }
        if (cursor.at("--") && !powerBaseAt(cursor, 2)) cursor.replace(2, "+");
        if (cursor.at("+-") && !powerBaseAt(cursor, 2)) cursor.replace(2, "-");
        if (cursor.at("-+")) cursor.replace(2, "-");
        if (cursor.at("++")) cursor.replace(2, "+");
        cursor.advance();
    }
    return cursor.text();
}

// One pass that drops the parentheses around a plain number: "(-12.5)" is
// "-12.5", while "(1E+3)", "(2+3)" and "()" stay as they are.
std::string unwrapPlainNumbers(const std::string& t) {
    std::string out;
    out.reserve(t.size());
    std::size_t p = 0;
    while (p < t.size()) {
        if (t[p] == '(') {
            std::size_t e = 1;
            while (p + e < t.size() &&
                   (isDigit(t[p + e]) || t[p + e] == '.' || (e == 1 && (t[p + e] == '-' || t[p + e] == '+'))))
                ++e;
            if (e > 1 && p + e < t.size() && t[p + e] == ')') {
                out.append(t, p + 1, e - 1);
                p += e + 1;
                continue;
            }
        }
        out += t[p++];
    }
    return out;
}

// The text of a computed value, as every step writes it back.
std::string valueText(double value) {
    return numberText(value, false);
}

// A number read from the text; false when it overflows the double range.
bool readNumber(std::string_view text, double& value) {
    const NumberRead read = readLeadingNumber(text);
    value = read.value;
    return !read.overflow;
}

bool computeFunction(std::string_view code, double x, bool radians, double& result) {
    const double quarterTurn = std::atan(1.0);  // pi / 4
    auto toRadians = [&](double angle) { return radians ? angle : angle * 4 * quarterTurn / 180; };
    auto fromRadians = [&](double angle) { return radians ? angle : angle * 180 / (4 * quarterTurn); };
    // Arc sine through the arc tangent, so that |x| > 1 fails on the square root.
    auto arcSine = [&](double& angle) {
        if (x == 1)
            angle = 2 * quarterTurn;
        else if (x == -1)
            angle = -2 * quarterTurn;
        else {
            const double square = 1 - x * x;
            if (!(square > 0)) return false;
            angle = std::atan(x / std::sqrt(square));
        }
        return true;
    };
    double angle = 0;
    if (code == "SIN")
        result = std::sin(toRadians(x));
    else if (code == "COS")
        result = std::cos(toRadians(x));
    else if (code == "TAN")
        result = std::tan(toRadians(x));
    else if (code == "ISI") {
        if (!arcSine(angle)) return false;
        result = fromRadians(angle);
    } else if (code == "ICO") {
        if (!arcSine(angle)) return false;
        result = fromRadians(2 * quarterTurn - angle);
    } else if (code == "ITA")
        result = radians ? std::atan(x) : std::atan(x) * 180 / (quarterTurn * 4);
    else if (code == "LOG" || code == "LON") {
        if (!(x > 0)) return false;
        result = code == "LON" ? std::log(x) : std::log(x) / std::log(10.0);
    } else if (code == "EXP")
        result = std::exp(x);
    else if (code == "SQR") {
        if (x < 0) return false;
        result = std::sqrt(x);
    } else
        return false;
    return std::isfinite(result);
}

bool computeOperator(char op, double left, double right, double& result) {
    switch (op) {
        case '^':
            result = std::pow(left, right);
            break;
        case '/':
            if (right == 0) return false;
            result = left / right;
            break;
        case '*':
            result = left * right;
            break;
        case '-':
            result = left - right;
            break;
        default:
            result = left + right;
            break;
    }
    return std::isfinite(result);
}

// 0-based index of the first token `op` (" ^ ") whose blank stands at 1-based
// position 3 or later and before the last character; npos when there is none.
std::size_t findOperator(const std::string& t, std::string_view op) {
    for (std::size_t at = t.find(op[1], 3); at != std::string::npos; at = t.find(op[1], at + 1)) {
        const std::size_t start = at - 1;  // the blank before the operator
        if (start + 1 >= t.size()) break;  // a start must lie before the last character
        if (t.compare(start, 3, op) == 0) return start;
    }
    return std::string::npos;
}

}  // namespace

bool Evaluateur::normalise(std::string& texte) {
    if (texte.size() > kMaxPosition) return false;
    upperCase(texte);
    removeBlanks(texte);
    for (;;) {
        std::string pass = foldSignPairs(texte);
        if (!pass.empty() && pass.front() == '+') pass.erase(0, 1);
        pass = unwrapPlainNumbers(pass);
        if (pass == texte) break;
        texte = std::move(pass);
    }
    return decoupe(texte);
}

bool Evaluateur::decoupe(std::string& texte) {
    upperCase(texte);
    removeBlanks(texte);
    if (!texte.empty() && texte.front() == '+') texte.erase(0, 1);
    texte = ' ' + texte + ' ';
    // The walk's bound is fixed before the text grows; it is a 16-bit position too.
    const std::size_t bound = 3 * texte.size();
    if (bound > kMaxPosition) return false;

    RewriteCursor cursor(texte);
    auto blankAfterCode = [&](std::string_view code) { cursor.replace(3, std::string(code) + ' '); };
    for (std::size_t i = 1; i <= bound; ++i) {
        if (cursor.next() == '\0' ||
            std::string_view(" 0123456789.()").find(cursor.next()) != std::string_view::npos) {
            cursor.advance();  // no code or operator starts here
            continue;
        }
        if (cursor.at("SQR")) blankAfterCode("SQR");
        // "LON" is the code of ln; it takes its blank below with the other
        // codes, so that a text normalised again keeps it apart from its argument.
        if (cursor.at("LN")) cursor.replace(2, "LON");
        for (std::string_view code : {"SIN", "COS"})
            if (cursor.at(code)) blankAfterCode(code);
        for (std::string_view code : {"LOG", "TAN", "LON"})
            if (cursor.at(code)) blankAfterCode(code);
        for (std::string_view code : {"ISI", "EXP"})
            if (cursor.at(code)) blankAfterCode(code);
        for (std::string_view code : {"ITA", "ICO"})
            if (cursor.at(code)) blankAfterCode(code);
        if (cursor.at("INV")) {
            // "INVSIN" becomes "ISI ": "NV" goes, the name's last letter becomes the blank.
            cursor.replace(3, "I");
            if (!cursor.set(3, ' ')) return false;
        }
        for (char op : {'^', '*', '/'}) {
            if (cursor.at(std::string_view(&op, 1))) {
                cursor.replace(1, std::string{' ', op, ' '});
                cursor.advance();  // back on the operator
            }
        }
        // A sign after an exponent letter, and a minus after "(" or a blank,
        // belong to the number that follows.
        if (cursor.at("+") && cursor.previous() != 'D' && cursor.previous() != 'E') {
            cursor.replace(1, " + ");
            cursor.advance();
        }
        if (cursor.at("-") && cursor.previous() != 'D' && cursor.previous() != 'E' &&
            cursor.previous() != '(' && cursor.previous() != ' ') {
            cursor.replace(1, " - ");
            cursor.advance();
        }
        cursor.advance();
    }
    texte = cursor.text();
    return true;
}

void Evaluateur::verifie(const std::string& texte, std::int16_t& code) {
    const auto opening = std::count(texte.begin(), texte.end(), '(');
    const auto closing = std::count(texte.begin(), texte.end(), ')');
    for (std::size_t k = 0; k < texte.size(); ++k) {
        if (texte[k] != '*' && texte[k] != '/' && texte[k] != '^') continue;
        if (k + 2 >= texte.size() || texte[k + 2] == ' ') code = kErreurOperateurs;
    }
    if (opening != closing) code = kErreurParentheses;
}

bool Evaluateur::compte(const std::string& texte) {
    if (texte.size() > kMaxPosition) return false;
    nbparentheses = nbfonctions = nboperateurs = 0;
    const std::string_view t = texte;
    for (std::size_t a = 0; a < t.size(); ++a) {
        if (t[a] == '(') ++nbparentheses;
        const std::string_view three = t.substr(a, 3);
        if (std::find(kOperators.begin(), kOperators.end(), three) != kOperators.end()) ++nboperateurs;
        if (isFunctionCode(t, a)) ++nbfonctions;
    }
    return true;
}

bool Evaluateur::fonctions(std::string& texte, bool radians) {
    // k is 0-based here; the scan starts at the second character.
    for (std::size_t k = 1; k + 1 < texte.size() && nbfonctions > 0; ++k) {
        if (texte.size() > kMaxPosition) return false;
        if (!isFunctionCode(texte, k)) continue;
        // The code, its blank, then the argument: only a plain number will do.
        const std::size_t start = k + 4;
        if (start >= texte.size()) continue;
        const char first = texte[start];
        if (!isDigit(first) && first != '-' && first != '.') continue;
        std::size_t end = texte.find_first_of(") ", start);
        if (end == std::string::npos) end = texte.size();
        double x = 0;
        double value = 0;
        if (!readNumber(std::string_view(texte).substr(start, end - start), x)) return false;
        if (!computeFunction(std::string_view(texte).substr(k, 3), x, radians, value)) return false;
        texte.replace(k, end - k, valueText(value));
        --nbfonctions;
        k = 0;  // the scan starts again at the second character
    }
    return texte.size() <= kMaxPosition;
}

bool Evaluateur::parentheses(std::string& texte) {
    do {
        // A group that normalising already unwrapped may leave the counter
        // ahead of the text: stop, the next count puts it right.
        const std::size_t open = texte.rfind('(');
        if (open == std::string::npos) return true;
        const std::size_t close = texte.find(')', open);
        if (close == std::string::npos) return true;
        std::string inner = texte.substr(open + 1, close - open - 1);
        // Letters F to Y belong to function codes (not to the exponent letters
        // D and E): such a group waits for its functions.
        if (std::any_of(inner.begin(), inner.end(), [](char c) { return c >= 'F' && c <= 'Y'; })) return true;
        if (!normalise(inner) || !operateurs(inner)) return false;
        texte.replace(open, close - open + 1, inner);
        --nbparentheses;
        if (!normalise(texte)) return false;
    } while (nbparentheses > 0);
    return true;
}

bool Evaluateur::operateurs(std::string& texte) {
    if (!normalise(texte)) return false;
    for (std::size_t next = 0; next < kOperators.size();) {
        if (texte.size() > kMaxPosition) return false;
        const std::string_view op = kOperators[next];
        const std::size_t s = findOperator(texte, op);
        if (s == std::string::npos) {
            ++next;
            continue;
        }
        // Left operand: after the nearest blank before it; right operand: up to the next blank.
        const std::size_t blankBefore = s >= 2 ? texte.rfind(' ', s - 2) : std::string::npos;
        const std::size_t leftStart = blankBefore == std::string::npos ? 0 : blankBefore + 1;
        const std::size_t blankAfter = texte.find(' ', s + 4);
        if (blankAfter == std::string::npos) return false;  // no right operand
        const std::string_view t = texte;
        double left = 0;
        double right = 0;
        double value = 0;
        if (!readNumber(t.substr(leftStart, s - leftStart), left) ||
            !readNumber(t.substr(s + 3, blankAfter - s - 3), right) ||
            !computeOperator(op[1], left, right, value))
            return false;
        texte.replace(leftStart, blankAfter - leftStart, valueText(value));
        if (--nboperateurs <= 0) return true;
        next = 0;
    }
    return true;
}

std::int16_t calcule(std::string& texte, bool radians) {
    Evaluateur steps;
    std::int16_t code = kCalculOk;
    if (!steps.normalise(texte)) return kCalculImpossible;
    Evaluateur::verifie(texte, code);
    if (code != kCalculOk) return code;
    if (!steps.compte(texte)) return kCalculImpossible;

    std::string previous;
    for (int cycle = 1;; ++cycle) {
        if (texte == previous && !steps.normalise(texte)) return kCalculImpossible;
        previous = texte;
        if (cycle > kMaxCycles) return kCalculImpossible;
        if (steps.nbfonctions > 0 && (!steps.fonctions(texte, radians) || !steps.normalise(texte)))
            return kCalculImpossible;
        if (steps.nbparentheses > 0 && !steps.parentheses(texte)) return kCalculImpossible;
        if (!steps.compte(texte)) return kCalculImpossible;
        if (steps.nbfonctions > 0 || steps.nbparentheses > 0) continue;
        if (steps.nboperateurs > 0) {
            if (!steps.operateurs(texte) || !steps.compte(texte)) return kCalculImpossible;
            if (steps.nboperateurs > 0) continue;
        }
        break;
    }
    texte = std::string(trimmed(texte));
    // Two numbers without an operator between them, or a function left unused.
    return texte.find(' ') == std::string::npos ? kCalculOk : kCalculImpossible;
}

}  // namespace molvane
