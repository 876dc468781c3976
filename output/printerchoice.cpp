#include "output/printerchoice.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPrintDialog>

namespace molvane {

namespace {

// The controls of Qt's dialog, by their design names there. A text replaces
// what the control shows (left in English by Qt's translation); a name is
// what a screen reader says of it; a hint is its hover text and description.
struct Finish {
    const char* control;
    const char* text;
    const char* name;
    const char* hint;
};

constexpr Finish kFinishes[] = {
    {"printers", nullptr, "Imprimante", nullptr},
    {"fileBrowser", nullptr, "Choisir le fichier de sortie", "Choisir le fichier de sortie"},
    {"tabs", nullptr, "Réglages de l'impression", nullptr},
    {"pageSetCombo", nullptr, "Pages à imprimer parmi les pages choisies", nullptr},
    {"pageRange", nullptr, nullptr,
     "Indiquer des pages ou des séries de pages séparées par des virgules ; une série est faite de deux "
     "numéros séparés par un trait d'union : 3,5-7,9 imprime les pages 3, 5, 6, 7 et 9."},
    {"duplex", "Impression recto verso", nullptr, nullptr},
    {"noDuplex", "Recto seul", nullptr, nullptr},
    {"duplexLong", "Reliure sur le grand côté", nullptr, nullptr},
    {"duplexShort", "Reliure sur le petit côté", nullptr, nullptr},
};

}  // namespace

void finishPrinterDialog(QPrintDialog& dialog) {
    for (const Finish& finish : kFinishes) {
        auto* control = dialog.findChild<QWidget*>(QLatin1String(finish.control));
        if (!control) continue;  // another version of Qt, another print service
        if (finish.text) {
            const QString text = QString::fromUtf8(finish.text);
            if (auto* button = qobject_cast<QAbstractButton*>(control)) button->setText(text);
            if (auto* group = qobject_cast<QGroupBox*>(control)) group->setTitle(text);
        }
        if (finish.name) control->setAccessibleName(QString::fromUtf8(finish.name));
        if (finish.hint) {
            control->setToolTip(QString::fromUtf8(finish.hint));
            control->setAccessibleDescription(QString::fromUtf8(finish.hint));
        }
    }
    // A drop-down list opened reads as its box.
    for (QComboBox* box : dialog.findChildren<QComboBox*>()) {
        if (!box->accessibleName().isEmpty()) box->view()->setAccessibleName(box->accessibleName());
    }
}

}  // namespace molvane
