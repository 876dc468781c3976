#include "files/configdialogs.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <memory>

#include "tests/support/fakehost.h"
#include "tests/support/ordinaryuser.h"
#include "windowkit/french.h"
#include "windowkit/messages.h"

using namespace molvane;

namespace {

class ConfigDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        QDir::setCurrent(dir_.path());
        nomfichier().clear();
        setMessageResponder([this](const MessageShown& m) {
            shown_.push_back(m);
            return answer_;
        });
    }
    void TearDown() override { setMessageResponder(nullptr); }

    QString path(const QString& name) const { return dir_.filePath(name); }
    QByteArray bytes(const QString& name) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void save(const QString& typed) {
        Enregistrer dialog(host_, nullptr);
        dialog.nameBox()->setText(typed);
        dialog.Command1_Click();
        lastSaveName_ = dialog.nameBox()->text();
        lastResult_ = dialog.result();
    }

    QTemporaryDir dir_;
    FakeHost host_;
    std::vector<MessageShown> shown_;
    MessageAnswer answer_ = MessageAnswer::Ok;
    QString lastSaveName_;
    int lastResult_ = 0;
};

}  // namespace

TEST_F(ConfigDialogs, SaveNamesWriteWhereTheyShould) {
    QDir(dir_.path()).mkdir(QStringLiteral("TP.2"));
    struct Case {
        QString typed, written;
    } cases[] = {
        {"essai", "essai.C11"},
        {"essai.txt", "essai.C11"},
        {"a.b.c", "a.C11"},
        {dir_.path() + "/TP.2/essai", "TP.2/essai.C11"},
    };
    for (const auto& c : cases) {
        answer_ = MessageAnswer::Yes;
        save(c.typed);
        EXPECT_TRUE(QFile::exists(path(c.written))) << c.typed.toStdString();
        EXPECT_EQ(lastSaveName_, path(c.written));
        EXPECT_EQ(nomfichier(), path(c.written));
        EXPECT_EQ(host_.title, QStringLiteral("Équilibre dynamique - ") + path(c.written));
        EXPECT_EQ(lastResult_, QDialog::Accepted);
    }
    const QByteArray written = bytes(QStringLiteral("essai.C11"));
    ASSERT_EQ(written.size(), 22 * 128);
    EXPECT_EQ(written.mid(0, 9), QByteArray("\x07\x00MOLVANE", 9));
}

TEST_F(ConfigDialogs, SaveWithoutANameAsksForOne) {
    for (const QString& typed : {QString(".C11"), QString("   "), QString()}) {
        shown_.clear();
        save(typed);
        ASSERT_EQ(shown_.size(), 1u);
        EXPECT_EQ(shown_[0].title, QStringLiteral("Enregistrement impossible"));
        EXPECT_EQ(shown_[0].text, QStringLiteral("Il faut donner un nom au fichier!"));
        EXPECT_EQ(lastResult_, QDialog::Rejected);  // still open
    }
    EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(ConfigDialogs, OverwriteIsAskedFirst) {
    save(QStringLiteral("essai"));
    const QByteArray before = bytes(QStringLiteral("essai.C11"));
    host_.values.temperature = 800;
    answer_ = MessageAnswer::No;
    save(QStringLiteral("essai"));
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].title, QStringLiteral("Ce fichier existe déjà!"));
    EXPECT_EQ(shown_[0].text, QStringLiteral("Ecraser le fichier existant?"));
    EXPECT_EQ(bytes(QStringLiteral("essai.C11")), before);
    EXPECT_EQ(lastSaveName_, path(QStringLiteral("essai.C11")));  // the completed name stays
    answer_ = MessageAnswer::Yes;
    save(lastSaveName_);  // ".C11" is cut and put back: the same file
    EXPECT_NE(bytes(QStringLiteral("essai.C11")), before);
}

TEST_F(ConfigDialogs, FailedSaveLeavesTheOldFileIntact) {
    save(QStringLiteral("essai"));
    const QByteArray before = bytes(QStringLiteral("essai.C11"));
    host_.title.clear();
    host_.values.counts[0] = std::string(127, '1');  // cannot be stored
    answer_ = MessageAnswer::Yes;
    shown_.clear();
    save(QStringLiteral("essai"));
    ASSERT_EQ(shown_.size(), 2u);
    EXPECT_EQ(shown_[1].title, QStringLiteral("Enregistrement impossible"));
    EXPECT_EQ(shown_[1].text, QStringLiteral("Ecriture impossible sur disque"));
    EXPECT_EQ(bytes(QStringLiteral("essai.C11")), before);
    EXPECT_TRUE(host_.title.isEmpty());
    EXPECT_EQ(lastResult_, QDialog::Rejected);
}

