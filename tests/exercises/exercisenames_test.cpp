// The names an exercise file stores, matched against the files of its
// folder as a page or the desktop lists them, and which files are
// exercises.
#include <gtest/gtest.h>

#include "exercises/exercisefile.h"

using namespace molvane;

TEST(StoredNames, MatchTheFolderFilesWithWindowsSeparatorsAndAnyCase) {
    const std::vector<std::string> names{"exo1-enonce.rtf", "Docs/Exo1-Corrige.RTF", "docs/exo1-corrige.rtf",
                                         "config/Exo1.C11", "Énoncé.rtf"};
    struct Case {
        const char* stored;
        int expected;
    };
    const Case cases[] = {
        {"exo1-enonce.rtf", 0},
        {"EXO1-ENONCE.RTF", 0},
        {"docs\\exo1-corrige.rtf", 2},  // the exact name wins over one in another case
        {"Docs\\Exo1-Corrige.RTF", 1},
        {"DOCS/EXO1-CORRIGE.rtf", 1},  // the first of those differing only in case
        {"config\\exo1.c11", 3},
        {"Énoncé.rtf", 4},
        {"énoncé.rtf", -1},  // letters beyond ASCII only as written
        {"exo1-enonce.rtf ", -1},
        {"", -1},
        {"exo1", -1},
        {"enonce.rtf", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(storedNameMatch(c.stored, names), c.expected) << c.stored;
    EXPECT_EQ(storedNameMatch("exo1-enonce.rtf", {}), -1);
}

TEST(StoredNames, ExerciseFilesEndWithTheirExtensionInAnyCase) {
    struct Case {
        const char* name;
        bool exercise;
    };
    const Case cases[] = {
        {"Exo01.E32", true},    {"exo01.e32", true},    {"a.E32", true},         {".E32", false},
        {"E32", false},         {"exo.E32.rtf", false}, {"exo.E3", false},       {"exoE32", false},
        {"molvane.PEM", false}, {"exo.é32", false},     {"dossier/x.e32", true},
    };
    for (const Case& c : cases) EXPECT_EQ(isExerciseFileName(c.name), c.exercise) << c.name;
}
