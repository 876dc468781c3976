#include "exercises/exercisepaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace molvane {

QString withFinalSeparator(const QString& folder) {
    return folder.endsWith('/') ? folder : folder + '/';
}

QString fileInFolder(const QString& folder, const QString& storedName) {
    QString name = storedName;
    name.replace('\\', '/');
    const QString direct = folder + name;
    if (QFileInfo::exists(direct)) return direct;

    QString path = folder;
    const QStringList parts = name.split('/');
    for (qsizetype k = 0; k < parts.size(); ++k) {
        const QString& part = parts[k];
        if (k > 0) path += '/';
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..") ||
            QFileInfo::exists(path + part)) {
            path += part;
            continue;
        }
        const QStringList entries = QDir(path).entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        QString match;
        for (const QString& entry : entries) {
            if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                match = entry;
                break;
            }
        }
        if (match.isEmpty()) return direct;
        path += match;
    }
    return path;
}

std::filesystem::path fileSystemPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).constData());
}

}  // namespace molvane
