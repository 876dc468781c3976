// The size of the display: the program's windows drawn larger for a projector
// or an interactive whiteboard, at a size the user picks and that is kept for
// the next session, and the main window in full screen with its content
// scaled to fill the screen.
//
// The windows keep their geometry in their own pixels at every size: Qt's
// scale factor, which QT_SCALE_FACTOR sets at start-up, is changed while the
// program runs and each shown window is given a new native window at the new
// ratio. The widgets, their contents and the run stay as they are; every
// picture is drawn again at the new ratio, so the texts and the drawings are
// sharp at any size.
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
// folder), and the scale it stands for, applied before any window exists.
int storedDisplaySize();
void storeDisplaySize(int percent);
void applyStoredDisplaySize(QSize content);

class DisplaySize final : public QObject {
    Q_OBJECT
public:
    // `window` is the main window, `content` its size at 100 %; `button`, on
    // the window, opens the choice of sizes.
    DisplaySize(QWidget* window, QSize content, QPushButton* button);

    int size() const { return size_; }
    void choose(int percent);
    bool fullScreen() const { return fullScreen_; }
    void setFullScreen(bool on);
    // Where the window's own drawing begins: (0, 0) but in full screen.
    QPoint origin() const { return origin_; }
    // Paints the bands beside the content in full screen and moves the
    // painter to the content's origin.
    void beginPaint(QPainter& painter) const;

    QMenu* menu() const { return menu_; }
    QPushButton* button() const { return button_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyScale(double scale);
    // Puts the window in the middle of its screen's free area.
    void centre();
    // The window manager's frame around the window, in native pixels.
    QSize nativeFrame();
    void moveContent(QPoint origin);
    void popUp(QPoint at);
    void showChoice();

    QWidget* window_;
    QSize content_;
    int size_ = 100;
    bool fullScreen_ = false;
    bool framed_ = false;
    QSize frame_{0, 32};         // a title bar, until the window is framed
    QSize frameTopLeft_{0, 32};  // the frame's left and top sides
    QPoint origin_;
    QMenu* menu_ = nullptr;
    QPushButton* button_ = nullptr;
    std::array<QAction*, kDisplaySizes.size()> sizeActions_{};
    QAction* fullScreenAction_ = nullptr;
};

}  // namespace molvane
