// The exercise menu: its items and when they are offered, the correction,
// the getting-started document, closing, another program's request, and the
// question asked wherever typed text would be lost.
#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QTimer>

#include "tests/exercises/exercisetest.h"

namespace molvane {
namespace {

using MenuTest = ExerciseTest;

const QString kDiscardTitle = QStringLiteral("Abandon des données?");
const QString kDiscardText = QStringLiteral("Attention: perte des modifications du texte.");

TEST_F(MenuTest, ItemsInTheirOrderWithTheirCaptions) {
    const std::vector<std::pair<QString, QString>> expected{
        {"PRISENMAIN", "Prise en main"},
        {"separons1", ""},
        {"openexo", "Ouvrir un exercice (énoncé + configuration)"},
        {"opencor", "Voir la correction"},
        {"separons2", ""},
        {"savetexte", "Enregistrer le contenu de la fenêtre exercice"},
        {"opentexte", "Retrouver un texte"},
        {"imprimetexte", "Imprimer le contenu de la fenêtre exercice"},
        {"separons3", ""},
        {"Closexo", "Fermer l'exercice"},
        {"separons4", ""},
        {"creeexo", "Créer ou modifier un exercice…"},
    };
    const QList<QAction*> actions = menu().optionexo()->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(expected.size()));
    QSet<QChar> letters;
    for (std::size_t k = 0; k < expected.size(); ++k) {
        const QAction* action = actions[static_cast<qsizetype>(k)];
        EXPECT_EQ(action->objectName(), expected[k].first);
        EXPECT_EQ(action->isSeparator(), expected[k].second.isEmpty());
        if (action->isSeparator()) continue;
        // The words as they are, each item with a key letter of its own.
        EXPECT_EQ(QString(action->text()).remove(u'&'), expected[k].second);
        const qsizetype mark = action->text().indexOf(u'&');
        ASSERT_GE(mark, 0) << expected[k].first.toStdString();
        EXPECT_TRUE(letters.insert(action->text().at(mark + 1).toLower()) != letters.end());
    }
    EXPECT_EQ(letters.size(), 8);
}

TEST_F(MenuTest, CorrectionAndClosingAreOfferedOnlyWhenTheyApply) {
    struct Case {
        int corrige;
        QString fich;
        bool opencor, closexo;
    };
    const std::vector<Case> cases{
        {0, "", false, false},
        {1, "", true, false},
        {0, "/tmp/exo.E32", false, true},
        {1, "Texte: /tmp/essai.rtf", true, true},
    };
    auto* btexo = new QPushButton(QStringLiteral("E&xercices"), window.get());
    btexo->setGeometry(10, 40, 90, 25);
    window->show();
    for (const Case& c : cases) {
        menu().state().corrige = c.corrige;
        text().setFich(c.fich);
        menu().btexo_Click(btexo);
        QMenu* popup = menu().optionexo();
        EXPECT_TRUE(popup->isVisible());
        EXPECT_EQ(popup->pos(), btexo->mapToGlobal(QPoint(0, btexo->height())));
        EXPECT_EQ(popup->activeAction(), menu().item("PRISENMAIN"));
        EXPECT_EQ(menu().item("opencor")->isEnabled(), c.opencor) << c.corrige;
        EXPECT_EQ(menu().item("Closexo")->isEnabled(), c.closexo) << c.fich.toStdString();
        EXPECT_TRUE(menu().item("imprimetexte")->isEnabled());
        popup->hide();

        // Opened any other way, the menu follows the same rules.
        menu().state().corrige = 1 - c.corrige;
        popup->popup(QPoint(0, 0));
        EXPECT_EQ(menu().item("opencor")->isEnabled(), !c.opencor);
        popup->hide();
    }
    // The item prints the text area, and is offered only where printing is.
    bool printed = false;
    text().setPrinter([&](QWidget*, QTextEdit& area) { printed = &area == supertext(); });
    menu().item("imprimetexte")->trigger();
    EXPECT_TRUE(printed);
    text().setPrinter({});
    menu().enableItems();
    EXPECT_FALSE(menu().item("imprimetexte")->isEnabled());
}

TEST_F(MenuTest, CorrectionLoadsReadOnlyWithItsConfiguration) {
    writeDocument(QStringLiteral("e.rtf"), QStringLiteral("Énoncé"));
    // A correction written by another program.
    QFile pandoc(QStringLiteral(RTF_TEST_DATA "/pandoc.rtf"));
    ASSERT_TRUE(pandoc.open(QIODevice::ReadOnly));
    writeBytes(QStringLiteral("Corrections/C1.rtf"), pandoc.readAll());
    writeConfiguration(QStringLiteral("c1.C11"), "250");
    writeExercise(QStringLiteral("exo.E32"), {"e.rtf", "", "corrections/c1.RTF", "C1.c11"});
    writeExercise(QStringLiteral("sans.E32"), {"e.rtf", "", "manque.rtf"});
    Answers answers({MessageAnswer::Ok});
    ASSERT_TRUE(open(QStringLiteral("exo.E32")));
    menu().opencor_Click();
    EXPECT_TRUE(answers.seen.empty());
    EXPECT_TRUE(shownText().startsWith(QStringLiteral("Énoncé\n")));
    EXPECT_TRUE(shownText().contains(QStringLiteral("Deuxième idée : coût 5 € — œuvre")));
    EXPECT_TRUE(supertext()->isReadOnly());
    EXPECT_EQ(control<QLineEdit>("Text1_0")->text(), QStringLiteral("250"));
    EXPECT_EQ(text().fich(), path(QStringLiteral("exo.E32")));
    EXPECT_EQ(text().textemodifie(), 0);

    // A correction the file names but the folder lacks: said, and the statement stays.
    ASSERT_TRUE(open(QStringLiteral("sans.E32")));
    ASSERT_EQ(menu().state().corrige, 1);
    menu().opencor_Click();
    ASSERT_EQ(answers.seen.size(), 1u);
    EXPECT_EQ(answers.seen[0].title, QStringLiteral("Fichier absent"));
    EXPECT_EQ(answers.seen[0].text,
              QStringLiteral("Le fichier ") + programFolder() + QStringLiteral("manque.rtf est introuvable"));
    EXPECT_EQ(shownText(), QStringLiteral("Énoncé"));
    EXPECT_FALSE(supertext()->isReadOnly());
}

TEST_F(MenuTest, GettingStartedOpensFromTheProgramsFolder) {
    Answers answers({MessageAnswer::Ok});
    // No file: nothing happens, nothing is said.
    menu().PRISENMAIN_Click();
    EXPECT_TRUE(answers.seen.empty());
    EXPECT_TRUE(text().fich().isEmpty());

    writeDocument(QStringLiteral("prise/tour.rtf"), QStringLiteral("Découverte du simulateur"));
    writeConfiguration(QStringLiteral("prise/tour.C11"), "400");
    writeExercise(QStringLiteral("MOLVANE.pem"), {"prise/tour.rtf", "prise/tour.C11"});
    menu().state().corrige = 1;
    menu().PRISENMAIN_Click();
    EXPECT_TRUE(answers.seen.empty());
    EXPECT_EQ(shownText(), QStringLiteral("Découverte du simulateur"));
    EXPECT_EQ(text().fich(), path(QStringLiteral("MOLVANE.pem")));
    EXPECT_EQ(menu().state().corrige, 0);
    EXPECT_FALSE(supertext()->isReadOnly());
    EXPECT_EQ(control<QLineEdit>("Text1_0")->text(), QStringLiteral("400"));

    // A file it names is missing: the installation is incomplete.
    writeExercise(QStringLiteral("MOLVANE.pem"), {"prise/absent.rtf"});
    menu().PRISENMAIN_Click();
    ASSERT_EQ(answers.seen.size(), 1u);
    EXPECT_EQ(answers.seen[0].title, QStringLiteral("Erreur lors du chargement"));
    EXPECT_EQ(answers.seen[0].text,
              QStringLiteral("Fichier introuvable. Revoir l'installation du logiciel."));
    EXPECT_EQ(answers.seen[0].icon, MessageIcon::Error);
    EXPECT_EQ(shownText(), QStringLiteral("Découverte du simulateur"));
}

TEST_F(MenuTest, ClosingTheExerciseBringsBackTheIntroduction) {
    const QString introduction = shownText();
    writeDocument(QStringLiteral("e.rtf"), QStringLiteral("Énoncé"));
    writeConfiguration(QStringLiteral("e.C11"), "300");
    writeExercise(QStringLiteral("exo.E32"), {"e.rtf", "e.C11", "c.rtf"});
    Answers answers({});
    ASSERT_TRUE(open(QStringLiteral("exo.E32")));
    menu().Closexo_Click();
    EXPECT_EQ(shownText(), introduction);
    EXPECT_TRUE(supertext()->isReadOnly());
    EXPECT_EQ(supertext()->textCursor().position(), 0);
    EXPECT_TRUE(text().fich().isEmpty());
    EXPECT_EQ(menu().state().corrige, 0);
    // The simulation keeps the exercise's configuration.
    EXPECT_EQ(control<QLineEdit>("Text1_0")->text(), QStringLiteral("300"));
    menu().enableItems();
    EXPECT_FALSE(menu().item("Closexo")->isEnabled());
    EXPECT_FALSE(menu().item("opencor")->isEnabled());
}

// Whether the exercise has a correction comes from its file: records 3 and 4.
// Without one, "Voir la correction" stays disabled and the pupil's typed text
// stays editable and protected; with only a configuration, the correction
// loads it and leaves the text as typed.
TEST_F(MenuTest, AnotherProgramsRequestOpensTheExerciseAtActivation) {
    writeDocument(QStringLiteral("exos/e.rtf"), QStringLiteral("Énoncé demandé"));
    writeDocument(QStringLiteral("exos/c.rtf"), QStringLiteral("Corrigé"));
    writeConfiguration(QStringLiteral("exos/c.C11"), "350");
    writeExercise(QStringLiteral("exos/avec.E32"), {"exos/e.rtf", "", "exos/c.rtf"});
    writeExercise(QStringLiteral("exos/sans.E32"), {"exos/e.rtf", "", "  ", " "});
    writeExercise(QStringLiteral("exos/config.E32"), {"exos/e.rtf", "", "", "exos/c.C11"});
    window->show();
    const RecordFile handOff(window->handOffPath().toStdString());
    struct Case {
        const char* record31;
        int corrige;
        QString afterCorrection;  // the text once "Voir la correction" was chosen
        QString countOfA;
    };
    const std::vector<Case> cases{
        {" exos/avec.E32 ", 1, "Corrigé", "100"},
        {"EXOS/Sans.e32", 0, "Énoncé demandé réponse", "100"},
        {"exos/config.E32", 1, "Énoncé demandé réponse", "350"},
        // After an exercise with a correction, one without.
        {"exos/avec.E32", 1, "Corrigé", "350"},
        {"exos/sans.E32", 0, "Énoncé demandé réponse", "350"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record31);
        text().showIntroduction();
        ASSERT_TRUE(handOff.write(31, c.record31));
        Answers answers({});
        window->Form_Activate();
        EXPECT_TRUE(answers.seen.empty());
        EXPECT_EQ(shownText(), QStringLiteral("Énoncé demandé"));
        EXPECT_EQ(menu().state().repexo, programFolder());
        EXPECT_EQ(menu().state().corrige, c.corrige) << c.record31;
        EXPECT_FALSE(text().fich().isEmpty());
        // The keyboard goes on in the statement, whose name says which exercise it is.
        EXPECT_EQ(window->focusWidget(), supertext());
        EXPECT_TRUE(supertext()->accessibleName().endsWith(QFileInfo(text().fich()).fileName()))
            << supertext()->accessibleName().toStdString();
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(handOff.read(31), std::optional<std::string>(""));
        EXPECT_EQ(menu().openWindow(), nullptr);

        menu().enableItems();
        EXPECT_EQ(menu().item("opencor")->isEnabled(), c.corrige == 1);
        supertext()->moveCursor(QTextCursor::End);
        supertext()->insertPlainText(QStringLiteral(" réponse"));
        Answers asked({MessageAnswer::Ok});
        menu().opencor_Click();
        // The question comes only where there is a correction to show.
        EXPECT_EQ(asked.seen.size(), c.corrige == 1 ? 1u : 0u);
        EXPECT_EQ(shownText(), c.afterCorrection);
        const bool replaced = c.afterCorrection == QStringLiteral("Corrigé");
        EXPECT_EQ(text().textemodifie(), replaced ? 0 : 1);
        EXPECT_EQ(supertext()->isReadOnly(), replaced);
        EXPECT_EQ(control<QLineEdit>("Text1_0")->text(), c.countOfA);
        text().setTextemodifie(0);
    }
}

// Every way of replacing typed text asks first; Annuler keeps the text and the warning.
TEST_F(MenuTest, UnsavedTextIsNeverLostWithoutAsking) {
    writeDocument(QStringLiteral("e.rtf"), QStringLiteral("Énoncé"));
    writeDocument(QStringLiteral("c.rtf"), QStringLiteral("Corrigé"));
    writeDocument(QStringLiteral("tour.rtf"), QStringLiteral("Tour"));
    writeExercise(QStringLiteral("exo.E32"), {"e.rtf", "", "c.rtf"});
    writeExercise(QStringLiteral("molvane.PEM"), {"tour.rtf"});
    const RecordFile handOff(window->handOffPath().toStdString());

    struct Case {
        const char* command;
        std::function<void()> run;
        QString replaced;  // the text once OK was answered
    };
    const std::vector<Case> cases{
        {"correction", [&] { menu().opencor_Click(); }, "Corrigé"},
        {"prise en main", [&] { menu().PRISENMAIN_Click(); }, "Tour"},
        {"fermer", [&] { menu().Closexo_Click(); }, ""},
        {"demande",
         [&] {
             ASSERT_TRUE(handOff.write(31, "exo.E32"));
             window->Form_Activate();
         },
         "Énoncé"},
    };
    for (const Case& c : cases) {
        for (const MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::Ok}) {
            SCOPED_TRACE(c.command);
            {
                Answers quiet({});
                ASSERT_TRUE(open(QStringLiteral("exo.E32")));
            }
            supertext()->moveCursor(QTextCursor::End);
            supertext()->insertPlainText(QStringLiteral(" réponse"));
            ASSERT_EQ(text().textemodifie(), 1);
            Answers answers({answer});
            c.run();
            ASSERT_GE(answers.seen.size(), 1u);
            EXPECT_EQ(answers.seen[0].title, kDiscardTitle);
            EXPECT_EQ(answers.seen[0].text, kDiscardText);
            EXPECT_EQ(answers.seen[0].buttons, MessageButtons::OkCancel);
            if (answer == MessageAnswer::Cancel) {
                EXPECT_EQ(shownText(), QStringLiteral("Énoncé réponse"));
                EXPECT_EQ(text().textemodifie(), 1);
            } else {
                if (!c.replaced.isEmpty()) {
                    EXPECT_EQ(shownText(), c.replaced);
                }
                EXPECT_EQ(text().textemodifie(), 0);
            }
        }
    }
}

