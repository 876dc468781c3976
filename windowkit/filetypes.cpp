#include "windowkit/filetypes.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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

}  // namespace molvane
