#include "exercises/exercisepictures.h"

#include <QPainter>
#include <QPainterPath>

namespace molvane {

namespace {

// Pictures are drawn on a 40 x 40 grid and scaled to the size asked for.
constexpr double kGrid = 40.0;

QPixmap blank(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void onGrid(QPainter& painter, int size) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kGrid, size / kGrid);
}

}  // namespace

QPixmap openPicture(int size) {
    QPixmap pixmap = blank(size);
    QPainter painter(&pixmap);
    onGrid(painter, size);

    // The sheet, its corner folded, with a few lines of text.
    painter.setPen(QPen(QColor(60, 60, 60), 1.5));
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygonF({{14, 4}, {29, 4}, {36, 11}, {36, 36}, {14, 36}}));
    painter.setBrush(QColor(210, 210, 210));
    painter.drawPolygon(QPolygonF({{29, 4}, {29, 11}, {36, 11}}));
    painter.setPen(QPen(QColor(90, 120, 200), 1.5));
    for (int y = 16; y <= 31; y += 5) painter.drawLine(QPointF(20, y), QPointF(32, y));

    // The arrow entering it.
    painter.setPen(QPen(QColor(0, 90, 0), 1.5));
    painter.setBrush(QColor(40, 170, 40));
    painter.drawPolygon(QPolygonF({{3, 17}, {13, 17}, {13, 11}, {24, 21}, {13, 31}, {13, 25}, {3, 25}}));
    return pixmap;
}

QPixmap closePicture(int size) {
    QPixmap pixmap = blank(size);
    QPainter painter(&pixmap);
    onGrid(painter, size);
    painter.setPen(QPen(QColor(120, 0, 0), 1.5));
    painter.setBrush(QColor(210, 30, 30));
    painter.drawEllipse(QPointF(20, 20), 16, 16);
    painter.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(13, 13), QPointF(27, 27));
    painter.drawLine(QPointF(27, 13), QPointF(13, 27));
    return pixmap;
}

QPixmap difficultyPicture(bool lit, int size) {
    QPixmap pixmap = blank(size);
    QPainter painter(&pixmap);
    onGrid(painter, size);

    // An Erlenmeyer flask: a neck, then a cone down to a flat bottom.
    QPainterPath flask;
    flask.moveTo(16, 3);
    flask.lineTo(24, 3);
    flask.lineTo(24, 15);
    flask.lineTo(35, 35);
    flask.quadTo(36, 37, 33, 37);
    flask.lineTo(7, 37);
    flask.quadTo(4, 37, 5, 35);
    flask.lineTo(16, 15);
    flask.closeSubpath();

    painter.setPen(Qt::NoPen);
    painter.setBrush(lit ? QColor(255, 255, 235) : QColor(150, 150, 150));
    painter.drawPath(flask);
    if (lit) {
        // The liquid fills the cone up to two thirds of its height.
        painter.save();
        painter.setClipPath(flask);
        painter.setBrush(QColor(255, 140, 0));
        painter.drawRect(QRectF(0, 23, kGrid, kGrid));
        painter.setBrush(QColor(255, 220, 120));
        painter.drawEllipse(QPointF(15, 30), 2.2, 2.2);
        painter.drawEllipse(QPointF(23, 27), 1.6, 1.6);
        painter.restore();
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(
        QPen(lit ? QColor(150, 70, 0) : QColor(80, 80, 80), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(flask);
    painter.drawLine(QPointF(14, 3), QPointF(26, 3));
    return pixmap;
}

}  // namespace molvane
