// The simulation's drawing surfaces as recorders, and the presentation's
// texts and geometry, for the page. The surfaces write flat command buffers
// that the page replays on its canvases; the buffers cross without a copy.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/presentation.h"
#include "core/surface.h"

namespace molvane::web {

// Command codes of the buffers, shared with core.d.ts.
enum Command : int { kClear = 0, kCircle = 1, kLine = 2, kPoint = 3, kText = 4 };

// Circles since the last clear: [kCircle, x, y, radius, fill] each.
class AnimationRecorder final : public AnimationSurface {
public:
    void clear() override { commands_.clear(); }
    void circle(float x, float y, float radius, Colour fill) override {
        commands_.insert(commands_.end(), {double(kCircle), x, y, radius, double(fill)});
    }
    emscripten::val commands() const {
        return emscripten::val(emscripten::typed_memory_view(commands_.size(), commands_.data()));
    }

private:
    std::vector<double> commands_;
};

// Everything drawn since the graph was last cleared: [kLine, x1, y1, x2, y2,
// colour, width], [kPoint, x, y, colour, width], [kText, x, y, italic, index
// of the text]. Widths of texts come from the page's canvas.
class GraphRecorder final : public GraphSurface {
public:
    explicit GraphRecorder(emscripten::val measure) : measure_(std::move(measure)) {}
    void clear() override {
        commands_.clear();
        texts_.clear();
        ++clears_;
    }
    void line(double x1, double y1, double x2, double y2, Colour colour, int width) override {
        commands_.insert(commands_.end(), {double(kLine), x1, y1, x2, y2, double(colour), double(width)});
    }
    void point(double x, double y, Colour colour, int width) override {
        commands_.insert(commands_.end(), {double(kPoint), x, y, double(colour), double(width)});
    }
    void text(double x, double y, std::string_view utf8, bool italic) override {
        commands_.insert(commands_.end(), {double(kText), x, y, italic ? 1.0 : 0.0, double(texts_.size())});
        texts_.emplace_back(utf8);
    }
    double textWidth(std::string_view utf8, bool italic) override {
        return measure_(std::string(utf8), italic).as<double>();
    }
    emscripten::val commands() const {
        return emscripten::val(emscripten::typed_memory_view(commands_.size(), commands_.data()));
    }
    std::string textAt(int index) const {
        return index >= 0 && index < static_cast<int>(texts_.size()) ? texts_[index] : std::string();
    }
    // Counts the clears, so that the page knows to start its replay again.
    int clears() const { return clears_; }

private:
    emscripten::val measure_;
    std::vector<double> commands_;
    std::vector<std::string> texts_;
    int clears_ = 0;
};

emscripten::val shadingRings(int width, int height) {
    emscripten::val rings = emscripten::val::array();
    for (const ShadingRing& r : vesselShadingRings(width, height)) {
        emscripten::val ring = emscripten::val::object();
        ring.set("x", r.x);
        ring.set("y", r.y);
        ring.set("width", r.width);
        ring.set("height", r.height);
        ring.set("colour", rgb(r.red, r.green, r.blue));
        rings.call<void>("push", ring);
    }
    return rings;
}

std::string clockOf(double t, std::string separator) {
    return clockText(t, separator.empty() ? '.' : separator[0]);
}

}  // namespace molvane::web

EMSCRIPTEN_BINDINGS(molvane_core) {
    using namespace emscripten;
    using namespace molvane;
    using namespace molvane::web;
    class_<AnimationSurface>("AnimationSurface");
    class_<GraphSurface>("GraphSurface");
    class_<AnimationRecorder, base<AnimationSurface>>("AnimationRecorder")
        .constructor<>()
        .function("commands", &AnimationRecorder::commands);
    class_<GraphRecorder, base<GraphSurface>>("GraphRecorder")
        .constructor<val>()
        .function("commands", &GraphRecorder::commands)
        .function("textAt", &GraphRecorder::textAt)
        .function("clears", &GraphRecorder::clears);
    function("shadingRings", &shadingRings);
    function("countText", &countText);
    function("colourName", &colourName);
    function("clockText", &clockOf);
    constant("tickMilliseconds", kTickMilliseconds);
    constant("panelColour", kPanel);
    constant("darkGrey", kDarkGrey);
    constant("lightGrey", kLightGrey);
    constant("vesselWidth", kVesselWidth);
    constant("vesselHeight", kVesselHeight);
}
