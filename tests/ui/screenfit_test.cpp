// Every window inside the screen it opens on, with every button in reach,
// at a system scale of 150 % on a 1 280 x 1 024 screen.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>

#include "exercises/exerciseeditor.h"
#include "exercises/exercisemenu.h"
#include "exercises/fichexo.h"
#include "fixture.h"
#include "output/helpwindow.h"
#include "ui/main/displaysize.h"
#include "windowkit/partnames.h"
#include "windowkit/place.h"

namespace molvane {
namespace {

TEST(FittedRect, AWindowIsMadeSmallerAndMovedInsideTheFreeArea) {
    const QRect screen(0, 0, 853, 682);
    const QMargins frame(4, 32, 4, 4);
    struct Case {
        QRect wanted, fitted;
    };
    const std::vector<Case> cases{
        {{100, 100, 400, 300}, {100, 100, 400, 300}},  // fits: left where it is
        {{0, 0, 400, 300}, {4, 32, 400, 300}},         // its title bar comes into sight
        {{600, 100, 400, 300}, {449, 100, 400, 300}},  // past the right edge
        {{100, 500, 400, 300}, {100, 378, 400, 300}},  // past the bottom
        {{0, 0, 1397, 700}, {4, 32, 845, 646}},        // larger than the screen
        {{-300, -50, 200, 100}, {4, 32, 200, 100}},
    };
    for (const Case& c : cases) EXPECT_EQ(fittedRect(c.wanted, frame, screen), c.fitted) << c.wanted.x();
    // Another screen's free area, beside the first one.
    EXPECT_EQ(fittedRect({2000, 0, 400, 300}, frame, QRect(853, 0, 853, 682)), QRect(1302, 32, 400, 300));
}

// The window and each of its buttons that no scroll area holds lie on the screen.
void expectOnScreen(QWidget* window, const char* what) {
    const QRect area = window->screen()->availableGeometry();
    EXPECT_TRUE(area.contains(window->geometry()))
        << what << " " << window->width() << "x" << window->height();
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(window)) continue;
        bool scrolled = false;
        for (QWidget* up = button->parentWidget(); up && up != window; up = up->parentWidget())
            scrolled = scrolled || qobject_cast<QScrollArea*>(up);
        if (scrolled) continue;
        const QRect shown(button->mapToGlobal(QPoint(0, 0)), button->size());
        EXPECT_TRUE(area.contains(shown)) << what << " " << button->text().toStdString();
    }
}

TEST(PartNames, ScrollBarsAndAMessageBoxsButtonsGetFrenchNames) {
    QWidget window;
    auto* named = new QTextEdit(&window);
    named->setAccessibleName(QStringLiteral("Zone de texte"));
    auto* nameless = new QListWidget(&window);
    auto* own = new QTextEdit(&window);
    own->verticalScrollBar()->setAccessibleName(QStringLiteral("Mon défilement"));
    nameParts(&window);
    struct Case {
        QScrollBar* bar;
        QString name;
    };
    const std::vector<Case> cases{
        {named->verticalScrollBar(), QStringLiteral("Défilement vertical : Zone de texte")},
        {named->horizontalScrollBar(), QStringLiteral("Défilement horizontal : Zone de texte")},
        {nameless->verticalScrollBar(), QStringLiteral("Défilement vertical")},
        {own->verticalScrollBar(), QStringLiteral("Mon défilement")},  // a name given stays
    };
    for (const Case& c : cases) EXPECT_EQ(c.bar->accessibleName(), c.name);

    QMessageBox box(QMessageBox::Warning, QStringLiteral("Fichier non valide"), QStringLiteral("Texte"),
                    QMessageBox::Ok);
    nameParts(&box);
    EXPECT_EQ(box.accessibleName(), QStringLiteral("Fichier non valide"));
    for (QDialogButtonBox* buttons : box.findChildren<QDialogButtonBox*>())
        EXPECT_EQ(buttons->accessibleName(), QStringLiteral("Réponses"));
    EXPECT_FALSE(box.findChildren<QDialogButtonBox*>().isEmpty());
}

using ScreenFit = WindowTest;

TEST_F(ScreenFit, EveryWindowOpensInsideTheScreenAtEachSize) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_LT(area.width(), 900);  // the system's 150 %
    window->show();
    QApplication::processEvents();
    auto* size = window->findChild<DisplaySize*>();
    ASSERT_NE(size, nullptr);
    for (const int percent : {100, 0}) {
        size->choose(percent);
        QApplication::processEvents();
        expectOnScreen(window.get(), "principale");

        ExerciseEditor editor(window->exercises().context());
        editor.show();
        QApplication::processEvents();
        expectOnScreen(&editor, "éditeur");
        // The fields scroll inside; the window asked for more than the screen has.
        EXPECT_GT(editor.sizeHint().width(), area.width());

        Fichexo& exercise = window->exercises().window();
        exercise.show();
        QApplication::processEvents();
        expectOnScreen(&exercise, "exercices");
        auto* path = exercise.findChild<QLineEdit*>(QStringLiteral("fichierexo"));
        ASSERT_NE(path, nullptr);
        EXPECT_TRUE(exercise.rect().contains(path->geometry()));
        exercise.hide();

        std::unique_ptr<HelpWindow> help(
            HelpWindow::create(helpCollectionPath(QStringLiteral(MOLVANE_PROGRAM_DIR)), window.get()));
        ASSERT_NE(help, nullptr);
        help->move(area.right() - 100, area.top());
        help->show();
        QApplication::processEvents();
        expectOnScreen(help.get(), "aide");

        QMessageBox box(
            QMessageBox::Warning, QStringLiteral("Fichier non valide"),
            QString(QStringLiteral("Le fichier choisi n'est pas un fichier de configuration. ")).repeated(6),
            QMessageBox::Ok, window.get());
        QTimer::singleShot(0, &box, [&box] {
            expectOnScreen(&box, "message");
            box.accept();
        });
        box.exec();
    }
    size->choose(100);
}

}  // namespace
}  // namespace molvane
