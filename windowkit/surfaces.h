// Image-backed drawing surfaces for the vessel and the graph: the window shows
// these images, the benchmark draws into them offscreen.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <array>
#include <cstdint>
#include <vector>

#include "core/surface.h"

namespace molvane {

QColor toQColor(Colour colour);
Colour fromQColor(const QColor& colour);

// The vessel: a persistent background restored by every clear, and small
// filled circles stamped straight into the pixels (a tick draws a thousand).
class ImageAnimationSurface final : public AnimationSurface {
public:
    explicit ImageAnimationSurface(QSize size);

    void clear() override;
    void circle(float x, float y, float radius, Colour fill) override;

    // The background that clear() restores (white, or the shading of `fondi`).
    void setBackground(const QImage& background);
    const QImage& background() const { return background_; }
    const QImage& image() const { return image_; }
    QSize size() const { return image_.size(); }
    void setForeground(Colour colour) { foreground_ = colour; }

private:
    struct Stamp {
        float radius = -1.0f;
        int extent = 0;                          // pixels from the centre to the stamp's edge
        std::vector<std::array<int, 3>> pixels;  // dx, dy, 1 for outline / 0 for fill
        std::vector<qsizetype> offsets;          // dy x stride + dx, for stamps wholly inside
    };
    const Stamp& stampFor(float radius);

    QImage image_;
    QImage background_;
    Colour foreground_ = kBlack;
    std::array<Stamp, 4> stamps_;  // a few radii are enough: 2 for the vessel, 4 for the magnifier
};

// The graph: drawing coordinates with x = 0 at the left edge and y = -8 at the
// top edge; lines without anti-aliasing, like the rest of the window.
class ImageGraphSurface final : public GraphSurface {
public:
    explicit ImageGraphSurface(QSize size, const QFont& font = QFont());

    void clear() override;
    void line(double x1, double y1, double x2, double y2, Colour colour, int width) override;
    void point(double x, double y, Colour colour, int width) override;
    void text(double x, double y, std::string_view utf8, bool italic) override;
    double textWidth(std::string_view utf8, bool italic) override;

    const QImage& image() const { return image_; }
    void setFont(const QFont& font) { font_ = font; }
    const QFont& font() const { return font_; }
    // Counts the drawing calls, so that a view repaints only after a change.
    std::uint64_t changes() const { return changes_; }

    static constexpr double kTopY = -8.0;

private:
    QImage image_;
    QFont font_;
    std::uint64_t changes_ = 0;
};

// The shaded vessel background: rectangle outlines from light brown at the
// border to white at the centre.
QImage vesselShading(QSize size);

}  // namespace molvane
