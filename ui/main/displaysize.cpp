#include "ui/main/displaysize.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <vector>

// Qt has no public way to change its scale factor once windows exist.
#include <private/qhighdpiscaling_p.h>

namespace molvane {

namespace {

const QString kSettingsKey = QStringLiteral("affichage/taille");
// A title bar's height, for a window not framed yet.
constexpr QSize kGuessedFrame{0, 32};

QSettings userSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Molvane"),
                     QStringLiteral("molvane"));
}

// The factor QT_SCALE_FACTOR asked for at start-up: every size multiplies it.
double startFactor() {
    static const double factor = [] {
        bool ok = false;
        const double f = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
        return ok && f > 0 && std::isfinite(f) ? f : 1.0;
    }();
    return factor;
}

double& globalFactor() {
    static double factor = startFactor();
    return factor;
}

QtMessageHandler previousHandler = nullptr;

void setGlobalFactor(double factor) {
    if (factor == globalFactor()) return;
    globalFactor() = factor;
    // Qt warns that windows exist: they are all given new native windows below.
    previousHandler =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (!text.startsWith(QLatin1String("QHighDpiScaling")) && previousHandler)
                previousHandler(type, context, text);
        });
    QHighDpiScaling::setGlobalFactor(factor);
    qInstallMessageHandler(previousHandler);
}

// The screen's own factor (its resolution), beside the global one.
double screenFactor(const QScreen* screen) {
    return screen ? QHighDpiScaling::factor(screen) / globalFactor() : 1.0;
}

// Native pixels per window pixel on this screen.
double totalFactor(const QScreen* screen) {
    return screen ? QHighDpiScaling::factor(screen) : globalFactor();
}

QSize nativeSize(QSize size, double factor) {
    return QSize(static_cast<int>(std::lround(size.width() * factor)),
                 static_cast<int>(std::lround(size.height() * factor)));
}

// The global factor for a size on this screen. A size the screen cannot hold
// would leave the lower controls out of reach: the largest that fits is
// taken instead, never under 100 %, and the choice stays for a larger screen.
double factorFor(int percent, const QScreen* screen, QSize content, QSize frame) {
    if (!screen) return percent == kFitScreen ? startFactor() : startFactor() * percent / 100.0;
    const QSize room = nativeSize(screen->availableGeometry().size(), totalFactor(screen));
    const double fitting = fittingScale(content, frame, room) / screenFactor(screen);
    return shownScale(percent, startFactor(), fitting);
}

// Every window keeps its native window through a change of factor: a new
// one would drop the keys still queued for the old one, and the typing and
// shortcuts that come while the window manager hands the focus over. Each
// shown window is given its own pixels' size again at the new factor, then
// redrawn whole at its new ratio.
void rescaleWindows(double factor) {
    struct Shown {
        QPointer<QWidget> widget;
        QSize size;
    };
    std::vector<Shown> shown;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->windowHandle() && w->windowType() != Qt::Popup)
            shown.push_back({w, w->size()});
    }
    setGlobalFactor(factor);
    for (const Shown& s : shown) {
        if (!s.widget) continue;
        QWindow* native = s.widget->windowHandle();
        if (!native) continue;
        native->resize(s.size);
        // Sends every widget its change of screen and repaints the window.
        QMetaObject::invokeMethod(native, "handleScreenChange", Qt::DirectConnection);
    }
}

}  // namespace

QString displaySizeCaption(int percent) {
    if (percent == kFitScreen) return QStringLiteral("Adaptée à l'écran");
    return QStringLiteral("%1 %").arg(percent);
}

int validDisplaySize(int percent) {
    return std::find(kDisplaySizes.begin(), kDisplaySizes.end(), percent) != kDisplaySizes.end() ? percent
                                                                                                 : 100;
}

double fittingScale(QSize content, QSize frame, QSize room) {
    if (content.isEmpty()) return 1.0;
    const double wide = static_cast<double>(room.width() - frame.width()) / content.width();
    const double high = static_cast<double>(room.height() - frame.height()) / content.height();
    return std::max(1.0, std::floor(std::min(wide, high) * 20.0 + 1e-9) / 20.0);
}

double fillingScale(QSize content, QSize screen) {
    if (content.isEmpty() || screen.isEmpty()) return 1.0;
    return std::min(static_cast<double>(screen.width()) / content.width(),
                    static_cast<double>(screen.height()) / content.height());
}

