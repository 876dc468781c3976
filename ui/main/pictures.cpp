#include "ui/main/pictures.h"

#include <QPaintEvent>
#include <QPainter>

#include "ui/main/drawing.h"
#include "windowkit/designscale.h"

namespace molvane {

AnimationView::AnimationView(QSize size, QWidget* parent) : QWidget(parent), surface_(size) {
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

namespace {

// The part of a picture held in device pixels under a rectangle of design pixels.
QRectF devicePart(const QRectF& area, qreal ratio) {
    return QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio);
}

// The view's rectangle `area` in design pixels.
QRectF designArea(const QRect& area, double scale) {
    return QRectF(area.x() / scale, area.y() / scale, area.width() / scale, area.height() / scale);
}

}  // namespace

void AnimationView::paintEvent(QPaintEvent* event) {
    TickScope scope(log_);
    // A new screen, or a new size of the display: the frame is drawn again
    // at the window's ratio before it is shown.
    // The picture is held at the size of the display times the screen's ratio.
    const double scale = designScale(this);
    if (const qreal ratio = devicePixelRatioF() * scale; surface_.ratio() != ratio) surface_.setRatio(ratio);
    QPainter painter(this);
    painter.scale(scale, scale);
    const QRectF area = designArea(event->rect(), scale);
    painter.drawImage(area, surface_.image(), devicePart(area, surface_.ratio()));
    if (hasFocus()) drawKeyboardFrame(painter, QRect(QPoint(0, 0), surface_.size()));
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
    const double scale = designScale(this);
    if (const qreal ratio = devicePixelRatioF() * scale; surface_.ratio() != ratio) surface_.setRatio(ratio);
    shown_ = surface_.changes();
    QPainter painter(this);
    painter.scale(scale, scale);
    const QRectF area = designArea(event->rect(), scale);
    painter.drawImage(area, surface_.image(), devicePart(area, surface_.ratio()));
    // The keyboard's frame, at the window's own pixels.
    painter.resetTransform();
    if (hasFocus()) drawKeyboardFrame(painter, rect());
}

}  // namespace molvane
