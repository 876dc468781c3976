// Puts a control of a fixed-geometry window in its place: the design name
// and the rectangle, in the window's pixels, that the windows are laid out
// by; and every window inside the screen it opens on.
#pragma once

#include <QMargins>
#include <QRect>
#include <QScrollArea>
#include <QString>
#include <functional>

namespace molvane {

template <typename W>
W* place(W* widget, const QString& name, const QRect& geometry) {
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

}  // namespace molvane

class QScreen;

namespace molvane {

// Where a window of frame `frame` around `wanted` lies inside `available`:
// no larger than the room left by its frame, moved in where it passes an
// edge, kept where it already fits.
QRect fittedRect(const QRect& wanted, const QMargins& frame, const QRect& available);

// Puts a top-level window inside the free area of the screen it opens on,
// smaller where it must (down to its least size).
void fitOnScreen(QWidget* window);

// Runs `act` on every window of the program as it is shown.
void onEveryWindowShown(std::function<void(QWidget*)> act);

// Every top-level window the program shows from now on is fitted as it is
// shown, whatever the size of the display and the system's scale.
void keepWindowsOnScreen();

// A scroll area asking the room of its whole content, that a window keeps
// when the screen has it; on a smaller screen the window is made smaller
// and the content scrolls, every button in reach.
class FittingScrollArea final : public QScrollArea {
public:
    explicit FittingScrollArea(QWidget* content, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
};

}  // namespace molvane
