#include "ui/main/hoverhelp.h"

#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QWidget>
#include <map>

namespace molvane {

namespace {

// Picture3 has two texts: the percentages above this line, the temperature below.
constexpr int kTemperatureTop = 100;

const std::map<QString, QString>& texts() {
    static const std::map<QString, QString> kTexts{
        {QStringLiteral("feuilleP"), kStartHelp},
        {QStringLiteral("animpic"),
         QStringLiteral("Utiliser l'onglet Affichage pour modifier la représentation")},
        {QStringLiteral("Label1"), QStringLiteral("Temps écoulé depuis le début de la réaction")},
        {QStringLiteral("Text1"), QStringLiteral("Saisir le nombre de particules à l'état initial")},
        {QStringLiteral("Picture1"),
         QStringLiteral("Vous pouvez modifier les paramètres du graphe et du tableau")},
        {QStringLiteral("option2"), QStringLiteral("Choisir les courbes représentées")},
        {QStringLiteral("Frame2"),
         QStringLiteral("Choisir les couleurs de représentation des particules sur l'animation.")},
        {QStringLiteral("Label4"), QStringLiteral("Cliquer pour modifier la couleur d'affichage")},
        {QStringLiteral("Command5"), QStringLiteral("Retrouver l'état initial")},
        {QStringLiteral("Command6"), QStringLiteral("Effacer les courbes")},
        {QStringLiteral("Command1"),
         QStringLiteral("Pour retrouver le module principal et quitter cette application")},
        {QStringLiteral("Command7"),
         QStringLiteral("Si vous rencontrez une difficulté avec cette application")},
        {QStringLiteral("Command8"), QStringLiteral("Machine à calculer")},
        {QStringLiteral("Command10"), QStringLiteral("Pour configurer l'imprimante et imprimer l'image")},
        {QStringLiteral("Command11"), QStringLiteral("Pour conserver la configuration en cours")},
        {QStringLiteral("Command2"), QStringLiteral("Pour retrouver une situation enregistrée")},
        {QStringLiteral("Command4"),
         QStringLiteral(
             "Copier pour placer l'image dans le presse- papiers puis coller depuis Word, Paint...")},
        // Not a text of its own in the program's first design: the keys
        // that turn the tabs are shown where the pointer finds the tabs.
        {QStringLiteral("Onglets"),
         QStringLiteral("Cliquer sur un onglet pour changer de panneau, ou au clavier Ctrl+Tab (suivant) "
                        "et Ctrl+Maj+Tab (précédent)")},
        {QStringLiteral("btexo"),
         QStringLiteral(
             "Ouvrir un énoncé, enregistrer le texte, obtenir la correction, imprimer ou fermer.")},
    };
    return kTexts;
}

}  // namespace

QString designName(const QObject& control) {
    static const QRegularExpression kElement(QStringLiteral("_\\d+$"));
    QString name = control.objectName();
    return name.remove(kElement);
}

QString hoverText(const QString& name, QPoint at) {
    if (name == QLatin1String("Picture3")) {
        return at.y() >= kTemperatureTop
                   ? QStringLiteral("Vous pouvez augmenter ou diminuer la température du système")
                   : QStringLiteral("Vous pouvez modifier les pourcentages");
    }
    const auto found = texts().find(name);
    return found == texts().end() ? QString() : found->second;
}

HoverHelp::HoverHelp(QLabel* info) : QObject(info), info_(info) {}

void HoverHelp::watch(QWidget* window) {
    QList<QWidget*> controls = window->findChildren<QWidget*>();
    controls.prepend(window);
    for (QWidget* control : controls) {
        if (hoverText(designName(*control), {}).isEmpty()) continue;
        control->setMouseTracking(true);
        control->installEventFilter(this);
    }
}

bool HoverHelp::eventFilter(QObject* watched, QEvent* event) {
    QPoint at;
    bool moved = false;
    if (event->type() == QEvent::MouseMove) {
        const auto* move = static_cast<QMouseEvent*>(event);
        // Drags belong to the controls (a scroll bar's thumb).
        if (move->buttons() != Qt::NoButton) return false;
        at = move->position().toPoint();
        moved = true;
    } else if (event->type() == QEvent::Enter) {
        at = static_cast<QEnterEvent*>(event)->position().toPoint();
    } else {
        return false;
    }
    // A move is taken by the first control that receives it, so that it does
    // not go on to the panel or the window beneath.
    show(static_cast<QWidget*>(watched), at);
    return moved;
}

void HoverHelp::show(QWidget* control, QPoint at) {
    // Over one of its controls, a panel leaves the line to that control.
    if (control->childAt(at)) return;
    const QString name = designName(*control);
    if (name == QLatin1String("Command4") && !copyConfirmation_.isEmpty() &&
        info_->text() == copyConfirmation_)
        return;
    const QString text = hoverText(name, at);
    if (info_->text() != text) info_->setText(text);
}

}  // namespace molvane
