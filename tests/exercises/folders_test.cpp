// Where the answer's file dialogs start: where answers were last chosen,
// else the program's folder, and never, to save, a folder that refuses it.
#include <gtest/gtest.h>
#if defined(__linux__)
#include <sys/mount.h>
#endif

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <functional>

#include "exercises/textarea.h"
#include "windowkit/filetypes.h"

namespace molvane {
namespace {

class AnswerFoldersTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(base.isValid());
        program = base.filePath(QStringLiteral("programme"));
        QDir().mkpath(program);
        previous = QDir::currentPath();
        QDir::setCurrent(program);
        fich.setText(QStringLiteral("/classe/exo1.E32"));
    }
    void TearDown() override {
        QDir::setCurrent(previous);
#if defined(__linux__)
        if (mounted) ::umount2(QFile::encodeName(program).constData(), MNT_DETACH);
#endif
    }
    // The folder the next dialog shows, then what is done with it.
    QString dialogFolder(const std::function<void()>& command, const QString& choose = {}) {
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            shown = dialog->directory().absolutePath();
            if (choose.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(choose);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        command();
        return shown;
    }
    // Answers chosen once in a folder that is gone since.
    void forgottenFolder() {
        const QString gone = base.filePath(QStringLiteral("parti"));
        QDir().mkpath(gone);
        rememberFolder(FileKind::Answers, gone);
        QDir(gone).removeRecursively();
    }

    QTemporaryDir base;
    QString program, previous;
    bool mounted = false;
    QTextEdit supertext;
    QLineEdit fich;
    TextArea text{&supertext, &fich};
};

TEST_F(AnswerFoldersTest, TheProgramsFolderThenWhereAnswersWereLastChosen) {
    forgottenFolder();
    const auto saving = [&] { text.savetexte(nullptr); };
    const auto opening = [&] { text.opentexte(nullptr); };
    EXPECT_EQ(dialogFolder(saving), program);
    EXPECT_EQ(dialogFolder(opening), program);

    const QString elsewhere = base.filePath(QStringLiteral("reponses"));
    QDir().mkpath(elsewhere);
    supertext.setPlainText(QStringLiteral("Ma réponse"));
    dialogFolder(saving, elsewhere + QStringLiteral("/tp1.rtf"));
    ASSERT_TRUE(QFile::exists(elsewhere + QStringLiteral("/tp1.rtf")));
    EXPECT_EQ(dialogFolder(opening), elsewhere);
    EXPECT_EQ(dialogFolder(saving), elsewhere);
    // Other kinds of file keep their own folders.
    EXPECT_EQ(rememberedFolder(FileKind::Configurations, false), QString());
}

TEST_F(AnswerFoldersTest, AnAnswerIsNeverOfferedAFolderItCannotBeWrittenIn) {
    forgottenFolder();
#if defined(__linux__)
    mounted = ::mount("tmpfs", QFile::encodeName(program).constData(), "tmpfs", MS_RDONLY, "size=16k") == 0;
#endif
    QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
    QDir::setCurrent(program);
    if (canWriteIn(program)) GTEST_SKIP() << "no folder here refuses this user";
    const auto saving = [&] { text.savetexte(nullptr); };
    EXPECT_EQ(dialogFolder(saving), QDir(documentsFolder()).absolutePath());
    // Answers may still be looked for there.
    EXPECT_EQ(dialogFolder([&] { text.opentexte(nullptr); }), program);
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace
}  // namespace molvane
