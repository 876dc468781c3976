// One key press, one command: how Enter works in every dialog of the program.
//
//     auto* enter = new EnterRule(dialog);                // once its controls exist
//     enter->onEnter(nameBox, [this] { Command1_Click(); });
//     enter->onEnter(folderList, [this] { openEntry(); });
//
// From then on, in that dialog:
//   - Enter in a control given to onEnter (or in a part of it) runs its command;
//   - Enter on a focused push button clicks that button, and only it;
//   - Enter in a multi-line text box starts a new line;
//   - Enter anywhere else (a drop-down list, a check box) does nothing.
// No button acts as the dialog's default, so nothing runs behind the command,
// and the auto-repeat of a held Enter runs nothing more. Escape still closes
// the dialog. The rule belongs to the dialog and ends with it.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QKeyEvent;
class QWidget;

namespace molvane {

// Return or the keypad's Enter, with no modifier.
bool isPlainEnter(const QKeyEvent* key);

class EnterRule final : public QObject {
    Q_OBJECT
public:
    explicit EnterRule(QWidget* dialog);

    void onEnter(QWidget* control, std::function<void()> command);

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    struct Command {
        QPointer<QWidget> control;
        std::function<void()> run;
    };

    QWidget* dialog_;
    std::vector<Command> commands_;
};

}  // namespace molvane
