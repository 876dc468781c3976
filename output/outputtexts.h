// The copy menu's items, the print dialog's and the help window's texts, in
// plain C++ so that the desktop and the page show the very same words.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace molvane {

// "Copier": the menu under the copy button, in its order. A separator has
// "-" for caption; an item with a parent lies in that item's submenu.
struct CopyMenuItem {
    std::string_view name;  // the design name
    std::string_view caption;
    std::string_view parent;  // empty in the menu itself
    // Where a browser refuses the clipboard, the copy is downloaded under this name.
    std::string_view download = "";
};
inline constexpr std::string_view kCopyMenuName = "menucop";
inline constexpr std::string_view kCopyMenuTitle = "menucopie";
// What a screen reader calls the menu and the place that holds it.
inline constexpr std::string_view kCopyMenuSpokenName = "Copier";
inline constexpr std::string_view kCopyMenuRegionName = "Menu Copier";
inline constexpr std::array<CopyMenuItem, 6> kCopyMenuItems{{
    {"cop001", "Copier l'animation", "", "animation.png"},
    {"Cop002", "Copier le graphe", "", "graphe.png"},
    {"s5050", "-", ""},
    {"cop003", "Copier le tableau", ""},
    {"cop0031", "Copier le contenu du tableau", "cop003", "tableau.txt"},
    {"cop0032", "Copier une image du tableau", "cop003", "tableau.png"},
}};
// What the pupil is told when a copy went to the downloads instead.
std::string copyDownloadNotice(std::string_view fileName);

// The measurements' export follows, after a separator of this name.
inline constexpr std::string_view kExportSeparatorName = "sexport";
inline constexpr std::string_view kExportItemName = "exportcsv";

// "Imprimer": the print dialog confimp.
inline constexpr int kMostCopies = 99;
struct PrintDialogTexts {
    std::string_view title = "Imprimer";
    std::string_view options = "Options";
    // The views that can be printed, the first two chosen when the dialog opens.
    std::array<std::string_view, 3> views{"L'animation", "Le graphe", "Le tableau de valeur"};
    int viewsChosen = 2;
    std::string_view ok = "&OK";
    std::string_view printers = "&Imprimantes";
    std::string_view cancel = "&Annuler";
    std::string_view titleLabel = "Titre de la page :";
    std::string_view titleName = "Titre de la page";
    std::string_view defaultTitle = "Quintara - Molvane chimique";
    std::string_view copiesLabel = "Nombre d'exemplaires :";
    std::string_view copiesName = "Nombre d'exemplaires";
    std::string_view printerLabel = "Imprimante:";
    std::string_view printerName = "Imprimante";
    std::string_view printersDescription = "Choisir l'imprimante et ses réglages";
    std::string_view printersTitle = "Choisir l'imprimante";
    std::string_view waiting = "Veuillez patienter quelques instants...";
    // Where the browser, not the dialog, chooses the printer.
    std::string_view browserPrinterNote =
        "L'imprimante se choisit ensuite dans la fenêtre d'impression du navigateur.";
};
inline constexpr PrintDialogTexts kPrintDialogTexts{};

// "Aide": the help window's own words (its pages are the help's).
struct HelpWindowTexts {
    std::string_view title = "Équilibre dynamique - Aide";
    std::string_view contents = "&Contenu";
    std::string_view index = "&Index";
    std::string_view word = "&Mot cherché :";
    std::string_view back = "&Précédent";
    std::string_view forward = "&Suivant";
    std::string_view home = "S&ommaire";
    std::string_view close = "&Fermer";
    // What a screen reader calls its parts.
    std::string_view contentsName = "Sommaire de l'aide";
    std::string_view indexName = "Index de l'aide";
    std::string_view pageName = "Page d'aide";
    std::string_view panesName = "Volets de l'aide";
};
inline constexpr HelpWindowTexts kHelpWindowTexts{};

// "De 1 à 99 exemplaires": what a screen reader adds to the number of copies.
std::string copiesDescription();

}  // namespace molvane
