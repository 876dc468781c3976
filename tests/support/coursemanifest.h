// The course material the build lists in its manifest (MOLVANE_COURSE_MANIFEST,
// defined by the test's target), as it lies beside the program
// (MOLVANE_PROGRAM_DIR).
#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

namespace molvane {

// The program's folder, which holds the shipped files.
inline const QDir kProgram(QStringLiteral(MOLVANE_PROGRAM_DIR));

namespace test {

// The listed files, relative to the program's folder; empty when the manifest cannot be read.
inline QStringList shippedCourseFiles() {
    QFile manifest(QStringLiteral(MOLVANE_COURSE_MANIFEST));
    if (!manifest.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(manifest.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

}  // namespace test
}  // namespace molvane
