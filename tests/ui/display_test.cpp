// The pictures at the screen's device pixel ratio, the size of the display
// and the full screen's geometry.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QWindow>
#include <QtTest/QTest>
#include <cmath>

#include "core/controltable.h"
#include "fixture.h"
#include "ui/main/displaysize.h"
#include "ui/main/pictures.h"
#include "windowkit/designscale.h"
#include "windowkit/surfaces.h"

namespace molvane {
namespace {

constexpr QSize kVessel{393, 157};
constexpr QSize kGraph{413, 235};
const std::vector<qreal> kRatios{1.0, 1.25, 1.5, 2.0, 3.0};

void drawParticles(AnimationSurface& surface) {
    for (int k = 0; k < 60; ++k) {
        // Some wholly inside, some over the edges.
        const float x = static_cast<float>(-3 + (k * 37) % 400), y = static_cast<float>(-3 + (k * 53) % 163);
        surface.circle(x, y, k % 3 == 0 ? 4.0f : 2.0f, rgb(255, 0, 0) + static_cast<Colour>(k));
    }
}

void drawGraph(GraphSurface& surface) {
    surface.line(10, 20, 400, 20, rgb(0, 0, 255), 1);
    surface.line(10, 0, 10, 200, kBlack, 1);
    surface.line(30, 190, 380, 40, rgb(0, 128, 0), 2);
    surface.point(200, 100, rgb(255, 0, 0), 3);
    surface.text(40, 60, "Temps (s)", false);
    surface.text(40, 90, "Nombre", true);
}

TEST(DevicePixels, PicturesAreHeldInDevicePixelsAndCopiedAtTheWindowsScale) {
    ImageAnimationSurface vessel1(kVessel);
    vessel1.setBackground(vesselShading(kVessel));
    vessel1.clear();
    drawParticles(vessel1);
    ImageGraphSurface graph1(kGraph);
    drawGraph(graph1);
    for (const qreal ratio : kRatios) {
        ImageAnimationSurface vessel(kVessel, ratio);
        vessel.setBackground(vesselShading(kVessel));
        vessel.clear();
        drawParticles(vessel);
        const QSize device(static_cast<int>(std::ceil(kVessel.width() * ratio)),
                           static_cast<int>(std::ceil(kVessel.height() * ratio)));
        EXPECT_EQ(vessel.image().size(), device) << ratio;
        EXPECT_EQ(vessel.image().devicePixelRatio(), ratio);
        EXPECT_EQ(vessel.size(), kVessel);
        // Copies and prints keep the picture the window always made.
        EXPECT_EQ(vessel.logicalImage(), vessel1.image()) << ratio;

        ImageGraphSurface graph(kGraph, QFont(), ratio);
        drawGraph(graph);
        EXPECT_EQ(graph.image().devicePixelRatio(), ratio);
        EXPECT_EQ(graph.logicalImage(), graph1.image()) << ratio;
    }
}

TEST(DevicePixels, AChangeOfRatioDrawsTheSameFrameAgain) {
    ImageAnimationSurface vessel(kVessel);
    vessel.clear();
    drawParticles(vessel);
    const QImage before = vessel.image();
    ImageGraphSurface graph(kGraph);
    drawGraph(graph);
    const QImage graphBefore = graph.image();
    const auto changes = graph.changes();

    ImageAnimationSurface vessel2(kVessel, 2.0);
    vessel2.clear();
    drawParticles(vessel2);
    vessel.setRatio(2.0);
    EXPECT_EQ(vessel.image(), vessel2.image());
    graph.setRatio(2.0);
    EXPECT_GT(graph.changes(), changes);  // the view repaints
    vessel.setRatio(1.0);
    graph.setRatio(1.0);
    EXPECT_EQ(vessel.image(), before);
    EXPECT_EQ(graph.image(), graphBefore);
    // A clear ends the frame: nothing of it comes back at another ratio.
    graph.clear();
    graph.setRatio(2.0);
    EXPECT_EQ(graph.image().pixelColor(100, 55), QColor(Qt::white));
}

// Colours of the pixels in a rectangle of an image.
QSet<QRgb> coloursIn(const QImage& image, const QRect& area) {
    QSet<QRgb> found;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) found.insert(image.pixel(x, y));
    return found;
}

TEST(DevicePixels, AtRatioTwoLinesAndParticlesAreTwiceAsWideWithNoBlendedPixels) {
    ImageGraphSurface graph(kGraph, QFont(), 2.0);
    graph.line(10, 20, 400, 20, rgb(0, 0, 255), 1);  // y = 20 is row 28 of the window
    int covered = 0;
    for (int y = 0; y < graph.image().height(); ++y)
        covered += graph.image().pixel(400, y) == qRgb(0, 0, 255);
    EXPECT_EQ(covered, 2);
    graph.line(30, 190, 380, 40, rgb(0, 128, 0), 1);
    EXPECT_EQ(coloursIn(graph.image(), graph.image().rect()),
              (QSet<QRgb>{qRgb(255, 255, 255), qRgb(0, 0, 255), qRgb(0, 128, 0)}));

    ImageAnimationSurface vessel(kVessel, 2.0);
    vessel.clear();
    vessel.circle(100, 50, 4.0f, rgb(255, 0, 0));
    const QImage& image = vessel.image();
    EXPECT_EQ(coloursIn(image, QRect(180, 80, 40, 40)),
              (QSet<QRgb>{qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 0, 0)}));
    // Across the middle: white, two outline pixels, the fill, two outline pixels, white.
    int outline = 0, fill = 0;
    for (int x = 180; x < 220; ++x) {
        outline += image.pixel(x, 100) == qRgb(0, 0, 0);
        fill += image.pixel(x, 100) == qRgb(255, 0, 0);
    }
    EXPECT_EQ(outline, 4);
    EXPECT_EQ(fill + outline, 2 * 9 + 1);
}

