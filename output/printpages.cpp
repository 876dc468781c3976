#include "output/printpages.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

namespace molvane {

namespace {

constexpr double kTwipsPerInch = 1440;
constexpr int kTwipsPerPoint = 20;

PrintChoice choiceOf(const PrintMaterial& material) {
    PrintChoice choice;
    if (!material.animation.isNull())
        choice.animation = PixelSize{material.animation.width(), material.animation.height()};
    if (!material.graph.isNull()) choice.graph = PixelSize{material.graph.width(), material.graph.height()};
    if (material.table && !material.table->image.isNull()) {
        // The grid's rows, header included, at the height of its row 1 as the
        // view shows it, and what the picture adds around them (its frame).
        const TablePicture& table = *material.table;
        const int rows = table.dataRows + 1;
        const int frame = std::max(table.image.height() - rows * table.rowHeight, 0);
        choice.table = TableExtent{rows, static_cast<double>(table.rowHeight * kTwipsPerPixel),
                                   static_cast<double>(frame * kTwipsPerPixel)};
    }
    choice.copies = material.copies;
    return choice;
}

// The pictures are drawn at their size in twips, one pixel to 15 twips: the
// device scales them once, from the original pixels.
QRectF twipsRect(double x, double y, QSize pixels) {
    return {x, y, static_cast<double>(pixels.width() * kTwipsPerPixel),
            static_cast<double>(pixels.height() * kTwipsPerPixel)};
}

void paintTable(QPainter& painter, const TablePicture& table, const Placement& part) {
    const QImage& image = table.image;
    if (part.firstRow == 0 && part.endRow >= table.dataRows) {
        painter.drawImage(twipsRect(part.x, part.y, image.size()), image);
    } else {
        // A part of a long table: the header row, then its own rows, and the
        // picture's bottom edge after the last of them.
        const QRect header(0, 0, image.width(), table.headerBottom);
        const int top = table.headerBottom + part.firstRow * table.rowHeight;
        const int bottom = part.endRow >= table.dataRows ? image.height()
                                                         : table.headerBottom + part.endRow * table.rowHeight;
        const QRect rows(0, top, image.width(), bottom - top);
        painter.drawImage(twipsRect(part.x, part.y, header.size()), image, header);
        painter.drawImage(twipsRect(part.x, part.y + header.height() * kTwipsPerPixel, rows.size()), image,
                          rows);
    }
    painter.setPen(QPen(Qt::black, kTwipsPerPixel));
    painter.drawLine(QLineF(part.x, part.y, part.x, part.y + part.height));
}

}  // namespace

QFont pageFont(int points) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(points * kTwipsPerPoint);
    font.setBold(true);
    return font;
}

PageGeometry pageGeometry(const QPaintDevice& device) {
    PageGeometry page;
    page.width = device.width() * kTwipsPerInch / device.logicalDpiX();
    page.height = device.height() * kTwipsPerInch / device.logicalDpiY();
    page.titleLine = QFontMetricsF(pageFont(12)).height();
    page.smallLine = QFontMetricsF(pageFont(10)).height();
    return page;
}

bool printPages(QPagedPaintDevice& device, const PrintMaterial& material) {
    const PageGeometry page = pageGeometry(device);
    const PageLayout layout = layoutPages(page, choiceOf(material));
    QPainter painter;
    if (!painter.begin(&device)) return false;
    painter.scale(device.logicalDpiX() / kTwipsPerInch, device.logicalDpiY() / kTwipsPerInch);
    // Pixels kept exactly as they are: no lossy compression of the pictures.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    int shownPage = 0;
    for (const Placement& item : layout.items) {
        for (; shownPage < item.page; ++shownPage) {
            if (!device.newPage()) {
                painter.end();
                return false;
            }
        }
        switch (item.what) {
            case Placed::Title: {
                const QFont font = pageFont(12);
                painter.setFont(font);
                painter.setPen(Qt::black);
                painter.drawText(QPointF(0, QFontMetricsF(font).ascent()), material.title);
                break;
            }
            case Placed::Animation:
                painter.drawImage(twipsRect(item.x, item.y, material.animation.size()), material.animation);
                break;
            case Placed::Graph:
                painter.drawImage(twipsRect(item.x, item.y, material.graph.size()), material.graph);
                break;
            case Placed::Table:
                paintTable(painter, *material.table, item);
                break;
        }
    }
    return painter.end();
}

}  // namespace molvane
