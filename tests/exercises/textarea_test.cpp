// The text area: where the pupil may type, the modified flag, and saving and
// reopening answers without losing a word or a format.
#include <QAbstractFileIconProvider>
#include <QFileDialog>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QtTest/QTest>

#include "exercises/rtf/rtfreader.h"
#include "tests/exercises/exercisetest.h"
#include "tests/support/ordinaryuser.h"

namespace molvane {
namespace {

const QString kDriveAdvice = QStringLiteral("Vérifier l'état du lecteur et le nom du fichier.");

class TextAreaTest : public ExerciseTest {
protected:
    // A statement open, so that typing counts.
    void openStatement() {
        writeDocument(QStringLiteral("e.rtf"), QStringLiteral("Énoncé"));
        writeExercise(QStringLiteral("exo.E32"), {"e.rtf"});
        Answers quiet({});
        ASSERT_TRUE(open(QStringLiteral("exo.E32")));
    }
    void type(const QString& keys) {
        supertext()->setFocus();
        // Key by key, accented letters included, as a keyboard sends them.
        for (const QChar c : keys)
            QTest::sendKeyEvent(QTest::Click, supertext(), Qt::Key_unknown, QString(c), {});
    }
};

TEST_F(TextAreaTest, TheIntroductionTakesNoTypingAStatementDoes) {
    const QString introduction = shownText();
    type(QStringLiteral("xyz"));
    EXPECT_EQ(shownText(), introduction);
    EXPECT_EQ(text().textemodifie(), 0);

    openStatement();
    supertext()->moveCursor(QTextCursor::End);
    type(QStringLiteral(" là"));
    EXPECT_EQ(shownText(), QStringLiteral("Énoncé là"));
    EXPECT_EQ(text().textemodifie(), 1);
    // Undo goes back over the typing only, never to the previous document.
    for (int k = 0; k < 20; ++k) supertext()->undo();
    EXPECT_EQ(shownText(), QStringLiteral("Énoncé"));
}

TEST_F(TextAreaTest, SavingAsksBeforeReplacingAndKeepsTheOldFileOnCancel) {
    openStatement();
    type(QStringLiteral("Ma réponse "));
    QDir(folder.path()).mkdir(QStringLiteral("autre"));
    writeBytes(QStringLiteral("autre/essai.rtf"), "ancien");
    const QString target = path(QStringLiteral("autre/essai.rtf"));

    {
        Answers answers({MessageAnswer::Cancel});
        EXPECT_FALSE(text().saveTo(window.get(), target));
        ASSERT_EQ(answers.seen.size(), 1u);
        EXPECT_EQ(answers.seen[0].title, QStringLiteral("Ecraser le fichier?"));
        EXPECT_EQ(answers.seen[0].text,
                  QStringLiteral("Le fichier essai.rtf existe déjà.\r\nEcraser l'ancien?"));
        EXPECT_EQ(answers.seen[0].icon, MessageIcon::Question);
        EXPECT_EQ(answers.seen[0].buttons, MessageButtons::OkCancel);
        EXPECT_EQ(bytesOf(QStringLiteral("autre/essai.rtf")), QByteArray("ancien"));
        EXPECT_EQ(text().textemodifie(), 1);
    }
    {
        Answers answers({MessageAnswer::Ok});
        EXPECT_TRUE(text().saveTo(window.get(), target));
        EXPECT_TRUE(bytesOf(QStringLiteral("autre/essai.rtf")).startsWith("{\\rtf"));
        EXPECT_EQ(text().textemodifie(), 0);
    }
    // Saved: closing the exercise asks nothing.
    Answers none({});
    menu().Closexo_Click();
    EXPECT_TRUE(none.seen.empty());
}

TEST_F(TextAreaTest, ANameWithoutExtensionGetsRtf) {
    struct Case {
        QString chosen, saved;
    };
    for (const Case& c : {Case{"/d/essai", "/d/essai.RTF"}, Case{"/d/essai.rtf", "/d/essai.rtf"},
                          Case{"/d.x/essai", "/d.x/essai.RTF"}, Case{"/d/essai.txt", "/d/essai.txt"}})
        EXPECT_EQ(TextArea::withRtfExtension(c.chosen), c.saved);
}

TEST_F(TextAreaTest, AFailedSaveSaysSoAndKeepsTheOldFileAndTheWarning) {
    openStatement();
    type(QStringLiteral("Réponse "));
    QDir(folder.path()).mkdir(QStringLiteral("ro"));
    writeBytes(QStringLiteral("ro/essai.RTF"), "{\\rtf1 ancien}");
    const auto readable = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                          QFile::ReadOther | QFile::ExeOther;
    QFile::setPermissions(folder.path(), readable | QFile::WriteOwner);
    QFile::setPermissions(path(QStringLiteral("ro")), readable);
    QFile::setPermissions(path(QStringLiteral("ro/essai.RTF")), readable | QFile::WriteOther);
    Answers answers({MessageAnswer::Ok, MessageAnswer::Ok});
    bool saved = true;
    {
        OrdinaryUser user;
        if (!user.ok()) GTEST_SKIP() << "cannot leave root here";
        saved = text().saveTo(window.get(), path(QStringLiteral("ro/essai.RTF")));
    }
    QFile::setPermissions(path(QStringLiteral("ro")), readable | QFile::WriteOwner);
    EXPECT_FALSE(saved);
    ASSERT_EQ(answers.seen.size(), 2u);
    EXPECT_EQ(answers.seen[1].title, QStringLiteral("Erreur d'écriture."));
    EXPECT_EQ(answers.seen[1].text, kDriveAdvice);
    EXPECT_EQ(answers.seen[1].icon, MessageIcon::Error);
    EXPECT_EQ(bytesOf(QStringLiteral("ro/essai.RTF")), QByteArray("{\\rtf1 ancien}"));
    EXPECT_EQ(text().textemodifie(), 1);
}

TEST_F(TextAreaTest, ReopeningNamesTheTextOrChangesNothing) {
    openStatement();
    menu().state().corrige = 1;
    type(QStringLiteral("Réponse "));
    writeBytes(QStringLiteral("image.rtf"), "GIF89a");
    const QString before = shownText();
    {
        Answers answers({});
        EXPECT_FALSE(text().reopenFrom(window.get(), path(QStringLiteral("image.rtf"))));
        EXPECT_FALSE(text().reopenFrom(window.get(), path(QStringLiteral("absent.rtf"))));
        ASSERT_EQ(answers.seen.size(), 2u);
        for (const MessageShown& shown : answers.seen) {
            EXPECT_EQ(shown.title, QStringLiteral("Erreur de lecture."));
            EXPECT_EQ(shown.text, kDriveAdvice);
        }
        EXPECT_EQ(shownText(), before);
        EXPECT_EQ(text().fich(), path(QStringLiteral("exo.E32")));
        EXPECT_EQ(text().textemodifie(), 1);
        EXPECT_FALSE(supertext()->isReadOnly());
    }
    Answers answers({MessageAnswer::Ok});
    ASSERT_TRUE(text().saveTo(window.get(), path(QStringLiteral("mien.rtf"))));
    text().showIntroduction();
    EXPECT_TRUE(text().reopenFrom(window.get(), path(QStringLiteral("mien.rtf"))));
    EXPECT_EQ(shownText(), before);
    EXPECT_EQ(text().fich(), QStringLiteral("Texte: ") + path(QStringLiteral("mien.rtf")));
    EXPECT_FALSE(supertext()->isReadOnly());
    EXPECT_EQ(text().textemodifie(), 0);
}

// Qt's own dialogs, driven as the pupil would: a name typed, Enter.
void typeInFileDialog(const QString& name, bool* frenchDialog) {
    QTimer::singleShot(0, [name, frenchDialog] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        // The list names its entries' kinds in French too.
        const QFileInfo folderEntry(QDir::tempPath());
        *frenchDialog =
            dialog->nameFilters() == QStringList{QStringLiteral("Texte au format RTF (*.RTF *.rtf)")} &&
            dialog->iconProvider() && dialog->iconProvider()->type(folderEntry) == QStringLiteral("Dossier");
        auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(box, nullptr);
        box->setText(name);
        QTest::keyClick(box, Qt::Key_Return);
    });
}

TEST_F(TextAreaTest, TheMenuSavesAndReopensThroughTheFileDialogs) {
    openStatement();
    type(QStringLiteral("Réponse "));
    menu().state().corrige = 1;
    QDir::setCurrent(folder.path());
    bool filter = false;
    typeInFileDialog(QStringLiteral("essai"), &filter);
    {
        Answers answers({});
        menu().item("savetexte")->trigger();
        EXPECT_TRUE(answers.seen.empty());
    }
    EXPECT_TRUE(filter);
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("essai.RTF"))));
    EXPECT_EQ(text().textemodifie(), 0);

    text().showIntroduction();
    filter = false;
    typeInFileDialog(path(QStringLiteral("essai.RTF")), &filter);
    menu().item("opentexte")->trigger();
    EXPECT_TRUE(filter);
    EXPECT_EQ(shownText(), QStringLiteral("Réponse Énoncé"));
    EXPECT_EQ(text().fich(), QStringLiteral("Texte: ") + path(QStringLiteral("essai.RTF")));
    EXPECT_EQ(menu().state().corrige, 0);
    menu().enableItems();
    EXPECT_FALSE(menu().item("opencor")->isEnabled());
    EXPECT_TRUE(menu().item("Closexo")->isEnabled());
}

