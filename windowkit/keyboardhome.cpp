#include "windowkit/keyboardhome.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <vector>

namespace molvane {

namespace {

constexpr int kRingWidth = 2;

// A frame around its control, beside it in the same parent: it takes no
// click and hides nothing of the control.
class FocusRing final : public QWidget {
public:
    explicit FocusRing(QWidget* control) : QWidget(control->parentWidget()), control_(control) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        hide();
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != control_) return false;
        switch (event->type()) {
            case QEvent::FocusIn:
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::Show:
                follow();
                break;
            case QEvent::FocusOut:
            case QEvent::Hide:
                hide();
                break;
            default:
                break;
        }
        return false;
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Highlight));
    }

private:
    void follow() {
        if (!control_->hasFocus() || !control_->isVisible()) {
            hide();
            return;
        }
        const QRect around = control_->geometry().adjusted(-kRingWidth, -kRingWidth, kRingWidth, kRingWidth);
        setGeometry(around);
        const QRect inner = rect().adjusted(kRingWidth, kRingWidth, -kRingWidth, -kRingWidth);
        setMask(QRegion(rect()) - QRegion(inner));
        show();
        raise();
    }

    QWidget* control_;
};

// What had the keyboard when a modal window opened.
struct Home {
    QPointer<QWidget> modal;
    QPointer<QWidget> window;
    QPointer<QWidget> focus;
};

class KeyboardHome final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!watched->isWidgetType() || (event->type() != QEvent::Show && event->type() != QEvent::Hide))
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (!widget->isWindow() || !widget->isModal()) return false;
        if (event->type() == QEvent::Show) {
            QWidget* window = QApplication::activeWindow();
            if (!window || window == widget)
                window = widget->parentWidget() ? widget->parentWidget()->window() : nullptr;
            homes_.push_back({widget, window, QApplication::focusWidget()});
        } else {
            for (auto it = homes_.begin(); it != homes_.end(); ++it) {
                if (it->modal != widget) continue;
                const Home home = *it;
                homes_.erase(it);
                // Once the closing is over: the window manager may give the
                // keyboard to nobody in between.
                QTimer::singleShot(0, this, [home] { giveBack(home); });
                break;
            }
        }
        return false;
    }

private:
    static void giveBack(const Home& home) {
        QWidget* modal = QApplication::activeModalWidget();
        QWidget* window = home.window;
        // Its own window gone, the keyboard goes to the box's owner.
        if (!window || !window->isVisible()) return;
        if (modal && modal != window) return;
        if (QApplication::activeWindow() != window) window->activateWindow();
        if (home.focus && home.focus->window() == window && home.focus->isVisible() &&
            home.focus->isEnabled())
            home.focus->setFocus(Qt::ActiveWindowFocusReason);
    }

    std::vector<Home> homes_;
};

}  // namespace

void showFocusRing(QWidget* control) {
    if (control && control->parentWidget()) new FocusRing(control);
}

void keepKeyboardHome() {
    static KeyboardHome* home = nullptr;
    if (home || !qApp) return;
    home = new KeyboardHome(qApp);
    qApp->installEventFilter(home);
}

}  // namespace molvane