double shownScale(int percent, double least, double fitting) {
    if (percent == kFitScreen) return std::max(least, fitting);
    return std::max(least, std::min(least * percent / 100.0, fitting));
}

QPoint centredOrigin(QSize content, QSize window) {
    return QPoint(std::max(0, (window.width() - content.width()) / 2),
                  std::max(0, (window.height() - content.height()) / 2));
}

int storedDisplaySize() {
    return validDisplaySize(userSettings().value(kSettingsKey, 100).toInt());
}

void storeDisplaySize(int percent) {
    QSettings settings = userSettings();
    settings.setValue(kSettingsKey, validDisplaySize(percent));
}

void applyStoredDisplaySize(QSize content) {
    const int percent = storedDisplaySize();
    if (percent == 100) return;
    // No window yet: the frame is guessed as a title bar's height.
    setGlobalFactor(factorFor(percent, QGuiApplication::primaryScreen(), content, kGuessedFrame));
}

DisplaySize::DisplaySize(QWidget* window, QSize content, QPushButton* button)
    : QObject(window), window_(window), content_(content), size_(storedDisplaySize()), button_(button) {
    // The menu is titled as its button.
    menu_ = new QMenu(QString(button_->text()).remove(QLatin1Char('&')), window);
    menu_->setObjectName(QStringLiteral("menutaille"));
    auto* group = new QActionGroup(menu_);
    for (std::size_t k = 0; k < kDisplaySizes.size(); ++k) {
        const int percent = kDisplaySizes[k];
        QAction* action = menu_->addAction(displaySizeCaption(percent));
        action->setCheckable(true);
        action->setActionGroup(group);
        connect(action, &QAction::triggered, this, [this, percent] { choose(percent); });
        sizeActions_[k] = action;
    }
    menu_->addSeparator();
    fullScreenAction_ = menu_->addAction(QStringLiteral("Plein écran"));
    fullScreenAction_->setCheckable(true);
    fullScreenAction_->setShortcut(QKeySequence(Qt::Key_F11));
    connect(fullScreenAction_, &QAction::triggered, this, [this] { setFullScreen(!fullScreen_); });

    // The button sits in the free corner under the text area, last of the
    // Tab round before the vessel; F10 also opens its menu.
    button_->setFocusPolicy(Qt::StrongFocus);
    connect(button_, &QPushButton::clicked, this,
            [this] { popUp(button_->mapToGlobal(QPoint(0, button_->height()))); });

    const auto shortcut = [this](const QKeySequence& keys, auto&& run) {
        auto* s = new QShortcut(keys, window_);
        connect(s, &QShortcut::activated, this, run);
        return s;
    };
    shortcut(QKeySequence(Qt::Key_F10),
             [this] { popUp(button_->mapToGlobal(QPoint(0, button_->height()))); });
    shortcut(QKeySequence(Qt::Key_F11), [this] { setFullScreen(!fullScreen_); });
    QShortcut* escape = shortcut(QKeySequence(Qt::Key_Escape), [this] { setFullScreen(false); });
    escape->setEnabled(false);
    connect(fullScreenAction_, &QAction::toggled, escape, &QShortcut::setEnabled);
    // Ctrl++ and Ctrl+- step through the sizes, Ctrl+0 comes back to 100 %.
    const auto step = [this](int by) {
        static constexpr std::array<int, 5> kSteps{100, 125, 150, 175, 200};
        const int now = static_cast<int>(std::lround(globalFactor() / startFactor() * 100));
        int next = by > 0 ? kSteps.back() : kSteps.front();
        if (by > 0) {
            for (int p : kSteps)
                if (p > now) {
                    next = p;
                    break;
                }
        } else {
            for (int p : kSteps)
                if (p < now) next = p;
        }
        choose(next);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Plus), [step] { step(1); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Equal), [step] { step(1); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus), [step] { step(-1); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { choose(100); });

    window_->installEventFilter(this);
    showChoice();
}

void DisplaySize::showChoice() {
    for (std::size_t k = 0; k < kDisplaySizes.size(); ++k)
        sizeActions_[k]->setChecked(kDisplaySizes[k] == size_);
    fullScreenAction_->setChecked(fullScreen_);
}

void DisplaySize::popUp(QPoint at) {
    if (QApplication::activeModalWidget()) return;
    showChoice();
    menu_->popup(at);
}

