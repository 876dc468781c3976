#include "windowkit/surfaces.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/numbers.h"
#include "core/presentation.h"

namespace molvane {

QColor toQColor(Colour colour) {
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}
Colour fromQColor(const QColor& colour) {
    return rgb(colour.red(), colour.green(), colour.blue());
}

namespace {
QRgb toRgb(Colour colour) {
    return qRgb(redOf(colour), greenOf(colour), blueOf(colour));
}
}  // namespace

const CircleStamps::Stamp& CircleStamps::stampFor(float radius, qsizetype stride) {
    Stamp* slot = &stamps_.back();
    for (auto& s : stamps_) {
        if (s.radius == radius && s.stride == stride) return s;
        if (s.radius < 0) {
            slot = &s;
            break;
        }
    }
    // Pixels within (radius + 1/2) x scale of the centre; those with a
    // neighbour outside, one drawing unit away, form the outline.
    const int r = static_cast<int>(std::lround(radius));
    const double reach = (r + 0.5) * scale_;
    const int step = std::max(1, static_cast<int>(std::lround(scale_)));
    slot->radius = radius;
    slot->stride = stride;
    slot->extent = static_cast<int>(std::floor(reach));
    slot->pixels.clear();
    slot->offsets.clear();
    const double limit = reach * reach;
    auto inside = [limit](int dx, int dy) { return dx * dx + dy * dy <= limit; };
    const int e = slot->extent;
    for (int dy = -e; dy <= e; ++dy) {
        for (int dx = -e; dx <= e; ++dx) {
            if (!inside(dx, dy)) continue;
            const bool edge = !inside(dx - step, dy) || !inside(dx + step, dy) || !inside(dx, dy - step) ||
                              !inside(dx, dy + step);
            slot->pixels.push_back({dx, dy, edge ? 1 : 0});
            slot->offsets.push_back(dy * stride + dx);
        }
    }
    return *slot;
}

void CircleStamps::stamp(QImage& image, float x, float y, float radius, QRgb fill, QRgb outline) {
    const qsizetype stride = image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    const Stamp& stamp = stampFor(radius, stride);
    const auto s = static_cast<float>(scale_);
    const int cx = static_cast<int>(std::floor(x * s + 0.5f)),
              cy = static_cast<int>(std::floor(y * s + 0.5f));
    const QRgb colours[2] = {fill, outline};
    const int w = image.width(), h = image.height();
    auto* bits = reinterpret_cast<QRgb*>(image.bits());
    const int e = stamp.extent;
    if (cx - e >= 0 && cy - e >= 0 && cx + e < w && cy + e < h) {
        QRgb* centre = bits + cy * stride + cx;
        for (std::size_t k = 0; k < stamp.offsets.size(); ++k)
            centre[stamp.offsets[k]] = colours[stamp.pixels[k][2]];
        return;
    }
    for (const auto& [dx, dy, edge] : stamp.pixels) {
        const int px = cx + dx, py = cy + dy;
        if (px < 0 || py < 0 || px >= w || py >= h) continue;
        bits[py * stride + px] = colours[edge];
    }
}

namespace {

QSize devicePixels(QSize size, qreal ratio) {
    return QSize(static_cast<int>(std::ceil(size.width() * ratio - 1e-9)),
                 static_cast<int>(std::ceil(size.height() * ratio - 1e-9)));
}

qreal validRatio(qreal ratio) {
    return ratio > 0 && std::isfinite(ratio) ? ratio : 1.0;
}

}  // namespace

ImageAnimationSurface::ImageAnimationSurface(QSize size, qreal ratio)
    : size_(size), ratio_(validRatio(ratio)), background_(size, QImage::Format_RGB32), stamps_(ratio_) {
    background_.fill(Qt::white);
    circles_.reserve(1024);
    setRatio(ratio_);
}

void ImageAnimationSurface::setRatio(qreal ratio) {
    ratio = validRatio(ratio);
    const bool same = ratio == ratio_ && image_.size() == devicePixels(size_, ratio);
    ratio_ = ratio;
    if (!same) {
        image_ = QImage(devicePixels(size_, ratio_), QImage::Format_RGB32);
        image_.setDevicePixelRatio(ratio_);
        stamps_ = CircleStamps(ratio_);
    }
    restoreBackground();
    for (const Circle& c : circles_) stamps_.stamp(image_, c.x, c.y, c.radius, c.fill, c.outline);
}

void ImageAnimationSurface::restoreBackground() {
    deviceBackground_ = background_.scaled(image_.size());
    deviceBackground_.setDevicePixelRatio(ratio_);
    std::memcpy(image_.bits(), deviceBackground_.constBits(), static_cast<std::size_t>(image_.sizeInBytes()));
}

void ImageAnimationSurface::setBackground(const QImage& background) {
    background_ = background.convertToFormat(QImage::Format_RGB32).scaled(size_);
    background_.setDevicePixelRatio(1.0);
    deviceBackground_ = background_.scaled(image_.size());
    deviceBackground_.setDevicePixelRatio(ratio_);
}

void ImageAnimationSurface::clear() {
    // Same size and format: one copy of the bytes, no allocation.
    std::memcpy(image_.bits(), deviceBackground_.constBits(), static_cast<std::size_t>(image_.sizeInBytes()));
    circles_.clear();
}

void ImageAnimationSurface::circle(float x, float y, float radius, Colour fill) {
    const Circle c{x, y, radius, toRgb(fill), toRgb(foreground_)};
    circles_.push_back(c);
    stamps_.stamp(image_, x, y, radius, c.fill, c.outline);
}

QImage ImageAnimationSurface::logicalImage() const {
    if (ratio_ == 1.0) return image_;
    QImage image = background_.copy();
    CircleStamps stamps;
    for (const Circle& c : circles_) stamps.stamp(image, c.x, c.y, c.radius, c.fill, c.outline);
    return image;
}

ImageGraphSurface::ImageGraphSurface(QSize size, const QFont& font, qreal ratio)
    : size_(size), ratio_(validRatio(ratio)), image_(blank(size, ratio_)), font_(font) {}

QImage ImageGraphSurface::blank(QSize size, qreal ratio) {
    QImage image(devicePixels(size, ratio), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    return image;
}

void ImageGraphSurface::setRatio(qreal ratio) {
    ratio = validRatio(ratio);
    if (ratio == ratio_) return;
    ratio_ = ratio;
    image_ = blank(size_, ratio_);
    for (const Step& step : steps_) draw(image_, step);
    ++changes_;
}

QImage ImageGraphSurface::logicalImage() const {
    if (ratio_ == 1.0) return image_;
    QImage image = blank(size_, 1.0);
    for (const Step& step : steps_) draw(image, step);
    return image;
}

void ImageGraphSurface::clear() {
    image_.fill(Qt::white);
    steps_.clear();
    ++changes_;
}

void ImageGraphSurface::record(Step step) {
    ++changes_;
    draw(image_, step);
    steps_.push_back(std::move(step));
}

void ImageGraphSurface::draw(QImage& image, const Step& step) const {
    QPainter painter(&image);
    painter.translate(0, -kTopY);
    // A pen of width 0 is one device pixel wide: above one pixel per unit,
    // it takes the unit's width like the others.
    const int width = step.width == 0 && image.devicePixelRatio() != 1.0 ? 1 : step.width;
    switch (step.kind) {
        case Step::Kind::Line:
            painter.setPen(QPen(toQColor(step.colour), width, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(QPointF(step.x1, step.y1), QPointF(step.x2, step.y2));
            break;
        case Step::Kind::Point:
            painter.setPen(QPen(toQColor(step.colour), width, Qt::SolidLine, Qt::RoundCap));
            painter.drawPoint(QPointF(step.x1, step.y1));
            break;
        case Step::Kind::Text: {
            QFont font = font_;
            font.setItalic(step.italic);
            painter.setFont(font);
            painter.setPen(Qt::black);
            const QFontMetricsF metrics(font, &image);
            painter.drawText(QPointF(step.x1, step.y1 + metrics.ascent()), step.text);
            break;
        }
    }
}

void ImageGraphSurface::line(double x1, double y1, double x2, double y2, Colour colour, int width) {
    record({Step::Kind::Line, x1, y1, x2, y2, colour, width, false, {}});
}

void ImageGraphSurface::point(double x, double y, Colour colour, int width) {
    record({Step::Kind::Point, x, y, 0, 0, colour, width, false, {}});
}

void ImageGraphSurface::text(double x, double y, std::string_view utf8, bool italic) {
    record({Step::Kind::Text, x, y, 0, 0, kBlack, 0, italic,
            QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()))});
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
    QPainter painter(&image);
    for (const ShadingRing& ring : vesselShadingRings(size.width(), size.height())) {
        painter.setPen(QColor(ring.red, ring.green, ring.blue));
        painter.drawRect(QRect(ring.x, ring.y, ring.width, ring.height));
    }
    return image;
}

}  // namespace molvane
