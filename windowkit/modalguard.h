// Modal windows opened from inside a control's handling.
//
// A box or dialog opened while a control still acts would let that control
// run on behind it: a scroll bar whose arrow is held keeps repeating (the
// release goes to the blocked window and never reaches the bar), a press whose
// focus change opened the box reaches its control once the box is closed, a
// held key repeats into the box. Open every modal window of the program inside
// a ModalScope:
//
//     {
//         ModalScope scope;
//         dialog.exec();
//     }
//
// message() does it for every message box, chooseColour() for the colour
// dialog. While the scope lives:
//   - the control that the mouse holds down is released at once, without a
//     click (a scroll bar stops repeating, a pressed button comes back up);
//   - a press still on its way to its control when the box opened (the box
//     came from that press's focus change) is dropped: the click went to the box;
//   - the auto-repeat of a key held when the box opened runs nothing until
//     that key is released: one key press runs one command;
//   - the hourglass pointer of the command under way is put away, so that the
//     box shows the normal pointer, and comes back when the scope ends.
// The watch over presses and keys starts with the application by itself.
#pragma once

#include <QCursor>
#include <QList>

namespace molvane {

class ModalScope {
public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    QList<QCursor> cursors_;  // the pointers put away, innermost last
};

}  // namespace molvane
