#include "ui/main/accessiblenames.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QWidget>

#include "core/settings.h"
#include "core/simulation.h"
#include "ui/main/hoverhelp.h"
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
        return own.isEmpty() ? colour : colour + QStringLiteral(" ; ") + own;
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

// Controls whose own text says too little, or that have none.
constexpr AccessibleEntry kNames[] = {
    {"animpic", "Récipient de la réaction"},
    {"Picture2", "Graphe du nombre de particules en fonction du temps"},
    {"MSFlexGrid1", "Tableau de valeurs"},
    {"Text1_0", "Nombre initial de particules A"},
    {"Text1_1", "Nombre initial de particules B"},
    {"Text1_2", "Nombre initial de particules C"},
    {"Text1_3", "Nombre initial de particules D"},
    {"Onglets", "Onglets des réglages"},
    {"Picture3", "Panneau Paramètres"},
    {"Frame2", "Panneau Affichage"},
    {"Picture1", "Panneau Suivi du système"},
    {"Label5_0", "Pourcentage de chocs efficaces, sens 1 : A + B donne C + D, en pour cent"},
    {"Label5_1", "Pourcentage de chocs efficaces, sens 2 : C + D donne A + B, en pour cent"},
    {"VScroll4_0", "Réglage du pourcentage de chocs efficaces, sens 1"},
    {"VScroll4_1", "Réglage du pourcentage de chocs efficaces, sens 2"},
    {"HScroll1", "Température du système", "Vers la droite, les particules vont plus vite"},
    {"Label4_1", "Couleur de A"},
    {"Label4_2", "Couleur de B"},
    {"Label4_3", "Couleur de C"},
    {"Label4_4", "Couleur de D"},
    {"VScroll2", "Durée de l'enregistrement"},
    {"VScroll3", "Nombre de lignes du tableau"},
    {"Comloupe", "Agrandir", "Montrer le récipient deux fois plus grand dans une autre fenêtre"},
    {"fich", "Fichier du texte"},
    {"supertext", "Énoncé et réponses", "L'énoncé de l'exercice, et les réponses que vous y écrivez"},
};

}  // namespace

void nameMainWindow(QWidget* window) {
    installReaderInterfaces();
    static const bool installed = [] {
        QAccessible::installFactory(swatchFactory);
        return true;
    }();
    (void)installed;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        const QString hover = hoverText(designName(*control), {});
        if (!hover.isEmpty() && control->accessibleDescription().isEmpty())
            control->setAccessibleDescription(
                QString(hover).replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
    }
    for (const AccessibleEntry& entry : kNames) nameControls(window, {entry});
    // The bars read as the values they show.
    readBarsAsShown(window);
}

QString runText(const Simulation& run) {
    const std::array<int, 4> counts{run.nbA(), run.nbB(), run.nbC(), run.nbD()};
    QString text = QStringLiteral("Temps écoulé : %1. ").arg(QString::fromStdString(run.label1()));
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

QString graphText(const Simulation& run) {
    static const char* const kSpecies[] = {"A", "B", "C", "D"};
    QStringList drawn;
    for (int s = 0; s < 4; ++s)
        if (run.parameters().curves[s])
            drawn << QStringLiteral("%1 en %2")
                         .arg(QLatin1String(kSpecies[s]), colourName(toQColor(run.parameters().colours[s])));
    QString text = drawn.isEmpty()
                       ? QStringLiteral("Aucune courbe tracée")
                       : QStringLiteral("Nombre de particules de ") + drawn.join(QStringLiteral(", "));
    text += QStringLiteral(" en fonction du temps, de 0 à %1. ")
                .arg(QString::fromStdString(durationLabel(run.duration())));
    // Each run ends by keeping the curves of its four species.
    if (run.showsKeptCurves()) {
        const int runs = (run.nbcourbes() + 3) / 4;
        text += runs == 1 ? QStringLiteral("Les courbes d'un essai précédent sont conservées. ")
                          : QStringLiteral("Les courbes de %1 essais précédents sont conservées. ").arg(runs);
    }
    return text + runText(run);
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
