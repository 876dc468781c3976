#include "ui/main/displaysize.h"

#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QStyleFactory>
#include <QTableView>
#include <algorithm>
#include <cmath>

#include "ui/main/tabstrip.h"
#include "windowkit/designscale.h"

namespace molvane {

namespace {

const QString kSettingsKey = QStringLiteral("affichage/taille");
// A title bar's height, for a window not framed yet.
constexpr QSize kGuessedFrame{0, 32};
// What a control keeps of its design: its rectangle and its own font.
constexpr const char* kDesignRect = kDesignRectProperty;
constexpr char kDesignFont[] = "molvaneDesignFont";
constexpr char kRowScale[] = "molvaneRowScale";
constexpr char kColumnScale[] = "molvaneColumnScale";
constexpr char kDesignRows[] = "molvaneDesignRows";

// The scale a table's rows or columns were last given, and the new one.
double rescaleBy(QWidget* view, const char* property, double scale) {
    const QVariant kept = view->property(property);
    const double before = kept.isValid() ? kept.toDouble() : 1.0;
    view->setProperty(property, scale);
    return scale / before;
}

QSettings userSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Molvane"),
                     QStringLiteral("molvane"));
}

// The style's measures a larger display needs larger: scroll bars, check
// boxes and option buttons, sliders, icons and the layouts' margins.
class ScaledStyle final : public QProxyStyle {
public:
    ScaledStyle(QStyle* base, double scale) : QProxyStyle(base), scale_(scale) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        switch (metric) {
            case PM_ScrollBarExtent:
            case PM_ScrollBarSliderMin:
            case PM_SliderThickness:
            case PM_SliderLength:
            case PM_SliderControlThickness:
            case PM_IndicatorWidth:
            case PM_IndicatorHeight:
            case PM_ExclusiveIndicatorWidth:
            case PM_ExclusiveIndicatorHeight:
            case PM_SmallIconSize:
            case PM_ButtonIconSize:
            case PM_ToolBarIconSize:
            case PM_ListViewIconSize:
            case PM_IconViewIconSize:
            case PM_MessageBoxIconSize:
            case PM_LayoutLeftMargin:
            case PM_LayoutTopMargin:
            case PM_LayoutRightMargin:
            case PM_LayoutBottomMargin:
            case PM_LayoutHorizontalSpacing:
            case PM_LayoutVerticalSpacing:
            case PM_CheckBoxLabelSpacing:
            case PM_RadioButtonLabelSpacing:
            case PM_MenuHMargin:
            case PM_MenuVMargin:
            case PM_HeaderMargin:
            case PM_TreeViewIndentation:
                return value > 0 ? scaledLength(value, scale_) : value;
            default:
                return value;
        }
    }

private:
    double scale_;
};

struct ApplicationDesign {
    QFont font;
    QString styleName;
    double scale = 1.0;
};

ApplicationDesign& applicationDesign() {
    static ApplicationDesign design = [] {
        ApplicationDesign d;
        d.font = QApplication::font();
        d.styleName = QApplication::style() ? QApplication::style()->name() : QString();
        return d;
    }();
    return design;
}

QFont scaledFont(QFont font, double scale) {
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * scale);
    else if (font.pixelSize() > 0)
        font.setPixelSize(scaledLength(font.pixelSize(), scale));
    return font;
}

}  // namespace

double applicationScale() {
    return applicationDesign().scale;
}

void setApplicationScale(double scale) {
    ApplicationDesign& design = applicationDesign();
    if (scale == design.scale) return;
    design.scale = scale;
    QApplication::setFont(scaledFont(design.font, scale));
    QStyle* base = QStyleFactory::create(design.styleName);
    if (!base) return;
    if (scale == 1.0)
        QApplication::setStyle(base);
    else
        QApplication::setStyle(new ScaledStyle(base, scale));
}