TEST_F(ConfigDialogs, ReadOnlyFolderGivesTheWriteMessageAndKeepsTheOldFile) {
    QDir(dir_.path()).mkdir(QStringLiteral("ro"));
    const QString old = path(QStringLiteral("ro/essai.C11"));
    {
        QFile f(old);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("ancien contenu"));
    }
    const auto readable = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                          QFile::ReadOther | QFile::ExeOther;
    QFile::setPermissions(dir_.path(), readable | QFile::WriteOwner);
    QFile::setPermissions(path(QStringLiteral("ro")), readable);
    answer_ = MessageAnswer::Yes;  // overwrite
    {
        OrdinaryUser user;
        if (!user.ok()) GTEST_SKIP() << "cannot leave root here";
        save(path(QStringLiteral("ro/essai")));
    }
    ASSERT_FALSE(shown_.empty());
    EXPECT_EQ(shown_.back().title, QStringLiteral("Enregistrement impossible"));
    EXPECT_EQ(shown_.back().text, QStringLiteral("Ecriture impossible sur disque"));
    EXPECT_EQ(bytes(QStringLiteral("ro/essai.C11")), QByteArray("ancien contenu"));
    EXPECT_TRUE(host_.title.isEmpty());
    QFile::setPermissions(path(QStringLiteral("ro")), readable | QFile::WriteOwner);
}

TEST_F(ConfigDialogs, OpenLoadsRestartsAndNamesTheFile) {
    host_.values.temperature = 300;
    host_.values.counts = {"50", "50", "10", "0"};
    save(QStringLiteral("essai"));
    host_.values = ConfigurationValues{};
    host_.title.clear();

    Ouvrir dialog(host_, nullptr);
    ASSERT_EQ(dialog.navigator().files()->count(), 1);
    dialog.navigator().files()->setCurrentRow(0);
    emit dialog.navigator().fileClicked(QStringLiteral("essai.C11"));
    EXPECT_EQ(dialog.ficharge()->text(), path(QStringLiteral("essai.C11")));
    dialog.Command1_Click();
    EXPECT_TRUE(shown_.empty());
    EXPECT_EQ(host_.values.temperature, 300);
    EXPECT_EQ(host_.values.counts[2], "10");
    EXPECT_EQ(host_.restarts, 1);
    EXPECT_EQ(host_.title, QStringLiteral("Équilibre dynamique - ") + path(QStringLiteral("essai.C11")));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(ConfigDialogs, OpenFailures) {
    QFile bad(path(QStringLiteral("bad.C11")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray("\x07\x00molvane", 9));
    bad.close();
    struct Case {
        QString name;
        QString title;
        bool closes;
    } cases[] = {
        {QString(), QString(), false},
        {path(QStringLiteral("absent.C11")), QStringLiteral("impossible d'ouvrir ce fichier"), false},
        {path(QStringLiteral("bad.C11")), QStringLiteral("Fichier non valide"), true},
        {path(QStringLiteral("b*.C11")), QStringLiteral("Erreur lors du chargement du fichier"), true},
    };
    for (const auto& c : cases) {
        shown_.clear();
        Ouvrir dialog(host_, nullptr);
        dialog.ficharge()->setText(c.name);
        dialog.Command1_Click();
        if (c.title.isEmpty()) {
            EXPECT_TRUE(shown_.empty());
        } else {
            ASSERT_EQ(shown_.size(), 1u) << c.name.toStdString();
            EXPECT_EQ(shown_[0].title, c.title);
        }
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.closes) << c.name.toStdString();
        EXPECT_EQ(host_.restarts, 0);
    }
}

TEST_F(ConfigDialogs, LoadedCountsAreBroughtWithinLimits) {
    host_.values.counts = {"900", "900", "0", "0"};
    save(QStringLiteral("trop"));
    host_.values = ConfigurationValues{};
    nomfichier() = path(QStringLiteral("trop.C11"));
    chargeconfig(nullptr, host_);
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(host_.values.counts[0], "500");
    EXPECT_EQ(host_.values.counts[1], "500");
    EXPECT_EQ(host_.restarts, 1);
}

TEST_F(ConfigDialogs, KeyboardTypesTheNameAndEnterSaves) {
    Enregistrer dialog(host_, nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(QApplication::focusWidget(), dialog.nameBox());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("clavier"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("clavier.C11"))));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    Ouvrir open(host_, nullptr);
    open.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&open));
    EXPECT_EQ(QApplication::focusWidget(), open.ficharge());
    QTest::keyClicks(open.ficharge(), path(QStringLiteral("clavier.C11")));
    QTest::keyClick(open.ficharge(), Qt::Key_Return);
    EXPECT_EQ(host_.restarts, 1);
    EXPECT_EQ(open.result(), QDialog::Accepted);
}

