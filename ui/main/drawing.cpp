#include "ui/main/drawing.h"

#include <QFontMetricsF>
#include <QPainter>

#include "common/numbers.h"
#include "core/surface.h"
#include "ui/main/controlplace.h"
#include "windowkit/surfaces.h"

namespace molvane {

namespace {

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
    for (const PaintedStroke& stroke : windowStrokes(layout.size.width(), layout.size.height())) {
        if (stroke.fill)
            fillCorners(painter, stroke.x1, stroke.y1, stroke.x2, stroke.y2, toQColor(stroke.colour));
        else
            line(painter, stroke.x1, stroke.y1, stroke.x2, stroke.y2, toQColor(stroke.colour));
    }

    // The equation panel over the initial-count boxes.
    paintTexts(painter, kMainWindowName, layout.colours);
}

QRect temperatureBand(const QRect& bar) {
    return QRect(QPoint(bar.left() - 20, bar.top() - 8), QPoint(bar.right() + 1 + 20, bar.bottom() + 1 + 8));
}

void paintParameterPanel(QPainter& painter, QSize size, const std::array<QRect, 2>&, const QRect&) {
    fillPanel(painter, size);
    paintTexts(painter, "Picture3");
    for (const PaintedStroke& stroke : panelStrokes("Picture3"))
        line(painter, stroke.x1, stroke.y1, stroke.x2, stroke.y2, toQColor(stroke.colour));
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
