// The size of the display: the program's windows drawn larger for a projector
// or an interactive whiteboard, at a size the user picks and that is kept for
// the next session, and the main window in full screen with its content
// scaled to fill the screen.
//
// The main window is laid out in design pixels: at a size, every control's
// rectangle from the control table, every font and the style's measures
// (scroll bars, check boxes) are multiplied by the size's scale, and the
// pictures are drawn at that scale times the screen's own ratio, so that
// they stay sharp. The other windows take the scaled fonts and measures.
// The widgets, their contents and the run stay as they are.
#pragma once

#include <QObject>
#include <QPoint>
#include <QSize>
#include <QString>
#include <array>

class QAction;
class QMenu;
class QPainter;
class QPushButton;
class QWidget;

namespace molvane {

// The sizes offered, in percent; 0 is the largest size that fits the screen.
inline constexpr std::array<int, 6> kDisplaySizes{100, 125, 150, 175, 200, 0};
inline constexpr int kFitScreen = 0;

QString displaySizeCaption(int percent);
// A stored or asked-for size, or 100 when it is none of those offered.
int validDisplaySize(int percent);

// Whether `content` at `percent` % and its frame fit in `room`; 100 % and
// the size that adapts to the screen always do.
bool sizeFits(int percent, QSize content, QSize frame, QSize room);
// The menu's caption of a size: a size the screen cannot hold says so.
QString displaySizeMenuCaption(int percent, bool fits);
// The largest scale, in steps of 1/20, at which `content` and a frame of
// `frame` unscaled pixels fit in `room`; never under 1.
double fittingScale(QSize content, QSize frame, QSize room);
// The scale shown for a size, where `least` is the scale at 100 % and
// `fitting` the largest that fits the screen: a size too large is taken down
// to what fits, never under 100 %.
double shownScale(int percent, double least, double fitting);
// The scale at which `content` fills `screen` whole, keeping its proportions.
double fillingScale(QSize content, QSize screen);
// Where content of `content` pixels is centred in a window of `window` pixels.
QPoint centredOrigin(QSize content, QSize window);

// The size kept for the user (Qt's settings in the user's configuration
// folder), and the scale it stands for, applied to the fonts and measures of
// the windows to come before any window exists.
int storedDisplaySize();
void storeDisplaySize(int percent);
void applyStoredDisplaySize(QSize content);

// The scale the application's fonts and style measures are at.
double applicationScale();
void setApplicationScale(double scale);

// Lays out `window`'s controls at `scale`, their design rectangles moved by
// `origin` window pixels; the window's own size is left to the caller.
void scaleWindowContent(QWidget* window, double scale, QPoint origin = {});
void rememberDesignRect(QWidget* widget, const QRect& rect);

class DisplaySize final : public QObject {
    Q_OBJECT
public:
    // `window` is the main window, `content` its size at 100 %; `button`, on
    // the window, opens the choice of sizes.
    DisplaySize(QWidget* window, QSize content, QPushButton* button);

    int size() const { return size_; }
    // The scale the window is shown at, and its size at that scale.
    double scale() const { return scale_; }
    QSize windowSize() const;
    void choose(int percent);
    bool fullScreen() const { return fullScreen_; }
    void setFullScreen(bool on);
    // Where the window's own drawing begins: (0, 0) but in full screen.
    QPoint origin() const { return origin_; }
    // Paints the bands beside the content in full screen, moves the painter
    // to the content's origin and scales it: it then draws in design pixels.
    void beginPaint(QPainter& painter) const;

    // Puts the window in the middle of its screen's free area.
    void centre();

    QMenu* menu() const { return menu_; }
    QPushButton* button() const { return button_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyScale(double scale, QPoint origin = {});
    // The window manager's frame around the window.
    QSize frame();
    QSize room() const;
    bool fits(int percent);
    // The scale a size is shown at on the window's screen.
    double scaleFor(int percent);
    void step(int by);
    void popUp(QPoint at);
    void showChoice();

    QWidget* window_;
    QSize content_;
    int size_ = 100;
    bool fullScreen_ = false;
    bool framed_ = false;
    double scale_ = 1.0;
    QSize frame_{0, 32};  // a title bar, until the window is framed
    QPoint origin_;
    QMenu* menu_ = nullptr;
    QPushButton* button_ = nullptr;
    std::array<QAction*, kDisplaySizes.size()> sizeActions_{};
    QAction* fullScreenAction_ = nullptr;
};

}  // namespace molvane
