#include "exercises/exercisemenu.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QTextEdit>
#include <QWidget>
#include <string_view>

#include "exercises/exerciseeditor.h"
#include "exercises/exercisefile.h"
#include "exercises/exercisepaths.h"
#include "exercises/exercisetexts.h"
#include "exercises/fichexo.h"
#include "exercises/textarea.h"
#include "windowkit/messages.h"

namespace molvane {

namespace {

// What each item of the shared table runs here.
struct Command {
    const char* name;
    void (ExerciseMenu::*command)();
};

const Command kCommands[] = {
    {"PRISENMAIN", &ExerciseMenu::PRISENMAIN_Click}, {"openexo", &ExerciseMenu::openexo_Click},
    {"opencor", &ExerciseMenu::opencor_Click},       {"savetexte", &ExerciseMenu::savetexte_Click},
    {"opentexte", &ExerciseMenu::opentexte_Click},   {"imprimetexte", &ExerciseMenu::imprimetexte_Click},
    {"Closexo", &ExerciseMenu::Closexo_Click},       {"creeexo", &ExerciseMenu::creeexo_Click},
};

void (ExerciseMenu::*commandOf(std::string_view name))() {
    for (const Command& c : kCommands)
        if (name == c.name) return c.command;
    return nullptr;
}

void showMessage(QWidget* parent, const exercisetexts::Message& m) {
    message(parent, MessageIcon::Error, QString::fromStdString(m.title), QString::fromStdString(m.text));
}

// The hourglass over the main window while a correction loads.
class Waiting {
public:
    explicit Waiting(QWidget* window) : window_(window) {
        if (window_) window_->setCursor(Qt::WaitCursor);
    }
    ~Waiting() { done(); }
    Waiting(const Waiting&) = delete;
    Waiting& operator=(const Waiting&) = delete;
    void done() {
        if (window_) window_->unsetCursor();
        window_ = nullptr;
    }

private:
    QWidget* window_;
};

}  // namespace

ExerciseMenu::ExerciseMenu(QWidget* mainWindow, ConfigurationHost& configuration, TextArea& text,
                           const QString& programFolder)
    : QObject(mainWindow), menu_(new QMenu(mainWindow)) {
    context_.mainWindow = mainWindow;
    context_.configuration = &configuration;
    context_.text = &text;
    context_.state = &state_;
    context_.programFolder = withFinalSeparator(programFolder);

    menu_->setObjectName(QStringLiteral("optionexo"));
    for (const exercisetexts::MenuItem& item : exercisetexts::menuItems()) {
        QAction* action =
            item.caption ? menu_->addAction(QString::fromUtf8(item.caption)) : menu_->addSeparator();
        action->setObjectName(QString::fromLatin1(item.name));
        if (const auto command = commandOf(item.name)) connect(action, &QAction::triggered, this, command);
    }
    connect(menu_, &QMenu::aboutToShow, this, &ExerciseMenu::enableItems);
    enableItems();
    // The recovery copy of the text records which exercise is open.
    setExerciseSession(&text, &context_);
}

ExerciseMenu::~ExerciseMenu() {
    // Only the text area's address is used: the window may have destroyed it already.
    setExerciseSession(context_.text, nullptr);
}

QAction* ExerciseMenu::item(const char* objectName) const {
    return menu_->findChild<QAction*>(QString::fromLatin1(objectName));
}

void ExerciseMenu::enableItems() {
    item("opencor")->setEnabled(state_.corrige == 1);
    item("Closexo")->setEnabled(!context_.text->fich().isEmpty());
    item("imprimetexte")->setEnabled(context_.text->canPrint());
}

void ExerciseMenu::btexo_Click(QWidget* btexo) {
    enableItems();
    menu_->popup(btexo->mapToGlobal(QPoint(0, btexo->height())));
    // Opened from the keyboard as well as by a click: the arrows start on the first item.
    menu_->setActiveAction(item("PRISENMAIN"));
}

Fichexo& ExerciseMenu::window() {
    if (!window_) window_ = new Fichexo(context_);
    return *window_;
}

Fichexo* ExerciseMenu::openWindow() const {
    return window_;
}

void ExerciseMenu::closeWindow() {
    // Never deleted at once: the command closing it may run inside its own event loop.
    Fichexo* closing = window_;
    window_ = nullptr;
    if (!closing) return;
    closing->hide();
    closing->deleteLater();
}

void ExerciseMenu::PRISENMAIN_Click() {
    const QString folder = context_.programFolder;
    const QString file = fileInFolder(folder, QString::fromLatin1(exercisetexts::kGettingStartedFile));
    if (!QFileInfo::exists(file)) return;
    TextArea& text = *context_.text;
    if (!text.confirmDiscard(context_.mainWindow)) return;

    const auto start = statementOf(exerciseFileReader(fileSystemPath(file)));
    if (!start || !loadExerciseDocument(context_.mainWindow, text, folder, start->document, true)) {
        showMessage(context_.mainWindow, exercisetexts::gettingStartedFailure());
        closeWindow();
        return;
    }
    adoptExercise(context_, context_.mainWindow, folder, file, 0, start->configuration);
    closeWindow();
}

void ExerciseMenu::openexo_Click() {
    if (!context_.text->confirmDiscard(context_.mainWindow)) return;
    window().exec();
    closeWindow();
}

void ExerciseMenu::opencor_Click() {
    // Offered only for an exercise with a correction; reached any other way
    // it does nothing.
    if (state_.corrige != 1) return;
    TextArea& text = *context_.text;
    QWidget* main = context_.mainWindow;
    if (!text.confirmDiscard(main)) return;
    Waiting waiting(main);

    const QString folder = state_.repexo;
    const auto correction = correctionOf(exerciseFileReader(fileSystemPath(text.fich())));
    if (!correction) {
        showReadFailure(main);
        return;
    }
    const bool replaced = !isBlank(correction->document);
    // An exercise without correction: nothing to show, and the pupil's text
    // stays as it is, editable and protected.
    if (!replaced && isBlank(correction->configuration)) {
        state_.corrige = 0;
        return;
    }
    if (replaced && !loadExerciseDocument(main, text, folder, correction->document, false)) {
        showMissingDocument(main, folder, correction->document);
        return;
    }
    loadExerciseConfiguration(main, *context_.configuration, folder, correction->configuration);
    state_.correctionShown = true;
    waiting.done();
    // The correction document is read-only; without one the pupil's text
    // stays, editable, and so does the warning.
    if (replaced) text.setTextemodifie(0);
    closeWindow();
}

void ExerciseMenu::Closexo_Click() {
    if (!context_.text->confirmDiscard(context_.mainWindow)) return;
    context_.text->showIntroduction();
    state_.corrige = 0;
    state_.correctionShown = false;
    closeWindow();
}

void ExerciseMenu::creeexo_Click() {
    ExerciseEditor editor(context_);
    editor.exec();
}

void ExerciseMenu::savetexte_Click() {
    context_.text->savetexte(context_.mainWindow);
}

void ExerciseMenu::opentexte_Click() {
    if (context_.text->opentexte(context_.mainWindow)) {
        state_.corrige = 0;
        state_.correctionShown = false;
    }
}

void ExerciseMenu::imprimetexte_Click() {
    context_.text->imprimetexte(context_.mainWindow);
}

void ExerciseMenu::openRequested(const QString& name) {
    QWidget* main = context_.mainWindow;
    if (!context_.text->confirmDiscard(main)) return;
    const bool shown = main && main->isVisible();
    if (shown) {
        main->hide();
        main->repaint();
    }
    const QString folder = context_.programFolder;
    Fichexo& exercise = window();
    exercise.setExercise(folder, fileInFolder(folder, name));
    // Opened, the exercise says itself whether it has a correction; a request
    // that could not be opened leaves the state as it was.
    exercise.ouvreur_Click();
    closeWindow();
    if (shown) main->show();
}

}  // namespace molvane
