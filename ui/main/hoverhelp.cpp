#include "ui/main/hoverhelp.h"

#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>

#include "ui/main/controlplace.h"
#include "windowkit/designscale.h"

namespace molvane {

namespace {

QString helpFor(const QObject& control, QPoint at) {
    return fromTable(hoverText(control.objectName().toStdString(), at.y()));
}

}  // namespace

HoverHelp::HoverHelp(QLabel* info) : QObject(info), info_(info) {}

void HoverHelp::watch(QWidget* window) {
    QList<QWidget*> controls = window->findChildren<QWidget*>();
    controls.prepend(window);
    for (QWidget* control : controls) {
        if (helpFor(*control, {}).isEmpty()) continue;
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
    if (control->objectName() == QLatin1String("Command4") && !copyConfirmation_.isEmpty() &&
        info_->text() == copyConfirmation_)
        return;
    const QString text = helpFor(*control, designPoint(at, designScale(control)).toPoint());
    if (info_->text() != text) info_->setText(text);
}

}  // namespace molvane
