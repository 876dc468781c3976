// "Machine à calculer" for the page: the keys' table, the window's texts and
// places, and the calculator that every key is handed to. Marshalling only;
// the rules are in calc/calculator.*.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>

#include "calc/calculator.h"

namespace molvane::web {

namespace {

std::string text(std::string_view t) {
    return std::string(t);
}

emscripten::val rect(PlaceCalculatrice p) {
    emscripten::val r = emscripten::val::object();
    r.set("x", p.x);
    r.set("y", p.y);
    r.set("width", p.largeur);
    r.set("height", p.hauteur);
    return r;
}

emscripten::val pressed(const Appui& appui) {
    emscripten::val shown = emscripten::val::array();
    for (const std::string& t : appui.affichages) shown.call<void>("push", t);
    emscripten::val result = emscripten::val::object();
    result.set("shown", shown);
    result.set("beep", appui.bip);
    return result;
}

emscripten::val press(Calculatrice& c, const std::string& name) {
    return pressed(c.appuie(name));
}

emscripten::val chooseDisplay(Calculatrice& c, bool scientific) {
    return pressed(c.choisitAffichage(scientific));
}

std::string display(const Calculatrice& c) {
    return c.affichage();
}

std::string keyFor(const std::string& typed) {
    return text(Calculatrice::toucheDuClavier(typed));
}

emscripten::val keys() {
    emscripten::val list = emscripten::val::array();
    for (const ToucheCalculatrice& t : touchesCalculatrice()) {
        emscripten::val key = emscripten::val::object();
        key.set("name", text(t.nom));
        key.set("caption", text(t.legende));
        key.set("tooltip", text(t.bulle));
        key.set("spokenName", text(t.lu));
        key.set("base", text(t.base));
        key.set("exponent", text(t.exposant));
        key.set("rect", rect(t.place));
        list.call<void>("push", key);
    }
    return list;
}

emscripten::val group(const GroupeCalculatrice& g) {
    emscripten::val result = emscripten::val::object();
    result.set("name", text(g.nom));
    result.set("title", text(g.titre));
    result.set("rect", rect(g.place));
    emscripten::val options = emscripten::val::array();
    for (int i = 0; i < 2; ++i) {
        emscripten::val option = emscripten::val::object();
        option.set("caption", text(g.options[i]));
        option.set("rect", rect(placeOption(i)));
        options.call<void>("push", option);
    }
    result.set("options", options);
    result.set("chosen", g.choisie);
    return result;
}

emscripten::val window() {
    emscripten::val result = emscripten::val::object();
    result.set("title", text(kTitreCalculatrice));
    result.set("width", kLargeurCalculatrice);
    result.set("height", kHauteurCalculatrice);
    result.set("display", rect(kPlaceAffichage));
    result.set("displayName", text(kNomAffichage));
    result.set("displayDescription", text(kDescriptionAffichage));
    emscripten::val groups = emscripten::val::array();
    groups.call<void>("push", group(kGroupeAngles));
    groups.call<void>("push", group(kGroupeAffichage));
    result.set("groups", groups);
    result.set("padFrame", rect(kCadrePave));
    emscripten::val shades = emscripten::val::array();
    for (int x = 0; x < kLargeurCalculatrice; ++x) shades.call<void>("push", nuanceFond(x));
    result.set("shades", shades);
    return result;
}

}  // namespace

}  // namespace molvane::web

EMSCRIPTEN_BINDINGS(molvane_calc) {
    using namespace emscripten;
    using namespace molvane;
    using namespace molvane::web;

    class_<Calculatrice>("Calculator")
        .constructor<>()
        .function("press", &press)
        .function("chooseDisplay", &chooseDisplay)
        .function("chooseAngle", &Calculatrice::choisitAngle)
        .function("display", &display)
        .function("scientific", &Calculatrice::scientifique)
        .function("radians", &Calculatrice::radians);
    function("calculatorKeyFor", &keyFor);
    function("calculatorKeys", &keys);
    function("calculatorWindow", &window);
}
