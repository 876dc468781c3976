#include "windowkit/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QColor>
#include <QHash>
#include <QWidget>

namespace molvane {

namespace {

QHash<const QObject*, SpokenText>& spoken() {
    static QHash<const QObject*, SpokenText> texts;
    return texts;
}

// A drawn picture: a graphic whose description is its live text.
class SpeakingPicture final : public QAccessibleWidget {
public:
    explicit SpeakingPicture(QWidget* picture) : QAccessibleWidget(picture, QAccessible::Graphic) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description) {
            const auto found = spoken().constFind(object());
            if (found != spoken().constEnd() && *found) return (*found)();
        }
        return QAccessibleWidget::text(t);
    }
};

AnnouncementWatcher& watcher() {
    static AnnouncementWatcher watching;
    return watching;
}

QAccessibleInterface* speakingFactory(const QString&, QObject* object) {
    if (object && object->isWidgetType() && spoken().contains(object))
        return new SpeakingPicture(static_cast<QWidget*>(object));
    return nullptr;
}

}  // namespace

void setAccessibleText(QWidget* control, const QString& name, const QString& description) {
    control->setAccessibleName(name);
    if (!description.isEmpty()) control->setAccessibleDescription(description);
}

int nameControls(QWidget* window, std::initializer_list<AccessibleEntry> entries) {
    int found = 0;
    for (const AccessibleEntry& entry : entries) {
        const QString name = QString::fromLatin1(entry.objectName);
        QWidget* control = window->objectName() == name ? window : window->findChild<QWidget*>(name);
        if (!control) continue;
        ++found;
        setAccessibleText(control, QString::fromUtf8(entry.name),
                          entry.description ? QString::fromUtf8(entry.description) : QString());
    }
    return found;
}

void speakOnDemand(QWidget* picture, SpokenText text) {
    static const bool installed = [] {
        QAccessible::installFactory(speakingFactory);
        return true;
    }();
    (void)installed;
    spoken().insert(picture, std::move(text));
    // Setting a name or description makes the plain widget's interface,
    // which would stay cached: it goes, and the next reader gets the picture's.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(picture);
        made && !dynamic_cast<SpeakingPicture*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    QObject::connect(picture, &QObject::destroyed, [picture] { spoken().remove(picture); });
}

bool speaksOnDemand(const QObject* picture) {
    return spoken().contains(picture);
}

void setAnnouncementWatcher(AnnouncementWatcher watching) {
    watcher() = std::move(watching);
}

void announceChange(QWidget* picture) {
    if (watcher()) watcher()(picture);
    QAccessibleEvent event(picture, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

QString colourName(const QColor& colour) {
    const QColor hsl = colour.toHsl();
    const int light = hsl.lightness();
    if (hsl.hslSaturation() < 40 || light < 20 || light > 240) {
        if (light < 40) return QStringLiteral("noir");
        if (light > 225) return QStringLiteral("blanc");
        if (light < 100) return QStringLiteral("gris foncé");
        return light > 170 ? QStringLiteral("gris clair") : QStringLiteral("gris");
    }
    static const struct {
        int upTo;
        const char* name;
    } kHues[] = {{14, "rouge"}, {44, "orange"},  {70, "jaune"},    {160, "vert"}, {195, "cyan"},
                 {255, "bleu"}, {285, "violet"}, {335, "magenta"}, {360, "rouge"}};
    QString name;
    for (const auto& hue : kHues) {
        if (hsl.hslHue() <= hue.upTo) {
            name = QString::fromUtf8(hue.name);
            break;
        }
    }
    if (light < 70) return name + QStringLiteral(" foncé");
    if (light > 190) return name + QStringLiteral(" clair");
    return name;
}

}  // namespace molvane