// What the pupil typed, with its formats, comes back the same after a save,
// a reopening in a fresh program and a second save.
TEST_F(TextAreaTest, TypedAnswersSurviveSaveAndReopen) {
    openStatement();
    QTextCursor cursor(supertext()->document());
    cursor.movePosition(QTextCursor::End);
    const auto run = [&](const QString& words, auto&& shape) {
        QTextCharFormat format;
        format.setFontFamilies({QStringLiteral("Arial")});
        format.setFontPointSize(11);
        shape(format);
        cursor.insertText(words, format);
    };
    cursor.insertBlock();
    run(QStringLiteral("Réponse : à l'équilibre, "), [](QTextCharFormat&) {});
    run(QStringLiteral("gras "), [](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); });
    run(QStringLiteral("italique "), [](QTextCharFormat& f) { f.setFontItalic(true); });
    run(QStringLiteral("souligné "), [](QTextCharFormat& f) { f.setFontUnderline(true); });
    run(QStringLiteral("rouge "), [](QTextCharFormat& f) { f.setForeground(QColor(200, 0, 0)); });
    run(QStringLiteral("grand"), [](QTextCharFormat& f) { f.setFontPointSize(16); });
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.insertBlock(centred);
    run(QStringLiteral("Qr ≈ 1,0 — fin"), [](QTextCharFormat&) {});
    ASSERT_EQ(text().textemodifie(), 1);
    Answers answers({});
    ASSERT_TRUE(text().saveTo(window.get(), path(QStringLiteral("un.rtf"))));
    const QString typed = shownText();

    window = std::make_unique<MainWindow>(folder.path());
    ASSERT_TRUE(text().reopenFrom(window.get(), path(QStringLiteral("un.rtf"))));
    EXPECT_EQ(shownText(), typed);
    ASSERT_TRUE(text().saveTo(window.get(), path(QStringLiteral("deux.rtf"))));
    EXPECT_EQ(bytesOf(QStringLiteral("deux.rtf")), bytesOf(QStringLiteral("un.rtf")));

    const QTextDocument& document = *supertext()->document();
    const auto formatOf = [&](const QString& words) {
        QTextCursor at(const_cast<QTextDocument*>(&document));
        at.setPosition(static_cast<int>(document.toPlainText().indexOf(words)) + 1);
        return at.charFormat();
    };
    EXPECT_EQ(formatOf(QStringLiteral("gras")).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatOf(QStringLiteral("italique")).fontItalic());
    EXPECT_TRUE(formatOf(QStringLiteral("souligné")).fontUnderline());
    EXPECT_EQ(formatOf(QStringLiteral("rouge")).foreground().color(), QColor(200, 0, 0));
    EXPECT_EQ(formatOf(QStringLiteral("grand")).fontPointSize(), 16);
    EXPECT_EQ(formatOf(QStringLiteral("Réponse")).fontPointSize(), 11);
    EXPECT_EQ(document.lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_TRUE(answers.seen.empty());
}

}  // namespace
}  // namespace molvane

