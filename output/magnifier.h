// The magnifier `louloupe`: the vessel at twice its size over the main window
// while the run goes on. The window only prepares its background; the run's
// per-tick update draws the particles into it while it is shown.
#pragma once

#include <QDialog>
#include <QImage>
#include <QMargins>
#include <QRect>
#include <functional>
#include <memory>

#include "core/presentation.h"
#include "core/surface.h"

namespace molvane {

class TickLog;

// Twice the vessel's designed width: the window centres a drawing this wide.
constexpr int kMagnifiedWidth = 786;

// Where the magnifier goes, as its inner geometry: its frame has the left,
// top and width of the main window's frame and is 2 H + 25 pixels high, room
// for the doubled vessel and a title bar. `frame` holds the window frame's
// margins (none without a window manager).
QRect magnifierGeometry(const QRect& mainFrame, const QMargins& frame, QSize vessel);
// The pixel column of the drawing's x = 0 in a window of that inner width.
int magnifierOrigin(int innerWidth);
// The persistent picture, (2 W + 1) x (2 H + 1): white, the vessel's shading
// at double size unless the background is to be white, then a white and a
// black frame.
QImage magnifierBackground(QSize vessel, bool white);

// What the magnifier reads of the main window, and how the run reaches it.
struct MagnifierLink {
    QSize vessel{kVesselWidth, kVesselHeight};      // the vessel `animpic` as the window lays it out
    std::function<bool()> whiteBackground;          // "Fond blanc" ticked
    std::function<void(AnimationSurface*)> attach;  // where the run draws; null while hidden
    TickLog* tickLog = nullptr;                     // its painting counts in the window's tick
};

class Louloupe final : public QDialog {
    Q_OBJECT
public:
    // Takes its title, icon and place from mainWindow.
    Louloupe(QWidget* mainWindow, MagnifierLink link);
    ~Louloupe() override;

    // What the window shows: the background with the particles of the last tick.
    const QImage& picture() const;
    int origin() const;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    class Surface;

    void placeOverMainWindow();
    void activate();

    QWidget* mainWindow_;
    MagnifierLink link_;
    std::unique_ptr<Surface> surface_;
    bool activated_ = false;
};

// Opens the magnifier from the button and from a left click on the vessel,
// one at a time; the click opens it once its own handling has returned.
class MagnifierLauncher final : public QObject {
    Q_OBJECT
public:
    MagnifierLauncher(QWidget* mainWindow, QWidget* vessel, MagnifierLink link);

    // Shows the magnifier modally and returns when it is closed.
    void open();
    bool isOpen() const { return open_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* mainWindow_;
    MagnifierLink link_;
    bool open_ = false;
    bool queued_ = false;
};

}  // namespace molvane
