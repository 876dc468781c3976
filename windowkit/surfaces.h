// Image-backed drawing surfaces for the vessel and the graph: the window shows
// these images, the benchmark draws into them offscreen.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "core/surface.h"

namespace molvane {

QColor toQColor(Colour colour);
Colour fromQColor(const QColor& colour);

// Filled circles stamped straight into the pixels of an RGB32 image (a tick
// draws a thousand); the stamps are made at the image's own scale, once per radius.
class CircleStamps {
public:
    explicit CircleStamps(qreal scale = 1.0) : scale_(scale) {}
    // (x, y) and radius are in drawing units: scale pixels each.
    void stamp(QImage& image, float x, float y, float radius, QRgb fill, QRgb outline);

private:
    struct Stamp {
        float radius = -1.0f;
        qsizetype stride = 0;
        int extent = 0;                          // pixels from the centre to the stamp's edge
        std::vector<std::array<int, 3>> pixels;  // dx, dy, 1 for outline / 0 for fill
        std::vector<qsizetype> offsets;          // dy x stride + dx, for stamps wholly inside
    };
    const Stamp& stampFor(float radius, qsizetype stride);

    qreal scale_;
    std::array<Stamp, 4> stamps_;  // a few radii are enough: 2 for the vessel, 4 for the magnifier
};

// The vessel: a persistent background restored by every clear, and the
// circles of the frame. Drawing units are the window's pixels; the image is
// held in device pixels (ratio x as many), so that it stays sharp on a
// high-resolution screen. The circles since the last clear are kept, to draw
// the frame again at another ratio or at the window's own scale.
class ImageAnimationSurface final : public AnimationSurface {
public:
    explicit ImageAnimationSurface(QSize size, qreal ratio = 1.0);

    void clear() override;
    void circle(float x, float y, float radius, Colour fill) override;

    // The background that clear() restores (white, or the shading of `fondi`),
    // in drawing units.
    void setBackground(const QImage& background);
    const QImage& background() const { return background_; }
    // What is shown: device pixels, with the device pixel ratio set.
    const QImage& image() const { return image_; }
    // The same frame at one pixel per drawing unit, for copies and prints.
    QImage logicalImage() const;
    QSize size() const { return size_; }
    void setForeground(Colour colour) { foreground_ = colour; }

    qreal ratio() const { return ratio_; }
    // Draws the current frame again at another ratio.
    void setRatio(qreal ratio);

private:
    struct Circle {
        float x, y, radius;
        QRgb fill, outline;
    };
    void restoreBackground();

    QSize size_;
    qreal ratio_ = 1.0;
    QImage image_;
    QImage background_;        // drawing units
    QImage deviceBackground_;  // the same in device pixels
    Colour foreground_ = kBlack;
    CircleStamps stamps_;
    std::vector<Circle> circles_;
};

// The graph: drawing coordinates with x = 0 at the left edge and y = -8 at the
// top edge; lines without anti-aliasing, like the rest of the window. Held in
// device pixels like the vessel; the drawing since the last clear is kept to
// draw it again at another ratio or at the window's own scale.
class ImageGraphSurface final : public GraphSurface {
public:
    explicit ImageGraphSurface(QSize size, const QFont& font = QFont(), qreal ratio = 1.0);

    void clear() override;
    void line(double x1, double y1, double x2, double y2, Colour colour, int width) override;
    void point(double x, double y, Colour colour, int width) override;
    void text(double x, double y, std::string_view utf8, bool italic) override;
    double textWidth(std::string_view utf8, bool italic) override;

    // What is shown: device pixels, with the device pixel ratio set.
    const QImage& image() const { return image_; }
    // The same drawing at one pixel per drawing unit, for copies and prints.
    QImage logicalImage() const;
    void setFont(const QFont& font) { font_ = font; }
    const QFont& font() const { return font_; }
    // Counts the drawing calls, so that a view repaints only after a change.
    std::uint64_t changes() const { return changes_; }

    qreal ratio() const { return ratio_; }
    // Draws everything since the last clear again at another ratio.
    void setRatio(qreal ratio);

    static constexpr double kTopY = -8.0;

private:
    struct Step {
        enum class Kind { Line, Point, Text } kind;
        double x1, y1, x2, y2;
        Colour colour;
        int width;
        bool italic;
        QString text;
    };
    static QImage blank(QSize size, qreal ratio);
    void draw(QImage& image, const Step& step) const;
    void record(Step step);

    QSize size_;
    qreal ratio_ = 1.0;
    QImage image_;
    QFont font_;
    std::uint64_t changes_ = 0;
    std::vector<Step> steps_;
};

// The shaded vessel background: rectangle outlines from light brown at the
// border to white at the centre.
QImage vesselShading(QSize size);

}  // namespace molvane
