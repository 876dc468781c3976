// The control table and the panels' rules, for the page: every control of
// the main window with its place, texts and range, and the count messages.
#include "core/settings.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/controltable.h"

namespace molvane::web {

namespace {

const char* kindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Window:
            return "window";
        case ControlKind::Picture:
            return "picture";
        case ControlKind::Label:
            return "label";
        case ControlKind::TextBox:
            return "textbox";
        case ControlKind::TextArea:
            return "textarea";
        case ControlKind::Button:
            return "button";
        case ControlKind::CheckBox:
            return "checkbox";
        case ControlKind::OptionButton:
            return "option";
        case ControlKind::VerticalBar:
            return "vbar";
        case ControlKind::HorizontalBar:
            return "hbar";
        case ControlKind::Swatch:
            return "swatch";
        case ControlKind::Panel:
            return "panel";
        case ControlKind::Frame:
            return "frame";
        case ControlKind::TabStrip:
            return "tabstrip";
        case ControlKind::Grid:
            return "grid";
        case ControlKind::ReadingStop:
            return "stop";
    }
    return "";
}

std::string text(std::string_view view) {
    return std::string(view);
}

}  // namespace

// Every control, the window first; a heading's width places the controls
// that follow it, so the page passes its measure of the heading's text.
emscripten::val controls() {
    emscripten::val list = emscripten::val::array();
    for (const Control& c : mainWindowControls()) {
        emscripten::val control = emscripten::val::object();
        control.set("name", text(c.name));
        control.set("kind", std::string(kindName(c.kind)));
        control.set("parent", text(c.parent));
        emscripten::val rect = emscripten::val::object();
        rect.set("x", c.rect.x);
        rect.set("y", c.rect.y);
        rect.set("width", c.rect.width);
        rect.set("height", c.rect.height);
        control.set("rect", rect);
        control.set("caption", text(c.caption));
        control.set("plainCaption", plainCaption(c.caption));
        control.set("hover", text(c.hover));
        control.set("lowerHover", text(c.lowerHover));
        control.set("lowerHoverFrom", c.lowerHoverFrom);
        control.set("spokenName", spokenName(c));
        control.set("spokenDescription", spokenDescription(c));
        control.set("tabPlace", c.tabPlace);
        control.set("toolTip", text(c.toolTip));
        control.set("startsHidden", c.startsHidden);
        if (c.after) {
            emscripten::val heading = emscripten::val::object();
            heading.set("text", text(c.after->text));
            heading.set("x", c.after->x);
            heading.set("y", c.after->y);
            control.set("after", heading);
        }
        if (c.range) {
            control.set("lowest", c.range->lowest);
            control.set("highest", c.range->highest);
        }
        list.call<void>("push", control);
    }
    return list;
}

emscripten::val placed(const std::string& name, int headingWidth) {
    const Control* control = findControl(name);
    if (!control) return emscripten::val::null();
    const ControlRect r = placedRect(*control, headingWidth);
    emscripten::val rect = emscripten::val::object();
    rect.set("x", r.x);
    rect.set("y", r.y);
    rect.set("width", r.width);
    rect.set("height", r.height);
    return rect;
}

// The texts painted over a control, for the page to write in Arial.
emscripten::val painted(const std::string& parent) {
    emscripten::val list = emscripten::val::array();
    for (const PaintedText& p : paintedTexts(parent)) {
        emscripten::val text = emscripten::val::object();
        text.set("text", p.text);
        text.set("x", p.x);
        text.set("y", p.y);
        text.set("anchor", std::string(p.anchor == TextAnchor::Right    ? "right"
                                       : p.anchor == TextAnchor::Centre ? "centre"
                                                                        : "left"));
        text.set("points", p.points);
        text.set("bold", p.bold);
        text.set("species", p.species);
        text.set("follows", p.follows);
        list.call<void>("push", text);
    }
    return list;
}

emscripten::val strokeList(const std::vector<PaintedStroke>& all) {
    emscripten::val list = emscripten::val::array();
    for (const PaintedStroke& s : all) {
        emscripten::val stroke = emscripten::val::object();
        stroke.set("x1", s.x1);
        stroke.set("y1", s.y1);
        stroke.set("x2", s.x2);
        stroke.set("y2", s.y2);
        stroke.set("colour", s.colour);
        stroke.set("fill", s.fill);
        stroke.set("shading", s.shading);
        list.call<void>("push", stroke);
    }
    return list;
}

emscripten::val strokes(int width, int height) {
    return strokeList(windowStrokes(width, height));
}

emscripten::val panel(const std::string& name) {
    return strokeList(panelStrokes(name));
}

// The tab strip for names `widths` wide (the current one in bold): where
// each tab and name lies, the current panel's place and the strip's lines.
emscripten::val tabStrip(const emscripten::val& widths, int width, int height, int nameHeight, int current) {
    const std::vector<double> w = emscripten::vecFromJSArray<double>(widths);
    if (w.size() != 3) return emscripten::val::null();
    const TabStripLayout layout = tabStripLayout({w[0], w[1], w[2]}, width, height, nameHeight);
    emscripten::val result = emscripten::val::object();
    emscripten::val boundaries = emscripten::val::array();
    emscripten::val tops = emscripten::val::array();
    for (const std::int16_t b : layout.boundaries) boundaries.call<void>("push", b);
    for (int k = 1; k <= 3; ++k) tops.call<void>("push", tabNameTop(k, current));
    result.set("boundaries", boundaries);
    result.set("nameTops", tops);
    result.set("gap", layout.gap);
    emscripten::val panel = emscripten::val::object();
    panel.set("x", layout.panel.x);
    panel.set("y", layout.panel.y);
    panel.set("width", layout.panel.width);
    panel.set("height", layout.panel.height);
    result.set("panel", panel);
    result.set("strokes", strokeList(tabStripStrokes(layout, current, width, height, nameHeight)));
    return result;
}

emscripten::val tabNames() {
    emscripten::val list = emscripten::val::array();
    for (std::string_view name : kTabNames) list.call<void>("push", std::string(name));
    return list;
}

std::string hoverAt(const std::string& name, int y) {
    return text(hoverText(name, y));
}

std::string describedAs(const std::string& state, const std::string& own) {
    return describedWith(state, own);
}

}  // namespace molvane::web

EMSCRIPTEN_BINDINGS(molvane_settings) {
    using namespace emscripten;
    using namespace molvane;
    using namespace molvane::web;
    function("controls", &controls);
    function("placedRect", &placed);
    function("paintedTexts", &painted);
    function("tabNames", &tabNames);
    function("windowStrokes", &strokes);
    function("panelStrokes", &panel);
    function("tabStrip", &tabStrip);
    function("hoverText", &hoverAt);
    function("describedWith", &describedAs);
    function("percentLabel", &percentLabel);
    function("durationLabel", &durationLabel);
    constant("countTitle", std::string(kCountTitle));
    constant("tooManyText", std::string(kTooManyText));
    constant("tooFewText", std::string(kTooFewText));
    constant("mainWindowName", std::string(kMainWindowName));
    constant("designWidth", kMainWindowRect.width);
    constant("designHeight", kMainWindowRect.height);
    constant("magnifierName", std::string(kMagnifierName));
    constant("copyConfirmation", std::string(kCopyConfirmation));
    constant("magnifierDescription", std::string(kMagnifierDescription));
    constant("magnifierTitleSuffix", std::string(kMagnifierTitleSuffix));
}
