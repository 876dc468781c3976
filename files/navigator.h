// The drive, directory and file lists of the program's file dialogs, working
// together: choosing a drive enters it, entering a folder lists its files.
#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QObject>
#include <QString>

namespace molvane {

class EnterRule;

class FolderNavigator : public QObject {
    Q_OBJECT
public:
    // Creates the three lists as children of `parent`; the dialog lays them out.
    FolderNavigator(QWidget* parent, const QString& pattern);

    QComboBox* drives() const { return drive_; }   // Drive1
    QListWidget* folders() const { return dir_; }  // Dir1
    QListWidget* files() const { return file_; }   // File1

    // Dir1's path (and so File1's); false when the folder cannot be entered.
    QString path() const { return path_; }
    bool setPath(const QString& path);
    // The selected file's name in File1, empty when none.
    QString selectedFile() const;
    // Lists the files again (after a save, for instance).
    void refreshFiles();

    // Enter in Dir1 enters the folder under the selection; Enter in File1
    // acts as a double-click on its file.
    void enterSelectedFolder();
    void activateCurrentFile();
    // Gives the two lists' Enter to the dialog's rule (enterrule.h).
    void followEnterRule(EnterRule& rule);

signals:
    // File1's path changed: a new folder is shown.
    void filePathChanged(const QString& path);
    void fileClicked(const QString& name);
    void fileActivated(const QString& name);  // double-click or Enter

private:
    void fillDrives();
    void fillFolders();
    void selectDriveOf(const QString& path);
    void driveChosen(int index);

    QComboBox* drive_;
    QListWidget* dir_;
    QListWidget* file_;
    QString pattern_;
    QString path_;
    bool filling_ = false;
};

}  // namespace molvane
