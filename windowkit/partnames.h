// Names for the parts Qt builds inside the controls, that a screen reader
// would otherwise find nameless: the scroll bars of a text or a list, and the
// row of buttons of a message box.
#pragma once

#include <QString>

class QWidget;

namespace molvane {

// The name of a scroll area's own bar: "Défilement vertical : Zone de texte".
QString scrollBarName(bool vertical, const QString& areaName);

// Names the nameless parts of `window` and of everything in it.
void nameParts(QWidget* window);

// From now on, each window is named so as it is shown.
void nameNamelessParts();

}  // namespace molvane
