#include "ui/main/accessiblenames.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QWidget>
#include <functional>

#include "core/presentation.h"
#include "core/simulation.h"
#include "ui/main/controlplace.h"
#include "ui/main/inputs.h"
#include "ui/main/tabstrip.h"
#include "windowkit/accessibility.h"

namespace molvane {

namespace {

// One tab of the strip, which draws its tabs itself: a tab a reader lists,
// reads as selected or not, and can press.
class TabInterface final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TabInterface(TabStrip* strip, int tab) : strip_(strip), tab_(tab) {}

    bool isValid() const override { return !strip_.isNull(); }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(strip_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return TabStrip::name(tab_);
        if (t == QAccessible::Description)
            return QStringLiteral(
                       "Onglet %1 sur 3 ; Ctrl+Tab passe à l'onglet suivant, Ctrl+Maj+Tab au précédent")
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
        s.selected = strip_ && strip_->current() == tab_;
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

// The strip: a list of three tabs, followed by its panels.
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

    int childCount() const override { return 3 + QAccessibleWidget::childCount(); }
    QAccessibleInterface* child(int index) const override {
        if (index >= 0 && index < 3) return tabs_[index];
        return QAccessibleWidget::child(index - 3);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int k = 0; k < 3; ++k)
            if (child == tabs_[k]) return k;
        const int other = QAccessibleWidget::indexOfChild(child);
        return other < 0 ? -1 : other + 3;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (TabInterface* tab : tabs_)
            if (tab->rect().contains(x, y)) return tab;
        return QAccessibleWidget::childAt(x, y);
    }

private:
    std::array<TabInterface*, 3> tabs_{};
};

// A colour swatch is pressed like a button, and reads as one; its
// description starts with the colour it shows, in words.
class SwatchInterface final : public QAccessibleWidget {
public:
    explicit SwatchInterface(Swatch* swatch) : QAccessibleWidget(swatch, QAccessible::Button) {}
    QString text(QAccessible::Text t) const override {
        const QString own = QAccessibleWidget::text(t);
        if (t != QAccessible::Description) return own;
        const QString colour = colourName(static_cast<Swatch*>(widget())->shown());
        return fromTable(describedWith(colour.toStdString(), own.toStdString()));
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction()) emit static_cast<Swatch*>(widget())->clicked();
    }
};

QAccessibleInterface* tabStripFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(TabStrip::staticMetaObject.className()))
        if (auto* strip = qobject_cast<TabStrip*>(object)) return new TabStripInterface(strip);
    if (className == QLatin1String(Swatch::staticMetaObject.className()))
        if (auto* swatch = qobject_cast<Swatch*>(object)) return new SwatchInterface(swatch);
    return nullptr;
}

// A bar that sets a value is described with that value as the window shows
// it, from its label or from its own position, and again at each change.
void describeValue(QWidget* window, QScrollBar* bar, const Control& entry) {
    std::function<QString()> shown;
    const QString shownBy = fromTable(entry.valueShownBy);
    if (shownBy.isEmpty()) {
        shown = [bar] { return QString::number(bar->value()); };
    } else if (auto* box = window->findChild<QLineEdit*>(shownBy)) {
        shown = [box] { return box->text(); };
    } else if (auto* label = window->findChild<QLabel*>(shownBy)) {
        shown = [label] { return label->text(); };
    } else {
        return;
    }
    const auto describe = [bar, shown, entry = &entry] {
        bar->setAccessibleDescription(fromTable(valueDescription(*entry, shown().toStdString())));
    };
    describe();
    QObject::connect(bar, &QScrollBar::valueChanged, bar, describe);
}

}  // namespace

void nameMainWindow(QWidget* window) {
    static const bool installed = [] {
        QAccessible::installFactory(tabStripFactory);
        return true;
    }();
    (void)installed;
    for (const Control& entry : mainWindowControls()) {
        // The window itself is read by its title.
        if (entry.parent.empty()) continue;
        auto* control = window->findChild<QWidget*>(fromTable(entry.name));
        if (!control) continue;
        if (!entry.accessibleName.empty()) control->setAccessibleName(fromTable(entry.accessibleName));
        // A description of the table's own replaces one set before; the help
        // text only stands in for none.
        const QString description = fromTable(spokenDescription(entry));
        if (!description.isEmpty() &&
            (!entry.description.empty() || control->accessibleDescription().isEmpty()))
            control->setAccessibleDescription(description);
        if (auto* bar = qobject_cast<QScrollBar*>(control); bar && entry.range)
            describeValue(window, bar, entry);
    }
}

QString runText(const Simulation& run) {
    const std::array<int, 4> counts{run.nbA(), run.nbB(), run.nbC(), run.nbD()};
    QString text =
        QStringLiteral("Temps écoulé : %1. ")
            .arg(QString::fromStdString(clockText(run.elapsed(), run.parameters().decimalSeparator)));
    text += QStringLiteral("Particules : A %1, B %2, C %3, D %4. ")
                .arg(counts[0])
                .arg(counts[1])
                .arg(counts[2])
                .arg(counts[3]);
    if (counts[0] == 0 || counts[1] == 0)
        return text + QStringLiteral("Qr non défini, sans particule A ou B.");
    const double qr =
        (static_cast<double>(counts[2]) / counts[0]) * (static_cast<double>(counts[3]) / counts[1]);
    return text + QStringLiteral("Qr = %1.")
                      .arg(QString::fromStdString(qrText(qr, run.parameters().decimalSeparator)).trimmed());
}

RunSpeech::RunSpeech(const Simulation& run, QWidget* vessel, QWidget* graph)
    : QObject(vessel), run_(run), vessel_(vessel), graph_(graph) {
    speakOnDemand(vessel_, [this] { return runText(run_); });
    speakOnDemand(graph_, [this] { return runText(run_); });
}

void RunSpeech::afterTick() {
    const bool recording = run_.recording();
    if (wasRecording_ && !recording) {
        announceChange(vessel_);
        announceChange(graph_);
    }
    wasRecording_ = recording;
}

}  // namespace molvane
