#include "windowkit/modalguard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

namespace molvane {

namespace {

// Follows the mouse presses and key presses of the whole program, so that a
// modal window knows what it interrupts.
class InputWatch final : public QObject {
public:
    explicit InputWatch(QObject* parent) : QObject(parent) {}

    static InputWatch* instance() {
        static QPointer<InputWatch> watch;
        if (!watch && qApp) {
            watch = new InputWatch(qApp);
            qApp->installEventFilter(watch);
        }
        return watch;
    }

    void beforeModal() {
        if (pressed_) {
            // Outside the control, so that a button comes up without clicking.
            QMouseEvent release(QEvent::MouseButtonRelease, QPointF(-1, -1), QPointF(-1, -1), button_,
                                Qt::NoButton, Qt::NoModifier);
            QPointer<QWidget> control = pressed_;
            pressed_ = nullptr;
            QCoreApplication::sendEvent(control, &release);
        }
        if (pressOnItsWay_) dropPress_ = true;
        if (keyHeld_) dropRepeats_ = true;
    }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                return press(receiver, static_cast<QMouseEvent*>(event));
            case QEvent::MouseButtonRelease:
                if (receiver->isWindowType()) {
                    pressOnItsWay_ = false;
                    dropPress_ = false;
                } else if (receiver->isWidgetType()) {
                    pressed_ = nullptr;
                }
                return false;
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
                return key(static_cast<QKeyEvent*>(event));
            default:
                return false;
        }
    }

private:
    bool press(QObject* receiver, const QMouseEvent* event) {
        if (receiver->isWindowType()) {
            // The window gets the press first; its control only after the
            // focus has moved, which may open a box.
            pressOnItsWay_ = true;
            dropPress_ = false;
            return false;
        }
        if (!receiver->isWidgetType()) return false;
        auto* widget = static_cast<QWidget*>(receiver);
        if (dropPress_) {
            dropPress_ = false;
            pressOnItsWay_ = false;
            return true;
        }
        pressOnItsWay_ = false;
        // A press that a child left goes on to its parent: the child stays the one held.
        if (!pressed_ || !widget->isAncestorOf(pressed_)) {
            pressed_ = widget;
            button_ = event->button();
        }
        return false;
    }

    bool key(const QKeyEvent* event) {
        if (event->isAutoRepeat()) return dropRepeats_;
        if (event->type() == QEvent::KeyPress) {
            keyHeld_ = true;
        } else {
            keyHeld_ = false;
        }
        dropRepeats_ = false;
        return false;
    }

    QPointer<QWidget> pressed_;  // the control the mouse holds down
    Qt::MouseButton button_ = Qt::LeftButton;
    bool pressOnItsWay_ = false;  // a window has a press that no control has had yet
    bool dropPress_ = false;      // ...and a modal window opened meanwhile
    bool keyHeld_ = false;        // a key is down (its own press, not a repeat)
    bool dropRepeats_ = false;    // the held key's repeats run nothing
};

void startWatch() {
    InputWatch::instance();
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(startWatch)

ModalScope::ModalScope() {
    if (InputWatch* watch = InputWatch::instance()) watch->beforeModal();
    while (const QCursor* cursor = QGuiApplication::overrideCursor()) {
        cursors_.prepend(*cursor);
        QGuiApplication::restoreOverrideCursor();
    }
}

ModalScope::~ModalScope() {
    for (const QCursor& cursor : cursors_) QGuiApplication::setOverrideCursor(cursor);
}

}  // namespace molvane