TEST_F(ConfigDialogs, FolderChangeKeepsOnlyTheProposedFileName) {
    QDir(dir_.path()).mkdir(QStringLiteral("autre"));
    nomfichier() = path(QStringLiteral("essai.C11"));
    Enregistrer dialog(host_, nullptr);
    EXPECT_EQ(dialog.nameBox()->text(), path(QStringLiteral("essai.C11")));
    ASSERT_TRUE(dialog.navigator().setPath(path(QStringLiteral("autre"))));
    EXPECT_EQ(dialog.nameBox()->text(), QStringLiteral("essai.C11"));
}

TEST_F(ConfigDialogs, EnterRunsOneCommand) {
    QDir(dir_.path()).mkdir(QStringLiteral("sous"));
    {
        QFile existing(path(QStringLiteral("garde.C11")));
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    }
    enum class Ends { Open, Accepted, Rejected };
    struct Case {
        const char* what;
        bool save;          // the save dialog, else the open dialog
        QString typed;      // into the name box
        const char* focus;  // the control Enter is pressed on
        MessageAnswer answer;
        std::vector<std::string> titles;
        Ends ends;
        const char* written;  // the file that must exist afterwards, if any
    };
    const QString absent = path(QStringLiteral("absent.C11"));
    const std::vector<Case> cases{
        {"empty name",
         true,
         "",
         "Text1",
         MessageAnswer::Ok,
         {"Enregistrement impossible"},
         Ends::Open,
         nullptr},
        {"overwrite refused",
         true,
         "garde",
         "Text1",
         MessageAnswer::No,
         {"Ce fichier existe déjà!"},
         Ends::Open,
         nullptr},
        {"name typed", true, "essai", "Text1", MessageAnswer::Ok, {}, Ends::Accepted, "essai.C11"},
        {"drive list", true, "essai2", "Drive1", MessageAnswer::Ok, {}, Ends::Open, nullptr},
        {"ANNULER", true, "essai3", "Command2", MessageAnswer::Ok, {}, Ends::Rejected, nullptr},
        {"ENREGISTRER", true, "essai4", "Command1", MessageAnswer::Ok, {}, Ends::Accepted, "essai4.C11"},
        {"folder list", true, "essai5", "Dir1", MessageAnswer::Ok, {}, Ends::Open, nullptr},
        {"no such file",
         false,
         absent,
         "ficharge",
         MessageAnswer::Ok,
         {"impossible d'ouvrir ce fichier"},
         Ends::Open,
         nullptr},
        {"open's ANNULER", false, absent, "Command2", MessageAnswer::Ok, {}, Ends::Rejected, nullptr},
    };
    for (const Case& c : cases) {
        shown_.clear();
        answer_ = c.answer;
        std::unique_ptr<QDialog> dialog;
        QLineEdit* name = nullptr;
        FolderNavigator* nav = nullptr;
        if (c.save) {
            auto* save = new Enregistrer(host_, nullptr);
            name = save->nameBox();
            nav = &save->navigator();
            dialog.reset(save);
        } else {
            auto* open = new Ouvrir(host_, nullptr);
            name = open->ficharge();
            nav = &open->navigator();
            dialog.reset(open);
        }
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get())) << c.what;
        name->setText(c.typed);
        // In the folder list, the entry under the selection is the subfolder.
        nav->folders()->setCurrentRow(nav->folders()->count() - 1);
        const QString folderBefore = nav->path();
        auto* focus = dialog->findChild<QWidget*>(QLatin1String(c.focus));
        ASSERT_NE(focus, nullptr) << c.focus;
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Return);

        std::vector<std::string> titles;
        for (const MessageShown& m : shown_) titles.push_back(m.title.toStdString());
        EXPECT_EQ(titles, c.titles) << c.what;
        const Ends ends = dialog->isVisible()                     ? Ends::Open
                          : dialog->result() == QDialog::Accepted ? Ends::Accepted
                                                                  : Ends::Rejected;
        EXPECT_EQ(ends, c.ends) << c.what;
        if (c.written) {
            EXPECT_TRUE(QFile::exists(path(QLatin1String(c.written)))) << c.what;
        }
        for (const char* never : {"essai2.C11", "essai3.C11", "essai5.C11"})
            EXPECT_FALSE(QFile::exists(path(QLatin1String(never)))) << c.what;
        const bool opensFolder = QLatin1String(c.focus) == QLatin1String("Dir1");
        EXPECT_EQ(nav->path(), opensFolder ? path(QStringLiteral("sous")) : folderBefore) << c.what;
        EXPECT_EQ(host_.restarts, 0) << c.what;
    }
}

