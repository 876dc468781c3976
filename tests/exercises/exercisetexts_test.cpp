// The menu "Exercices" and the messages of opening an exercise, as both
// editions read them from one table.
#include "exercises/exercisetexts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace molvane;

TEST(ExerciseMenuTable, ItemsInTheMenuOrderWithOneMnemonicEach) {
    const char* const names[] = {"PRISENMAIN", "separons1", "openexo",   "opencor",
                                 "separons2",  "savetexte", "opentexte", "imprimetexte",
                                 "separons3",  "Closexo",   "separons4", "creeexo"};
    const auto items = exercisetexts::menuItems();
    ASSERT_EQ(items.size(), std::size(names));
    std::set<char> letters;
    for (std::size_t k = 0; k < items.size(); ++k) {
        EXPECT_STREQ(items[k].name, names[k]);
        const bool separator = std::string(names[k]).starts_with("separons");
        EXPECT_EQ(items[k].caption == nullptr, separator) << names[k];
        if (separator) continue;
        const std::string caption = items[k].caption;
        const auto amp = caption.find('&');
        ASSERT_NE(amp, std::string::npos) << caption;
        EXPECT_EQ(caption.find('&', amp + 1), std::string::npos) << caption;
        // Each letter chooses one item only.
        EXPECT_TRUE(letters.insert(static_cast<char>(std::tolower(caption[amp + 1]))).second) << caption;
    }
    // The page has no exercise editor, and no separator left hanging before it.
    for (const auto& item : items)
        EXPECT_EQ(item.inPage, std::string(item.name) != "creeexo" && std::string(item.name) != "separons4")
            << item.name;
}

TEST(ExerciseMessages, NameWhatIsMissing) {
    const auto missing = exercisetexts::missingDocument("dossier/", "exo1-enonce.rtf");
    EXPECT_EQ(missing.title, "Fichier absent");
    EXPECT_EQ(missing.text, "Le fichier dossier/exo1-enonce.rtf est introuvable");
    EXPECT_EQ(exercisetexts::readFailure().text, "Vérifier:\r\n- le nom du fichier,\r\n- l'état du lecteur.");
    EXPECT_EQ(exercisetexts::hourglassesName(3), "3 sabliers");
    EXPECT_EQ(exercisetexts::difficultySymbolName(0, true), "Difficulté, symbole 1 sur 3 : allumé");
    EXPECT_EQ(exercisetexts::difficultySymbolName(2, false), "Difficulté, symbole 3 sur 3 : éteint");
}
