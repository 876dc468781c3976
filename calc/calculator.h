// "Machine à calculer" without a window: its keys as a table (names,
// captions, tooltips, what a screen reader says, places), the rules each key
// follows to build the expression, the display's texts and the memory. The
// desktop's dialog and the page's both draw this table and hand every key to
// Calculatrice, so that a key does the same thing wherever it is pressed.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace molvane {

// In the calculator window's pixels.
struct PlaceCalculatrice {
    int x, y, largeur, hauteur;
};

enum class ActionTouche {
    Texte,  // appends its text after its rules
    Pi,     // appends the value of pi, as a product
    Plus,
    Moins,
    Exe,
    Ans,
    Efface,
    Raz,
    MemoirePlus,
    MemoireMoins,
    RappelMemoire,
    EffaceMemoire,
};

// Rules applied before a key appends its text.
constexpr unsigned kSansRegle = 0;
constexpr unsigned kProduit = 1;  // " * " first after a number or ")"
constexpr unsigned kReponse = 2;  // the last answer first while nothing is typed
constexpr unsigned kNonVide = 4;  // nothing while the display is blank

struct ToucheCalculatrice {
    std::string_view nom;      // the key's design name
    std::string_view legende;  // its caption, "&" before the letter Alt presses
    std::string_view bulle;    // its tooltip
    // What a screen reader says: words, never the symbol alone; the letters
    // and digits shown are in them.
    std::string_view lu;
    // Keys drawn as a base and its exponent (x², 10ˣ…) instead of a caption.
    std::string_view base;
    std::string_view exposant;
    ActionTouche action;
    unsigned regles;
    std::string_view texte;  // what Texte keys append
    PlaceCalculatrice place;
};

// Every key, in the order the keyboard's Tab reaches them.
std::span<const ToucheCalculatrice> touchesCalculatrice();
// The key of that design name, or nullptr.
const ToucheCalculatrice* toucheCalculatrice(std::string_view nom);

// The window around the keys.
inline constexpr std::string_view kTitreCalculatrice = "Machine à calculer";
inline constexpr int kLargeurCalculatrice = 302;
inline constexpr int kHauteurCalculatrice = 431;
inline constexpr PlaceCalculatrice kPlaceAffichage{10, 12, 282, 30};
inline constexpr std::string_view kNomAffichage = "Affichage de la calculatrice";
inline constexpr std::string_view kDescriptionAffichage =
    "Tapez le calcul au clavier, Entrée pour calculer, Échap pour fermer ; Tab mène aux touches";

// The two groups of option buttons: their titles, places and options (the
// options placed inside their group, one under the other).
struct GroupeCalculatrice {
    std::string_view nom;  // the options' design name, numbered _0 and _1
    std::string_view titre;
    PlaceCalculatrice place;
    std::string_view options[2];
    int choisie;  // the option chosen when the window opens
};
inline constexpr GroupeCalculatrice kGroupeAngles{
    "angle", "Angles", {10, 46, 136, 58}, {"Degrés", "Radians"}, 0};
inline constexpr GroupeCalculatrice kGroupeAffichage{
    "C", "Affichage", {156, 46, 136, 58}, {"Scientifique", "Standard"}, 1};
constexpr PlaceCalculatrice placeOption(int rang) {
    return {10, 18 + 18 * rang, 120, 18};
}

// The window's painted background: from (200, 250, 250) at its left edge to
// (50, 100, 100) at its right, one shade per column, as (b, b + 50, b + 50).
int nuanceFond(int x);
// The frame drawn around the digit pad: a white line and, one pixel up and
// to the left of it, a cyan one.
inline constexpr PlaceCalculatrice kCadrePave{81, 289, 124, 131};

// The display's messages.
inline constexpr std::string_view kPatience = "    Patience... Calculs en cours.     ";
inline constexpr std::string_view kDepassement = "Dépassement de capacité";
std::string_view messageErreurCalcul(std::int16_t code);

// What a key did.
struct Appui {
    // What the display showed, in order; empty when it was left alone.
    std::vector<std::string> affichages;
    bool bip = false;  // an error: the window beeps
};

class Calculatrice {
public:
    // A key by its design name; an unknown name does nothing.
    Appui appuie(std::string_view nom);
    // "Scientifique" or "Standard" chosen: the last answer is shown again in that form.
    Appui choisitAffichage(bool scientifique);
    void choisitAngle(bool radians) { radians_ = radians; }

    const std::string& affichage() const { return affichage_; }
    bool scientifique() const { return scientifique_; }
    bool radians() const { return radians_; }

    // The key a key of the keyboard stands for: "Enter" and "Backspace" by
    // those names, any other by the one character it types (UTF-8). Empty
    // for a key that presses none: the display takes no other key.
    static std::string_view toucheDuClavier(std::string_view frappe);

private:
    void montre(Appui& appui, std::string texte);
    void ajoute(Appui& appui, std::string_view texte, unsigned regles);
    void reponseDansSaisie();
    void ajouteMemoire(Appui& appui, double signe);
    std::string formate(double valeur, bool blancDevant) const;
    void exe(Appui& appui);
    void moins(Appui& appui);
    void efface(Appui& appui);

    std::string saisie_;             // the expression being typed
    std::string reponse_;            // what the last EXE showed
    std::string affichage_;          // what the display shows
    std::int16_t erreur_ = 0;        // the last EXE's error code, 0 on success
    bool reponseIllisible_ = false;  // the last EXE showed an overflow, not a number
    bool radians_ = kGroupeAngles.choisie == 1;
    bool scientifique_ = kGroupeAffichage.choisie == 0;
};

}  // namespace molvane
