#include "windowkit/partnames.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QMessageBox>
#include <QScrollBar>

namespace molvane {

namespace {

class PartNamer final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->isWindow()) nameParts(widget);
        }
        return false;
    }
};

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
    static PartNamer* namer = nullptr;
    if (namer || !qApp) return;
    namer = new PartNamer(qApp);
    qApp->installEventFilter(namer);
}

}  // namespace molvane
