// The help window over the collection built beside the program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpSearchEngine>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "output/helpwindow.h"
#include "windowkit/messages.h"

namespace molvane {
namespace {

const QString kProgramDir = QStringLiteral(MOLVANE_PROGRAM_DIR);
const QStringList kHelpFiles{QStringLiteral("molvane.qhc"), QStringLiteral("molvane.qch")};

// A program folder of its own for each test, holding the help or not: the
// search index is written beside the collection.
class HelpFolder : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    void installHelp() {
        for (const QString& name : kHelpFiles)
            ASSERT_TRUE(QFile::copy(QDir(kProgramDir).filePath(name), QDir(folder.path()).filePath(name)))
                << name.toStdString();
    }

    // Puts the help in the folder and presses "Aide".
    HelpWindow* openHelp() {
        installHelp();
        launcher.Command7_Click();
        return launcher.window();
    }

    QTemporaryDir folder;
    QWidget owner;
    HelpLauncher launcher{&owner, folder.path()};
};

TEST(HelpPath, SeparatorIsAddedOnlyWhenMissing) {
    const std::pair<const char*, const char*> cases[] = {
        {"/opt/molvane", "/opt/molvane/molvane.qhc"},
        {"/opt/molvane/", "/opt/molvane/molvane.qhc"},
        {"/", "/molvane.qhc"},
        {"molvane", "molvane/molvane.qhc"},
    };
    for (const auto& [folder, path] : cases)
        EXPECT_EQ(helpCollectionPath(QString::fromLatin1(folder)), QString::fromLatin1(path)) << folder;
}

TEST(HelpPlacement, BesideTheVesselWhenThereIsRoomElseOverTheWindow) {
    const QSize preferred(780, 540);
    struct Case {
        const char* screen;
        QRect main, area, expected;
    };
    const Case cases[] = {
        {"1024 x 768", QRect(112, 84, 800, 600), QRect(0, 0, 1024, 768), QRect(152, 124, 780, 540)},
        {"1280 x 1024", QRect(240, 212, 800, 600), QRect(0, 0, 1280, 1024), QRect(670, 212, 610, 540)},
        {"1920 x 1080", QRect(560, 240, 800, 600), QRect(0, 0, 1920, 1080), QRect(990, 240, 780, 540)},
        {"short screen", QRect(560, 700, 800, 300), QRect(0, 0, 1920, 1000), QRect(990, 700, 780, 300)},
    };
    for (const Case& c : cases) EXPECT_EQ(helpPlacement(c.main, c.area, preferred), c.expected) << c.screen;
}

TEST_F(HelpFolder, MissingHelpOpensNothingAndSaysNothing) {
    int shown = 0;
    setMessageResponder([&shown](const MessageShown&) {
        ++shown;
        return MessageAnswer::Ok;
    });
    launcher.Command7_Click();
    setMessageResponder({});
    EXPECT_EQ(launcher.window(), nullptr);
    EXPECT_EQ(shown, 0);
    EXPECT_TRUE(owner.findChildren<HelpWindow*>().isEmpty());
}

TEST_F(HelpFolder, CollectionWithoutItsPagesCountsAsMissing) {
    ASSERT_TRUE(
        QFile::copy(QDir(kProgramDir).filePath(kHelpFiles[0]), QDir(folder.path()).filePath(kHelpFiles[0])));
    HelpLauncher withSeparator(&owner, folder.path() + QLatin1Char('/'));
    withSeparator.Command7_Click();
    EXPECT_EQ(withSeparator.window(), nullptr);
}

TEST_F(HelpFolder, OpensAtTheContentsPageWithoutBlockingTheProgram) {
    HelpWindow* help = openHelp();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->isWindow());
    EXPECT_EQ(help->windowModality(), Qt::NonModal);
    EXPECT_EQ(help->windowTitle(), QStringLiteral("Équilibre dynamique - Aide"));
    EXPECT_EQ(help->browser()->source(), QUrl(kHelpContentsPage));
    EXPECT_EQ(help->tabs()->currentIndex(), 0);
    EXPECT_TRUE(help->browser()->toPlainText().contains(QStringLiteral("Ce que montre le simulateur")));
}

TEST_F(HelpFolder, SecondAideRaisesTheOpenWindowWhereItWas) {
    HelpWindow* help = openHelp();
    ASSERT_NE(help, nullptr);
    const QUrl page(QStringLiteral("qthelp://fr.molvane.aide/aide/loupe.html"));
    help->browser()->setSource(page);
    help->hide();
    launcher.Command7_Click();
    EXPECT_EQ(launcher.window(), help);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->browser()->source(), page);
    EXPECT_EQ(owner.findChildren<HelpWindow*>().size(), 1);
}

