// "Machine à calculer": a scientific pocket calculator. Its keys build an
// expression as plain text (`saisie`); EXE hands a copy to the evaluator and
// shows the result, or an error message, in the display `z1`.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

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

    void affiche(const QString& texte);
    // Appends a key's text after the rules it names (see machine.cpp).
    void ajoute(const QString& texte, unsigned regles);
    QString formate(double valeur, bool blancDevant) const;
    bool scientifique() const;

    void plus_Click();
    void moins_Click();
    void EXE_Click();
    void ANS_Click();
    void EFFACE_Click();
    void RAZ_Click();
    void Command1_Click();  // M+
    void Command2_Click();  // M-
    void Command3_Click();  // RM
    void Command4_Click();  // CM
    void C_Click();
    void ajouteMemoire(double signe);

    QLineEdit* z1 = nullptr;
    QRadioButton* angle[2] = {};
    QRadioButton* C[2] = {};

    QString saisie;                 // the expression being typed
    QString reponse;                // what the last EXE showed
    std::int16_t erreur = 0;        // the last EXE's error code, 0 on success
    bool reponseIllisible = false;  // the last EXE showed an overflow, not a number
};

}  // namespace molvane
