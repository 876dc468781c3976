// Where the keyboard is, always: a frame drawn around a control that has the
// focus when its style draws none (a scroll bar, a list of folders), and the
// focus given back to the window and the control it came from when a box or
// a dialog closes, whether it was answered by the keyboard or the mouse.
#pragma once

class QWidget;

namespace molvane {

// Draws a frame around `control` while it has the keyboard.
void showFocusRing(QWidget* control);

// From now on, each modal window that closes gives the keyboard back to the
// window and the control that had it when it opened.
void keepKeyboardHome();

}  // namespace molvane
