// The window "Créer ou modifier un exercice": a teacher fills in an
// exercise's fields, sees it as the exercise window will preview it, and
// saves it with its documents and configurations into a folder of their own.
#pragma once

#include <QDialog>
#include <array>

#include "exercises/exercisesession.h"
#include "exercises/exercisewriting.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace molvane {

class ExercisePreviewPanel;

class ExerciseEditor final : public QDialog {
    Q_OBJECT
public:
    // Over the main window; the folder starts as the user's documents folder.
    explicit ExerciseEditor(const ExerciseContext& context);

    ExerciseDraft draft() const;
    void setDraft(const ExerciseDraft& draft);

    // "Enregistrer l'exercice": true once the exercise is written.
    bool save();
    // "Ouvrir un exercice existant…" once the file is chosen: the fields
    // take what it holds; false (fields unchanged) when it cannot be read.
    bool openExisting(const QString& path);
    // The exercise file last opened or saved here, which a save replaces without asking.
    QString currentFile() const { return currentFile_; }

    // The folder a new exercise goes to: the user's documents.
    static QString defaultFolder();

private:
    struct SourceRow {
        QLineEdit* path = nullptr;
        QPushButton* browse = nullptr;
        QCheckBox* current = nullptr;
    };

    void updatePreview();
    void chooseFolder();
    void chooseSource(ExerciseSourceKind kind);
    void chooseExisting();
    void sourceModeChanged(ExerciseSourceKind kind);

    ExerciseContext context_;
    QString currentFile_;
    QLineEdit* folder_;
    QLineEdit* fileName_;
    QLineEdit* title_;
    QLineEdit* topics_;
    QSpinBox* difficulty_;
    QSpinBox* hourglasses_;
    std::array<SourceRow, 4> sources_;
    ExercisePreviewPanel* preview_;
};

}  // namespace molvane
