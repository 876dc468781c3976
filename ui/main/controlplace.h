// Builds the main window's controls from the control table: each widget
// takes its design name, its rectangle, its caption, its tool tip and whether
// it starts hidden from its line of the table.
#pragma once

#include <QAbstractButton>
#include <QRect>
#include <QString>
#include <string_view>
#include <type_traits>

#include "core/controltable.h"
#include "windowkit/designscale.h"

namespace molvane {

inline QString fromTable(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline QRect toQRect(const ControlRect& rect) {
    return {rect.x, rect.y, rect.width, rect.height};
}

// The table's line for a control the window is built with; a name missing
// from the table is a fault of the program, reported at once.
const Control& tableControl(std::string_view name);

// Gives widget its line of the table: `headingWidth` is the width of the
// heading's text for a control that follows one.
template <typename W>
W* fromTable(W* widget, std::string_view name, int headingWidth = 0) {
    const Control& control = tableControl(name);
    widget->setObjectName(fromTable(control.name));
    if (!control.rect.empty()) {
        const QRect rect = toQRect(placedRect(control, headingWidth));
        widget->setProperty(kDesignRectProperty, rect);
        widget->setGeometry(rect);
    }
    if constexpr (std::is_base_of_v<QAbstractButton, W>) {
        if (!control.caption.empty()) widget->setText(fromTable(control.caption));
    }
    if (!control.toolTip.empty()) widget->setToolTip(fromTable(control.toolTip));
    if (control.startsHidden) widget->hide();
    return widget;
}

}  // namespace molvane
