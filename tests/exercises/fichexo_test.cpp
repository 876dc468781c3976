// The exercise window: how it covers the main window, what it previews of
// each kind of exercise file, and what opening one loads or reports.
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include "tests/exercises/exercisetest.h"

namespace molvane {
namespace {

const QString kReadFailure = QStringLiteral("Vérifier:\r\n- le nom du fichier,\r\n- l'état du lecteur.");

using FichexoTest = ExerciseTest;

TEST_F(FichexoTest, CoversTheMainWindowAndPaintsItsTitle) {
    window->show();
    window->setWindowTitle(QStringLiteral("Équilibre dynamique - /tmp/essai.C11"));
    Fichexo& exercise = showWindow();
    EXPECT_EQ(exercise.geometry(), window->geometry());
    EXPECT_EQ(exercise.windowTitle(), window->windowTitle());
    EXPECT_EQ(exercise.windowState(), window->windowState());
    EXPECT_EQ(exercise.navigator().path() + '/', programFolder());

    // The strip's letters fade from pale yellow on the left to white on the right.
    QWidget* tito = part<QWidget>(exercise, "tito");
    const QImage strip = tito->grab().toImage();
    const QColor ground = strip.pixelColor(2, 2);
    int firstLetter = -1, lastLetter = -1;
    for (int x = 0; x < strip.width(); ++x) {
        for (int y = 0; y < strip.height(); ++y) {
            const QColor c = strip.pixelColor(x, y);
            // Only the letters' fully covered pixels: red and green at their top.
            if (c.red() == 255 && c.green() == 255) {
                if (firstLetter < 0) firstLetter = x;
                lastLetter = x;
            }
        }
    }
    ASSERT_GE(firstLetter, 30);
    const auto blueAt = [&](int x) {
        int best = 0;
        for (int y = 0; y < strip.height(); ++y) {
            const QColor c = strip.pixelColor(x, y);
            if (c.red() == 255 && c.green() == 255) best = std::max(best, c.blue());
        }
        return best;
    };
    EXPECT_LT(blueAt(firstLetter + 2), 180);
    EXPECT_EQ(blueAt(lastLetter - 1), 255);
    EXPECT_NE(ground, QColor(Qt::white));
}

TEST_F(FichexoTest, PreviewShowsEachFieldOfTheFile) {
    struct Case {
        const char* name;
        std::vector<std::string> records;
        QString status;
        std::array<bool, 3> lit;
        QString topics, title;
        int hourglasses;
    };
    const std::vector<Case> cases{
        {"a.E32",
         {"e.rtf", "", "c.rtf", "", "2", "", "Réaction ", " ", "équilibre", "", "  Titre A  ", "3"},
         "Exercice corrigé",
         {true, true, false},
         "Réaction équilibre",
         "Titre A",
         3},
        {"b.E32",
         {"e.rtf", "", "", "", "0", "", "", "", "", "", "B", "0"},
         "Non corrigé",
         {false, false, false},
         "",
         "B",
         0},
        {"c.E32",
         {"e.rtf", "", " ", "c.C11", "5", "", "", "", "", "Qr", "C", "12.5"},
         "Exercice corrigé",
         {true, true, true},
         "Qr",
         "C",
         12},
        {"d.E32", {"e.rtf"}, "Non corrigé", {false, false, false}, "", "", 0},
    };
    for (const Case& c : cases) writeExercise(QString::fromLatin1(c.name), c.records);
    Answers answers({});
    Fichexo& exercise = showWindow();
    QListWidget* files = exercise.navigator().files();
    ASSERT_EQ(files->count(), static_cast<int>(cases.size()));
    auto* label2 = part<QLabel>(exercise, "Label2");
    auto* label3 = part<QLabel>(exercise, "Label3");
    auto* imagalu = part<QLabel>(exercise, "Imagalu");
    auto* text2 = part<QLabel>(exercise, "Text2");
    for (int row = 0; row < files->count(); ++row) {
        const Case& c = cases[static_cast<std::size_t>(row)];
        files->setCurrentRow(row);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(exercise.fichierexo()->text(), programFolder() + QString::fromLatin1(c.name));
        EXPECT_EQ(exercise.exerciseFolder(), programFolder());
        EXPECT_FALSE(part<QLabel>(exercise, "intratro")->isVisible());
        EXPECT_TRUE(part<QPushButton>(exercise, "ouvreur")->isVisible());
        EXPECT_EQ(label2->text(), c.status);
        EXPECT_EQ(label3->text(), c.status);
        EXPECT_EQ(label3->pos(), label2->pos() + QPoint(2, 2));
        for (int k = 0; k < 3; ++k) {
            auto* symbol = part<QLabel>(exercise, QStringLiteral("Image4_%1").arg(k).toLatin1().constData());
            EXPECT_TRUE(symbol->isVisible());
            EXPECT_EQ(symbol->pixmap().toImage() == imagalu->pixmap().toImage(), c.lit[k]) << k;
        }
        EXPECT_EQ(part<QLabel>(exercise, "Text1")->text(), c.topics);
        EXPECT_EQ(part<QLabel>(exercise, "titratexo")->text(), c.title);
        EXPECT_EQ(text2->text(), QString(c.hourglasses, QChar(0x231B)));
    }
    EXPECT_TRUE(answers.seen.empty());
    // The hourglass is drawn, not shown as an empty box.
    EXPECT_TRUE(QFontMetrics(text2->font()).inFont(QChar(0x231B)));
}

TEST_F(FichexoTest, ActivationSelectsTheFirstFileAndGivesTheListTheKeyboard) {
    writeExercise(QStringLiteral("b.E32"), {"e.rtf"});
    writeExercise(QStringLiteral("A.e32"), {"e.rtf", "", "", "", "", "", "", "", "", "", "Premier"});
    writeBytes(QStringLiteral("notes.txt"), "autre");
    window->show();
    Fichexo& exercise = showWindow();
    QApplication::processEvents();
    QListWidget* files = exercise.navigator().files();
    ASSERT_EQ(files->count(), 2);  // the pattern matches names in any case
    EXPECT_EQ(files->currentItem()->text(), QStringLiteral("A.e32"));
    EXPECT_EQ(part<QLabel>(exercise, "titratexo")->text(), QStringLiteral("Premier"));
    EXPECT_EQ(QApplication::focusWidget(), files);
}

// The pupil points at a file by a click or with the arrows, then opens it
// with Enter: whichever file, and whatever the list held as current before
// (the first file is current as soon as the list has the keyboard).
TEST_F(FichexoTest, TheFilePointedAtIsPreviewedAndOpened) {
    const std::vector<QString> names{"a.E32", "b.E32", "c.E32"};
    for (const QString& name : names) {
        const QString letter = name.left(1);
        writeDocument(letter + ".rtf", "Énoncé " + letter);
        writeExercise(name, {(letter + ".rtf").toStdString(), "", "", "", "", "", "", "", "", "",
                             ("Titre " + letter).toStdString()});
    }
    QDir(folder.path()).mkdir(QStringLiteral("sous"));
    enum class Moment { FirstShowing, BackFromAnotherFolder };
    enum class Way { Click, Keys };
    window->show();
    for (const Moment moment : {Moment::FirstShowing, Moment::BackFromAnotherFolder}) {
        for (const Way way : {Way::Click, Way::Keys}) {
            for (int row = 0; row < static_cast<int>(names.size()); ++row) {
                SCOPED_TRACE(testing::Message() << "moment " << static_cast<int>(moment) << ", "
                                                << (way == Way::Click ? "click" : "keys") << ", row " << row);
                text().showIntroduction();
                Answers answers({});
                Fichexo& exercise = showWindow();
                QApplication::processEvents();
                QListWidget* files = exercise.navigator().files();
                ASSERT_EQ(files->count(), static_cast<int>(names.size()));
                if (moment == Moment::BackFromAnotherFolder) {
                    // Into the sub-folder and back with Enter in Dir1, as from the keyboard.
                    QListWidget* folders = exercise.navigator().folders();
                    folders->setFocus();
                    for (const QString& target : {QStringLiteral("sous"), QDir(folder.path()).dirName()}) {
                        const auto found = folders->findItems(target, Qt::MatchEndsWith);
                        ASSERT_FALSE(found.isEmpty());
                        folders->setCurrentItem(found.last());
                        QTest::keyClick(folders, Qt::Key_Return);
                    }
                    ASSERT_EQ(exercise.navigator().path(), folder.path());
                    EXPECT_TRUE(exercise.fichierexo()->text().isEmpty());
                    EXPECT_TRUE(part<QLabel>(exercise, "intratro")->isVisible());
                }
                if (way == Way::Click) {
                    QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                                      files->visualItemRect(files->item(row)).center());
                } else {
                    if (QApplication::focusWidget() != files)
                        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                    ASSERT_EQ(QApplication::focusWidget(), files);
                    for (int k = 0; k < row; ++k) QTest::keyClick(files, Qt::Key_Down);
                }
                QApplication::processEvents();
                const QString letter = names[static_cast<std::size_t>(row)].left(1);
                ASSERT_EQ(files->currentRow(), row);
                EXPECT_TRUE(files->currentItem()->isSelected());
                EXPECT_EQ(files->selectedItems().size(), 1);
                EXPECT_EQ(exercise.fichierexo()->text(), path(names[static_cast<std::size_t>(row)]));
                EXPECT_EQ(part<QLabel>(exercise, "titratexo")->text(), "Titre " + letter);
                EXPECT_FALSE(part<QLabel>(exercise, "intratro")->isVisible());

                QTest::keyClick(files, Qt::Key_Return);
                EXPECT_EQ(shownText(), "Énoncé " + letter);
                EXPECT_EQ(text().fich(), path(names[static_cast<std::size_t>(row)]));
                EXPECT_FALSE(exercise.isVisible());
                EXPECT_TRUE(answers.seen.empty());
                menu().closeWindow();
            }
        }
    }
}

TEST_F(FichexoTest, AnotherFolderShowsNothingOfThePreviousOne) {
    writeExercise(QStringLiteral("a.E32"),
                  {"e.rtf", "", "c.rtf", "", "2", "", "Qr", "", "", "", "Titre", "2"});
    QDir(folder.path()).mkdir(QStringLiteral("vide"));
    Fichexo& exercise = showWindow();
    ASSERT_EQ(part<QLabel>(exercise, "titratexo")->text(), QStringLiteral("Titre"));
    ASSERT_TRUE(exercise.navigator().setPath(path(QStringLiteral("vide"))));
    EXPECT_TRUE(exercise.fichierexo()->text().isEmpty());
    EXPECT_TRUE(part<QLabel>(exercise, "intratro")->isVisible());
    for (const char* name : {"titratexo", "Text1", "Text2", "Label2", "Label3"})
        EXPECT_TRUE(part<QLabel>(exercise, name)->isHidden() ||
                    part<QLabel>(exercise, name)->text().isEmpty())
            << name;
    for (const char* name : {"Label1", "Label4", "Image4_0", "ouvreur"})
        EXPECT_TRUE(part<QWidget>(exercise, name)->isHidden()) << name;
    EXPECT_FALSE(exercise.ouvreur_Click());
}

TEST_F(FichexoTest, AFolderWithoutExercisesSelectsNothing) {
    Fichexo& exercise = showWindow();
    EXPECT_EQ(exercise.navigator().files()->count(), 0);
    EXPECT_TRUE(exercise.fichierexo()->text().isEmpty());
    EXPECT_TRUE(part<QLabel>(exercise, "intratro")->isVisible());
    EXPECT_EQ(part<QLabel>(exercise, "intratro")->text(), QStringLiteral("Sélectionner un fichier"));
    EXPECT_FALSE(part<QPushButton>(exercise, "ouvreur")->isVisible());
    EXPECT_FALSE(exercise.ouvreur_Click());
}

TEST_F(FichexoTest, ImageButtonsHaveTheirPicturesAndTips) {
    Fichexo& exercise = showWindow();
    auto* ouvreur = part<QPushButton>(exercise, "ouvreur");
    auto* image5 = part<QPushButton>(exercise, "Image5");
    EXPECT_EQ(ouvreur->toolTip(), QStringLiteral("Ouvrir l'exercice sélectionné"));
    EXPECT_EQ(image5->toolTip(), QStringLiteral("Fermer sans charger d'exercice"));
    EXPECT_FALSE(ouvreur->icon().isNull());
    EXPECT_FALSE(image5->icon().isNull());
    auto* frame2 = part<QWidget>(exercise, "Frame2");
    EXPECT_FALSE(frame2->isVisible());
    const QRect inside = exercise.rect();
    EXPECT_EQ(frame2->geometry().center().x(), inside.center().x());
    // fichierexo ends where the buttons end, inside the window.
    auto* box = exercise.fichierexo();
    EXPECT_EQ(box->x() + box->width(), image5->x() + image5->width());
    // The buttons say their words, each with its key letter.
    EXPECT_EQ(ouvreur->text(), QStringLiteral("&Ouvrir"));
    EXPECT_EQ(image5->text(), QStringLiteral("&Fermer"));
    EXPECT_TRUE(exercise.rect().contains(ouvreur->geometry()));
    EXPECT_FALSE(ouvreur->geometry().intersects(image5->geometry()));

    // From the keyboard: Enter on the focused button presses it, and only it.
    image5->setFocus();
    QTest::keyClick(image5, Qt::Key_Return);
    EXPECT_FALSE(exercise.isVisible());
    EXPECT_EQ(exercise.result(), QDialog::Rejected);
}

TEST_F(FichexoTest, OpeningLoadsTheStatementAndItsConfiguration) {
    QFile fixture(QStringLiteral(RTF_TEST_DATA "/libreoffice-writer.rtf"));
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    writeBytes(QStringLiteral("docs/Enonce.rtf"), fixture.readAll());
    writeConfiguration(QStringLiteral("docs/depart.C11"), "300");
    // Written on Windows: another case, "\" between folders.
    writeExercise(QStringLiteral("exo.E32"), {"DOCS\\enonce.RTF", "docs\\DEPART.c11", "corr.rtf"});
    Answers answers({});
    ASSERT_TRUE(open(QStringLiteral("exo.E32")));

    EXPECT_TRUE(answers.seen.empty());
    EXPECT_TRUE(shownText().contains(QStringLiteral("Exercice 1 : vers l'équilibre")));
    EXPECT_FALSE(supertext()->isReadOnly());
    auto* fich = control<QLineEdit>("fich");
    EXPECT_EQ(fich->text(), path(QStringLiteral("exo.E32")));
    EXPECT_EQ(fich->cursorPosition(), fich->text().size());
    EXPECT_EQ(fich->toolTip(), fich->text());
    EXPECT_EQ(text().textemodifie(), 0);
    EXPECT_EQ(menu().state().corrige, 1);
    EXPECT_EQ(menu().state().repexo, programFolder());
    EXPECT_EQ(control<QLineEdit>("Text1_0")->text(), QStringLiteral("300"));
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral("Équilibre dynamique - ") + path(QStringLiteral("docs/depart.C11")));
}

