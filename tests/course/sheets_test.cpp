#include "course/generator/sheets.h"

#include <gtest/gtest.h>

#include "common/cp1252.h"

namespace molvane::course {
namespace {

KeyValues keyValues(const std::string& text) {
    KeyValues values;
    std::string error;
    EXPECT_TRUE(parseKeyValues(text, values, error)) << error;
    return values;
}

TEST(KeyValues, LinesCommentsAndFaults) {
    const KeyValues values =
        keyValues("# commentaire\r\n\n  Titre  =  Un titre = avec égal  \r\nDuree=1 min  30 s\n");
    ASSERT_EQ(values.entries.size(), 2u);
    EXPECT_EQ(values.entries[0], (std::pair<std::string, std::string>{"titre", "Un titre = avec égal"}));
    EXPECT_EQ(values.lines[0], 3);
    EXPECT_EQ(*values.find("duree"), "1 min  30 s");

    struct Case {
        const char* text;
        const char* error;
    };
    for (const Case& c : {Case{"titre\n", "ligne 1 : « clé = valeur » attendu"},
                          Case{"\n= valeur\n", "ligne 2 : « clé = valeur » attendu"},
                          Case{"a = 1\nA = 2\n", "ligne 2 : « a » est déjà donné"}}) {
        KeyValues out;
        std::string error;
        EXPECT_FALSE(parseKeyValues(c.text, out, error)) << c.text;
        EXPECT_EQ(error, c.error);
    }
}

TEST(Configuration, DefaultsAreTheWindowsStartUp) {
    ConfigurationValues values;
    std::string error;
    ASSERT_TRUE(parseConfiguration(keyValues(""), values, error)) << error;
    EXPECT_EQ(values.counts, (std::array<std::string, 4>{"100", "100", "0", "0"}));
    EXPECT_EQ(values.sensePositions, (std::array<std::int16_t, 2>{50, 50}));
    EXPECT_EQ(values.temperature, 500);
    EXPECT_EQ(values.durationPosition, 11);
    EXPECT_EQ(values.rowsPosition, 60);
    // the swatches' colours, not zeros: black particles would be a visible fault
    EXPECT_EQ(values.colours, (std::array<std::int32_t, 4>{0xFF0000, 0xFF00FF, 0x0080FF, 0x00C000}));
}

TEST(Configuration, EachKeySetsItsControl) {
    struct Case {
        const char* text;
        void (*check)(const ConfigurationValues&);
    };
    const Case cases[] = {
        {"A = 300\nB = 0\nC = 12\nD = 7",
         [](const ConfigurationValues& v) {
             EXPECT_EQ(v.counts, (std::array<std::string, 4>{"300", "0", "12", "7"}));
         }},
        {"sens 1 = 80 %\nsens 2 = 20",
         [](const ConfigurationValues& v) {
             EXPECT_EQ(v.sensePositions, (std::array<std::int16_t, 2>{20, 80}));
         }},
        {"sens  1 = 100%\nsens 2 = 0 %",
         [](const ConfigurationValues& v) {
             EXPECT_EQ(v.sensePositions, (std::array<std::int16_t, 2>{0, 100}));
         }},
        {"temperature = 200", [](const ConfigurationValues& v) { EXPECT_EQ(v.temperature, 200); }},
        {"duree = 2 h", [](const ConfigurationValues& v) { EXPECT_EQ(v.durationPosition, 1); }},
        {"duree = 1 min 30 s", [](const ConfigurationValues& v) { EXPECT_EQ(v.durationPosition, 8); }},
        {"duree = 10 s", [](const ConfigurationValues& v) { EXPECT_EQ(v.durationPosition, 12); }},
        {"lignes = 101", [](const ConfigurationValues& v) { EXPECT_EQ(v.rowsPosition, 10); }},
        {"lignes = 11", [](const ConfigurationValues& v) { EXPECT_EQ(v.rowsPosition, 100); }},
        {"vue = Tableau",
         [](const ConfigurationValues& v) {
             EXPECT_EQ(v.views, (std::array<bool, 2>{false, true}));
         }},
        {"courbes = A, d",
         [](const ConfigurationValues& v) {
             EXPECT_EQ(v.curves, (std::array<bool, 4>{true, false, false, true}));
         }},
        {"courbes = aucune",
         [](const ConfigurationValues& v) {
             EXPECT_EQ(v.curves, (std::array<bool, 4>{false, false, false, false}));
         }},
        {"conserver = non\nqr = non",
         [](const ConfigurationValues& v) {
             EXPECT_FALSE(v.keepCurves);
             EXPECT_FALSE(v.showQr);
         }},
        {"couleur C = 1 2 3", [](const ConfigurationValues& v) { EXPECT_EQ(v.colours[2], 0x030201); }},
    };
    for (const Case& c : cases) {
        ConfigurationValues values;
        std::string error;
        ASSERT_TRUE(parseConfiguration(keyValues(c.text), values, error)) << c.text << " : " << error;
        c.check(values);
    }
}

TEST(Configuration, RefusesWhatThePanelsRefuse) {
    for (const char* text : {"A = -1",
                             "A = 1 0",
                             "A = 12a",
                             "A = 990\nB = 20",
                             "A = 5\nB = 4",
                             "sens 1 = 101 %",
                             "sens 2 = moitié",
                             "temperature = 199",
                             "temperature = 801",
                             "duree = 25 s",
                             "duree = 1 min 30",
                             "lignes = 10",
                             "lignes = 102",
                             "vue = les deux",
                             "courbes = A E",
                             "conserver = peut-être",
                             "couleur A = 0 0 256",
                             "couleur B = 0 0",
                             "couleur D = 1 2 3 4",
                             "vitesse = 3"}) {
        ConfigurationValues values;
        std::string error;
        EXPECT_FALSE(parseConfiguration(keyValues(text), values, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}

TEST(ExerciseSheet, RequiredFieldsAndNames) {
    const std::string complete =
        "titre = Vers l'équilibre\ndifficulte = 2\nsabliers = 3\nnotions = Qr, K\nenonce = e.html\n";
    ExerciseSheet sheet;
    std::string error;
    ASSERT_TRUE(parseExerciseSheet(keyValues(complete), sheet, error)) << error;
    EXPECT_EQ(sheet.title, "Vers l'équilibre");
    EXPECT_EQ(sheet.difficulty, 2);
    EXPECT_EQ(sheet.hourglasses, 3);
    EXPECT_TRUE(sheet.correction.empty());

    for (const std::string& text : {
             std::string("difficulte = 2\nsabliers = 3\nnotions = Qr\nenonce = e.html\n"),  // no title
             complete + "corrige = mon corrige.html\n",     // a blank in a name
             complete + "configuration = équilibre.txt\n",  // an accent
             complete + "configuration-corrige = c.txt\n",  // without a correction
             std::string("titre = T\ndifficulte = 4\nsabliers = 3\nnotions = Qr\nenonce = e.html\n"),
             std::string("titre = T\ndifficulte = 1\nsabliers = 0\nnotions = Qr\nenonce = e.html\n"),
             std::string("titre = T\ndifficulte = 1\nsabliers = 1\nnotions = Qr\n"),  // no statement
             std::string("titre = ≠\ndifficulte = 1\nsabliers = 1\nnotions = Qr\nenonce = e.html\n"),
             complete + "niveau = 2\n",
         }) {
        EXPECT_FALSE(parseExerciseSheet(keyValues(text), sheet, error)) << text;
    }
    // The getting-started file holds a statement and a configuration only.
    EXPECT_TRUE(
        parseGettingStartedSheet(keyValues("enonce = p.html\nconfiguration = p.txt\n"), sheet, error));
    EXPECT_FALSE(parseGettingStartedSheet(keyValues("enonce = p.html\ntitre = T\n"), sheet, error));
}

TEST(Topics, CutAfterBlanksAndJoinedAsStored) {
    std::string words;
    while (words.size() < 300) words += "équilibre dynamique, ";
    words += "fin";
    const auto pieces = topicPieces(words);
    ASSERT_TRUE(pieces);
    ASSERT_EQ(pieces->size(), 3u);
    std::string joined;
    for (const std::string& piece : *pieces) {
        EXPECT_LE(piece.size(), 126u);
        joined += piece;
    }
    EXPECT_EQ(joined, utf8ToCp1252(words).bytes);
    EXPECT_EQ((*pieces)[0].back(), ' ');  // the blank stays at the end of its piece

    EXPECT_EQ(topicPieces("Qr"), (std::vector<std::string>{"Qr"}));
    EXPECT_FALSE(topicPieces(std::string(4 * 126 + 1, 'x')));  // five pieces
    EXPECT_TRUE(topicPieces(std::string(4 * 126, 'x')));       // four pieces cut without a blank
    EXPECT_FALSE(topicPieces("K ≈ 4"));                        // no Windows-1252 byte
    EXPECT_FALSE(topicPieces("   "));
}

TEST(Records, ExerciseAndGettingStartedLayout) {
    ExerciseSheet sheet;
    sheet.title = "Le titre é";
    sheet.difficulty = 3;
    sheet.hourglasses = 4;
    sheet.topics = "Qr, K";
    const ShippedNames names{"exercices/e.rtf", "exercices/e.C11", "exercices/c.rtf", ""};
    std::string error;
    const auto records = exerciseRecords(sheet, names, error);
    ASSERT_TRUE(records) << error;
    const std::vector<std::string> expected{"exercices/e.rtf",
                                            "exercices/e.C11",
                                            "exercices/c.rtf",
                                            "",
                                            "3",
                                            "",
                                            "Qr, K",
                                            "",
                                            "",
                                            "",
                                            "Le titre \xE9",
                                            "4"};
    EXPECT_EQ(*records, expected);

    EXPECT_EQ(gettingStartedRecords(names, error),
              (std::vector<std::string>{"exercices/e.rtf", "exercices/e.C11"}));
}

TEST(Names, PlainAndShipped) {
    for (const char* name : {"exo1.html", "Exo-2_b.txt"}) EXPECT_TRUE(isPlainFileName(name)) << name;
    for (const char* name : {"", ".cache", "a b.txt", "é.txt", "a/b.txt", "a\\b.txt"})
        EXPECT_FALSE(isPlainFileName(name)) << name;
    EXPECT_EQ(shippedName("exo1-enonce.html", ".rtf"), "exo1-enonce.rtf");
    EXPECT_EQ(shippedName("exo4", ".C11"), "exo4.C11");
}

}  // namespace
}  // namespace molvane::course
