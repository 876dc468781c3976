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
#include "core/settings.h"
#include "core/simulation.h"
#include "front/mainstate.h"
#include "ui/main/controlplace.h"
#include "ui/main/inputs.h"
#include "ui/main/tabstrip.h"
#include "windowkit/accessibility.h"
#include "windowkit/surfaces.h"

namespace molvane {

namespace {

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

QAccessibleInterface* swatchFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(Swatch::staticMetaObject.className()))
        if (auto* swatch = qobject_cast<Swatch*>(object)) return new SwatchInterface(swatch);
    return nullptr;
}

}  // namespace

void nameMainWindow(QWidget* window) {
    installReaderInterfaces();
    static const bool installed = [] {
        QAccessible::installFactory(swatchFactory);
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
    }
    // The bars read as the values they show.
    readBarsAsShown(window);
}

QString runText(const Simulation& run) {
    return QString::fromStdString(runSpoken(run));
}

QString graphText(const Simulation& run) {
    return QString::fromStdString(graphSpoken(run));
}

RunSpeech::RunSpeech(const Simulation& run, QWidget* vessel, QWidget* graph)
    : QObject(vessel), run_(run), vessel_(vessel), graph_(graph) {
    speakOnDemand(vessel_, [this] { return runText(run_); });
    speakOnDemand(graph_, [this] { return graphText(run_); });
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
