#include "windowkit/partnames.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QMessageBox>
#include <QScrollBar>

#include "windowkit/place.h"

namespace molvane {

namespace {

QString spokenName(const QWidget* widget) {
    if (!widget->accessibleName().isEmpty()) return widget->accessibleName();
    return QString();
}

}  // namespace

QString scrollBarName(bool vertical, const QString& areaName) {
    const QString bar =
        vertical ? QStringLiteral("Défilement vertical") : QStringLiteral("Défilement horizontal");
    return areaName.isEmpty() ? bar : bar + QStringLiteral(" : ") + areaName;
}

void nameParts(QWidget* window) {
    for (QAbstractScrollArea* area : window->findChildren<QAbstractScrollArea*>()) {
        const QString name = spokenName(area);
        for (QScrollBar* bar : {area->verticalScrollBar(), area->horizontalScrollBar()}) {
            if (bar && bar->accessibleName().isEmpty())
                bar->setAccessibleName(scrollBarName(bar->orientation() == Qt::Vertical, name));
        }
    }
    if (auto* box = qobject_cast<QMessageBox*>(window)) {
        if (box->accessibleName().isEmpty()) box->setAccessibleName(box->windowTitle());
        for (QDialogButtonBox* buttons : box->findChildren<QDialogButtonBox*>())
            if (buttons->accessibleName().isEmpty()) buttons->setAccessibleName(QStringLiteral("Réponses"));
    }
}

void nameNamelessParts() {
    static bool named = false;
    if (named || !qApp) return;
    named = true;
    onEveryWindowShown([](QWidget* window) { nameParts(window); });
}

}  // namespace molvane
