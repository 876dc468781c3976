#include "windowkit/surfaces.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/numbers.h"

namespace molvane {

QColor toQColor(Colour colour) { return QColor(redOf(colour), greenOf(colour), blueOf(colour)); }
Colour fromQColor(const QColor& colour) { return rgb(colour.red(), colour.green(), colour.blue()); }

namespace {
QRgb toRgb(Colour colour) { return qRgb(redOf(colour), greenOf(colour), blueOf(colour)); }
}  // namespace

ImageAnimationSurface::ImageAnimationSurface(QSize size)
    : image_(size, QImage::Format_RGB32), background_(size, QImage::Format_RGB32) {
    background_.fill(Qt::white);
    image_ = background_.copy();
}

void ImageAnimationSurface::setBackground(const QImage& background) {
    background_ = background.convertToFormat(QImage::Format_RGB32).scaled(image_.size());
}

void ImageAnimationSurface::clear() {
    // Same size and format: one copy of the bytes, no allocation.
    std::memcpy(image_.bits(), background_.constBits(), static_cast<std::size_t>(image_.sizeInBytes()));
}

const ImageAnimationSurface::Stamp& ImageAnimationSurface::stampFor(float radius) {
    Stamp* slot = &stamps_.back();
    for (auto& s : stamps_) {
        if (s.radius == radius) return s;
        if (s.radius < 0) {
            slot = &s;
            break;
        }
    }
    // Pixels within radius + 1/2 of the centre; those with a neighbour outside form the outline.
    const int r = static_cast<int>(std::lround(radius));
    slot->radius = radius;
    slot->extent = r;
    slot->pixels.clear();
    slot->offsets.clear();
    const double limit = (r + 0.5) * (r + 0.5);
    auto inside = [limit](int dx, int dy) { return dx * dx + dy * dy <= limit; };
    const qsizetype stride = image_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    for (int dy = -r; dy <= r; ++dy) {
        for (int dx = -r; dx <= r; ++dx) {
            if (!inside(dx, dy)) continue;
            const bool edge = !inside(dx - 1, dy) || !inside(dx + 1, dy) || !inside(dx, dy - 1) || !inside(dx, dy + 1);
            slot->pixels.push_back({dx, dy, edge ? 1 : 0});
            slot->offsets.push_back(dy * stride + dx);
        }
    }
    return *slot;
}

void ImageAnimationSurface::circle(float x, float y, float radius, Colour fill) {
    const Stamp& stamp = stampFor(radius);
    const int cx = static_cast<int>(std::floor(x + 0.5f)), cy = static_cast<int>(std::floor(y + 0.5f));
    const QRgb colours[2] = {toRgb(fill), toRgb(foreground_)};
    const int w = image_.width(), h = image_.height();
    auto* bits = reinterpret_cast<QRgb*>(image_.bits());
    const qsizetype stride = image_.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    const int e = stamp.extent;
    if (cx - e >= 0 && cy - e >= 0 && cx + e < w && cy + e < h) {
        QRgb* centre = bits + cy * stride + cx;
        for (std::size_t k = 0; k < stamp.offsets.size(); ++k) centre[stamp.offsets[k]] = colours[stamp.pixels[k][2]];
        return;
    }
    for (const auto& [dx, dy, edge] : stamp.pixels) {
        const int px = cx + dx, py = cy + dy;
        if (px < 0 || py < 0 || px >= w || py >= h) continue;
        bits[py * stride + px] = colours[edge];
    }
}

ImageGraphSurface::ImageGraphSurface(QSize size, const QFont& font)
    : image_(size, QImage::Format_RGB32), font_(font) {
    image_.fill(Qt::white);
}

void ImageGraphSurface::clear() {
    image_.fill(Qt::white);
    ++changes_;
}

void ImageGraphSurface::line(double x1, double y1, double x2, double y2, Colour colour, int width) {
    ++changes_;
    QPainter painter(&image_);
    painter.translate(0, -kTopY);
    painter.setPen(QPen(toQColor(colour), width, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void ImageGraphSurface::point(double x, double y, Colour colour, int width) {
    ++changes_;
    QPainter painter(&image_);
    painter.translate(0, -kTopY);
    painter.setPen(QPen(toQColor(colour), width, Qt::SolidLine, Qt::RoundCap));
    painter.drawPoint(QPointF(x, y));
}

void ImageGraphSurface::text(double x, double y, std::string_view utf8, bool italic) {
    ++changes_;
    QPainter painter(&image_);
    painter.translate(0, -kTopY);
    QFont font = font_;
    font.setItalic(italic);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(font, &image_);
    painter.drawText(QPointF(x, y + metrics.ascent()), QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

double ImageGraphSurface::textWidth(std::string_view utf8, bool italic) {
    QFont font = font_;
    font.setItalic(italic);
    const QFontMetricsF metrics(font, &image_);
    return metrics.horizontalAdvance(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

QImage vesselShading(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int w = size.width(), h = size.height();
    if (w <= 0 || h <= 0) return image;
    QPainter painter(&image);
    const double half = w / 2.0;
    auto round16 = [](double v) { return static_cast<int>(roundToInt16(v).value_or(0)); };
    const int n = round16(half);
    for (int i = 0; i <= n; ++i) {
        const int red = round16(205 + 50 * i / half);
        const int green = round16(150 + 105 * i / half);
        const int blue = round16(100 + 155 * i / half);
        const int y = round16(static_cast<double>(h) / w * i);
        // A very narrow vessel rounds n above w / 2: keep the colour valid.
        painter.setPen(QColor(std::min(red, 255), std::min(green, 255), std::min(blue, 255)));
        // Outline from (i, y) to (w - i, h - y), both corners included.
        painter.drawRect(QRect(i, y, w - 2 * i, h - 2 * y));
    }
    return image;
}

}  // namespace molvane
