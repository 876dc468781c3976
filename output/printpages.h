// Paints the chosen views of the main window onto printer pages.
#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <optional>

#include "output/printlayout.h"
#include "output/tablepicture.h"

class QPaintDevice;
class QPagedPaintDevice;

namespace molvane {

// What one print takes from the main window, as it stands.
struct PrintMaterial {
    QString title;
    QImage animation;  // a null image is not printed
    QImage graph;
    std::optional<TablePicture> table;
    int copies = 1;
};

// Arial, bold, sized for a painter that draws in twips.
QFont pageFont(int points);
// The device's printable area and the title lines, in twips.
PageGeometry pageGeometry(const QPaintDevice& device);
// Paints every copy; false when the device would not start, turn a page or finish.
bool printPages(QPagedPaintDevice& device, const PrintMaterial& material);

}  // namespace molvane
