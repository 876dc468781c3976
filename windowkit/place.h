// Puts a control of a fixed-geometry window in its place: the design name
// and the rectangle, in the window's pixels, that the windows are laid out by.
#pragma once

#include <QRect>
#include <QString>

namespace molvane {

template <typename W>
W* place(W* widget, const QString& name, const QRect& geometry) {
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

}  // namespace molvane