TEST_F(FichexoTest, ABlankConfigurationKeepsTheSimulationAsItIs) {
    writeDocument(QStringLiteral("e.rtf"), QStringLiteral("Énoncé sans configuration"));
    writeExercise(QStringLiteral("exo.E32"), {"e.rtf", "   "});
    Answers answers({});
    ASSERT_TRUE(open(QStringLiteral("exo.E32")));
    EXPECT_TRUE(answers.seen.empty());
    EXPECT_EQ(shownText(), QStringLiteral("Énoncé sans configuration"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Équilibre dynamique"));
    EXPECT_EQ(control<QLineEdit>("Text1_0")->text(), QStringLiteral("100"));
    EXPECT_EQ(menu().state().corrige, 0);
}

TEST_F(FichexoTest, FailuresSayWhatWentWrongAndKeepTheWindow) {
    writeDocument(QStringLiteral("e.rtf"), QStringLiteral("Énoncé"));
    writeBytes(QStringLiteral("pas-rtf.rtf"), "texte brut");
    writeExercise(QStringLiteral("absent.E32"), {"manque.rtf"});
    writeExercise(QStringLiteral("brut.E32"), {"pas-rtf.rtf"});
    writeExercise(QStringLiteral("config.E32"), {"e.rtf", "manque.C11"});
    std::string broken = *encodeRecords({"e.rtf"});
    broken[0] = static_cast<char>(200);
    writeBytes(QStringLiteral("casse.E32"), QByteArray(broken.data(), static_cast<qsizetype>(broken.size())));

    struct Case {
        const char* file;
        QString title, text;
        bool opened;
    };
    const std::vector<Case> cases{
        {"absent.E32", "Fichier absent", "Le fichier " + programFolder() + "manque.rtf est introuvable",
         false},
        {"brut.E32", "Fichier absent", "Le fichier " + programFolder() + "pas-rtf.rtf est introuvable",
         false},
        {"casse.E32", "Lecture impossible", kReadFailure, false},
        // A missing configuration ends in the reader's own message; the statement is shown.
        {"config.E32", "Erreur lors du chargement du fichier", "Lecture impossible sur disque", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        text().showIntroduction();
        const QString before = shownText();
        Answers answers({MessageAnswer::Ok});
        Fichexo& exercise = showWindow();
        exercise.navigator().files()->setCurrentItem(
            exercise.navigator().files()->findItems(QString::fromLatin1(c.file), Qt::MatchExactly).first());
        // Whatever the preview has to say waits until the list is done with the move.
        EXPECT_TRUE(answers.seen.empty());
        QApplication::processEvents();
        answers.seen.clear();
        EXPECT_EQ(exercise.ouvreur_Click(), c.opened);
        ASSERT_EQ(answers.seen.size(), 1u);
        EXPECT_EQ(answers.seen[0].title, c.title);
        EXPECT_EQ(answers.seen[0].text, c.text);
        EXPECT_EQ(answers.seen[0].icon, MessageIcon::Error);
        EXPECT_FALSE(part<QWidget>(exercise, "Frame2")->isVisible());
        EXPECT_EQ(exercise.isVisible(), !c.opened);
        if (!c.opened) {
            EXPECT_EQ(shownText(), before);
            EXPECT_TRUE(text().fich().isEmpty());
        }
        menu().closeWindow();
    }
}

TEST_F(FichexoTest, EnterAndDoubleClickOpenTheSelectedFile) {
    writeDocument(QStringLiteral("e.rtf"), QStringLiteral("Énoncé"));
    writeExercise(QStringLiteral("exo.E32"), {"e.rtf"});
    for (const bool enter : {true, false}) {
        text().showIntroduction();
        window->show();
        Fichexo& exercise = showWindow();
        QListWidget* files = exercise.navigator().files();
        if (enter) {
            QTest::keyClick(files, Qt::Key_Return);
        } else {
            const QRect item = files->visualItemRect(files->item(0));
            QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, item.center());
            QTest::mouseDClick(files->viewport(), Qt::LeftButton, {}, item.center());
        }
        EXPECT_EQ(shownText(), QStringLiteral("Énoncé")) << enter;
        EXPECT_FALSE(exercise.isVisible());
        menu().closeWindow();
    }
}

}  // namespace
}  // namespace molvane
