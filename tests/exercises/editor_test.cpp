// The exercise editor driven as a screen reader or a test robot drives it:
// each field found by its accessible name, filled, then "Enregistrer
// l'exercice" pressed; what it writes opens in the exercise window and reads
// back into the same fields. Hostile values are refused and write nothing.
#include <unistd.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "exercises/exerciseeditor.h"
#include "exercises/exercisefile.h"
#include "exercises/exercisepaths.h"
#include "tests/exercises/exercisetest.h"

namespace molvane {
namespace {

QAccessibleInterface* findNamed(QAccessibleInterface* node, const QString& name) {
    if (!node) return nullptr;
    if (node->text(QAccessible::Name) == name && node->object() && node->object()->isWidgetType())
        return node;
    for (int i = 0; i < node->childCount(); ++i)
        if (QAccessibleInterface* found = findNamed(node->child(i), name)) return found;
    return nullptr;
}

// The editor through the accessibility interfaces only.
class Robot {
public:
    explicit Robot(QWidget& window) : window_(window) {}

    QAccessibleInterface* field(const QString& name) const {
        QAccessibleInterface* found = findNamed(QAccessible::queryAccessibleInterface(&window_), name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    void type(const QString& name, const QString& text) const {
        QAccessibleInterface* box = field(name);
        ASSERT_TRUE(box && box->editableTextInterface() && box->textInterface()) << name.toStdString();
        box->editableTextInterface()->replaceText(0, box->textInterface()->characterCount(), text);
    }
    QString text(const QString& name) const {
        QAccessibleInterface* box = field(name);
        if (!box || !box->textInterface()) return QStringLiteral("<pas de texte>");
        return box->textInterface()->text(0, box->textInterface()->characterCount());
    }
    void setNumber(const QString& name, int value) const {
        QAccessibleInterface* box = field(name);
        ASSERT_TRUE(box && box->valueInterface()) << name.toStdString();
        box->valueInterface()->setCurrentValue(value);
    }
    int number(const QString& name) const {
        QAccessibleInterface* box = field(name);
        return box && box->valueInterface() ? box->valueInterface()->currentValue().toInt() : -1;
    }
    void press(const QString& name) const {
        QAccessibleInterface* button = field(name);
        ASSERT_TRUE(button && button->actionInterface()) << name.toStdString();
        const QStringList actions = button->actionInterface()->actionNames();
        const QString action = actions.contains(QAccessibleActionInterface::toggleAction())
                                   ? QAccessibleActionInterface::toggleAction()
                                   : QAccessibleActionInterface::pressAction();
        button->actionInterface()->doAction(action);
    }
    bool checked(const QString& name) const {
        QAccessibleInterface* box = field(name);
        return box && box->state().checked;
    }

private:
    QWidget& window_;
};

class EditorTest : public ExerciseTest {
protected:
    void SetUp() override {
        ExerciseTest::SetUp();
        editor = std::make_unique<ExerciseEditor>(menu().context());
    }
    void TearDown() override { editor.reset(); }

    // A complete exercise whose documents lie outside the exercise's folder.
    void fillValidExercise(const Robot& robot) {
        writeDocument(QStringLiteral("ailleurs/enonce.rtf"), QStringLiteral("Énoncé du jour"));
        writeConfiguration(QStringLiteral("ailleurs/depart.C11"), "250");
        robot.type(QStringLiteral("Dossier de l'exercice"), path(QStringLiteral("classe")));
        robot.type(QStringLiteral("Nom du fichier"), QStringLiteral("equilibre"));
        robot.type(QStringLiteral("Titre"), QStringLiteral("  Équilibre et quotient Qr "));
        robot.type(QStringLiteral("Notions abordées"), topics);
        robot.setNumber(QStringLiteral("Niveau de difficulté"), 2);
        robot.setNumber(QStringLiteral("Durée estimée"), 3);
        robot.type(QStringLiteral("Énoncé"), path(QStringLiteral("ailleurs/enonce.rtf")));
        robot.type(QStringLiteral("Configuration de l'énoncé"), path(QStringLiteral("ailleurs/depart.C11")));
    }
    QStringList written(const QString& sub) const {
        return QDir(path(sub)).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    }

    const QString topics = QStringLiteral(
        "Réaction réversible, chocs efficaces dans les deux sens, équilibre dynamique, quotient de réaction "
        "Qr et constante d'équilibre K, influence des nombres initiaux de particules");
    std::unique_ptr<ExerciseEditor> editor;
};

TEST_F(EditorTest, WrittenThroughItsFieldNamesOpenedInTheExerciseWindowAndReadBack) {
    Robot robot(*editor);
    fillValidExercise(robot);
    // The correction is what the text area holds, with the set-up of the moment.
    supertext()->setReadOnly(false);
    supertext()->setPlainText(QStringLiteral("Corrigé tapé en classe"));
    control<QLineEdit>("Text1_0")->setText(QStringLiteral("300"));
    robot.press(QStringLiteral("Utiliser le texte de la zone exercice pour le corrigé"));
    robot.press(QStringLiteral("Utiliser le réglage actuel pour la configuration du corrigé"));
    EXPECT_FALSE(namedChild<QLineEdit>(*editor, "corrige")->isEnabled());

    // The preview is the exercise window's, filled as typed.
    EXPECT_EQ(namedChild<QLabel>(*editor, "titratexo")->text(), QStringLiteral("Équilibre et quotient Qr"));
    EXPECT_EQ(namedChild<QLabel>(*editor, "Label2")->text(), QStringLiteral("Exercice corrigé"));
    EXPECT_EQ(namedChild<QLabel>(*editor, "Text2")->text(), QString(3, QChar(0x231B)));

    Answers answers({MessageAnswer::Ok});
    robot.press(QStringLiteral("Enregistrer l'exercice"));
    // A press through the accessibility interface is an animated click.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !answers.seen.empty(); }, 2000));
    ASSERT_EQ(answers.seen.size(), 1u);
    EXPECT_EQ(answers.seen[0].title, QStringLiteral("Exercice enregistré"))
        << answers.seen[0].text.toStdString();
    EXPECT_EQ(written(QStringLiteral("classe")),
              QStringList({"depart.C11", "enonce.rtf", "equilibre-corrige.C11", "equilibre-corrige.rtf",
                           "equilibre.E32"}));
    EXPECT_EQ(bytesOf(QStringLiteral("classe/enonce.rtf")), bytesOf(QStringLiteral("ailleurs/enonce.rtf")));

    // The records, as the program reads them.
    const std::string data = bytesOf(QStringLiteral("classe/equilibre.E32")).toStdString();
    const auto record = [&](int n) { return cp1252ToUtf8(decodeRecord(data, n).value_or("?")); };
    EXPECT_EQ(record(1), "enonce.rtf");
    EXPECT_EQ(record(2), "depart.C11");
    EXPECT_EQ(record(3), "equilibre-corrige.rtf");
    EXPECT_EQ(record(4), "equilibre-corrige.C11");
    EXPECT_EQ(record(5), "2");
    EXPECT_EQ(record(11), "Équilibre et quotient Qr");
    EXPECT_EQ(record(12), "3");
    EXPECT_EQ(record(7) + record(8), topics.toStdString());  // cut between two words
    EXPECT_EQ(record(7).back(), ' ');

    // In the exercise window: the same preview, the statement with its set-up, the correction with its.
    control<QLineEdit>("Text1_0")->setText(QStringLiteral("100"));
    supertext()->document()->setModified(false);
    text().setTextemodifie(0);
    Fichexo& exercise = showWindow();
    exercise.navigator().setPath(path(QStringLiteral("classe")));
    const auto items =
        exercise.navigator().files()->findItems(QStringLiteral("equilibre.E32"), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    exercise.navigator().files()->setCurrentItem(items.first());
    for (const char* name : {"titratexo", "Text1", "Label2", "Text2"})
        EXPECT_EQ(part<QLabel>(exercise, name)->text(), namedChild<QLabel>(*editor, name)->text()) << name;
    ASSERT_TRUE(exercise.ouvreur_Click());
    menu().closeWindow();
    EXPECT_EQ(shownText(), QStringLiteral("Énoncé du jour"));
    EXPECT_EQ(control<QLineEdit>("Text1_0")->text(), QStringLiteral("250"));
    EXPECT_EQ(menu().state().corrige, 1);
    menu().opencor_Click();
    EXPECT_EQ(shownText(), QStringLiteral("Corrigé tapé en classe"));
    EXPECT_EQ(control<QLineEdit>("Text1_0")->text(), QStringLiteral("300"));
    EXPECT_EQ(answers.seen.size(), 1u);

    // "Ouvrir un exercice existant…" gives the same fields back in a fresh editor.
    ExerciseEditor again(menu().context());
    ASSERT_TRUE(again.openExisting(path(QStringLiteral("classe/equilibre.E32"))));
    Robot reader(again);
    EXPECT_EQ(reader.text(QStringLiteral("Dossier de l'exercice")), path(QStringLiteral("classe")));
    EXPECT_EQ(reader.text(QStringLiteral("Nom du fichier")), QStringLiteral("equilibre.E32"));
    EXPECT_EQ(reader.text(QStringLiteral("Titre")), QStringLiteral("Équilibre et quotient Qr"));
    EXPECT_EQ(reader.text(QStringLiteral("Notions abordées")), topics);
    EXPECT_EQ(reader.number(QStringLiteral("Niveau de difficulté")), 2);
    EXPECT_EQ(reader.number(QStringLiteral("Durée estimée")), 3);
    EXPECT_EQ(reader.text(QStringLiteral("Énoncé")), path(QStringLiteral("classe/enonce.rtf")));
    EXPECT_EQ(reader.text(QStringLiteral("Corrigé")), path(QStringLiteral("classe/equilibre-corrige.rtf")));
    EXPECT_EQ(reader.text(QStringLiteral("Configuration du corrigé")),
              path(QStringLiteral("classe/equilibre-corrige.C11")));
    EXPECT_FALSE(reader.checked(QStringLiteral("Utiliser le texte de la zone exercice pour le corrigé")));

    // Saved again unchanged from there: nothing to ask, the same bytes.
    const QByteArray before = bytesOf(QStringLiteral("classe/equilibre.E32"));
    Answers quiet({MessageAnswer::Ok});
    ASSERT_TRUE(again.save());
    ASSERT_EQ(quiet.seen.size(), 1u);
    EXPECT_EQ(quiet.seen[0].title, QStringLiteral("Exercice enregistré"));
    EXPECT_EQ(bytesOf(QStringLiteral("classe/equilibre.E32")), before);
}

TEST_F(EditorTest, HostileValuesAreRefusedByFieldAndWriteNothing) {
    Robot robot(*editor);
    fillValidExercise(robot);
    writeBytes(QStringLiteral("fichier"), "pas un dossier");
    const ExerciseDraft valid = editor->draft();
    struct Case {
        const char* what;
        std::function<void()> change;
        QStringList said;  // pieces of the message
        QString folder;    // where nothing may appear
    };
    const QString classe = QStringLiteral("classe");
    const std::vector<Case> cases{
        {"titre de 500 caractères",
         [&] { robot.type(QStringLiteral("Titre"), QString(500, u'x')); },
         {"« Titre »", "500 caractères", "126 au plus", "374"},
         classe},
        {"titre hors du jeu de caractères",
         [&] { robot.type(QStringLiteral("Titre"), QStringLiteral("K ≈ 4,0")); },
         {"« Titre »", "« ≈ »", "Windows-1252"},
         classe},
        {"notions hors du jeu de caractères",
         [&] { robot.type(QStringLiteral("Notions abordées"), QStringLiteral("A → C")); },
         {"« Notions abordées »", "« → »"},
         classe},
        {"notions trop longues",
         [&] { robot.type(QStringLiteral("Notions abordées"), QString(600, u'n')); },
         {"« Notions abordées »", "600 caractères", "504 au plus"},
         classe},
        {"titre vide",
         [&] { robot.type(QStringLiteral("Titre"), QStringLiteral("   ")); },
         {"« Titre » est vide"},
         classe},
        {"énoncé absent",
         [&] { robot.type(QStringLiteral("Énoncé"), path(QStringLiteral("ailleurs/manque.rtf"))); },
         {"« Énoncé »", "manque.rtf", "introuvable"},
         classe},
        {"énoncé non choisi",
         [&] { robot.type(QStringLiteral("Énoncé"), QString()); },
         {"« Énoncé » est vide"},
         classe},
        {"configuration qui n'en est pas une",
         [&] {
             robot.type(QStringLiteral("Configuration de l'énoncé"),
                        path(QStringLiteral("ailleurs/enonce.rtf")));
         },
         {"« Configuration de l'énoncé »", "n'est pas un fichier de configuration"},
         classe},
        {"dossier sous un fichier",
         [&] { robot.type(QStringLiteral("Dossier de l'exercice"), path(QStringLiteral("fichier/classe"))); },
         {"n'accepte pas l'écriture", "rien n'a été enregistré"},
         QStringLiteral("fichier")},
        {"dossier système",
         [&] { robot.type(QStringLiteral("Dossier de l'exercice"), QStringLiteral("/proc")); },
         {"« /proc »", "n'accepte pas l'écriture"},
         classe},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        editor->setDraft(valid);
        c.change();
        const ExerciseDraft typed = editor->draft();
        Answers answers({MessageAnswer::Ok});
        EXPECT_FALSE(editor->save());
        ASSERT_EQ(answers.seen.size(), 1u);
        EXPECT_EQ(answers.seen[0].title, QStringLiteral("Enregistrement impossible"));
        for (const QString& piece : c.said)
            EXPECT_TRUE(answers.seen[0].text.contains(piece))
                << piece.toStdString() << " | " << answers.seen[0].text.toStdString();
        EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("classe"))));
        EXPECT_TRUE(QFileInfo(path(QStringLiteral("fichier"))).isFile());
        // The fields keep what was typed.
        const ExerciseDraft kept = editor->draft();
        EXPECT_EQ(kept.title, typed.title);
        EXPECT_EQ(kept.topics, typed.topics);
        EXPECT_EQ(kept.folder, typed.folder);
        EXPECT_EQ(kept.sources[0].path, typed.sources[0].path);
    }
}

TEST_F(EditorTest, AReadOnlyFolderIsReportedAndKeepsItsFiles) {
    Robot robot(*editor);
    fillValidExercise(robot);
    QDir().mkpath(path(QStringLiteral("classe")));
    writeBytes(QStringLiteral("classe/equilibre.E32"), "ancien");
    ASSERT_TRUE(QFile::setPermissions(path(QStringLiteral("classe")),
                                      QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    if (access(QFile::encodeName(path(QStringLiteral("classe"))).constData(), W_OK) == 0) {
        QFile::setPermissions(path(QStringLiteral("classe")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        GTEST_SKIP() << "permissions do not bind this user";
    }
    Answers answers({MessageAnswer::Yes, MessageAnswer::Ok});
    EXPECT_FALSE(editor->save());
    ASSERT_EQ(answers.seen.size(), 2u);
    EXPECT_TRUE(answers.seen[1].text.contains(QStringLiteral("n'accepte pas l'écriture")));
    EXPECT_EQ(written(QStringLiteral("classe")), QStringList({"equilibre.E32"}));
    EXPECT_EQ(bytesOf(QStringLiteral("classe/equilibre.E32")), QByteArray("ancien"));
    QFile::setPermissions(path(QStringLiteral("classe")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(EditorTest, ADifferentFileOfTheSameNameIsReplacedOnlyWhenTheTeacherSaysSo) {
    Robot robot(*editor);
    fillValidExercise(robot);
    writeDocument(QStringLiteral("classe/enonce.rtf"), QStringLiteral("Un autre énoncé"));
    const QByteArray other = bytesOf(QStringLiteral("classe/enonce.rtf"));
    {
        Answers answers({MessageAnswer::No});
        EXPECT_FALSE(editor->save());
        ASSERT_EQ(answers.seen.size(), 1u);
        EXPECT_EQ(answers.seen[0].buttons, MessageButtons::YesNo);
        EXPECT_TRUE(answers.seen[0].text.contains(QStringLiteral("« enonce.rtf »")));
        EXPECT_TRUE(answers.seen[0].text.contains(QStringLiteral("« Énoncé »")));
        EXPECT_EQ(written(QStringLiteral("classe")), QStringList({"enonce.rtf"}));
        EXPECT_EQ(bytesOf(QStringLiteral("classe/enonce.rtf")), other);
    }
    {
        Answers answers({MessageAnswer::Yes, MessageAnswer::Ok});
        EXPECT_TRUE(editor->save());
        EXPECT_EQ(bytesOf(QStringLiteral("classe/enonce.rtf")),
                  bytesOf(QStringLiteral("ailleurs/enonce.rtf")));
    }
    // Another exercise of the same name is not replaced without asking either.
    ExerciseEditor fresh(menu().context());
    fresh.setDraft(editor->draft());
    Answers answers({MessageAnswer::No});
    EXPECT_FALSE(fresh.save());
    ASSERT_EQ(answers.seen.size(), 1u);
    EXPECT_TRUE(answers.seen[0].text.contains(QStringLiteral("existe déjà")));
}

TEST_F(EditorTest, StartsInTheDocumentsFolderAndOpensFromTheMenu) {
    EXPECT_EQ(editor->draft().folder, ExerciseEditor::defaultFolder());
    EXPECT_NE(withFinalSeparator(ExerciseEditor::defaultFolder()), programFolder());
    editor.reset();

    QString title;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto* shown = qobject_cast<ExerciseEditor*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        title = shown->windowTitle();
        modal = shown->isModal();
        shown->reject();
    });
    menu().item("creeexo")->trigger();
    EXPECT_EQ(title, QStringLiteral("Créer ou modifier un exercice"));
    EXPECT_TRUE(modal);
}

}  // namespace
}  // namespace molvane
