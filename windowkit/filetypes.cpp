#include "windowkit/filetypes.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace molvane {

QString FrenchFileTypes::type(const QFileInfo& info) const {
    if (info.isRoot()) return QStringLiteral("Lecteur");
    if (info.isDir()) return QStringLiteral("Dossier");
    const QString suffix = info.suffix();
    return suffix.isEmpty() ? QStringLiteral("Fichier") : QStringLiteral("Fichier ") + suffix;
}

FrenchFileDialog::FrenchFileDialog(QWidget* parent, const QString& caption, const QString& directory,
                                   const QString& filter)
    : QFileDialog(parent, caption, directory, filter) {
    setIconProvider(&types);
    setOption(QFileDialog::DontUseNativeDialog);
}

QString documentsFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder.isEmpty() || !QDir(folder).exists() ? QDir::homePath() : folder;
}

namespace {

// The user's settings, beside the size of the display.
QSettings userSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Molvane"),
                     QStringLiteral("molvane"));
}

QString keyOf(FileKind kind) {
    switch (kind) {
        case FileKind::Answers:
            return QStringLiteral("dossiers/reponses");
        case FileKind::Configurations:
            return QStringLiteral("dossiers/configurations");
        case FileKind::Exports:
            return QStringLiteral("dossiers/exportations");
        case FileKind::Exercises:
            return QStringLiteral("dossiers/exercices");
    }
    return {};
}

}  // namespace

bool canWriteIn(const QString& folder) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return false;
    QTemporaryFile trial(QDir(folder).filePath(QStringLiteral(".molvane-essai-XXXXXX")));
    return trial.open();
}

QString rememberedFolder(FileKind kind, bool forWriting) {
    const QString folder = userSettings().value(keyOf(kind)).toString();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return {};
    if (forWriting && !canWriteIn(folder)) return {};
    return folder;
}

void rememberFolder(FileKind kind, const QString& fileOrFolder) {
    if (fileOrFolder.isEmpty()) return;
    const QFileInfo info(fileOrFolder);
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    QSettings settings = userSettings();
    settings.setValue(keyOf(kind), QDir::cleanPath(folder));
}

QString startFolder(FileKind kind, bool forWriting, const QString& fallback) {
    const QString remembered = rememberedFolder(kind, forWriting);
    return remembered.isEmpty() ? fallback : remembered;
}

}  // namespace molvane
