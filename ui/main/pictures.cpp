#include "ui/main/pictures.h"

#include <QPaintEvent>
#include <QPainter>

#include "ui/main/drawing.h"

namespace molvane {

AnimationView::AnimationView(QSize size, QWidget* parent) : QWidget(parent), surface_(size) {
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void AnimationView::paintEvent(QPaintEvent* event) {
    TickScope scope(log_);
    QPainter painter(this);
    painter.drawImage(event->rect(), surface_.image(), event->rect());
    if (hasFocus()) drawKeyboardFrame(painter, rect());
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
