// What the exercise window and the exercise menu share for the program's
// life, and the steps their commands have in common.
#pragma once

#include <QString>
#include <string>

class QWidget;

namespace molvane {

class ConfigurationHost;
class TextArea;

struct ExerciseState {
    // Folder of the current exercise's files, ending with "/": every name an
    // exercise file holds is taken relative to it.
    QString repexo;
    // 1 when the exercise last opened has a correction.
    int corrige = 0;
    // "Voir la correction" has shown the current exercise's correction.
    bool correctionShown = false;
};

// What the exercise commands reach of the main window.
struct ExerciseContext {
    QWidget* mainWindow = nullptr;
    ConfigurationHost* configuration = nullptr;
    TextArea* text = nullptr;
    ExerciseState* state = nullptr;
    QString programFolder;  // ends with "/"
};

// "Lecture impossible": an exercise file that cannot be opened or read.
void showReadFailure(QWidget* parent);
// "Fichier absent", naming the document as the exercise file names it.
void showMissingDocument(QWidget* parent, const QString& folder, const std::string& name);

// Loads the configuration an exercise names (nothing for a blank name)
// through the configuration reader, which reports its own failures.
void loadExerciseConfiguration(QWidget* parent, ConfigurationHost& host, const QString& folder,
                               const std::string& name);

// Loads a document an exercise names into the text area (TextArea::load).
bool loadExerciseDocument(QWidget* parent, TextArea& text, const QString& folder, const std::string& name,
                          bool editable);

// Once an exercise's statement has loaded: it becomes the current exercise
// (its folder, its file named in fich, whether it has a correction), its
// configuration loads, and the text counts as unmodified.
void adoptExercise(const ExerciseContext& context, QWidget* parent, const QString& folder,
                   const QString& file, int corrige, const std::string& configuration);

// The exercise commands working on a text area, for what knows only the
// text area (its recovery copy). The exercise menu registers its context
// for its life; nothing (null) where no menu works on that text.
void setExerciseSession(const TextArea* text, const ExerciseContext* context);
const ExerciseContext* exerciseSession(const TextArea& text);

// Reopens an exercise file as it was when a recovery copy of the pupil's
// text was taken: it becomes the current exercise with its folder and the
// given correction state, and the configuration loads that was shown then
// (the correction's once the correction was shown, if it names one). The
// text area keeps its text: the caller puts the copy back next. false, and
// nothing changed, when the exercise file cannot be read.
bool reopenExercise(const ExerciseContext& context, QWidget* parent, const QString& file, int corrige,
                    bool correctionShown);

}  // namespace molvane
