#include "ui/main/pictures.h"

#include <QPaintEvent>
#include <QPainter>

namespace molvane {

AnimationView::AnimationView(QSize size, QWidget* parent) : QWidget(parent), surface_(size) {
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void AnimationView::paintEvent(QPaintEvent* event) {
    TickScope scope(log_);
    QPainter painter(this);
    painter.drawImage(event->rect(), surface_.image(), event->rect());
    if (hasFocus()) {
        // A dotted frame just inside the vessel, dark on light so that it
        // shows on the shading and on white alike.
        const QRect frame = rect().adjusted(2, 2, -3, -3);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(frame);
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(frame);
    }
}

void AnimationView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void AnimationView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

GraphView::GraphView(QSize size, const QFont& font, QWidget* parent) : QWidget(parent), surface_(size, font) {
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphView::refresh() {
    if (surface_.changes() != shown_) update();
}

void GraphView::paintEvent(QPaintEvent* event) {
    TickScope scope(log_);
    shown_ = surface_.changes();
    QPainter painter(this);
    painter.drawImage(event->rect(), surface_.image(), event->rect());
}

}  // namespace molvane
