#include "windowkit/messages.h"

#include <QMessageBox>
#include <QPushButton>

#include "windowkit/modalguard.h"

namespace molvane {

namespace {
MessageResponder& responder() {
    static MessageResponder instance;
    return instance;
}
}  // namespace

QString unbrokenNumbers(const QString& text) {
    QString shown = text;
    // A blank between a digit and a group of exactly three digits.
    for (qsizetype i = 1; i + 3 < shown.size(); ++i) {
        if (shown[i] != u' ' || !shown[i - 1].isDigit()) continue;
        const bool group = shown[i + 1].isDigit() && shown[i + 2].isDigit() && shown[i + 3].isDigit() &&
                           (i + 4 == shown.size() || !shown[i + 4].isDigit());
        if (group) shown[i] = QChar(0x00A0);
    }
    return shown;
}

void setMessageResponder(MessageResponder r) {
    responder() = std::move(r);
}

MessageAnswer message(QWidget* parent, MessageIcon icon, const QString& title, const QString& text,
                      MessageButtons buttons) {
    // A box often opens from a control's change or focus handling: the
    // control is stopped first, whoever answers.
    ModalScope scope;
    if (responder()) return responder()(MessageShown{icon, title, text, buttons});

    QMessageBox box(parent);
    box.setWindowTitle(title);
    // The text is given as quoted; only its layout keeps numbers whole.
    box.setText(unbrokenNumbers(text));
    switch (icon) {
        case MessageIcon::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case MessageIcon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
    }
    QPushButton* first = nullptr;
    QPushButton* second = nullptr;
    switch (buttons) {
        case MessageButtons::Ok:
            first = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
            break;
        case MessageButtons::OkCancel:
            first = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
            second = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
            break;
        case MessageButtons::YesNo:
            first = box.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
            second = box.addButton(QStringLiteral("Non"), QMessageBox::NoRole);
            break;
    }
    box.setDefaultButton(first);
    box.setEscapeButton(second ? second : first);
    box.exec();
    const bool yes = box.clickedButton() == first;
    if (buttons == MessageButtons::YesNo) return yes ? MessageAnswer::Yes : MessageAnswer::No;
    if (buttons == MessageButtons::OkCancel) return yes ? MessageAnswer::Ok : MessageAnswer::Cancel;
    return MessageAnswer::Ok;
}

}  // namespace molvane
