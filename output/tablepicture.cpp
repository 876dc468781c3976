#include "output/tablepicture.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>

namespace molvane {

TablePicture tablePicture(QTableView& view) {
    QHeaderView* columns = view.horizontalHeader();
    QHeaderView* rows = view.verticalHeader();
    const int frame = view.frameWidth();
    const int headerHeight = columns->isHidden() ? 0 : columns->height();
    const int rowsLeft = rows->isHidden() ? 0 : rows->width();
    const QSize full(rowsLeft + columns->length() + 2 * frame, headerHeight + rows->length() + 2 * frame);

    const QSize shown = view.size();
    const int down = view.verticalScrollBar()->value();
    const int across = view.horizontalScrollBar()->value();
    QItemSelectionModel* selection = view.selectionModel();
    const QItemSelection selected = selection ? selection->selection() : QItemSelection();
    const QModelIndex current = selection ? selection->currentIndex() : QModelIndex();
    if (selection) {
        selection->clearSelection();
        selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }

    // Tall and wide enough for every cell, so that no scroll bar is left.
    view.resize(std::max(full.width(), shown.width()), full.height());
    view.verticalScrollBar()->setValue(0);
    view.horizontalScrollBar()->setValue(0);

    TablePicture picture;
    picture.image = QImage(full, QImage::Format_RGB32);
    picture.image.fill(Qt::white);
    {
        QPainter painter(&picture.image);
        view.render(&painter, QPoint(), QRegion(QRect(QPoint(), full)));
    }
    picture.headerBottom = frame + headerHeight;
    picture.rowHeight = rows->count() > 0 ? rows->sectionSize(0) : 0;
    picture.dataRows = rows->count();

    view.resize(shown);
    // A hidden view takes its size only when shown: lay it out now, so that
    // its scroll bar takes back its range and position.
    if (!view.isVisible()) {
        QResizeEvent resized(shown, full);
        QCoreApplication::sendEvent(&view, &resized);
        QMetaObject::invokeMethod(&view, "updateGeometries", Qt::DirectConnection);
    }
    view.verticalScrollBar()->setValue(down);
    view.horizontalScrollBar()->setValue(across);
    if (selection) {
        selection->select(selected, QItemSelectionModel::Select);
        selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    }
    return picture;
}

}  // namespace molvane
