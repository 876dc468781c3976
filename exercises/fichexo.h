// The exercise window `Fichexo`: lists the exercise files of a folder,
// previews the one selected and opens it with its configuration. It covers
// the main window exactly while it is shown.
#pragma once

#include <QDialog>

#include "exercises/exercisesession.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace molvane {

class ExercisePreviewPanel;
class FolderNavigator;

class Fichexo : public QDialog {
    Q_OBJECT
public:
    // Starts in the program's folder.
    explicit Fichexo(const ExerciseContext& context);
    ~Fichexo() override;

    FolderNavigator& navigator() const { return *navigator_; }
    QLineEdit* fichierexo() const { return fichierexo_; }
    // The folder the selected exercise's names are relative to, "/" at its end.
    QString exerciseFolder() const { return folder_; }

    // Selects the first listed file, which previews it, and gives the list the keyboard.
    void Form_Activate();
    // The file selected in File1 becomes the one previewed and opened.
    void File1_Click();
    // Shows the fields of the exercise named by fichierexo.
    void apercu();
    // Opens the exercise: its statement, editable, and its configuration; the
    // window then closes. True when the statement was loaded.
    bool ouvreur_Click();
    // Closes the window without loading anything.
    void Image5_Click();

    // An exercise named from outside the window (another program's request):
    // fichierexo takes its path and its names are relative to folder.
    void setExercise(const QString& folder, const QString& path);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void copyMainWindow();
    void layOut();
    void showNotice(bool shown);

    ExerciseContext context_;
    QString folder_;
    QWidget* tito_;
    QFrame* frame1_;
    QLabel* label5_;
    FolderNavigator* navigator_;
    QLineEdit* fichierexo_;
    QLabel* intratro_;
    ExercisePreviewPanel* preview_ = nullptr;
    QPushButton* ouvreur_;
    QPushButton* image5_;
    QFrame* frame2_;
};

}  // namespace molvane
