// The exercise menu `optionexo`, popped up under the main window's
// "Exercices" button, and its commands: the getting-started document, the
// exercise window, the correction, closing the exercise, and the text
// commands of the text area.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include "exercises/exercisesession.h"

class QAction;
class QMenu;

namespace molvane {

class Fichexo;

class ExerciseMenu : public QObject {
    Q_OBJECT
public:
    // programFolder holds the getting-started file and the exercises the
    // window lists first.
    ExerciseMenu(QWidget* mainWindow, ConfigurationHost& configuration, TextArea& text,
                 const QString& programFolder);
    ~ExerciseMenu() override;

    QMenu* optionexo() const { return menu_; }
    QAction* item(const char* objectName) const;
    ExerciseState& state() { return state_; }
    const ExerciseContext& context() const { return context_; }

    // The button's click: the items enabled as things stand, the menu popped
    // up with its top-left corner at the button's bottom-left.
    void btexo_Click(QWidget* btexo);
    // "Voir la correction" only for an exercise with a correction, "Fermer
    // l'exercice" only while one is shown; printing once it is wired.
    void enableItems();

    void PRISENMAIN_Click();  // "Prise en main"
    void openexo_Click();     // "Ouvrir un exercice (énoncé + configuration)"
    void opencor_Click();     // "Voir la correction"
    void Closexo_Click();     // "Fermer l'exercice"
    void creeexo_Click();     // "Créer ou modifier un exercice…": the exercise editor, modal
    void savetexte_Click();
    void opentexte_Click();
    void imprimetexte_Click();

    // Another program asked for this exercise, named relative to the
    // program's folder: it opens as from the exercise window, with the main
    // window hidden meanwhile.
    void openRequested(const QString& name);

    // The exercise window, created hidden when there is none.
    Fichexo& window();
    Fichexo* openWindow() const;
    void closeWindow();

private:
    ExerciseState state_;
    ExerciseContext context_;
    QMenu* menu_;
    QPointer<Fichexo> window_;
};

}  // namespace molvane
