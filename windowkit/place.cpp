#include "windowkit/place.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "windowkit/designscale.h"

namespace molvane {

namespace {

// The frame a window not shown yet will get: a title bar and thin sides.
constexpr QMargins kGuessedFrame{4, 32, 4, 4};

QMargins frameOf(const QWidget* window) {
    const QRect outer = window->frameGeometry(), inner = window->geometry();
    if (!window->isVisible() || outer == inner) return kGuessedFrame;
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

bool fittedWhenShown(const QWidget* widget) {
    if (!widget->isWindow()) return false;
    const Qt::WindowType type = widget->windowType();
    if (type == Qt::Popup || type == Qt::ToolTip || type == Qt::SplashScreen || type == Qt::Desktop)
        return false;
    if (widget->windowState() & (Qt::WindowFullScreen | Qt::WindowMaximized | Qt::WindowMinimized))
        return false;
    // The main window places itself at the size of the display.
    return !widget->property(kDesignScaleProperty).isValid();
}

// Runs an action on every window as it is shown.
class WindowShownWatch final : public QObject {
public:
    WindowShownWatch(QObject* parent, std::function<void(QWidget*)> act)
        : QObject(parent), act_(std::move(act)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->isWindow()) act_(widget);
        }
        return false;
    }

private:
    std::function<void(QWidget*)> act_;
};

}  // namespace

QRect fittedRect(const QRect& wanted, const QMargins& frame, const QRect& available) {
    const QRect room = available.marginsRemoved(frame);
    if (room.isEmpty()) return wanted;
    QRect fitted(wanted.topLeft(), wanted.size().boundedTo(room.size()));
    fitted.moveLeft(std::clamp(fitted.left(), room.left(), room.right() + 1 - fitted.width()));
    fitted.moveTop(std::clamp(fitted.top(), room.top(), room.bottom() + 1 - fitted.height()));
    return fitted;
}

void fitOnScreen(QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen) return;
    const QRect fitted = fittedRect(window->geometry(), frameOf(window), screen->availableGeometry());
    if (fitted.size() != window->size()) window->resize(fitted.size());
    // Its least size may be more than asked: it is placed as it came out.
    const QRect placed =
        fittedRect(QRect(fitted.topLeft(), window->size()), frameOf(window), screen->availableGeometry());
    if (placed.topLeft() != window->geometry().topLeft()) window->move(placed.topLeft() - QPoint(0, 0));
}

void onEveryWindowShown(std::function<void(QWidget*)> act) {
    if (qApp) qApp->installEventFilter(new WindowShownWatch(qApp, std::move(act)));
}

void keepWindowsOnScreen() {
    static bool kept = false;
    if (kept || !qApp) return;
    kept = true;
    onEveryWindowShown([](QWidget* window) {
        if (fittedWhenShown(window)) fitOnScreen(window);
    });
}

FittingScrollArea::FittingScrollArea(QWidget* content, QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setWidget(content);
    setFocusPolicy(Qt::NoFocus);
}

QSize FittingScrollArea::sizeHint() const {
    const QWidget* content = widget();
    if (!content) return QScrollArea::sizeHint();
    const int frame = 2 * frameWidth();
    return content->sizeHint().expandedTo(content->minimumSizeHint()) + QSize(frame, frame);
}

QSize FittingScrollArea::minimumSizeHint() const {
    // Room for a few lines and the scroll bars.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return QSize(8 * bar, 6 * bar);
}

}  // namespace molvane
