// "Machine à calculer": a scientific pocket calculator. The window draws the
// keys of calc/calculator.h and hands every key to its Calculatrice, which
// builds the expression and says what the display `z1` shows.
#pragma once

#include <QDialog>
#include <QString>

#include "calc/calculator.h"

class QAbstractButton;
class QKeyEvent;
class QLineEdit;
class QRadioButton;

namespace molvane {

class Machine : public QDialog {
    Q_OBJECT

public:
    explicit Machine(QWidget* parent = nullptr);

    // Opens a new calculator modally over parent and returns when it is
    // closed. The memory (M+, M-, RM, CM) is kept for the program's life.
    static void montre(QWidget* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Keys typed while Tab has put the keyboard on a key of the window.
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // The beep that goes with an error message.
    virtual void bip();

private:
    void construitTouches();
    QAbstractButton* bouton(const QString& nom) const;
    bool touche(const QKeyEvent& event);
    void presse(std::string_view nom);
    void applique(const Appui& appui);

    QLineEdit* z1 = nullptr;
    QRadioButton* angle[2] = {};
    QRadioButton* C[2] = {};
    Calculatrice calculatrice;
};

}  // namespace molvane
