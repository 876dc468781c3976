// What the simulation draws on. The window implements these over images;
// the benchmark uses the same implementations offscreen, the tests record calls.
#pragma once

#include <cstdint>
#include <string_view>

namespace molvane {

// Colours are 0x00BBGGRR.
using Colour = std::uint32_t;

constexpr Colour rgb(int r, int g, int b) {
    return static_cast<Colour>(r & 0xFF) | static_cast<Colour>(g & 0xFF) << 8 |
           static_cast<Colour>(b & 0xFF) << 16;
}
constexpr int redOf(Colour c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int greenOf(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int blueOf(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

constexpr Colour kBlack = rgb(0, 0, 0);
constexpr Colour kLightGrey = rgb(192, 192, 192);
constexpr Colour kDarkGrey = rgb(128, 128, 128);
constexpr Colour kWhite = rgb(255, 255, 255);
constexpr Colour kPanel = rgb(240, 235, 230);

// The vessel (and the magnifier): drawing units are pixels.
class AnimationSurface {
public:
    virtual ~AnimationSurface() = default;
    // Back to the persistent background (white or the shading of `fondi`).
    virtual void clear() = 0;
    // A filled circle centred on (x, y), outlined in the surface's foreground colour.
    virtual void circle(float x, float y, float radius, Colour fill) = 0;
};

// The graph: x from 0 at the left edge, y from -8 at the top edge, growing downwards.
class GraphSurface {
public:
    virtual ~GraphSurface() = default;
    virtual void clear() = 0;
    virtual void line(double x1, double y1, double x2, double y2, Colour colour, int width) = 0;
    // A dot of the given pen width.
    virtual void point(double x, double y, Colour colour, int width) = 0;
    // Text in the graph's font with its top-left corner at (x, y).
    virtual void text(double x, double y, std::string_view utf8, bool italic) = 0;
    virtual double textWidth(std::string_view utf8, bool italic) = 0;
};

}  // namespace molvane
