#include "ui/main/pictures.h"

#include <QPaintEvent>
#include <QPainter>

#include "ui/main/drawing.h"

namespace molvane {

AnimationView::AnimationView(QSize size, QWidget* parent) : QWidget(parent), surface_(size) {
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

namespace {

// The part of a picture held in device pixels under a rectangle of the view.
QRectF devicePart(const QRect& area, qreal ratio) {
    return QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio);
}

}  // namespace

void AnimationView::paintEvent(QPaintEvent* event) {
    TickScope scope(log_);
    // A new screen, or a new size of the display: the frame is drawn again
    // at the window's ratio before it is shown.
    if (const qreal ratio = devicePixelRatioF(); surface_.ratio() != ratio) surface_.setRatio(ratio);
    QPainter painter(this);
    painter.drawImage(QRectF(event->rect()), surface_.image(), devicePart(event->rect(), surface_.ratio()));
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
    setFocusPolicy(Qt::StrongFocus);
}

void GraphView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void GraphView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void GraphView::refresh() {
    if (surface_.changes() != shown_) update();
}

void GraphView::paintEvent(QPaintEvent* event) {
    TickScope scope(log_);
    if (const qreal ratio = devicePixelRatioF(); surface_.ratio() != ratio) surface_.setRatio(ratio);
    shown_ = surface_.changes();
    QPainter painter(this);
    painter.drawImage(QRectF(event->rect()), surface_.image(), devicePart(event->rect(), surface_.ratio()));
    if (hasFocus()) drawKeyboardFrame(painter, rect());
}

}  // namespace molvane
