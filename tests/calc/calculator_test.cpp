#include "calc/calculator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "calc/eval.h"

namespace molvane {
namespace {

// A calculator with its memory cleared (the memory outlives every calculator).
Calculatrice neuve() {
    Calculatrice c;
    c.appuie("Command4");
    return c;
}

// Presses keys named one after the other, or typed when they start with "=":
// "=2+3" types 2, + and 3 through the keyboard's mapping.
Appui presse(Calculatrice& c, const std::vector<std::string>& touches) {
    Appui dernier;
    for (const std::string& t : touches) {
        if (t.starts_with('=')) {
            for (char k : t.substr(1)) {
                const std::string_view nom = Calculatrice::toucheDuClavier(std::string(1, k));
                EXPECT_FALSE(nom.empty()) << k;
                dernier = c.appuie(nom);
            }
        } else {
            dernier = c.appuie(t);
        }
    }
    return dernier;
}

struct Suite {
    std::vector<std::string> touches;
    const char* affichage;
    bool bip;  // of the last key
};

void PrintTo(const Suite& s, std::ostream* os) {
    *os << s.affichage;
}

class Suites : public testing::TestWithParam<Suite> {};

TEST_P(Suites, LeaveTheDisplay) {
    Calculatrice c = neuve();
    const Appui dernier = presse(c, GetParam().touches);
    EXPECT_EQ(c.affichage(), GetParam().affichage);
    EXPECT_EQ(dernier.bip, GetParam().bip);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Saisie, Suites, testing::Values(
    Suite{{"=12", "Bcos"}, "12 * cos ", false},
    Suite{{"pi", "pi"}, "3.14159265358979 * 3.14159265358979", false},
    Suite{{"=2e", "moins", "=4"}, "2E-4", false},
    Suite{{"=2e", "plus", "=4"}, "2E+4", false},
    Suite{{"=(2", "moins", "moins"}, "(2 - -", false},
    Suite{{"=1,25"}, "1.25", false},
    Suite{{"micro", "nano"}, "E-6E-9", false},
    Suite{{"bpf", "Command5"}, ") * 1 / ", false},
    Suite{{"=7", "Blog", "EFFACE"}, "7 * ", false},
    Suite{{"=9", "racine", "Bpo", "invcos", "EFFACE", "EFFACE"}, "9 * SQR ", false},
    Suite{{"=2^3", "EFFACE", "EFFACE"}, "2", false},
    Suite{{"=4", "btcarre", "EFFACE", "EFFACE"}, "4", false}));
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(Calculs, Suites, testing::Values(
    Suite{{"=2+3", "EXE"}, " 5", false},
    Suite{{"=2+3", "EXE", "btcarre", "EXE"}, " 25", false},
    Suite{{"=2+3", "EXE", "plus", "=1", "EXE", "div", "=4", "EXE"}, " 1.5", false},
    Suite{{"=2+3", "EXE", "RAZ", "=1", "EXE"}, " 1", false},
    Suite{{"C_0", "=9", "EXE", "ANS", "ANS"}, "99", false},
    Suite{{"=(1", "EXE"}, "Erreur saisie: revoir les parenthèses", true},
    Suite{{"=(1", "EXE", "=)", "EXE"}, " 1", false},
    Suite{{"=3/", "EXE"}, "Erreur saisie: incompréhension sur opérateurs: ^ * / + -", true},
    Suite{{"=1/0", "EXE", "ANS"}, "1 / 0", false},
    Suite{{"=9e307*9", "EXE"}, "Calcul impossible", true},
    // An overflow is no answer to go on with.
    Suite{{"=1e999", "EXE", "plus"}, " + ", false},
    Suite{{"=1e999", "EXE", "multip", "=2"}, " * 2", false}));
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(Memoire, Suites, testing::Values(
    Suite{{"=3", "Command1", "Command1", "Command2", "RAZ", "Command3"}, "3", false},
    Suite{{"=2.5", "Command2", "RAZ", "Command3", "plus", "Command3"}, "-2.5 + -2.5", false},
    Suite{{"=1e308", "EXE", "Command1", "Command1"}, " 1E+308", true},
    Suite{{"=1e308", "EXE", "Command2", "Command2", "RAZ", "Command3"}, "-1E+308", false},
    Suite{{"=6", "Command1", "Command4", "Command3"}, "60", false},
    Suite{{"=1e999", "EXE", "Command1", "RAZ", "Command3"}, "0", false}));
// clang-format on

TEST(Calculatrice, ExeShowsPatienceThenTheResult) {
    Calculatrice c = neuve();
    presse(c, {"=6*7"});
    const Appui appui = c.appuie("EXE");
    EXPECT_EQ(appui.affichages, (std::vector<std::string>{std::string(kPatience), " 42"}));
}

TEST(Calculatrice, KeysThatChangeNothingShowNothing) {
    Calculatrice c = neuve();
    for (const char* nom : {"multip", "div", "plus", "Command1", "Command2", "Command4", "inconnue", ""})
        EXPECT_TRUE(c.appuie(nom).affichages.empty()) << nom;
    EXPECT_EQ(c.affichage(), "");
}

TEST(Calculatrice, AngleAndDisplayChoices) {
    Calculatrice c = neuve();
    EXPECT_FALSE(c.radians());
    EXPECT_FALSE(c.scientifique());
    presse(c, {"invsin", "=1", "EXE"});
    EXPECT_EQ(c.affichage(), " 90");
    c.choisitAngle(true);
    presse(c, {"Bcos", "=0", "EXE"});
    EXPECT_EQ(c.affichage(), " 1");
    presse(c, {"invsin", "=1", "EXE"});
    EXPECT_EQ(c.affichage(), " 1.5707963267949");
    EXPECT_EQ(c.choisitAffichage(true).affichages, std::vector<std::string>{"1.5707963E+00"});
    EXPECT_EQ(c.choisitAffichage(false).affichages, std::vector<std::string>{" 1.5707963267949"});
    presse(c, {"=2"});
    EXPECT_TRUE(c.choisitAffichage(true).affichages.empty()) << "an expression is being typed";
    EXPECT_TRUE(c.scientifique());
    presse(c, {"EXE"});
    EXPECT_EQ(c.affichage(), "2.E+00");
}

TEST(Calculatrice, MemoryIsSharedByEveryCalculator) {
    Calculatrice une = neuve();
    presse(une, {"=12", "Command1"});
    Calculatrice autre;
    presse(autre, {"Command3"});
    EXPECT_EQ(autre.affichage(), "12");
}

struct Clavier {
    const char* frappe;
    const char* touche;
};

TEST(Calculatrice, KeyboardKeys) {
    const Clavier cas[] = {
        {"0", "B0"},     {"9", "B9"},        {".", "Bpoint"}, {",", "Bpoint"},  {"e", "BtoEXP"},
        {"D", "BtoEXP"}, {"^", "puissance"}, {"-", "moins"},  {"Enter", "EXE"}, {"Backspace", "EFFACE"},
        {"x", ""},       {"", ""},           {"12", ""},      {"Escape", ""},   {"\xc2\xb5", ""},
        {" ", ""},       {"=", ""},
    };
    for (const Clavier& c : cas) EXPECT_EQ(Calculatrice::toucheDuClavier(c.frappe), c.touche) << c.frappe;
}

bool chevauche(PlaceCalculatrice a, PlaceCalculatrice b) {
    return a.x < b.x + b.largeur && b.x < a.x + a.largeur && a.y < b.y + b.hauteur && b.y < a.y + a.hauteur;
}

TEST(TouchesCalculatrice, EveryKeyHasItsOwnPlaceInsideTheWindow) {
    const auto touches = touchesCalculatrice();
    for (std::size_t i = 0; i < touches.size(); ++i) {
        const ToucheCalculatrice& t = touches[i];
        EXPECT_GE(t.place.x, 0) << t.nom;
        EXPECT_LE(t.place.x + t.place.largeur, kLargeurCalculatrice) << t.nom;
        EXPECT_LE(t.place.y + t.place.hauteur, kHauteurCalculatrice) << t.nom;
        EXPECT_FALSE(chevauche(t.place, kPlaceAffichage)) << t.nom;
        EXPECT_FALSE(chevauche(t.place, kGroupeAngles.place)) << t.nom;
        EXPECT_FALSE(chevauche(t.place, kGroupeAffichage.place)) << t.nom;
        for (std::size_t j = i + 1; j < touches.size(); ++j)
            EXPECT_FALSE(chevauche(t.place, touches[j].place)) << t.nom << " et " << touches[j].nom;
    }
}

TEST(TouchesCalculatrice, NamesLettersAndWordsAreUnique) {
    std::set<std::string_view> noms, lus;
    std::set<char> lettres;
    for (const ToucheCalculatrice& t : touchesCalculatrice()) {
        EXPECT_TRUE(noms.insert(t.nom).second) << t.nom;
        EXPECT_EQ(toucheCalculatrice(t.nom), &t);
        // Something to see: a caption or a drawn power, never both.
        EXPECT_NE(t.legende.empty(), t.base.empty()) << t.nom;
        EXPECT_EQ(t.base.empty(), t.exposant.empty()) << t.nom;
        const bool chiffre = t.nom.size() == 2 && t.nom[0] == 'B' && t.nom[1] >= '0' && t.nom[1] <= '9';
        EXPECT_EQ(t.lu.empty(), chiffre) << t.nom << ": only digits are read as drawn";
        if (!t.lu.empty()) {
            EXPECT_TRUE(lus.insert(t.lu).second) << t.lu;
        }
        if (const auto et = t.legende.find('&'); et != std::string_view::npos) {
            ASSERT_LT(et + 1, t.legende.size()) << t.nom;
            EXPECT_TRUE(lettres.insert(static_cast<char>(std::tolower(t.legende[et + 1]))).second) << t.nom;
        }
        EXPECT_EQ(t.action == ActionTouche::Texte, !t.texte.empty()) << t.nom;
    }
    EXPECT_EQ(toucheCalculatrice("B"), nullptr);
}

// A pupil who says what the key shows (voice control) must be understood:
// what is read ends with what is shown, unless that is only a symbol.
TEST(TouchesCalculatrice, SpokenNamesEndWithWhatTheKeyShows) {
    for (const ToucheCalculatrice& t : touchesCalculatrice()) {
        if (t.lu.empty()) continue;
        std::string montre;
        for (const char c : std::string(t.legende) + std::string(t.base) + std::string(t.exposant))
            if (c != '&') montre += c;
        const bool lettres = std::any_of(montre.begin(), montre.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) ||
                   (static_cast<unsigned char>(c) & 0x80) == 0x80;
        });
        const bool symbole = montre == "÷" || montre == "√‾" || montre == "←";
        if (!lettres || symbole) continue;
        EXPECT_TRUE(t.lu == montre || t.lu.ends_with(", " + montre)) << t.nom << ": " << t.lu;
    }
}

// Every text a key appends is understood by the evaluator, after a number
// and before one where it waits for an operand.
TEST(TouchesCalculatrice, EveryTextKeyGivesAnExpressionTheEvaluatorReads) {
    for (const ToucheCalculatrice& t : touchesCalculatrice()) {
        if (t.action != ActionTouche::Texte || t.nom == "Bpo" || t.nom == "bpf") continue;
        Calculatrice c = neuve();
        presse(c, {"=2", std::string(t.nom), "=1"});
        std::string expression = c.affichage();
        EXPECT_EQ(calcule(expression, false), kCalculOk) << t.nom << ": " << c.affichage();
    }
}

TEST(Calculatrice, BackgroundShades) {
    EXPECT_EQ(nuanceFond(0), 200);
    EXPECT_EQ(nuanceFond(1), 200) << "halves round to even";
    EXPECT_EQ(nuanceFond(3), 198);
    EXPECT_EQ(nuanceFond(kLargeurCalculatrice - 1), 50);
}

}  // namespace
}  // namespace molvane
