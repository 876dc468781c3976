#include "tests/printcopy/pdftools.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace molvane::pdf {

namespace {

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << program.toStdString() << " did not run (poppler-utils is needed)";
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

int pages(const QString& path) {
    static const QRegularExpression kPages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                           QRegularExpression::MultilineOption);
    const auto found = kPages.match(run(QStringLiteral("pdfinfo"), {path}));
    return found.hasMatch() ? found.captured(1).toInt() : -1;
}

QString text(const QString& path) {
    return run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
}

QImage page(const QString& path, int number, int dpi) {
    QTemporaryDir folder;
    const QString prefix = folder.filePath(QStringLiteral("page"));
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                                     QString::number(number), QStringLiteral("-l"), QString::number(number),
                                     QStringLiteral("-png"), QStringLiteral("-singlefile"), path, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

std::vector<Picture> pictures(const QString& path) {
    std::vector<Picture> found;
    const QStringList lines = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path}).split('\n');
    for (const QString& line : lines.mid(2)) {
        const QStringList f = line.simplified().split(' ');
        if (f.size() < 14) continue;
        found.push_back({f[0].toInt(), f[3].toInt(), f[4].toInt(), f[8], f[12].toInt(), f[13].toInt()});
    }
    return found;
}

QStringList fonts(const QString& path) {
    QStringList names;
    const QStringList lines = run(QStringLiteral("pdffonts"), {path}).split('\n');
    for (const QString& line : lines.mid(2)) {
        if (!line.trimmed().isEmpty()) names << line.section(' ', 0, 0, QString::SectionSkipEmpty);
    }
    return names;
}

QRect colourBox(const QImage& image, QColor colour) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) < 40 && std::abs(c.green() - colour.green()) < 40 &&
                std::abs(c.blue() - colour.blue()) < 40)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

}  // namespace molvane::pdf
