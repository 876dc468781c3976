// The pictures at the screen's device pixel ratio, the size of the display
// and the full screen's geometry.
#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTextEdit>
#include <QWindow>
#include <cmath>

#include "fixture.h"
#include "ui/main/displaysize.h"
#include "ui/main/pictures.h"
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

using DisplaySizeWindow = WindowTest;

TEST_F(DisplaySizeWindow, ASizeIsAppliedAtOnceAndKeepsTheRunAndTheText) {
    window->show();
    auto* text = control<QTextEdit>("supertext");
    text->setPlainText(QStringLiteral("Mes observations"));
    ticks(30);
    auto* label1 = control<QLabel>("Label1");
    const QString clock = label1->text();
    auto* size = window->findChild<DisplaySize*>();
    ASSERT_NE(size, nullptr);
    ASSERT_NE(window->findChild<QPushButton*>(QStringLiteral("Comtaille")), nullptr);

    size->choose(200);
    EXPECT_EQ(storedDisplaySize(), 200);
    EXPECT_TRUE(window->isVisible());
    EXPECT_DOUBLE_EQ(window->devicePixelRatioF(), 2.0);
    EXPECT_EQ(window->size(), QSize(800, 600));  // the window's own pixels stay
    EXPECT_EQ(text->toPlainText(), QStringLiteral("Mes observations"));
    EXPECT_EQ(label1->text(), clock);
    auto* vessel = control<AnimationView>("animpic");
    vessel->grab();
    EXPECT_DOUBLE_EQ(vessel->surface().ratio(), 2.0);
    ticks(5);
    EXPECT_NE(label1->text(), clock);

    size->choose(100);
    EXPECT_DOUBLE_EQ(window->devicePixelRatioF(), 1.0);
    vessel->grab();
    EXPECT_DOUBLE_EQ(vessel->surface().ratio(), 1.0);
    EXPECT_EQ(storedDisplaySize(), 100);
}

// Keys the window system queued while a size was being applied: each one is
// taken, in order, by the window it was meant for.
TEST_F(DisplaySizeWindow, KeysQueuedDuringSizeChangesAreAllTaken) {
    window->show();
    window->activateWindow();
    // Another window of the program, shown beside the main one.
    QWidget other;
    other.resize(300, 200);
    other.show();
    window->activateWindow();
    auto* text = control<QTextEdit>("supertext");
    text->setReadOnly(false);
    text->clear();
    text->setFocus();
    QApplication::processEvents();
    QWindow* native = window->windowHandle();
    ASSERT_EQ(QGuiApplication::focusWindow(), native);
    const WId id = window->winId();

    const auto key = [native](int code, Qt::KeyboardModifiers modifiers, const QString& typed) {
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
            QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
                native, type, code, modifiers, typed);
    };
    const auto type = [&key](const QString& typed) {
        for (const QChar c : typed) key(c.toUpper().unicode(), Qt::NoModifier, c);
    };
    // Three Ctrl++ one after the other, a word, one Ctrl+-, another word.
    for (int k = 0; k < 3; ++k) key(Qt::Key_Plus, Qt::ControlModifier, QStringLiteral("+"));
    type(QStringLiteral("vite"));
    key(Qt::Key_Minus, Qt::ControlModifier, QStringLiteral("-"));
    type(QStringLiteral("ment"));
    QApplication::processEvents();

    EXPECT_EQ(storedDisplaySize(), 150);
    EXPECT_DOUBLE_EQ(window->devicePixelRatioF(), 1.5);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("vitement"));
    // The same native windows, each in its own pixels as before.
    EXPECT_EQ(window->winId(), id);
    EXPECT_EQ(window->size(), QSize(800, 600));
    EXPECT_EQ(window->windowHandle()->size(), QSize(800, 600));
    EXPECT_EQ(other.size(), QSize(300, 200));
    EXPECT_DOUBLE_EQ(other.devicePixelRatioF(), 1.5);
    EXPECT_TRUE(text->hasFocus());

    key(Qt::Key_0, Qt::ControlModifier, QString());
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(window->devicePixelRatioF(), 1.0);
    EXPECT_EQ(storedDisplaySize(), 100);
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