TEST_F(HelpFolder, ClosedHelpOpensAgainAtTheContentsPage) {
    ASSERT_NE(openHelp(), nullptr);
    launcher.window()->browser()->setSource(QUrl(QStringLiteral("qthelp://fr.molvane.aide/aide/loupe.html")));
    ASSERT_TRUE(QTest::qWaitForWindowActive(launcher.window()));
    QTest::keyClick(launcher.window(), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([this] { return launcher.window() == nullptr; }));
    launcher.Command7_Click();
    ASSERT_NE(launcher.window(), nullptr);
    EXPECT_EQ(launcher.window()->browser()->source(), QUrl(kHelpContentsPage));
}

TEST_F(HelpFolder, ContentsListEveryPageAndOpenThem) {
    HelpWindow* help = openHelp();
    ASSERT_NE(help, nullptr);
    QHelpContentModel* model = help->engine().contentModel();
    ASSERT_TRUE(QTest::qWaitFor([model] { return !model->isCreatingContents() && model->rowCount() > 0; }));
    const QModelIndex top = model->index(0, 0);
    EXPECT_EQ(model->data(top, Qt::DisplayRole).toString(), QStringLiteral("Sommaire"));
    EXPECT_GE(model->rowCount(top), 12);
    // Activating a title shows its page.
    QHelpContentWidget* contents = help->engine().contentWidget();
    const QModelIndex loupe =
        contents->indexOf(QUrl(QStringLiteral("qthelp://fr.molvane.aide/aide/loupe.html")));
    ASSERT_TRUE(loupe.isValid());
    emit contents->activated(loupe);
    EXPECT_TRUE(help->browser()->source().toString().endsWith(QStringLiteral("loupe.html")));
    EXPECT_TRUE(help->browser()->toPlainText().contains(QStringLiteral("Agrandir l'animation")));
}

TEST_F(HelpFolder, SearchFindsThePageExplainingACaption) {
    HelpWindow* help = openHelp();
    ASSERT_NE(help, nullptr);
    QHelpSearchEngine* search = help->engine().searchEngine();
    QSignalSpy indexed(search, &QHelpSearchEngine::indexingFinished);
    ASSERT_TRUE(indexed.wait(20000));
    const std::pair<const char*, const char*> cases[] = {
        {"agrandissement", "loupe.html"},   {"Calculatrice", "calculatrice.html"},
        {"Fond blanc", "affichage.html"},   {"radians", "calculatrice.html"},
        {"exemplaires", "impression.html"}, {"Conserver les courbes", "affichage.html"},
        {"quotient", "simulateur.html"},
    };
    for (const auto& [words, page] : cases) {
        QSignalSpy done(search, &QHelpSearchEngine::searchingFinished);
        help->search(QString::fromUtf8(words));
        ASSERT_TRUE(done.wait(10000)) << words;
        QStringList found;
        for (const QHelpSearchResult& result : search->searchResults(0, search->searchResultCount()))
            found << result.url().fileName();
        EXPECT_TRUE(found.contains(QString::fromLatin1(page)))
            << words << ": " << found.join(' ').toStdString();
    }
}

TEST_F(HelpFolder, TheHelpIsReadFromAFreshCopyInTheCache) {
    installHelp();
    QTemporaryDir cache;
    const QString shipped = helpCollectionPath(folder.path());
    EXPECT_EQ(searchableCollection(shipped, QString()), shipped);

    const QString copy = searchableCollection(shipped, cache.path() + QStringLiteral("/aide"));
    EXPECT_EQ(copy, cache.path() + QStringLiteral("/aide/molvane.qhc"));
    for (const QString& name : kHelpFiles)
        EXPECT_TRUE(QFile::exists(cache.path() + QStringLiteral("/aide/") + name));
    QHelpEngine engine(copy);
    ASSERT_TRUE(engine.setupData());
    EXPECT_FALSE(engine.fileData(QUrl(kHelpContentsPage)).isEmpty());

    // A newer help beside the program replaces the copy.
    QFile pages(cache.path() + QStringLiteral("/aide/molvane.qch"));
    ASSERT_TRUE(pages.open(QIODevice::WriteOnly | QIODevice::Truncate));
    pages.write("abîmé");
    pages.close();
    searchableCollection(shipped, cache.path() + QStringLiteral("/aide"));
    EXPECT_EQ(QFileInfo(pages.fileName()).size(),
              QFileInfo(QDir(folder.path()).filePath(kHelpFiles[1])).size());
}

}  // namespace
}  // namespace molvane
