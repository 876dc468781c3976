// Coming back to the main window from another window of the program.
//
//     new WindowReturns(mainWindow, [this] { Form_Activate(); });
//
// runs the call each time a window of the program closes while the main
// window is shown: a dialog, the calculator, the exercise window, the
// magnifier, the help window. Every top-level window counts without a call of
// its own. Message boxes, Qt's standard dialogs (colour, file, font, print),
// menus, drop-down lists and tool tips do not, nor does leaving the program
// for another application and coming back. A window of the program that is
// not to count is marked once with WindowReturns::ignore(window).
//
// The call runs once the closing window's own handling is over (from the
// event loop), and once for several windows closed together.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

namespace molvane {

class WindowReturns final : public QObject {
    Q_OBJECT
public:
    WindowReturns(QWidget* home, std::function<void()> back);

    static void ignore(QWidget* window);
    // Whether closing this window brings the user back to home.
    static bool counts(const QWidget* window);

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    void comeBack();

    QPointer<QWidget> home_;
    std::function<void()> back_;
    bool pending_ = false;
};

}  // namespace molvane
