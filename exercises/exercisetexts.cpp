#include "exercises/exercisetexts.h"

#include <array>

namespace molvane::exercisetexts {

namespace {

constexpr std::array<MenuItem, 12> kItems{{
    {"PRISENMAIN", "&Prise en main", true},
    {"separons1", nullptr, true},
    {"openexo", "&Ouvrir un exercice (énoncé + configuration)", true},
    {"opencor", "&Voir la correction", true},
    {"separons2", nullptr, true},
    {"savetexte", "&Enregistrer le contenu de la fenêtre exercice", true},
    {"opentexte", "&Retrouver un texte", true},
    {"imprimetexte", "&Imprimer le contenu de la fenêtre exercice", true},
    {"separons3", nullptr, true},
    {"Closexo", "&Fermer l'exercice", true},
    {"separons4", nullptr, false},
    {"creeexo", "&Créer ou modifier un exercice…", false},
}};

}  // namespace

std::span<const MenuItem> menuItems() {
    return kItems;
}

std::string difficultySymbolName(int index, bool lit) {
    return "Difficulté, symbole " + std::to_string(index + 1) + " sur 3 : " + (lit ? "allumé" : "éteint");
}

std::string hourglassesName(int count) {
    return std::to_string(count) + " sabliers";
}

std::string openedNotice(const std::string& title) {
    return "Exercice ouvert : " + title;
}

std::string correctionNotice(const std::string& title) {
    return "Correction affichée : " + title;
}

Message readFailure() {
    return {"Lecture impossible", "Vérifier:\r\n- le nom du fichier,\r\n- l'état du lecteur."};
}

Message missingDocument(const std::string& folder, const std::string& name) {
    return {"Fichier absent", "Le fichier " + folder + name + " est introuvable"};
}

Message gettingStartedFailure() {
    return {"Erreur lors du chargement", "Fichier introuvable. Revoir l'installation du logiciel."};
}

}  // namespace molvane::exercisetexts