TEST_F(MenuTest, TheExerciseWindowLeftWithoutOpeningKeepsTheWarning) {
    writeDocument(QStringLiteral("e.rtf"), QStringLiteral("Énoncé"));
    writeExercise(QStringLiteral("exo.E32"), {"e.rtf"});
    {
        Answers quiet({});
        ASSERT_TRUE(open(QStringLiteral("exo.E32")));
    }
    supertext()->insertPlainText(QStringLiteral("réponse "));
    for (const bool openIt : {false, true}) {
        Answers answers({MessageAnswer::Ok});
        bool shown = false;
        QTimer::singleShot(0, [&] {
            Fichexo* exercise = menu().openWindow();
            ASSERT_NE(exercise, nullptr);
            shown = exercise->isVisible();
            exercise->Form_Activate();
            if (openIt) {
                exercise->ouvreur_Click();
            } else {
                exercise->Image5_Click();
            }
        });
        menu().openexo_Click();
        EXPECT_TRUE(shown);
        ASSERT_EQ(answers.seen.size(), 1u);
        EXPECT_EQ(answers.seen[0].title, kDiscardTitle);
        EXPECT_EQ(text().textemodifie(), openIt ? 0 : 1);
        EXPECT_EQ(shownText(), openIt ? QStringLiteral("Énoncé") : QStringLiteral("réponse Énoncé"));
    }
}

}  // namespace
}  // namespace molvane