void scaleWindowContent(QWidget* window, double scale, QPoint origin) {
    window->setProperty(kDesignScaleProperty, scale);
    const auto scaleFont = [scale](QWidget* widget) {
        if (!widget->testAttribute(Qt::WA_SetFont)) return;
        QVariant kept = widget->property(kDesignFont);
        if (!kept.isValid()) {
            kept = widget->font();
            widget->setProperty(kDesignFont, kept);
        }
        const QFont font = scaledFont(kept.value<QFont>(), scale);
        if (widget->font() != font) widget->setFont(font);
    };
    scaleFont(window);
    // Parents come before their children: a strip of tabs places its panels
    // as it is given its new size.
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->isWindow() || widget->window() != window) continue;
        scaleFont(widget);
        // The table of values: its rows and columns grow with its text.
        if (auto* view = qobject_cast<QTableView*>(widget)) {
            QHeaderView* rows = view->verticalHeader();
            QHeaderView* columns = view->horizontalHeader();
            if (rescaleBy(view, kRowScale, scale) != 1.0) {
                // The rows from their design height, so that sizes in turn add no rounding.
                if (!view->property(kDesignRows).isValid())
                    view->setProperty(kDesignRows,
                                      QSize(rows->defaultSectionSize(), columns->maximumHeight()));
                const QSize design = view->property(kDesignRows).toSize();
                const int rowHeight = scaledLength(design.width(), scale);
                rows->setMinimumSectionSize(std::min(rows->minimumSectionSize(), rowHeight));
                rows->setDefaultSectionSize(rowHeight);
                rows->setMinimumSectionSize(rowHeight);
                if (columns->minimumHeight() == columns->maximumHeight() && design.height() > 0 &&
                    design.height() < QWIDGETSIZE_MAX)
                    columns->setFixedHeight(scaledLength(design.height(), scale));
            }
            if (const double by = rescaleBy(view, kColumnScale, scale); by != 1.0) {
                for (int c = 0; c < columns->count(); ++c)
                    columns->resizeSection(c, scaledLength(columns->sectionSize(c), by));
            }
        }
        const QVariant kept = widget->property(kDesignRect);
        if (!kept.isValid()) continue;
        QRect rect = scaledRect(kept.toRect(), scale);
        if (widget->parentWidget() == window) rect.translate(origin);
        if (widget->minimumSize() == widget->maximumSize()) widget->setFixedSize(rect.size());
        widget->setGeometry(rect);
    }
    window->update();
}

void rememberDesignRect(QWidget* widget, const QRect& rect) {
    widget->setProperty(kDesignRect, rect);
}

QString displaySizeCaption(int percent) {
    if (percent == kFitScreen) return QStringLiteral("Adaptée à l'écran");
    return QStringLiteral("%1 %").arg(percent);
}

int validDisplaySize(int percent) {
    return std::find(kDisplaySizes.begin(), kDisplaySizes.end(), percent) != kDisplaySizes.end() ? percent
                                                                                                 : 100;
}

bool sizeFits(int percent, QSize content, QSize frame, QSize room) {
    if (percent == 100 || percent == kFitScreen) return true;
    const QSize outer = scaledSize(content, percent / 100.0) + frame;
    return outer.width() <= room.width() && outer.height() <= room.height();
}

QString displaySizeMenuCaption(int percent, bool fits) {
    return fits ? displaySizeCaption(percent)
                : displaySizeCaption(percent) + QStringLiteral(" (écran trop petit)");
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
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (percent == 100 || !screen) return;
    // No window yet: the frame is guessed as a title bar's height.
    setApplicationScale(
        shownScale(percent, 1.0, fittingScale(content, kGuessedFrame, screen->availableGeometry().size())));
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
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Plus), [this] { step(1); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { step(1); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus), [this] { step(-1); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { choose(100); });

    window_->installEventFilter(this);
    showChoice();
    // Every control keeps its design rectangle; the window is laid out at
    // the kept size at once, and again once it is framed.
    for (QWidget* widget : window_->findChildren<QWidget*>())
        if (!widget->isWindow() && !widget->property(kDesignRect).isValid() &&
            !qobject_cast<TabStrip*>(widget->parentWidget()) && widget->objectName().size() > 0 &&
            !widget->objectName().startsWith(QLatin1String("qt_")) && !widget->parentWidget()->layout())
            rememberDesignRect(widget, widget->geometry());
    applyScale(scaleFor(size_));
}

QSize DisplaySize::windowSize() const {
    return scaledSize(content_, scale_);
}

void DisplaySize::step(int by) {
    static constexpr std::array<int, 5> kSteps{100, 125, 150, 175, 200};
    const int now = static_cast<int>(std::lround(scale_ * 100));
    int next = 0;
    if (by > 0) {
        for (int p : kSteps)
            if (p > now && fits(p)) {
                next = p;
                break;
            }
    } else {
        for (int p : kSteps)
            if (p < now) next = p;
    }
    // Beyond the largest size the screen holds, or under 100 %: nothing to take.
    if (next == 0) {
        QApplication::beep();
        return;
    }
    choose(next);
}

