// Reading the PDF files the tests print, with poppler-utils as an outside reader.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

namespace molvane::pdf {

// The page count pdfinfo gives; -1 when it cannot read the file.
int pages(const QString& path);
// The text pdftotext finds.
QString text(const QString& path);
// One page drawn by pdftoppm at `dpi`, pages counted from 1.
QImage page(const QString& path, int number, int dpi);

struct Picture {
    int page = 0;
    int width = 0;
    int height = 0;
    QString encoding;
    int xppi = 0;
    int yppi = 0;
};
// The pictures pdfimages lists, page by page.
std::vector<Picture> pictures(const QString& path);
// The fonts pdffonts lists.
QStringList fonts(const QString& path);

// The smallest rectangle holding every pixel of about that colour; null when none.
QRect colourBox(const QImage& image, QColor colour);

}  // namespace molvane::pdf
