#include "ui/main/tabstrip.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionFocusRect>
#include <QTimer>

#include "common/numbers.h"
#include "core/surface.h"
#include "ui/main/drawing.h"
#include "windowkit/accessibility.h"
#include "windowkit/designscale.h"
#include "windowkit/surfaces.h"

namespace molvane {

namespace {

const std::array<QString, 3> kNames{fromTable(kTabNames[0]), fromTable(kTabNames[1]),
                                    fromTable(kTabNames[2])};

// One tab of the strip, which draws its tabs itself: a tab a reader lists,
// reads as selected or not, and can press; it holds its panel.
class TabInterface final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TabInterface(TabStrip* strip, int tab) : strip_(strip), tab_(tab) {}

    bool isValid() const override { return !strip_.isNull(); }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(strip_); }
    QAccessibleInterface* child(int index) const override {
        QWidget* panel = strip_ ? strip_->panel(tab_) : nullptr;
        return index == 0 && panel ? QAccessible::queryAccessibleInterface(panel) : nullptr;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        QAccessibleInterface* panel = child(0);
        return panel && panel->rect().contains(x, y) ? panel : nullptr;
    }
    int childCount() const override { return strip_ && strip_->panel(tab_) ? 1 : 0; }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child == this->child(0) ? 0 : -1;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return TabStrip::name(tab_);
        if (t == QAccessible::Description)
            return QStringLiteral(
                       "Onglet %1 sur 3 ; les flèches gauche et droite changent d'onglet, "
                       "Ctrl+Tab passe dans l'onglet suivant")
                .arg(tab_);
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!strip_) return {};
        const auto& b = strip_->boundaries();
        const QPoint topLeft = strip_->mapToGlobal(QPoint(b[tab_ - 1] + 1, 0));
        return {topLeft, QSize(b[tab_] - b[tab_ - 1], strip_->nameHeight() + 2)};
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.selectable = true;
        s.focusable = true;
        s.selected = strip_ && strip_->current() == tab_;
        s.focused = s.selected && strip_->hasFocus();
        s.invisible = !strip_ || !strip_->isVisible();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction() && strip_) strip_->setCurrent(tab_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<TabStrip> strip_;
    int tab_;
};

// The strip: a list of three tabs. The keyboard's place in it is the chosen tab.
class TabStripInterface final : public QAccessibleWidget {
public:
    explicit TabStripInterface(TabStrip* strip) : QAccessibleWidget(strip, QAccessible::PageTabList) {
        for (int k = 0; k < 3; ++k) {
            tabs_[k] = new TabInterface(strip, k + 1);
            QAccessible::registerAccessibleInterface(tabs_[k]);
        }
    }
    ~TabStripInterface() override {
        for (TabInterface* tab : tabs_) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(tab));
    }

    int childCount() const override { return 3; }
    QAccessibleInterface* child(int index) const override {
        return index >= 0 && index < 3 ? tabs_[index] : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int k = 0; k < 3; ++k)
            if (child == tabs_[k]) return k;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (TabInterface* tab : tabs_)
            if (tab->rect().contains(x, y)) return tab;
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        auto* strip = static_cast<TabStrip*>(widget());
        return strip->hasFocus() ? tabs_[strip->current() - 1] : nullptr;
    }

private:
    std::array<TabInterface*, 3> tabs_{};
};

// A panel of the strip lies in its tab.
class PanelInterface final : public QAccessibleWidget {
public:
    PanelInterface(QWidget* panel, TabStrip* strip) : QAccessibleWidget(panel), strip_(strip) {}
    QAccessibleInterface* parent() const override {
        QAccessibleInterface* tabs = QAccessible::queryAccessibleInterface(strip_);
        const int tab = strip_ ? strip_->tabOf(object()) : 0;
        return tab > 0 && tabs ? tabs->child(tab - 1) : QAccessibleWidget::parent();
    }

private:
    QPointer<TabStrip> strip_;
};

QAccessibleInterface* stripFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(TabStrip::staticMetaObject.className()))
        if (auto* strip = qobject_cast<TabStrip*>(object)) return new TabStripInterface(strip);
    if (object && object->isWidgetType())
        if (auto* strip = qobject_cast<TabStrip*>(object->parent()); strip && strip->tabOf(object) > 0)
            return new PanelInterface(static_cast<QWidget*>(object), strip);
    return nullptr;
}

}  // namespace

TabStrip::TabStrip(QWidget* parent) : QWidget(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(stripFactory);
        return true;
    }();
    (void)installed;
    setFont(arial(8));
    setFocusPolicy(Qt::StrongFocus);
    measure();
}

int TabStrip::tabOf(const QObject* panel) const {
    for (int k = 0; k < 3; ++k)
        if (panel && panels_[k] == panel) return k + 1;
    return 0;
}

