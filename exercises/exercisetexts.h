// What the exercise menu and the exercise window say, and the messages of
// opening an exercise: one table for the desktop and the page.
#pragma once

#include <span>
#include <string>

namespace molvane::exercisetexts {

// An item of the menu "Exercices", in the menu's order. The caption marks
// its mnemonic with "&"; a separator has none.
struct MenuItem {
    const char* name;
    const char* caption;  // nullptr for a separator
    bool inPage;          // the page has no exercise editor
};

std::span<const MenuItem> menuItems();

// The exercise window.
inline constexpr const char* kWindowTitle = "Ouvrir un exercice";
inline constexpr const char* kListHeading = "Liste des exercices:";
inline constexpr const char* kPattern = "*.E32";
inline constexpr const char* kSelectFile = "Sélectionner un fichier";
inline constexpr const char* kFileBoxName = "Fichier de l'exercice choisi";
inline constexpr const char* kOpenCaption = "&Ouvrir";
inline constexpr const char* kOpenTip = "Ouvrir l'exercice sélectionné";
inline constexpr const char* kCloseCaption = "&Fermer";
inline constexpr const char* kCloseTip = "Fermer sans charger d'exercice";
inline constexpr const char* kWaitFirstLine = "Patienter quelques instants";
inline constexpr const char* kWaitSecondLine = " Chargement des fichiers";
inline constexpr const char* kTopicsHeading = "Notions abordées :";
inline constexpr const char* kDifficultyHeading = "Niveau de difficulté :";
inline constexpr const char* kCorrected = "Exercice corrigé";
inline constexpr const char* kNotCorrected = "Non corrigé";
// The page's window lists the shipped exercises, then those the teacher
// gives it.
inline constexpr const char* kOtherExercises = "Ouvrir d'autres exercices…";
inline constexpr const char* kDropHint = "ou déposer ici le dossier d'un exercice";

// What a screen reader says for the symbols the window draws.
std::string difficultySymbolName(int index, bool lit);  // index from 0
std::string hourglassesName(int count);

// Said once an exercise, its correction or the getting-started document is
// shown, naming it.
std::string openedNotice(const std::string& title);
std::string correctionNotice(const std::string& title);
inline constexpr const char* kGettingStartedNotice = "Prise en main ouverte";
inline constexpr const char* kIntroductionNotice = "Exercice fermé : l'introduction est affichée";

// Messages (title, text).
struct Message {
    std::string title;
    std::string text;
};
Message readFailure();
// folder ends with its separator; name as the exercise file stores it.
Message missingDocument(const std::string& folder, const std::string& name);
Message gettingStartedFailure();

// The getting-started file, beside the program.
inline constexpr const char* kGettingStartedFile = "molvane.PEM";

}  // namespace molvane::exercisetexts