TEST_F(ConfigDialogs, MessagesShowTheNormalPointer) {
    std::vector<bool> waiting;  // whether the hourglass showed with each message
    setMessageResponder([&](const MessageShown& m) {
        shown_.push_back(m);
        waiting.push_back(QGuiApplication::overrideCursor() != nullptr);
        return MessageAnswer::Yes;
    });
    QFile bad(path(QStringLiteral("bad.C11")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray("\x07\x00molvane", 9));
    bad.close();

    // Overwriting, then a write that fails.
    save(QStringLiteral("essai"));
    host_.values.counts[0] = std::string(127, '1');
    save(QStringLiteral("essai"));
    host_.values = ConfigurationValues{};
    // A file that is no configuration, and one that cannot be read.
    for (const QString& name : {path(QStringLiteral("bad.C11")), path(QStringLiteral("b*.C11"))}) {
        Ouvrir dialog(host_, nullptr);
        dialog.ficharge()->setText(name);
        dialog.Command1_Click();
    }
    std::vector<std::string> titles;
    for (const MessageShown& m : shown_) titles.push_back(m.title.toStdString());
    EXPECT_EQ(titles,
              (std::vector<std::string>{"Ce fichier existe déjà!", "Enregistrement impossible",
                                        "Fichier non valide", "Erreur lors du chargement du fichier"}));
    EXPECT_EQ(waiting, std::vector<bool>(titles.size(), false));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the hourglass outlived its command";
}

TEST_F(ConfigDialogs, BothDialogsStartWhereAConfigurationWasLastChosen) {
    QDir(dir_.path()).mkpath(QStringLiteral("TP/seance2"));
    const QString seance = path(QStringLiteral("TP/seance2"));
    // Saved into another folder than the current one.
    save(seance + QStringLiteral("/essai"));
    ASSERT_EQ(lastResult_, QDialog::Accepted);
    QDir::setCurrent(dir_.path());
    {
        Ouvrir open(host_, nullptr);
        EXPECT_EQ(open.navigator().path(), seance);
        ASSERT_EQ(open.navigator().files()->count(), 1);
        Enregistrer again(host_, nullptr);
        EXPECT_EQ(again.navigator().path(), seance);
    }
    // Opened from a third folder: both start there next time.
    QDir(dir_.path()).mkpath(QStringLiteral("autre"));
    ASSERT_TRUE(QFile::copy(seance + QStringLiteral("/essai.C11"), path(QStringLiteral("autre/b.C11"))));
    {
        Ouvrir open(host_, nullptr);
        open.ficharge()->setText(path(QStringLiteral("autre/b.C11")));
        open.Command1_Click();
        ASSERT_EQ(open.result(), QDialog::Accepted);
    }
    QDir::setCurrent(dir_.path());
    EXPECT_EQ(Ouvrir(host_, nullptr).navigator().path(), path(QStringLiteral("autre")));
    EXPECT_EQ(Enregistrer(host_, nullptr).navigator().path(), path(QStringLiteral("autre")));
    // A folder gone since: the current folder, as before.
    ASSERT_TRUE(QDir(path(QStringLiteral("autre"))).removeRecursively());
    EXPECT_EQ(Ouvrir(host_, nullptr).navigator().path(), dir_.path());
}

int main(int argc, char** argv) {
    // Widgets without a display, also when CTest lists the tests.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings of the process's own: the folders the dialogs remember are
    // never the user's.
    const QTemporaryDir config;
    if (config.isValid()) qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    installFrenchTranslation();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