void TabStrip::setPanels(const std::array<QWidget*, 3>& panels) {
    panels_ = panels;
    // Made before they lay in their tabs, their readings would not know it.
    for (QWidget* panel : panels_)
        if (QAccessibleInterface* made = panel ? QAccessible::queryAccessibleInterface(panel) : nullptr)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    placeCurrentPanel();
}

void TabStrip::setCurrent(int tab) {
    if (tab < 1 || tab > 3 || tab == current()) return;
    const int previous = current();
    current_ = static_cast<std::int16_t>(tab);
    placeCurrentPanel();
    update();
    tellCurrentTab(previous);
    emit currentChanged(tab);
}

void TabStrip::tellCurrentTab(int previous) {
    QAccessibleInterface* tabs = QAccessible::queryAccessibleInterface(this);
    if (!tabs) return;
    QAccessible::State selection;
    selection.selected = true;
    if (previous >= 1 && previous <= 3 && previous != current()) {
        QAccessibleStateChangeEvent unselected(tabs->child(previous - 1), selection);
        tellReader(unselected);
    }
    QAccessibleStateChangeEvent selected(tabs->child(current() - 1), selection);
    tellReader(selected);
    if (hasFocus()) {
        QAccessibleEvent focus(tabs->child(current() - 1), QAccessible::Focus);
        tellReader(focus);
    }
}

void TabStrip::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
            cycle(-1);
            break;
        case Qt::Key_Right:
            cycle(1);
            break;
        case Qt::Key_Home:
            setCurrent(Parametres);
            break;
        case Qt::Key_End:
            setCurrent(Suivi);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void TabStrip::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
    // After the strip's own news of the keyboard, which comes once this returns.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus()) tellCurrentTab(current());
    });
}

void TabStrip::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void TabStrip::cycle(int step) {
    setCurrent((current() - 1 + step % 3 + 3) % 3 + 1);
}

QString TabStrip::name(int tab) {
    return tab >= 1 && tab <= 3 ? kNames[tab - 1] : QString();
}

void TabStrip::measure() {
    const QFont regular = arial(8), bold = arial(8, true);
    h_ = roundToInt16(QFontMetricsF(regular).height()).value_or(0);
    // The bold name is wider, so every boundary moves a little with the current tab.
    std::array<double, 3> widths{};
    double sum = 0;
    for (int k = 0; k < 3; ++k) {
        widths[k] = QFontMetricsF(k + 1 == current() ? bold : regular).horizontalAdvance(kNames[k]);
        sum += widths[k];
    }
    layout_ = tabStripLayout(widths, designWidth(), designHeight(), h_);
    b_ = layout_.boundaries;
    gap_ = layout_.gap;
}

void TabStrip::placeCurrentPanel() {
    measure();
    const ControlRect place = layout_.panel;
    for (int k = 0; k < 3; ++k) {
        QWidget* panel = panels_[k];
        if (!panel) continue;
        if (k + 1 == current()) {
            const double scale = designScale(this);
            panel->setGeometry(scaledRect(QRect(place.x, place.y, place.width, place.height), scale));
            panel->show();
        } else {
            panel->hide();
        }
    }
}

int TabStrip::designWidth() const {
    return scaledLength(width(), 1.0 / designScale(this));
}

int TabStrip::designHeight() const {
    return scaledLength(height(), 1.0 / designScale(this));
}

void TabStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeCurrentPanel();
}

void TabStrip::paintEvent(QPaintEvent*) {
    measure();
    const int w = designWidth(), h = designHeight();
    QPainter painter(this);
    painter.scale(designScale(this), designScale(this));
    // The strip's own ground, so that its white lines show on it.
    painter.fillRect(QRect(0, 0, w, h), toQColor(kPanel));
    const int c = current();
    for (const PaintedStroke& stroke : tabStripStrokes(layout_, c, w, h, h_)) {
        painter.setPen(toQColor(stroke.colour));
        painter.drawLine(stroke.x1, stroke.y1, stroke.x2, stroke.y2);
    }

    painter.setPen(Qt::black);
    for (int k = 1; k <= 3; ++k) {
        painter.setFont(arial(8, k == c));
        writeAt(painter, b_[k - 1] + gap_, tabNameTop(k, c), kNames[k - 1]);
    }
    // The keyboard's place: a dotted frame round the chosen tab's name.
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = QRect(b_[c - 1] + 2, 1, b_[c] - b_[c - 1] - 3, h_ + 1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void TabStrip::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF at = designPoint(event->position(), designScale(this));
    if (at.y() < 0 || at.y() > 15) return;
    for (int k = 1; k <= 3; ++k) {
        if (b_[k - 1] < at.x() && at.x() <= b_[k]) {
            setCurrent(k);
            return;
        }
    }
}

}  // namespace molvane
