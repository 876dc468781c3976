// Saving an exercise a teacher made in the exercise editor: the documents and
// configurations it names gathered into the exercise's folder, then the
// exercise file itself, each written whole, so that the folder can be copied
// elsewhere and opened from there.
#pragma once

#include <QString>
#include <array>

#include "exercises/exercisefile.h"

class QTextDocument;
class QWidget;

namespace molvane {

struct ConfigurationValues;

// One document or configuration of an exercise: a file (absolute, or
// relative to the exercise's folder), or what the program holds now (the
// text area's text, the current set-up).
struct ExerciseSource {
    QString path;
    bool current = false;
    bool given() const { return current || !path.trimmed().isEmpty(); }
};

enum class ExerciseSourceKind { Statement, Configuration, Correction, CorrectionConfiguration };

// Everything the editor's fields hold, exactly as typed.
struct ExerciseDraft {
    QString folder;
    QString fileName;
    QString title;
    QString topics;
    int difficulty = 1;
    int hourglasses = 1;
    std::array<ExerciseSource, 4> sources;  // by ExerciseSourceKind
};

// What "Utiliser le texte de la zone exercice" and "Utiliser le réglage
// actuel" save.
struct ExerciseCurrent {
    const QTextDocument* text = nullptr;
    const ConfigurationValues* configuration = nullptr;
};

// The field's caption, as the editor labels it ("Énoncé", "Titre", ...).
QString fieldCaption(ExerciseField field);

// The French explanation of a refusal, naming the field and its limit.
QString refusalText(const ExerciseRefusal& refusal, const QString& name = QString());

// The exercise file's name: ".E32" added when it has no such extension.
QString withExerciseExtension(const QString& fileName);

// The preview the exercise window will show for these fields (names only
// matter by being given or not).
ExercisePreview draftPreview(const ExerciseDraft& draft);

// Writes the exercise. Every check is made before anything is written: a
// refused field, a missing or unreadable document, a question answered "Non"
// or a folder that cannot be written leaves every file as it was, and says
// why over parent (except for "Non"). replaceable is the exercise file that
// may be replaced without asking (the one the editor opened or last saved).
// On success, the exercise file's full path is given in saved.
bool saveExercise(QWidget* parent, const ExerciseDraft& draft, const ExerciseCurrent& current,
                  const QString& replaceable, QString& saved);

// The fields an exercise file holds, its names made into full paths of its
// folder. Nothing when it cannot be read.
std::optional<ExerciseDraft> draftFromFile(const QString& path);

}  // namespace molvane
