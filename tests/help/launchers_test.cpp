// The main window's magnifier and help: opened from the window's own
// controls, as a pupil opens them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "../ui/fixture.h"
#include "output/helpwindow.h"
#include "output/magnifier.h"
#include "ui/main/pictures.h"

namespace molvane {
namespace {

class Launchers : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Runs `inside` while the modal magnifier is open, closes it if it is
    // still open, and returns once it has gone; false when none came.
    bool whileMagnified(const std::function<void()>& open, const std::function<void(Louloupe&)>& inside) {
        bool seen = false;
        QTimer watch;
        watch.setInterval(10);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto* loupe = qobject_cast<Louloupe*>(QApplication::activeModalWidget());
            if (!loupe || seen) return;
            seen = true;
            watch.stop();
            inside(*loupe);
            if (loupe->isVisible()) loupe->reject();
        });
        watch.start();
        open();
        return QTest::qWaitFor([&] { return seen && !QApplication::activeModalWidget(); }, 3000);
    }

    QPushButton* comloupe() { return control<QPushButton>("Comloupe"); }
};

TEST_F(Launchers, ButtonsAreShownWithTheirMnemonics) {
    ASSERT_NE(comloupe(), nullptr);
    ASSERT_NE(control<QPushButton>("Command7"), nullptr);
    EXPECT_TRUE(comloupe()->isVisible());
    EXPECT_EQ(comloupe()->text(), QStringLiteral("A&grandir"));
    EXPECT_TRUE(control<QPushButton>("Command7")->isVisible());
    EXPECT_EQ(control<QPushButton>("Command7")->text(), QStringLiteral("&Aide"));
}

TEST_F(Launchers, ButtonKeyAndClickOnTheVesselOpenTheSameMagnifier) {
    auto* animpic = control<AnimationView>("animpic");
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"button", [this] { comloupe()->click(); }},
        {"Alt+G", [this] { QTest::keyClick(window.get(), Qt::Key_G, Qt::AltModifier); }},
        {"click on the vessel",
         [animpic] { QTest::mouseClick(animpic, Qt::LeftButton, {}, QPoint(100, 50)); }},
    };
    for (const auto& [way, open] : ways) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get())) << way;  // back from the previous one
        QString title;
        const bool opened = whileMagnified(open, [&](Louloupe& loupe) { title = loupe.windowTitle(); });
        EXPECT_TRUE(opened) << way;
        EXPECT_EQ(title, QStringLiteral("Équilibre dynamique (agrandissement)")) << way;
    }
}

TEST_F(Launchers, RunGoesOnAndIsDrawnInTheMagnifierUntilAClickOrEscapeClosesIt) {
    for (const bool byEscape : {false, true}) {
        bool closed = false;
        whileMagnified([this] { comloupe()->click(); },
                       [&](Louloupe& loupe) {
                           const std::int32_t before = window->simulation().nbtics();
                           QTest::qWait(350);  // the window's own timer goes on ticking
                           EXPECT_GT(window->simulation().nbtics(), before);
                           // The last particle is where the last tick drew it, at twice
                           // its place; no other particle is drawn over it.
                           const Simulation& sim = window->simulation();
                           const int last = sim.nbparticules();
                           const int x = qRound(2 * sim.x(last)), y = qRound(2 * sim.y(last));
                           const Colour c = sim.parameters().colours[sim.species(last) - 1];
                           const QColor drawn = loupe.picture().pixelColor(x, y);
                           EXPECT_EQ(drawn, QColor(redOf(c), greenOf(c), blueOf(c)));
                           if (byEscape)
                               QTest::keyClick(&loupe, Qt::Key_Escape);
                           else
                               QTest::mouseClick(&loupe, Qt::LeftButton, {}, QPoint(400, 300));
                           closed = !loupe.isVisible();
                       });
        EXPECT_TRUE(closed) << byEscape;
    }
}

TEST_F(Launchers, HelpLeavesTheGraphAsItWasAndClosesWithTheProgram) {
    for (const QString& name : {QStringLiteral("molvane.qhc"), QStringLiteral("molvane.qch")})
        ASSERT_TRUE(QFile::copy(QDir(QStringLiteral(MOLVANE_PROGRAM_DIR)).filePath(name),
                                QDir(folder.path()).filePath(name)));
    control<QTimer>("Timer1")->stop();
    ticks(30);  // a few segments of curve
    const QImage before = control<GraphView>("Picture2")->surface().image().copy();

    QTest::keyClick(window.get(), Qt::Key_A, Qt::AltModifier);  // the button answers a moment later
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->findChild<HelpWindow*>() != nullptr; }));
    auto* help = window->findChild<HelpWindow*>();
    EXPECT_TRUE(help->isVisible());
    help->close();
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->findChild<HelpWindow*>() == nullptr; }));
    EXPECT_EQ(control<GraphView>("Picture2")->surface().image(), before);

    control<QPushButton>("Command7")->click();
    QPointer<HelpWindow> open = window->findChild<HelpWindow*>();
    ASSERT_FALSE(open.isNull());
    Answers answers({MessageAnswer::Ok});  // "Quitter vraiment Molvane chimique ?"
    window->close();
    EXPECT_TRUE(QTest::qWaitFor([&open] { return open.isNull() || !open->isVisible(); }));
}

}  // namespace
}  // namespace molvane