void DisplaySize::choose(int percent) {
    size_ = validDisplaySize(percent);
    storeDisplaySize(size_);
    showChoice();
    if (fullScreen_) return;  // taken when full screen ends
    applyScale(factorFor(size_, window_->screen(), content_, nativeFrame()));
}

QSize DisplaySize::nativeFrame() {
    // In full screen, or before the window manager has framed the window,
    // the last frame seen stands for the one the window will get.
    const QRect outer = window_->frameGeometry(), inner = window_->geometry();
    if (!fullScreen_ && !window_->isFullScreen() && outer != inner) {
        const double factor = totalFactor(window_->screen());
        frameTopLeft_ = nativeSize(QSize(inner.left() - outer.left(), inner.top() - outer.top()), factor);
        frame_ = nativeSize(outer.size() - inner.size(), factor);
    }
    return frame_;
}

void DisplaySize::applyScale(double factor) {
    // Not while a modal box waits for its answer.
    if (QApplication::activeModalWidget() || factor == globalFactor()) return;
    rescaleWindows(factor);
    centre();
}

void DisplaySize::centre() {
    const QScreen* screen = window_->screen();
    QWindow* native = window_->windowHandle();
    if (!screen || !native || fullScreen_) return;
    // The frame is the window manager's: its pixels are not scaled. Just
    // out of full screen the window has none yet: the window's own corner
    // is placed, inside the frame it had.
    const QSize frame = nativeFrame();
    const double factor = totalFactor(screen);
    const auto logical = [factor](int pixels) { return static_cast<int>(std::ceil(pixels / factor)); };
    const QRect area = screen->availableGeometry();
    const QSize outer = content_ + QSize(logical(frame.width()), logical(frame.height()));
    native->setPosition(
        area.left() + std::max(0, (area.width() - outer.width()) / 2) + logical(frameTopLeft_.width()),
        area.top() + std::max(0, (area.height() - outer.height()) / 2) + logical(frameTopLeft_.height()));
}

void DisplaySize::setFullScreen(bool on) {
    if (on == fullScreen_ || QApplication::activeModalWidget()) return;
    fullScreen_ = on;
    showChoice();
    const QScreen* screen = window_->screen();
    if (on) {
        nativeFrame();  // kept for the way back
        const QSize native = nativeSize(screen ? screen->geometry().size() : content_, totalFactor(screen));
        const double factor = fillingScale(content_, native) / screenFactor(screen);
        rescaleWindows(factor);
        window_->showFullScreen();
        moveContent(centredOrigin(content_, window_->size()));
    } else {
        moveContent(QPoint());
        window_->showNormal();
        applyScale(factorFor(size_, screen, content_, nativeFrame()));
        window_->resize(content_);
    }
}

void DisplaySize::moveContent(QPoint origin) {
    if (origin == origin_) return;
    const QPoint by = origin - origin_;
    origin_ = origin;
    for (QObject* child : window_->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && !widget->isWindow()) widget->move(widget->pos() + by);
    }
    window_->update();
}

void DisplaySize::beginPaint(QPainter& painter) const {
    if (origin_.isNull()) return;
    painter.fillRect(window_->rect(), Qt::black);
    painter.translate(origin_);
}

bool DisplaySize::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        if (event->type() == QEvent::Resize && fullScreen_) {
            moveContent(centredOrigin(content_, window_->size()));
        } else if (event->type() == QEvent::WindowActivate && !framed_) {
            // The window manager's frame is known from now on: a size bound
            // by the screen, taken at start-up with a frame guessed, is taken
            // again with the real one.
            framed_ = true;
            if (!fullScreen_) choose(size_);
        } else if (event->type() == QEvent::ScreenChangeInternal && !fullScreen_) {
            // On a screen of another resolution the window keeps its size in
            // its own pixels, as at a change of size.
            if (QWindow* native = window_->windowHandle(); native && native->size() != window_->size())
                native->resize(window_->size());
        } else if (event->type() == QEvent::ContextMenu) {
            popUp(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        } else if (event->type() == QEvent::WindowStateChange && fullScreen_ &&
                   !(window_->windowState() & Qt::WindowFullScreen) && window_->isVisible()) {
            // The window manager took full screen away.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (!(window_->windowState() & Qt::WindowFullScreen)) setFullScreen(false);
                },
                Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace molvane
