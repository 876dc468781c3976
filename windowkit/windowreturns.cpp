#include "windowkit/windowreturns.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace molvane {

namespace {

constexpr const char* kIgnored = "molvaneNoReturn";

// Qt's own dialogs, and the program's message boxes, stand in for the
// system's: leaving them is not coming back from a window of the program.
constexpr const char* kStandardDialogs[] = {
    "QMessageBox",      "QColorDialog", "QFileDialog",         "QFontDialog",     "QAbstractPrintDialog",
    "QPageSetupDialog", "QInputDialog", "QPrintPreviewDialog", "QProgressDialog", "QErrorMessage",
};

}  // namespace

WindowReturns::WindowReturns(QWidget* home, std::function<void()> back)
    : QObject(home), home_(home), back_(std::move(back)) {
    qApp->installEventFilter(this);
}

void WindowReturns::ignore(QWidget* window) {
    window->setProperty(kIgnored, true);
}

bool WindowReturns::counts(const QWidget* window) {
    if (!window->isWindow() || window->property(kIgnored).toBool()) return false;
    switch (window->windowType()) {
        case Qt::Popup:
        case Qt::ToolTip:
        case Qt::SplashScreen:
        case Qt::Desktop:
            return false;
        default:
            break;
    }
    for (const char* name : kStandardDialogs)
        if (window->inherits(name)) return false;
    return true;
}

bool WindowReturns::eventFilter(QObject* receiver, QEvent* event) {
    // A window hidden by the program is a window closed; one that the system
    // hides (minimised) is not.
    if (event->type() != QEvent::Hide || event->spontaneous() || !receiver->isWidgetType()) return false;
    auto* window = static_cast<QWidget*>(receiver);
    if (window == home_ || !counts(window)) return false;
    if (!pending_) {
        pending_ = true;
        QMetaObject::invokeMethod(this, &WindowReturns::comeBack, Qt::QueuedConnection);
    }
    return false;
}

void WindowReturns::comeBack() {
    pending_ = false;
    if (home_ && home_->isVisible() && back_) back_();
}

}  // namespace molvane
