// The size of the display, as the windows' own drawing sees it: the main
// window is laid out in its design pixels (800 x 600) and shown at a scale,
// every control's rectangle, font and picture multiplied by it. Painting
// code scales its painter by the window's scale and draws in design pixels.
#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QVariant>
#include <QWidget>
#include <cmath>

namespace molvane {

// The dynamic property of a top-level window that holds its scale.
inline constexpr char kDesignScaleProperty[] = "molvaneDesignScale";
// The dynamic property of a control that holds its rectangle in design pixels.
inline constexpr char kDesignRectProperty[] = "molvaneDesignRect";

// The scale of the window `widget` lies in, 1 when it has none.
inline double designScale(const QWidget* widget) {
    const QWidget* window = widget ? widget->window() : nullptr;
    if (!window) return 1.0;
    bool ok = false;
    const double scale = window->property(kDesignScaleProperty).toDouble(&ok);
    return ok && scale > 0 && std::isfinite(scale) ? scale : 1.0;
}

inline int scaledLength(int length, double scale) {
    return static_cast<int>(std::lround(length * scale));
}

// A rectangle of design pixels in the window's pixels: its edges are scaled,
// so that controls side by side stay side by side.
inline QRect scaledRect(const QRect& rect, double scale) {
    const int left = scaledLength(rect.x(), scale), top = scaledLength(rect.y(), scale);
    return QRect(QPoint(left, top), QPoint(scaledLength(rect.x() + rect.width(), scale) - 1,
                                           scaledLength(rect.y() + rect.height(), scale) - 1));
}

inline QSize scaledSize(const QSize& size, double scale) {
    return QSize(scaledLength(size.width(), scale), scaledLength(size.height(), scale));
}

// A control's rectangle in design pixels: the one it was laid out by.
inline QRect designRect(const QWidget* widget) {
    const QVariant kept = widget->property(kDesignRectProperty);
    return kept.isValid() ? kept.toRect() : widget->geometry();
}

// A point of the window's pixels in design pixels (a mouse position).
inline QPointF designPoint(const QPointF& at, double scale) {
    return at / scale;
}

}  // namespace molvane
