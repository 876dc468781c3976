#include "ui/main/drawing.h"

#include <QFontMetricsF>
#include <QPainter>

#include "common/numbers.h"
#include "core/surface.h"
#include "ui/main/controlplace.h"
#include "windowkit/surfaces.h"

namespace molvane {

namespace {

int rounded(double v) {
    return roundToInt16(v).value_or(0);
}

// Lines and rectangles include both end points, as the window's drawing always did.
void line(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& colour) {
    painter.setPen(colour);
    painter.drawLine(x1, y1, x2, y2);
}

void fillCorners(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& colour) {
    painter.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized(), colour);
}

double textWidth(const QPainter& painter, const QString& text) {
    return QFontMetricsF(painter.font()).horizontalAdvance(text);
}



void fillPanel(QPainter& painter, QSize size) {
    painter.fillRect(QRect(QPoint(0, 0), size), toQColor(kPanel));
}

// The texts painted over `parent`, in its species' colours where a text has one.
void paintTexts(QPainter& painter, std::string_view parent, const std::array<QColor, 4>& colours = {}) {
    double end = 0.0;
    for (const PaintedText& painted : paintedTexts(parent)) {
        painter.setFont(arial(painted.points, painted.bold));
        painter.setPen(painted.species >= 0 ? colours[static_cast<std::size_t>(painted.species)]
                                            : QColor(Qt::black));
        const QString text = fromTable(painted.text);
        double x = painted.x;
        if (painted.follows)
            x = end;
        else if (painted.anchor == TextAnchor::Right)
            x -= textWidth(painter, text);
        else if (painted.anchor == TextAnchor::Centre)
            x -= textWidth(painter, text) / 2;
        end = writeAt(painter, x, painted.y, text);
    }
}

}  // namespace

QFont arial(int points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

void drawKeyboardFrame(QPainter& painter, const QRect& area) {
    const QRect frame = area.adjusted(2, 2, -3, -3);
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(frame);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(frame);
}

double writeAt(QPainter& painter, double x, double y, const QString& text) {
    const QFontMetricsF metrics(painter.font());
    painter.drawText(QPointF(x, y + metrics.ascent()), text);
    return x + metrics.horizontalAdvance(text);
}

void paintWindow(QPainter& painter, const WindowLayout& layout) {
    // White at the top shading to RGB(200, 200, 180) at the bottom.
    const int height = layout.size.height();
    for (int y = 0; y <= height; ++y) {
        const int g = rounded(255 - 55.0 * y / height), b = rounded(255 - 75.0 * y / height);
        line(painter, 0, y, layout.size.width(), y, QColor(g, g, b));
    }

    // The text area hides this but for a 3-pixel edge at its right and bottom.
    const QRect& text = layout.supertext;
    fillCorners(painter, text.left() + 3, layout.fich.top() + 3, text.right() + 1 + 3, text.bottom() + 1 + 3,
                toQColor(kDarkGrey));

    // The vessel sunk into the window: dark above and left, light below and right.
    const int l = layout.animpic.left(), t = layout.animpic.top();
    const int w = layout.animpic.width(), h = layout.animpic.height();
    for (int i = 0; i <= 10; ++i) {
        const QColor shadow(5 + 5 * i, 65 + 6 * i, 135 + 6 * i);
        line(painter, l - i, t - i, l + w + i, t - i, shadow);
        line(painter, l - i, t - i, l - i, t + h + i, shadow);
        const QColor light(255 - 20 * i, 255 - 13 * i, 255 - 6 * i);
        line(painter, l - i, t + h + i, l + w + i, t + h + i, light);
        line(painter, l + w + i, t - i, l + w + i, t + h + i + 1, light);
        line(painter, l - 10, t + h + 22 + i, l + w + 11, t + h + 22 + i,
             QColor(55 - 5 * i, 125 - 6 * i, 195 - 6 * i));
    }
    fillCorners(painter, l - 10, t + h + 10, l + w + 10, t + h + 22, QColor(55, 125, 195));

    // The equation panel over the initial-count boxes.
    paintTexts(painter, kMainWindowName, layout.colours);
}

QRect temperatureBand(const QRect& bar) {
    return QRect(QPoint(bar.left() - 20, bar.top() - 8), QPoint(bar.right() + 1 + 20, bar.bottom() + 1 + 8));
}

void paintParameterPanel(QPainter& painter, QSize size, const std::array<QRect, 2>&, const QRect& temperatureBar) {
    fillPanel(painter, size);
    paintTexts(painter, "Picture3");

    // Blue at the cold left end to red at the hot right end, white ticks every 25 pixels.
    const QRect band = temperatureBand(temperatureBar);
    const int x0 = band.left(), x1 = band.right(), y0 = band.top(), y1 = band.bottom();
    for (int x = x0; x <= x1; ++x) {
        const int m = rounded(255.0 * (x - x0) / (x1 - x0));
        line(painter, x, y0, x, y1, QColor(m, rounded((255 - m) / 2.0), 255 - m));
    }
    for (int x = x0 + 36; x <= x1 - 30; x += 25) line(painter, x, y0, x, y1, Qt::white);
}

void paintSettingsPanel(QPainter& painter, QSize size) {
    fillPanel(painter, size);
    paintTexts(painter, "Picture1");
}

void paintDisplayPanel(QPainter& painter, QSize size, const std::array<QRect, 4>&) {
    fillPanel(painter, size);
    paintTexts(painter, "Frame2");
}

}  // namespace molvane