TEST(DisplaySizes, CaptionsAndStoredValues) {
    const std::vector<std::pair<int, QString>> captions{{100, QStringLiteral("100 %")},
                                                        {175, QStringLiteral("175 %")},
                                                        {0, QStringLiteral("Adaptée à l'écran")}};
    for (const auto& [percent, caption] : captions) EXPECT_EQ(displaySizeCaption(percent), caption);
    for (const int percent : {100, 125, 150, 175, 200, 0}) EXPECT_EQ(validDisplaySize(percent), percent);
    for (const int percent : {-1, 99, 110, 250, 1000}) EXPECT_EQ(validDisplaySize(percent), 100) << percent;

    storeDisplaySize(175);
    EXPECT_EQ(storedDisplaySize(), 175);
    storeDisplaySize(0);
    EXPECT_EQ(storedDisplaySize(), 0);
    storeDisplaySize(333);  // never kept as such
    EXPECT_EQ(storedDisplaySize(), 100);
}

TEST(DisplaySizes, ScalesThatFitAndFillTheScreen) {
    struct Case {
        QSize frame, room;
        double fitting;
    };
    const std::vector<Case> cases{
        {{0, 32}, {1920, 1080}, 1.70},  // the height decides: (1080 - 32) / 600 = 1.746...
        {{0, 0}, {2048, 1536}, 2.55},   // 2.56 is no step of 1/20
        {{0, 0}, {1600, 1200}, 2.00},  {{10, 40}, {3840, 2160}, 3.50},  // (2160 - 40) / 600 = 3.53...
        {{0, 32}, {800, 600}, 1.00},                                    // too small: never under 100 %
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(fittingScale({800, 600}, c.frame, c.room), c.fitting) << c.room.width();

    // A size too large for the screen is shown at the largest that fits, never under 100 %.
    struct Shown {
        int percent;
        double least, fitting, shown;
    };
    const std::vector<Shown> shown{
        {200, 1.0, 1.7, 1.7},  {150, 1.0, 1.7, 1.5},   {0, 1.0, 1.7, 1.7},   {200, 1.0, 2.55, 2.0},
        {125, 2.0, 2.55, 2.5}, {150, 2.0, 2.55, 2.55}, {100, 2.0, 1.0, 2.0}, {0, 2.0, 1.0, 2.0},
    };
    for (const Shown& c : shown)
        EXPECT_DOUBLE_EQ(shownScale(c.percent, c.least, c.fitting), c.shown) << c.percent << " " << c.least;

    EXPECT_DOUBLE_EQ(fillingScale({800, 600}, {1920, 1080}), 1.8);
    EXPECT_DOUBLE_EQ(fillingScale({800, 600}, {1280, 1024}), 1.6);
    EXPECT_EQ(centredOrigin({800, 600}, {1067, 600}), QPoint(133, 0));
    EXPECT_EQ(centredOrigin({800, 600}, {800, 640}), QPoint(0, 20));
    EXPECT_EQ(centredOrigin({800, 600}, {700, 500}), QPoint(0, 0));
}

TEST(DisplaySizes, ASizeTheScreenCannotHoldIsSaidSo) {
    struct Case {
        int percent;
        QSize room;
        bool fits;
    };
    // The window, 800 x 600, under a title bar of 32 pixels.
    const std::vector<Case> cases{
        {200, {1280, 1024}, false}, {175, {1280, 1024}, false},  // 1 050 + 32 > 1 024
        {150, {1280, 1024}, true},  {200, {1600, 1232}, true},  {200, {1600, 1231}, false},
        {200, {1599, 1300}, false}, {125, {800, 600}, false},   {100, {800, 600}, true},  // 100 % always
        {0, {640, 480}, true},                                                            // it adapts
    };
    for (const Case& c : cases)
        EXPECT_EQ(sizeFits(c.percent, {800, 600}, {0, 32}, c.room), c.fits)
            << c.percent << " " << c.room.width();
    EXPECT_EQ(displaySizeMenuCaption(200, false), QStringLiteral("200 % (écran trop petit)"));
    EXPECT_EQ(displaySizeMenuCaption(200, true), QStringLiteral("200 %"));
    EXPECT_EQ(displaySizeMenuCaption(0, true), QStringLiteral("Adaptée à l'écran"));
}

using DisplaySizeWindow = WindowTest;

// Every control of the table lies at its design rectangle times the scale,
// inside the window.
void expectControlsScaled(QWidget* window, double scale) {
    int seen = 0;
    for (const Control& control : mainWindowControls()) {
        if (control.rect.empty() || control.kind == ControlKind::Window) continue;
        auto* widget = window->findChild<QWidget*>(
            QString::fromUtf8(control.name.data(), static_cast<qsizetype>(control.name.size())));
        if (!widget) continue;
        ++seen;
        // A control that follows a painted heading lies where its text ends.
        const ControlRect r = placedRect(control);
        const QRect design = control.after ? designRect(widget) : QRect(r.x, r.y, r.width, r.height);
        EXPECT_EQ(widget->geometry(), scaledRect(design, scale)) << control.name;
        const QRect inWindow(widget->mapTo(window, QPoint(0, 0)), widget->size());
        EXPECT_TRUE(window->rect().contains(inWindow)) << control.name;
    }
    EXPECT_GT(seen, 40);
}

TEST_F(DisplaySizeWindow, ASizeIsAppliedAtOnceToTheWholeWindowAndKeepsTheRunAndTheText) {
    window->show();
    auto* text = control<QTextEdit>("supertext");
    text->setPlainText(QStringLiteral("Mes observations"));
    ticks(30);
    auto* label1 = control<QLabel>("Label1");
    const QString clock = label1->text();
    auto* size = window->findChild<DisplaySize*>();
    ASSERT_NE(size, nullptr);
    auto* button = window->findChild<QPushButton*>(QStringLiteral("Comtaille"));
    ASSERT_NE(button, nullptr);
    const double points = text->font().pointSizeF();

    for (const int percent : {125, 200, 150}) {
        size->choose(percent);
        const double scale = percent / 100.0;
        EXPECT_EQ(storedDisplaySize(), percent);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->size(), QSize(8 * percent, 6 * percent));
        expectControlsScaled(window.get(), scale);
        EXPECT_DOUBLE_EQ(text->font().pointSizeF(), points * scale);
        EXPECT_EQ(text->toPlainText(), QStringLiteral("Mes observations"));
        // The pictures are held at the scale times the screen's ratio (1 here).
        auto* vessel = control<AnimationView>("animpic");
        vessel->grab();
        EXPECT_DOUBLE_EQ(vessel->surface().ratio(), scale);
        // The whole window is drawn: the size button's own corner is no white
        // page but the window's ground and the button.
        const QImage shot = window->grab().toImage();
        EXPECT_EQ(shot.size(), window->size());
        EXPECT_NE(coloursIn(shot, button->geometry()).size(), 1) << percent;
    }
    EXPECT_EQ(label1->text(), clock);
    ticks(5);
    EXPECT_NE(label1->text(), clock);

    size->choose(100);
    EXPECT_EQ(window->size(), QSize(800, 600));
    expectControlsScaled(window.get(), 1.0);
    EXPECT_DOUBLE_EQ(text->font().pointSizeF(), points);
    auto* vessel = control<AnimationView>("animpic");
    vessel->grab();
    EXPECT_DOUBLE_EQ(vessel->surface().ratio(), 1.0);
    EXPECT_EQ(storedDisplaySize(), 100);
}

