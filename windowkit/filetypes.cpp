#include "windowkit/filetypes.h"

#include <QFileInfo>

namespace molvane {

QString FrenchFileTypes::type(const QFileInfo& info) const {
    if (info.isRoot()) return QStringLiteral("Lecteur");
    if (info.isDir()) return QStringLiteral("Dossier");
    const QString suffix = info.suffix();
    return suffix.isEmpty() ? QStringLiteral("Fichier") : QStringLiteral("Fichier ") + suffix;
}

}  // namespace molvane
