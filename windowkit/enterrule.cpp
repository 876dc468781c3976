#include "windowkit/enterrule.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>

namespace molvane {

namespace {

// Multi-line boxes take Enter for themselves.
bool writesLines(QWidget* widget) {
    if (auto* edit = qobject_cast<QTextEdit*>(widget)) return !edit->isReadOnly();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) return !edit->isReadOnly();
    return false;
}

}  // namespace

bool isPlainEnter(const QKeyEvent* key) {
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    return modifiers == Qt::NoModifier;
}

EnterRule::EnterRule(QWidget* dialog) : QObject(dialog), dialog_(dialog) {
    // Enter reaches every control first, before the dialog's own handling.
    qApp->installEventFilter(this);
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

void EnterRule::onEnter(QWidget* control, std::function<void()> command) {
    commands_.push_back({control, std::move(command)});
}

bool EnterRule::eventFilter(QObject* receiver, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !receiver->isWidgetType()) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    auto* widget = static_cast<QWidget*>(receiver);
    if (!isPlainEnter(key) || widget->window() != dialog_) return false;
    if (key->isAutoRepeat()) return true;
    for (const Command& command : commands_) {
        if (command.control && (command.control == widget || command.control->isAncestorOf(widget))) {
            // The command may close the dialog and end this rule with it.
            const std::function<void()> run = command.run;
            run();
            return true;
        }
    }
    if (qobject_cast<QPushButton*>(widget) || qobject_cast<QToolButton*>(widget)) {
        auto* button = static_cast<QAbstractButton*>(widget);
        if (button->isEnabled()) button->click();
        return true;
    }
    if (writesLines(widget)) return false;
    return true;
}

}  // namespace molvane