TEST_F(DisplaySizeWindow, TheKeysStepThroughTheSizesAndTheTypingGoesOn) {
    window->show();
    window->activateWindow();
    QWidget other;
    other.resize(300, 200);
    other.show();
    window->activateWindow();
    auto* text = control<QTextEdit>("supertext");
    text->setReadOnly(false);
    text->clear();
    text->setFocus();
    QApplication::processEvents();
    const double otherPoints = other.font().pointSizeF();

    for (int k = 0; k < 3; ++k) QTest::keyClick(text, Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClicks(text, QStringLiteral("vite"));
    QTest::keyClick(text, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClicks(text, QStringLiteral("ment"));
    QApplication::processEvents();

    EXPECT_EQ(storedDisplaySize(), 150);
    EXPECT_EQ(window->size(), QSize(1200, 900));
    EXPECT_EQ(text->toPlainText(), QStringLiteral("vitement"));
    // The other windows take the larger text.
    EXPECT_DOUBLE_EQ(other.font().pointSizeF(), otherPoints * 1.5);
    EXPECT_TRUE(text->hasFocus());

    QTest::keyClick(text, Qt::Key_0, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(window->size(), QSize(800, 600));
    EXPECT_EQ(storedDisplaySize(), 100);
    EXPECT_DOUBLE_EQ(other.font().pointSizeF(), otherPoints);
}

TEST_F(DisplaySizeWindow, FullScreenFillsTheScreenAndComesBackToTheSize) {
    window->show();
    auto* size = window->findChild<DisplaySize*>();
    ASSERT_NE(size, nullptr);
    size->choose(125);
    size->setFullScreen(true);
    QApplication::processEvents();
    // 2 048 x 1 536 holds 800 x 600 at 2.56.
    EXPECT_DOUBLE_EQ(size->scale(), fillingScale({800, 600}, window->size()));
    expectControlsScaled(window.get(), size->scale());
    size->setFullScreen(false);
    QApplication::processEvents();
    EXPECT_EQ(window->size(), QSize(1000, 750));
    expectControlsScaled(window.get(), 1.25);
    size->choose(100);
}

TEST_F(DisplaySizeWindow, ASizeKeptFromTheLastSessionShowsTheWholeWindowAndTheRunStaysInTheVessel) {
    for (const int percent : {150, 0}) {
        storeDisplaySize(percent);
        QTemporaryDir folder2;
        MainWindow started(folder2.path());
        started.show();
        QApplication::processEvents();
        auto* size = started.findChild<DisplaySize*>();
        ASSERT_NE(size, nullptr);
        // 0: the largest that fits 2 048 x 1 536 with the window's frame.
        const QSize frame = started.frameGeometry().size() - started.size();
        const double scale = percent == 0 ? fittingScale({800, 600}, frame, {2048, 1536}) : 1.5;
        if (percent == 0) {
            EXPECT_GE(scale, 2.5);
        }
        EXPECT_DOUBLE_EQ(size->scale(), scale) << percent;
        EXPECT_EQ(started.size(), scaledSize({800, 600}, scale));
        expectControlsScaled(&started, scale);
        // The particles move in the vessel's design pixels, whatever its size on screen.
        for (int k = 0; k < 40; ++k) started.Timer1_Timer();
        const Simulation& run = started.simulation();
        ASSERT_GT(run.particleCount(), 0);
        for (int i = 1; i <= run.particleCount(); ++i) {
            EXPECT_LE(run.x(i), 393.0f) << percent;
            EXPECT_LE(run.y(i), 157.0f) << percent;
        }
    }
    storeDisplaySize(100);
}

TEST_F(DisplaySizeWindow, TheTableOfValuesGrowsOnceWithTheSize) {
    window->show();
    window->Form_Activate();
    auto* grid = control<QTableView>("MSFlexGrid1");
    const int row = grid->verticalHeader()->defaultSectionSize();
    const int width = grid->horizontalHeader()->length();
    auto* size = window->findChild<DisplaySize*>();
    ASSERT_NE(size, nullptr);
    for (const int percent : {150, 200, 125}) {
        size->choose(percent);
        // Laying the columns out again, as an activation does, scales nothing twice.
        window->Form_Activate();
        const double scale = percent / 100.0;
        EXPECT_EQ(grid->verticalHeader()->defaultSectionSize(), scaledLength(row, scale)) << percent;
        EXPECT_NEAR(grid->horizontalHeader()->length(), width * scale, 6) << percent;
    }
    size->choose(100);
    EXPECT_EQ(grid->verticalHeader()->defaultSectionSize(), row);
}

TEST_F(DisplaySizeWindow, OnAScreenOfAnotherResolutionTheWindowKeepsItsSizeAndDrawsAtTheNewRatio) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    ASSERT_EQ(screens.size(), 2);
    window->show();
    auto* vessel = control<AnimationView>("animpic");
    vessel->grab();
    ASSERT_DOUBLE_EQ(vessel->surface().ratio(), 1.0);
    for (const qreal ratio : {2.0, 1.0}) {
        window->windowHandle()->setScreen(screens[ratio == 2.0 ? 1 : 0]);
        QApplication::processEvents();
        EXPECT_DOUBLE_EQ(window->devicePixelRatioF(), ratio);
        EXPECT_EQ(window->size(), QSize(800, 600));
        EXPECT_EQ(window->windowHandle()->size(), QSize(800, 600));
        vessel->grab();
        EXPECT_DOUBLE_EQ(vessel->surface().ratio(), ratio);
        EXPECT_EQ(vessel->surface().image().width(), static_cast<int>(393 * ratio));
    }
}

}  // namespace
}  // namespace molvane
