#include "calc/calculator.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "calc/eval.h"
#include "common/numbers.h"

namespace molvane {

namespace {

// The calculator's memory, shared by every opening of the window for the
// program's life.
double memoire = 0.0;

const char* const kFormeScientifique = "#.#######E+00";

// Keys in the rows above the digit pad: five to a row.
constexpr PlaceCalculatrice rangee(int colonne, int ligne) {
    return {10 + 57 * colonne, 110 + 34 * ligne, 52, 30};
}
// The digit pad, inside its frame.
constexpr PlaceCalculatrice pave(int colonne, int ligne) {
    return {86 + 40 * colonne, 294 + 32 * ligne, 36, 28};
}
// Unit prefixes on the left of the pad, operators on its right.
constexpr PlaceCalculatrice gauche(int colonne, int ligne) {
    return {12 + 34 * colonne, 294 + 32 * ligne, 30, 28};
}
constexpr PlaceCalculatrice droite(int colonne, int ligne) {
    return {214 + 40 * colonne, 294 + 32 * ligne, 38, 28};
}
// The memory keys, four to their row.
constexpr PlaceCalculatrice memoireRang(int colonne) {
    return {10 + 71 * colonne, 246, 66, 30};
}

using enum ActionTouche;

constexpr ToucheCalculatrice texte(std::string_view nom, std::string_view legende, std::string_view bulle,
                                   std::string_view lu, unsigned regles, std::string_view ajout,
                                   PlaceCalculatrice place) {
    return {nom, legende, bulle, lu, "", "", Texte, regles, ajout, place};
}
constexpr ToucheCalculatrice puissance(std::string_view nom, std::string_view base, std::string_view exposant,
                                       std::string_view lu, unsigned regles, std::string_view ajout,
                                       PlaceCalculatrice place) {
    return {nom, "", "", lu, base, exposant, Texte, regles, ajout, place};
}
constexpr ToucheCalculatrice action(std::string_view nom, std::string_view legende, std::string_view bulle,
                                    std::string_view lu, ActionTouche quoi, PlaceCalculatrice place) {
    return {nom, legende, bulle, lu, "", "", quoi, kSansRegle, "", place};
}

// The digits say themselves; every other key says what it does, then what
// it shows where that is not already said, so that a pupil who names the key
// as seen (voice control) is understood too.
constexpr std::array kTouches{
    texte("B7", "7", "", "", 0, "7", pave(0, 0)),
    texte("B8", "8", "", "", 0, "8", pave(1, 0)),
    texte("B9", "9", "", "", 0, "9", pave(2, 0)),
    texte("B4", "4", "", "", 0, "4", pave(0, 1)),
    texte("B5", "5", "", "", 0, "5", pave(1, 1)),
    texte("B6", "6", "", "", 0, "6", pave(2, 1)),
    texte("B1", "1", "", "", 0, "1", pave(0, 2)),
    texte("B2", "2", "", "", 0, "2", pave(1, 2)),
    texte("B3", "3", "", "", 0, "3", pave(2, 2)),
    texte("B0", "0", "", "", 0, "0", pave(0, 3)),
    texte("Bpoint", ".", "", "point décimal", 0, ".", pave(1, 3)),
    texte("BtoEXP", "EXP", "x 10", "fois dix puissance, EXP", 0, "E", pave(2, 3)),
    texte("kilo", "k", "kilo", "kilo, k", 0, "E+3", gauche(0, 0)),
    texte("mega", "M", "Méga", "méga, M", 0, "E+6", gauche(0, 1)),
    texte("giga", "G", "Giga", "giga, G", 0, "E+9", gauche(0, 2)),
    texte("tera", "T", "Téra", "téra, T", 0, "E+12", gauche(0, 3)),
    texte("mil", "m", "milli", "milli, m", 0, "E-3", gauche(1, 0)),
    texte("micro", "µ", "micro", "micro, µ", 0, "E-6", gauche(1, 1)),
    texte("nano", "n", "nano", "nano, n", 0, "E-9", gauche(1, 2)),
    texte("pico", "p", "pico", "pico, p", 0, "E-12", gauche(1, 3)),
    texte("bsin", "&SIN", "Sinus", "sinus, SIN", kProduit, "sin ", rangee(0, 0)),
    texte("Bcos", "&COS", "Cosinus", "cosinus, COS", kProduit, "cos ", rangee(1, 0)),
    texte("Btan", "&TAN", "Tangente", "tangente, TAN", kProduit, "tan ", rangee(2, 0)),
    texte("Bln", "l&n", "", "logarithme népérien, ln", kProduit, "ln ", rangee(3, 0)),
    texte("Blog", "&Log", "", "logarithme décimal, Log", kProduit, "log ", rangee(4, 0)),
    texte("invsin", "INV S&IN", "Inverse sinus", "inverse du sinus, INV SIN", kProduit, "invSIN ",
          rangee(0, 1)),
    texte("invcos", "INV C&OS", "Inverse cosinus", "inverse du cosinus, INV COS", kProduit, "invCOS ",
          rangee(1, 1)),
    texte("Btoncommande3", "INV T&AN", "Inverse tangente", "inverse de la tangente, INV TAN", kProduit,
          "invTAN ", rangee(2, 1)),
    puissance("Bexp", "e", "x", "exponentielle, ex", kProduit, "exp ", rangee(3, 1)),
    texte("racine", "√‾", "Racine carré", "racine carrée", kProduit, "SQR ", rangee(4, 1)),
    puissance("btcarre", "x", "2", "carré, x2", kReponse, " ^ 2", rangee(0, 2)),
    puissance("puissance", "x", "y", "puissance, xy", kReponse, " ^ ", rangee(1, 2)),
    puissance("B10x", "10", "x", "dix puissance, 10x", kProduit, "10 ^ ", rangee(2, 2)),
    texte("Command5", "1/x", "Inverse", "inverse, 1/x", kProduit, "1 / ", rangee(3, 2)),
    texte("Bpo", "(", "", "parenthèse ouvrante", kProduit, "(", rangee(0, 3)),
    texte("bpf", ")", "", "parenthèse fermante", 0, ")", rangee(1, 3)),
    texte("multip", "x", "", "multiplié par, x", kNonVide | kReponse, " * ", droite(0, 0)),
    texte("div", "÷", "", "divisé par", kNonVide | kReponse, " / ", droite(1, 0)),
    action("pi", "Π", "3.1415927", "pi, Π", Pi, rangee(4, 2)),
    action("plus", "+", "", "plus", Plus, droite(0, 1)),
    action("moins", "-", "", "moins", Moins, droite(1, 1)),
    action("EXE", "EXE", "Calculer", "calculer, EXE", Exe, {214, 358, 78, 60}),
    action("ANS", "ANS", "Dernière réponse", "dernière réponse, ANS", Ans, rangee(4, 3)),
    action("EFFACE", "←", "Effacer dernier caractère", "effacer le dernier caractère", Efface, rangee(2, 3)),
    action("RAZ", "AC", "Tout effacer", "tout effacer, AC", Raz, rangee(3, 3)),
    action("Command1", "M+", "Ajouter à la méoire", "ajouter à la mémoire, M+", MemoirePlus, memoireRang(0)),
    action("Command2", "M-", "Soustraire à la mémoire", "soustraire de la mémoire, M-", MemoireMoins,
           memoireRang(1)),
    action("Command3", "RM", "Rappel mémoire", "rappel de la mémoire, RM", RappelMemoire, memoireRang(2)),
    action("Command4", "CM", "Effacer la mémoire", "effacer la mémoire, CM", EffaceMemoire, memoireRang(3)),
};

// Which key each typed character stands for. A comma is the decimal point
// too: French pupils type 1,5.
struct Frappe {
    std::string_view caractere;
    std::string_view nom;
};
constexpr Frappe kFrappes[] = {
    {".", "Bpoint"}, {",", "Bpoint"}, {"d", "BtoEXP"},    {"e", "BtoEXP"},  {"D", "BtoEXP"},
    {"E", "BtoEXP"}, {"(", "Bpo"},    {")", "bpf"},       {"*", "multip"},  {"+", "plus"},
    {"-", "moins"},  {"/", "div"},    {"^", "puissance"}, {"Enter", "EXE"}, {"Backspace", "EFFACE"},
};

bool blanc(std::string_view texte) {
    return trimmed(texte).empty();
}

}  // namespace

std::span<const ToucheCalculatrice> touchesCalculatrice() {
    return kTouches;
}

const ToucheCalculatrice* toucheCalculatrice(std::string_view nom) {
    for (const ToucheCalculatrice& t : kTouches)
        if (t.nom == nom) return &t;
    return nullptr;
}

int nuanceFond(int x) {
    return roundToInt16(200 - x / 2.0).value_or(0);
}

std::string_view messageErreurCalcul(std::int16_t code) {
    switch (code) {
        case kErreurParentheses:
            return "Erreur saisie: revoir les parenthèses";
        case kErreurOperateurs:
            return "Erreur saisie: incompréhension sur opérateurs: ^ * / + -";
        default:
            return "Calcul impossible";
    }
}

std::string_view Calculatrice::toucheDuClavier(std::string_view frappe) {
    if (frappe.size() == 1 && frappe[0] >= '0' && frappe[0] <= '9') {
        const char nom[] = {'B', frappe[0]};
        return toucheCalculatrice(std::string_view(nom, 2))->nom;
    }
    for (const Frappe& f : kFrappes)
        if (f.caractere == frappe) return f.nom;
    return {};
}

std::string Calculatrice::formate(double valeur, bool blancDevant) const {
    if (scientifique_) return formatPicture(valeur, kFormeScientifique, '.');
    return numberText(valeur, blancDevant);
}

void Calculatrice::montre(Appui& appui, std::string texte) {
    affichage_ = std::move(texte);
    appui.affichages.push_back(affichage_);
}

void Calculatrice::reponseDansSaisie() {
    if (erreur_ == kCalculOk && !reponseIllisible_) saisie_ += trimmed(reponse_);
}

void Calculatrice::ajoute(Appui& appui, std::string_view texte, unsigned regles) {
    if ((regles & kNonVide) && blanc(affichage_)) return;
    if ((regles & kReponse) && blanc(saisie_)) reponseDansSaisie();
    if ((regles & kProduit) && !saisie_.empty() && saisie_.back() != '(' && saisie_.back() != '-' &&
        saisie_.back() != ' ')
        saisie_ += " * ";
    saisie_ += texte;
    montre(appui, saisie_);
}

void Calculatrice::moins(Appui& appui) {
    // A minus after an operator, "(" or an exponent letter is a sign; after a
    // number it is the binary operator.
    if (saisie_.empty() || saisie_.back() == '(' || saisie_.back() == ' ' || saisie_.back() == 'E')
        saisie_ += '-';
    else if (saisie_.back() == '-')
        saisie_ += " -";
    else
        saisie_ += " - ";
    montre(appui, saisie_);
}

void Calculatrice::exe(Appui& appui) {
    erreur_ = kCalculOk;
    reponseIllisible_ = false;
    std::string travail = saisie_;
    const std::string sauvegarde = saisie_;
    montre(appui, std::string(kPatience));

    erreur_ = calcule(travail, radians_);
    std::string resultat;
    if (erreur_ == kCalculOk) {
        const NumberRead lu = readLeadingNumber(travail);
        if (lu.overflow) {
            // The 15-digit text of a value at the edge of the range may not read back.
            resultat = kDepassement;
            reponseIllisible_ = true;
            appui.bip = true;
        } else {
            resultat = formate(lu.value, true);
        }
    } else {
        resultat = messageErreurCalcul(erreur_);
        appui.bip = true;
    }
    montre(appui, resultat);
    reponse_ = resultat;
    // The display keeps the message; the next key goes on with the expression that failed.
    saisie_ = erreur_ == kCalculOk ? std::string() : sauvegarde;
}

void Calculatrice::efface(Appui& appui) {
    if (saisie_.empty()) return;
    const std::size_t n = saisie_.size();
    if (saisie_.back() != ' ') {
        saisie_.pop_back();  // a digit, ".", ")", "E" or the "2" of " ^ 2"
    } else if (n >= 2 && std::string_view("*+/-^").find(saisie_[n - 2]) != std::string_view::npos) {
        saisie_.resize(n - std::min<std::size_t>(3, n));  // an operator token
    } else {
        // A function name and its blank: back to the blank or "(" before the name.
        std::size_t garde = n - 1;
        while (garde > 0 && saisie_[garde - 1] != ' ' && saisie_[garde - 1] != '(') --garde;
        saisie_.resize(garde);
    }
    montre(appui, saisie_);
}

void Calculatrice::ajouteMemoire(Appui& appui, double signe) {
    const double somme = memoire + signe * leadingNumber(affichage_);
    // Beyond the double range the memory keeps its value, so that it stays usable.
    if (std::isfinite(somme))
        memoire = somme;
    else
        appui.bip = true;
}

Appui Calculatrice::appuie(std::string_view nom) {
    Appui appui;
    const ToucheCalculatrice* touche = toucheCalculatrice(nom);
    if (!touche) return appui;
    switch (touche->action) {
        case Texte:
            ajoute(appui, touche->texte, touche->regles);
            break;
        case Pi:
            ajoute(appui, numberText(4 * std::atan(1.0)), kProduit);
            break;
        case Plus:
            if (blanc(affichage_)) break;
            if (blanc(saisie_)) reponseDansSaisie();
            // After an exponent letter the sign belongs to the exponent.
            ajoute(appui, !saisie_.empty() && saisie_.back() == 'E' ? "+" : " + ", kSansRegle);
            break;
        case Moins:
            moins(appui);
            break;
        case Exe:
            exe(appui);
            break;
        case Ans:
            reponseDansSaisie();
            montre(appui, saisie_);
            break;
        case Efface:
            efface(appui);
            break;
        case Raz:
            saisie_.clear();
            montre(appui, saisie_);
            break;
        case MemoirePlus:
            ajouteMemoire(appui, 1.0);
            break;
        case MemoireMoins:
            ajouteMemoire(appui, -1.0);
            break;
        case RappelMemoire:
            saisie_ += formate(memoire, false);
            montre(appui, saisie_);
            break;
        case EffaceMemoire:
            memoire = 0.0;
            break;
    }
    return appui;
}

Appui Calculatrice::choisitAffichage(bool scientifique) {
    scientifique_ = scientifique;
    Appui appui;
    if (!saisie_.empty() || reponseIllisible_) return appui;
    montre(appui, formate(leadingNumber(reponse_), true));
    return appui;
}

}  // namespace molvane
