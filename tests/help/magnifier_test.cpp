// The magnifier: its place over the main window, its background, and the
// particles the run draws into it.
#include "output/magnifier.h"

#include <gtest/gtest.h>

#include <QPixmap>
#include <QWidget>

#include "common/grid.h"
#include "core/simulation.h"

namespace molvane {
namespace {

constexpr QSize kVessel{393, 157};

QColor at(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

TEST(Magnifier, TakesTheMainWindowsLeftTopAndWidthAndIsTwiceTheVesselHigh) {
    struct Case {
        const char* what;
        QRect mainFrame;
        QMargins frame;
        QRect expected;
    };
    const Case cases[] = {
        {"no window manager", QRect(112, 84, 800, 600), QMargins(), QRect(112, 84, 800, 339)},
        {"moved window", QRect(0, 10, 800, 600), QMargins(), QRect(0, 10, 800, 339)},
        // A frame of 4 pixels and a 24-pixel title bar: the frame has the
        // main window's place and 2 H + 25 pixels, the inner part is smaller.
        {"decorated", QRect(100, 50, 808, 628), QMargins(4, 24, 4, 4), QRect(104, 74, 800, 311)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(magnifierGeometry(c.mainFrame, c.frame, kVessel), c.expected) << c.what;
}

TEST(Magnifier, CentresTheDoubledVessel) {
    const std::pair<int, int> cases[] = {{800, 7}, {786, 0}, {791, 2}, {700, -43}};
    for (const auto& [width, origin] : cases) EXPECT_EQ(magnifierOrigin(width), origin) << width;
}

TEST(Magnifier, WhiteBackgroundIsWhiteInsideABlackFrame) {
    const QImage image = magnifierBackground(kVessel, true);
    ASSERT_EQ(image.size(), QSize(787, 315));
    const QColor white(Qt::white), black(Qt::black);
    EXPECT_EQ(at(image, 0, 100), black);
    EXPECT_EQ(at(image, 400, 0), black);
    EXPECT_EQ(at(image, 785, 100), black);  // right edge of the black outline: 2 W - 1
    EXPECT_EQ(at(image, 400, 313), black);
    EXPECT_EQ(at(image, 786, 100), white);  // the white outline beyond it
    EXPECT_EQ(at(image, 400, 314), white);
    for (const QPoint p : {QPoint(1, 1), QPoint(100, 157), QPoint(393, 157), QPoint(784, 312)})
        EXPECT_EQ(at(image, p.x(), p.y()), white) << p.x() << "," << p.y();
}

TEST(Magnifier, ShadedBackgroundIsTheVesselsShadingAtDoubleSize) {
    const QImage image = magnifierBackground(kVessel, false);
    ASSERT_EQ(image.size(), QSize(787, 315));
    // Outline i runs from (i, H / W i) to (2 W - i, 2 H - H / W i), coloured
    // from light brown at the border to white at the centre.
    struct Case {
        QPoint p;
        QColor colour;
    };
    const Case cases[] = {
        {{1, 150}, QColor(205, 150, 100)},    // outline 1
        {{100, 157}, QColor(218, 177, 139)},  // outline 100: 205 + 50 x 100 / 393 ...
        {{686, 157}, QColor(218, 177, 139)},  // the same outline's right side, 2 W - 100
        {{393, 157}, QColor(255, 255, 255)},  // the centre
        {{0, 100}, QColor(Qt::black)},        // the frame goes over the shading
        {{786, 100}, QColor(Qt::white)},
    };
    for (const Case& c : cases) EXPECT_EQ(at(image, c.p.x(), c.p.y()), c.colour) << c.p.x() << "," << c.p.y();
}

// A stand-in for the main window: the magnifier reads its place, title and icon.
class MagnifierWindow : public testing::Test {
protected:
    void SetUp() override {
        main.setWindowTitle(QStringLiteral("Équilibre dynamique - /tmp/essai.C11"));
        QPixmap icon(16, 16);
        icon.fill(Qt::red);
        main.setWindowIcon(QIcon(icon));
        main.setGeometry(30, 40, 800, 600);
        link.vessel = kVessel;
        link.whiteBackground = [this] { return white; };
        link.attach = [this](AnimationSurface* s) { surface = s; };
    }

    QWidget main;
    MagnifierLink link;
    bool white = false;
    AnimationSurface* surface = nullptr;
};

TEST_F(MagnifierWindow, TitleIconAndPlaceComeFromTheMainWindow) {
    Louloupe loupe(&main, link);
    EXPECT_EQ(loupe.objectName(), QStringLiteral("louloupe"));
    EXPECT_EQ(loupe.windowTitle(), QStringLiteral("Équilibre dynamique - /tmp/essai.C11 (agrandissement)"));
    EXPECT_FALSE(loupe.windowIcon().isNull());
    EXPECT_EQ(loupe.geometry(), QRect(30, 40, 800, 339));
    EXPECT_TRUE(loupe.isModal());
    EXPECT_EQ(loupe.origin(), 7);
    // The next opening follows the main window where it has been moved.
    main.move(50, 60);
    Louloupe next(&main, link);
    EXPECT_EQ(next.geometry(), QRect(50, 60, 800, 339));
}

TEST_F(MagnifierWindow, RunDrawsIntoItOnlyWhileShown) {
    auto loupe = std::make_unique<Louloupe>(&main, link);
    EXPECT_EQ(surface, nullptr);
    loupe->show();
    EXPECT_NE(surface, nullptr);
    // The keyboard rests on the picture itself, which a screen reader names.
    EXPECT_EQ(loupe->focusWidget(), loupe.get());
    loupe->hide();
    EXPECT_EQ(surface, nullptr);
    loupe->show();
    loupe.reset();
    EXPECT_EQ(surface, nullptr);
}

TEST_F(MagnifierWindow, BackgroundFollowsFondBlancAtActivation) {
    for (const bool ticked : {false, true}) {
        white = ticked;
        Louloupe loupe(&main, link);
        loupe.show();
        const QColor outline1 = at(loupe.picture(), 1, 150);
        EXPECT_EQ(outline1, ticked ? QColor(Qt::white) : QColor(205, 150, 100)) << ticked;
        EXPECT_EQ(at(loupe.picture(), 0, 150), QColor(Qt::black));
        // The background is persistent: a tick's clear brings it back.
        surface->circle(2.0f, 150.0f, 4.0f, rgb(0, 0, 255));
        surface->clear();
        EXPECT_EQ(at(loupe.picture(), 1, 150), outline1) << ticked;
    }
}

TEST_F(MagnifierWindow, ParticlesAreDrawnAtTwiceTheirPlaceWithRadiusFour) {
    GridModel table(52, 6);
    Simulation sim(table);
    sim.setCounts({"2", "2", "3", "3"});
    sim.initialise();
    // Far apart, so that no collision moves them or changes their species.
    for (int i = 1; i <= sim.nbparticules(); ++i) {
        sim.placeParticle(i, 30.0f * static_cast<float>(i), 20.0f + 10.0f * static_cast<float>(i), sim.vx(i),
                          sim.vy(i));
    }
    Louloupe loupe(&main, link);
    loupe.show();
    Display display;
    display.louloupe = surface;
    sim.tickInPlace(display);
    const QImage& picture = loupe.picture();
    for (int i = 1; i <= sim.nbparticules(); ++i) {
        const int x = 60 * i, y = 40 + 20 * i;
        const QColor colour = QColor::fromRgb(redOf(sim.parameters().colours[sim.species(i) - 1]),
                                              greenOf(sim.parameters().colours[sim.species(i) - 1]),
                                              blueOf(sim.parameters().colours[sim.species(i) - 1]));
        EXPECT_EQ(at(picture, x, y), colour) << i;
        EXPECT_EQ(at(picture, x + 3, y), colour) << i;             // inside the radius
        EXPECT_EQ(at(picture, x + 4, y), QColor(Qt::black)) << i;  // its outline
        EXPECT_NE(at(picture, x + 6, y), colour) << i;             // beyond it
        EXPECT_NE(at(picture, x / 2, y / 2), colour) << i;         // not at the vessel's own scale
    }
}

}  // namespace
}  // namespace molvane