QSize DisplaySize::room() const {
    const QScreen* screen = window_->screen();
    return screen ? screen->availableGeometry().size() : scaledSize(content_, 2.0) + frame_;
}

bool DisplaySize::fits(int percent) {
    return sizeFits(percent, content_, frame(), room());
}

double DisplaySize::scaleFor(int percent) {
    return shownScale(percent, 1.0, fittingScale(content_, frame(), room()));
}

void DisplaySize::showChoice() {
    for (std::size_t k = 0; k < kDisplaySizes.size(); ++k) {
        const bool fit = fits(kDisplaySizes[k]);
        sizeActions_[k]->setText(displaySizeMenuCaption(kDisplaySizes[k], fit));
        sizeActions_[k]->setEnabled(fit);
        sizeActions_[k]->setChecked(kDisplaySizes[k] == size_);
    }
    fullScreenAction_->setChecked(fullScreen_);
}

void DisplaySize::popUp(QPoint at) {
    if (QApplication::activeModalWidget()) return;
    showChoice();
    // The menu opens inside the screen, upwards or to the left where it must.
    menu_->adjustSize();
    if (const QScreen* screen = window_->screen()) {
        const QRect area = screen->availableGeometry();
        const QSize size = menu_->sizeHint();
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
    }
    menu_->popup(at);
}

void DisplaySize::choose(int percent) {
    size_ = validDisplaySize(percent);
    storeDisplaySize(size_);
    showChoice();
    if (fullScreen_) return;  // taken when full screen ends
    applyScale(scaleFor(size_));
    centre();
}

QSize DisplaySize::frame() {
    // In full screen, or before the window manager has framed the window,
    // the last frame seen stands for the one the window will get.
    const QRect outer = window_->frameGeometry(), inner = window_->geometry();
    if (!fullScreen_ && !window_->isFullScreen() && outer != inner) frame_ = outer.size() - inner.size();
    return frame_;
}

void DisplaySize::applyScale(double scale, QPoint origin) {
    // Not while a modal box waits for its answer.
    if (QApplication::activeModalWidget() && window_->isVisible()) return;
    if (scale == scale_ && origin == origin_ && window_->property(kDesignScaleProperty).isValid()) return;
    scale_ = scale;
    origin_ = origin;
    setApplicationScale(scale);
    scaleWindowContent(window_, scale, origin);
    if (!fullScreen_) window_->resize(windowSize());
    showChoice();
}

void DisplaySize::centre() {
    const QScreen* screen = window_->screen();
    if (!screen || fullScreen_) return;
    const QRect area = screen->availableGeometry();
    const QSize outer = windowSize() + frame();
    window_->move(area.left() + std::max(0, (area.width() - outer.width()) / 2),
                  area.top() + std::max(0, (area.height() - outer.height()) / 2));
}

void DisplaySize::setFullScreen(bool on) {
    if (on == fullScreen_ || QApplication::activeModalWidget()) return;
    fullScreen_ = on;
    showChoice();
    const QScreen* screen = window_->screen();
    if (on) {
        frame();  // kept for the way back
        const QSize whole = screen ? screen->geometry().size() : windowSize();
        const double scale = fillingScale(content_, whole);
        window_->showFullScreen();
        applyScale(scale, centredOrigin(scaledSize(content_, scale), whole));
    } else {
        window_->showNormal();
        applyScale(scaleFor(size_));
        window_->resize(windowSize());
        centre();
    }
}

void DisplaySize::beginPaint(QPainter& painter) const {
    if (!origin_.isNull()) {
        painter.fillRect(window_->rect(), Qt::black);
        painter.translate(origin_);
    }
    painter.scale(scale_, scale_);
}

bool DisplaySize::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        if (event->type() == QEvent::Resize && fullScreen_) {
            const QSize whole = window_->size();
            const double scale = fillingScale(content_, whole);
            applyScale(scale, centredOrigin(scaledSize(content_, scale), whole));
        } else if (event->type() == QEvent::WindowActivate && !framed_) {
            // The window manager's frame is known from now on: a size bound
            // by the screen, taken at start-up with a frame guessed, is taken
            // again with the real one.
            framed_ = true;
            if (const double scale = scaleFor(size_); !fullScreen_ && scale != scale_) {
                applyScale(scale);
                centre();
            }
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
