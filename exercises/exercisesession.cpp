#include "exercises/exercisesession.h"

#include <QTextEdit>

#include "exercises/exercisefile.h"
#include "exercises/exercisepaths.h"
#include "exercises/textarea.h"
#include "files/configio.h"
#include "windowkit/messages.h"

namespace molvane {

void showReadFailure(QWidget* parent) {
    message(parent, MessageIcon::Error, QStringLiteral("Lecture impossible"),
            QStringLiteral("Vérifier:\r\n- le nom du fichier,\r\n- l'état du lecteur."));
}

void showMissingDocument(QWidget* parent, const QString& folder, const std::string& name) {
    message(parent, MessageIcon::Error, QStringLiteral("Fichier absent"),
            QStringLiteral("Le fichier ") + folder + QString::fromStdString(name) +
                QStringLiteral(" est introuvable"));
}

void loadExerciseConfiguration(QWidget* parent, ConfigurationHost& host, const QString& folder,
                               const std::string& name) {
    if (isBlank(name)) return;
    nomfichier() = fileInFolder(folder, QString::fromStdString(name));
    chargeconfig(parent, host);
}

bool loadExerciseDocument(QWidget* parent, TextArea& text, const QString& folder, const std::string& name,
                          bool editable) {
    return text.load(parent, fileInFolder(folder, QString::fromStdString(name)), editable);
}

void adoptExercise(const ExerciseContext& context, QWidget* parent, const QString& folder,
                   const QString& file, int corrige, const std::string& configuration) {
    context.state->repexo = folder;
    context.text->setFich(file);
    context.state->corrige = corrige;
    loadExerciseConfiguration(parent, *context.configuration, folder, configuration);
    context.text->setTextemodifie(0);
    // The pupil goes on in the statement, and a screen reader says which one it is.
    context.text->supertext()->setFocus(Qt::OtherFocusReason);
}

}  // namespace molvane
