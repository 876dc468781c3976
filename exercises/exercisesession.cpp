#include "exercises/exercisesession.h"

#include <QFileInfo>
#include <QTextEdit>
#include <map>

#include "exercises/exercisefile.h"
#include "exercises/exercisepaths.h"
#include "exercises/exercisetexts.h"
#include "exercises/textarea.h"
#include "files/configio.h"
#include "windowkit/messages.h"

namespace molvane {

void showReadFailure(QWidget* parent) {
    const auto failure = exercisetexts::readFailure();
    message(parent, MessageIcon::Error, QString::fromStdString(failure.title),
            QString::fromStdString(failure.text));
}

void showMissingDocument(QWidget* parent, const QString& folder, const std::string& name) {
    const auto missing = exercisetexts::missingDocument(folder.toStdString(), name);
    message(parent, MessageIcon::Error, QString::fromStdString(missing.title),
            QString::fromStdString(missing.text));
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
    context.state->correctionShown = false;
    loadExerciseConfiguration(parent, *context.configuration, folder, configuration);
    context.text->setTextemodifie(0);
    // The pupil goes on in the statement, and a screen reader says which one it is.
    context.text->supertext()->setFocus(Qt::OtherFocusReason);
}

namespace {
std::map<const TextArea*, const ExerciseContext*>& sessions() {
    static std::map<const TextArea*, const ExerciseContext*> instance;
    return instance;
}
}  // namespace

void setExerciseSession(const TextArea* text, const ExerciseContext* context) {
    if (context)
        sessions()[text] = context;
    else
        sessions().erase(text);
}

const ExerciseContext* exerciseSession(const TextArea& text) {
    const auto found = sessions().find(&text);
    return found == sessions().end() ? nullptr : found->second;
}

bool reopenExercise(const ExerciseContext& context, QWidget* parent, const QString& file, int corrige,
                    bool correctionShown) {
    const RecordReader records = exerciseFileReader(fileSystemPath(file));
    const auto statement = statementOf(records);
    if (!statement) return false;
    std::string configuration = statement->configuration;
    if (correctionShown) {
        const auto correction = correctionOf(records);
        if (correction && !isBlank(correction->configuration)) configuration = correction->configuration;
    }
    const QString folder = withFinalSeparator(QFileInfo(file).absolutePath());
    adoptExercise(context, parent, folder, file, corrige == 1 ? 1 : 0, configuration);
    context.state->correctionShown = correctionShown;
    return true;
}

}  // namespace molvane
