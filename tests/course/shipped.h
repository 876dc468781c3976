// The course material the build put beside the program, as its tests find it.
#pragma once

#include <QDir>
#include <QFile>
#include <QStringList>

namespace molvane {

// The program's folder, which holds the shipped files.
inline const QDir kProgram(QStringLiteral(MOLVANE_PROGRAM_DIR));

// The shipped files, relative to the program's folder, as the build lists them.
inline QStringList shipped() {
    QFile manifest(QStringLiteral(MOLVANE_COURSE_MANIFEST));
    if (!manifest.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(manifest.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

}  // namespace molvane
