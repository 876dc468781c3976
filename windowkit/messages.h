// Message boxes with French buttons, the program's only way of speaking to the
// user. Tests replace the boxes with a responder that answers them.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace molvane {

enum class MessageIcon { Error, Exclamation, Question, Information };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessageShown {
    MessageIcon icon;
    QString title;
    QString text;
    MessageButtons buttons;
};

// Shows a modal box and returns the answer; Escape answers Annuler or Non.
// The box opens inside a ModalScope (modalguard.h): it may be called from a
// control's change, focus or key handling.
MessageAnswer message(QWidget* parent, MessageIcon icon, const QString& title, const QString& text,
                      MessageButtons buttons = MessageButtons::Ok);

// The text as a box lays it out: the blank inside a number written in groups
// of three digits (1 000, 12 345 678, 1 000,5) becomes a no-break space, so
// that a line never ends inside the number. Other blanks stay as they are.
QString unbrokenNumbers(const QString& text);

// While set, message() asks the responder instead of showing a box.
using MessageResponder = std::function<MessageAnswer(const MessageShown&)>;
void setMessageResponder(MessageResponder responder);

}  // namespace molvane
