// Surfaces that remember what was drawn, for the simulation's tests.
#pragma once

#include <string>
#include <vector>

#include "core/surface.h"

namespace molvane::test {

struct Line {
    double x1, y1, x2, y2;
    Colour colour;
    int width;
};

struct Label {
    double x, y;
    std::string text;
    bool italic;
};

class RecordingGraph final : public GraphSurface {
public:
    void clear() override {
        lines.clear();
        points.clear();
        labels.clear();
        ++clears;
    }
    void line(double x1, double y1, double x2, double y2, Colour colour, int width) override {
        lines.push_back({x1, y1, x2, y2, colour, width});
    }
    void point(double x, double y, Colour colour, int width) override {
        points.push_back({x, y, x, y, colour, width});
    }
    void text(double x, double y, std::string_view utf8, bool italic) override {
        labels.push_back({x, y, std::string(utf8), italic});
    }
    // Six units a character, so that positions can be checked.
    double textWidth(std::string_view utf8, bool) override { return 6.0 * static_cast<double>(utf8.size()); }

    std::vector<Line> lines, points;
    std::vector<Label> labels;
    int clears = 0;
};

class CountingAnimation final : public AnimationSurface {
public:
    void clear() override { ++clears; }
    void circle(float, float, float radius, Colour) override {
        ++circles;
        lastRadius = radius;
    }
    int clears = 0, circles = 0;
    float lastRadius = 0;
};

}  // namespace molvane::test
