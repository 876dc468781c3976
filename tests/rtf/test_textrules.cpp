// The text area's words and names, which the desktop and the page both show.
#include <gtest/gtest.h>

#include "exercises/rtf/textrules.h"

namespace molvane::textrules {
namespace {

TEST(TextRules, ASaveWithoutExtensionGetsRtf) {
    struct Case {
        const char* chosen;
        const char* saved;
    };
    for (const Case& c : {Case{"/d/essai", "/d/essai.RTF"}, Case{"/d/essai.rtf", "/d/essai.rtf"},
                          Case{"/d.x/essai", "/d.x/essai.RTF"}, Case{"C:\\d.x\\essai", "C:\\d.x\\essai.RTF"},
                          Case{"essai.txt", "essai.txt"}, Case{"essai", "essai.RTF"}})
        EXPECT_EQ(withRtfExtension(c.chosen), c.saved) << c.chosen;
}

TEST(TextRules, TheOverwriteQuestionNamesTheFileAloneOnItsFirstLine) {
    EXPECT_EQ(overwriteQuestion("essai.rtf"), "Le fichier essai.rtf existe déjà.\r\nEcraser l'ancien?");
}

TEST(TextRules, TheAreaIsNamedByTheFileItShows) {
    struct Case {
        const char* fich;
        const char* name;
    };
    for (const Case& c :
         {Case{"", "Énoncé et réponses"}, Case{"/cours/exo1.E32", "Énoncé et réponses : exo1.E32"},
          Case{"Texte: C:\\eleve\\essai.rtf", "Énoncé et réponses : Texte: essai.rtf"},
          Case{"Texte: essai.rtf", "Énoncé et réponses : Texte: essai.rtf"},
          Case{"Texte: /home/élève/essai.rtf", "Énoncé et réponses : Texte: essai.rtf"}})
        EXPECT_EQ(textAreaName(c.fich), c.name) << c.fich;
}

TEST(TextRules, OnlyAPartialReadHasANotice) {
    using rtf::ReadStatus;
    struct Case {
        ReadStatus status;
        bool nothing;
        bool notice;
    };
    for (const Case& c : {Case{ReadStatus::Ok, false, false}, Case{ReadStatus::NotRtf, true, false},
                          Case{ReadStatus::CannotOpen, true, false}, Case{ReadStatus::TooLarge, true, false},
                          Case{ReadStatus::Truncated, false, true}, Case{ReadStatus::Malformed, false, true},
                          Case{ReadStatus::TooDeep, false, true}, Case{ReadStatus::LimitReached, false, true},
                          Case{ReadStatus::TooLong, false, true}}) {
        EXPECT_EQ(nothingLoaded(c.status), c.nothing) << static_cast<int>(c.status);
        EXPECT_EQ(!readNotice(c.status).empty(), c.notice) << static_cast<int>(c.status);
    }
    // Each partial read says what it lost, in its own words.
    EXPECT_NE(readNotice(ReadStatus::Truncated), readNotice(ReadStatus::TooLong));
}

TEST(TextRules, TheRecoveryQuestionNamesTheTextAndWhenItWasTyped) {
    const CopyTime time{2026, 12, 9, 8, 5};
    struct Case {
        const char* fich;
        const char* what;
    };
    for (const Case& c : {Case{"", ""}, Case{"/cours/exo1.E32", "de l'exercice exo1.E32 "},
                          Case{"Texte: /home/eleve/essai.rtf", "essai.rtf "},
                          Case{"Texte: C:\\eleve\\essai.rtf", "essai.rtf "}})
        EXPECT_EQ(recoveryQuestion(c.fich, time), std::string("Molvane ne s'est pas fermé normalement.\r\n"
                                                              "Récupérer le texte ") +
                                                      c.what + "tapé le 9 décembre 2026 à 08:05\u00a0?")
            << c.fich;
    const char* months[] = {"janvier", "février", "mars",      "avril",   "mai",      "juin",
                            "juillet", "août",    "septembre", "octobre", "novembre", "décembre"};
    for (int month = 1; month <= 12; ++month)
        EXPECT_NE(recoveryQuestion("", {2027, month, 31, 23, 59})
                      .find(std::string("31 ") + months[month - 1] + " 2027 à 23:59"),
                  std::string::npos)
            << month;
}

TEST(TextRules, ACopyFaultSaysWhereAndAsksForASave) {
    EXPECT_EQ(copyFaultText(CopyFaultKind::DiskFull, "/d"),
              "Copie de secours du texte impossible : le disque de /d est plein. Enregistrez votre texte.");
    EXPECT_EQ(
        copyFaultText(CopyFaultKind::Unwritable, "/d"),
        "Copie de secours du texte impossible : le dossier /d est protégé en écriture. Enregistrez votre "
        "texte.");
    EXPECT_EQ(copyFaultText(CopyFaultKind::Other, "le navigateur"),
              "Copie de secours du texte impossible dans le navigateur. Enregistrez votre texte.");
}

TEST(TextRules, ACopyWaitsForAPauseButNeverPastTheLongestDelay) {
    EXPECT_LT(kCopyQuietMs, kCopyLongestMs);
    EXPECT_LE(kCopyLongestMs, 25000);
}

}  // namespace
}  // namespace molvane::textrules
