#include "ui/appicon.h"

#include <QString>

namespace molvane {

QIcon applicationIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/molvane/icons/%1/org.molvane.Molvane.png").arg(size),
                     QSize(size, size));
    }
    return icon;
}

}  // namespace molvane
