// The folders each kind of file choice remembers, in the user's settings.
#include <gtest/gtest.h>
#if defined(__linux__)
#include <sys/mount.h>
#endif

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "windowkit/filetypes.h"

namespace molvane {
namespace {

class FolderMemoryTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(base.isValid()); }
    QString made(const QString& name) const {
        const QString folder = base.filePath(name);
        EXPECT_TRUE(QDir().mkpath(folder));
        return folder;
    }
    QTemporaryDir base;
};

TEST_F(FolderMemoryTest, EachKindKeepsItsOwnFolderInTheUsersSettings) {
    struct Case {
        FileKind kind;
        const char* chosen;  // a file, or a folder (ending with "/")
        const char* folder;
    };
    const Case cases[] = {{FileKind::Answers, "reponses/tp1.rtf", "reponses"},
                          {FileKind::Configurations, "tp/config/essai.C11", "tp/config"},
                          {FileKind::Exports, "exports/", "exports"},
                          {FileKind::Exercises, "classe/exo 1.E32", "classe"}};
    for (const Case& c : cases) {
        made(QString::fromUtf8(c.folder));
        rememberFolder(c.kind, base.filePath(QString::fromUtf8(c.chosen)));
    }
    for (const Case& c : cases) {
        const QString folder = base.filePath(QString::fromUtf8(c.folder));
        EXPECT_EQ(rememberedFolder(c.kind, false), folder) << c.chosen;
        EXPECT_EQ(rememberedFolder(c.kind, true), folder) << c.chosen;
        EXPECT_EQ(startFolder(c.kind, true, QStringLiteral("/ailleurs")), folder) << c.chosen;
    }
    // Kept where the size of the display is kept, for the next session.
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Molvane"),
                             QStringLiteral("molvane"));
    EXPECT_TRUE(settings.fileName().endsWith(QStringLiteral("/Molvane/molvane.conf")))
        << settings.fileName().toStdString();
    EXPECT_TRUE(QFile::exists(settings.fileName()));
    EXPECT_EQ(settings.value(QStringLiteral("dossiers/configurations")).toString(),
              base.filePath(QStringLiteral("tp/config")));

    // A folder gone since is forgotten: the dialog starts where it would have.
    ASSERT_TRUE(QDir(base.filePath(QStringLiteral("exports"))).removeRecursively());
    EXPECT_EQ(rememberedFolder(FileKind::Exports, false), QString());
    EXPECT_EQ(startFolder(FileKind::Exports, true, QStringLiteral("/ailleurs")), QStringLiteral("/ailleurs"));
    EXPECT_EQ(rememberedFolder(FileKind::Answers, false), base.filePath(QStringLiteral("reponses")));
}

TEST_F(FolderMemoryTest, AFolderThatCannotBeWrittenIsNeverOfferedToSave) {
    const QString folder = made(QStringLiteral("lecture-seule"));
    rememberFolder(FileKind::Exports, folder);
    ASSERT_TRUE(canWriteIn(folder));
    EXPECT_TRUE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty())
        << "the trial leaves nothing behind";
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
    bool mounted = false;
#if defined(__linux__)
    // Permissions do not hold an administrator back; a read-only disk does.
    if (canWriteIn(folder))
        mounted =
            ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", MS_RDONLY, "size=16k") == 0;
#endif
    if (canWriteIn(folder)) GTEST_SKIP() << "no folder here refuses this user";
    EXPECT_EQ(rememberedFolder(FileKind::Exports, false), folder) << "still fine to open from";
    EXPECT_EQ(rememberedFolder(FileKind::Exports, true), QString());
    EXPECT_EQ(startFolder(FileKind::Exports, true, documentsFolder()), documentsFolder());
#if defined(__linux__)
    if (mounted) ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
#endif
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(canWriteIn(base.filePath(QStringLiteral("absent"))));
}

}  // namespace
}  // namespace molvane