namespace molvane {
namespace {

// A document cut short shows what was read, and says once that the rest is missing.
TEST_F(TextAreaTest, APartlyReadDocumentShowsAndSaysSo) {
    writeBytes(QStringLiteral("coupe.rtf"), "{\\rtf1\\ansi D\\'e9but lu {\\b et la suite");
    writeExercise(QStringLiteral("exo.E32"), {"coupe.rtf", "", "coupe.rtf"});
    const QString notice = rtf::readNotice(rtf::ReadStatus::Truncated);
    ASSERT_FALSE(notice.isEmpty());
    struct Case {
        const char* command;
        std::function<bool()> run;
        bool readOnly;
    };
    const std::vector<Case> cases{
        {"énoncé", [&] { return open(QStringLiteral("exo.E32")); }, false},
        {"correction",
         [&] {
             menu().opencor_Click();
             return true;
         },
         true},
        {"texte", [&] { return text().reopenFrom(window.get(), path(QStringLiteral("coupe.rtf"))); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        Answers answers({MessageAnswer::Ok});
        ASSERT_TRUE(c.run());
        EXPECT_EQ(shownText(), QStringLiteral("Début lu et la suite"));
        EXPECT_EQ(supertext()->isReadOnly(), c.readOnly);
        EXPECT_EQ(text().textemodifie(), 0);
        ASSERT_EQ(answers.seen.size(), 1u);
        EXPECT_EQ(answers.seen[0].title, QStringLiteral("Lecture incomplète"));
        EXPECT_EQ(answers.seen[0].text, notice);
        EXPECT_EQ(answers.seen[0].icon, MessageIcon::Exclamation);
    }
}

}  // namespace
}  // namespace molvane
