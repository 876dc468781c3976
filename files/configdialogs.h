// The save dialog `enregistrer` and the open dialog `ouvrir` of configurations.
#pragma once

#include <QDialog>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

#include "files/configio.h"
#include "files/navigator.h"

namespace molvane {

// Both dialogs open 20 pixels right of and below the main window's corner.
void placeBesides(QDialog* dialog, QWidget* mainWindow);

class Enregistrer : public QDialog {
    Q_OBJECT
public:
    Enregistrer(ConfigurationHost& host, QWidget* mainWindow);

    FolderNavigator& navigator() { return *navigator_; }
    QLineEdit* nameBox() const { return text1_; }  // Text1
    // ENREGISTRER: settles the name, asks before overwriting, writes.
    void Command1_Click();

private:
    ConfigurationHost& host_;
    FolderNavigator* navigator_;
    QLineEdit* text1_;
    QPushButton* command1_;
    QPushButton* command2_;
};

class Ouvrir : public QDialog {
    Q_OBJECT
public:
    Ouvrir(ConfigurationHost& host, QWidget* mainWindow);

    FolderNavigator& navigator() { return *navigator_; }
    QLineEdit* ficharge() const { return ficharge_; }
    QFrame* notice() const { return frame1_; }  // Frame1, "Patience: chargement du fichier"
    // OUVRIR: checks that the file exists, then loads it and closes.
    void Command1_Click();

private:
    ConfigurationHost& host_;
    FolderNavigator* navigator_;
    QLineEdit* ficharge_;
    QPushButton* command1_;
    QPushButton* command2_;
    QFrame* frame1_;
};

}  // namespace molvane
