// The table of values as one picture: the grid view drawn at its full height,
// every row, as printing and the clipboard take it.
#pragma once

#include <QImage>

class QTableView;

namespace molvane {

struct TablePicture {
    QImage image;
    int headerBottom = 0;  // pixels from the top of the picture to the first data row
    int rowHeight = 0;     // pixels
    int dataRows = 0;
};

// Draws the view with all its rows and columns and without the selection's
// highlight, then gives it back its size, scroll position and selection.
TablePicture tablePicture(QTableView& view);

}  // namespace molvane
