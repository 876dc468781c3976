// The main window's state for the page: the run, its controls' values and
// their handling, the table of values, loads and saves.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <optional>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/surface.h"
#include "front/mainstate.h"

namespace molvane::web {

namespace {

// Surfaces are owned by the page's recorders; null detaches.
void setDisplay(MainState& state, AnimationSurface* animpic, AnimationSurface* louloupe,
                GraphSurface* graph) {
    state.setDisplay({animpic, louloupe, graph});
}

void fixSeed(MainState& state, double seed) {
    state.fixSeed(seed >= 0 ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(seed)) : std::nullopt);
}

void seed(MainState& state, double seed) {
    state.seed(static_cast<std::uint32_t>(seed));
}

int leaveCount(MainState& state, int species) {
    return static_cast<int>(state.leaveCount(species));
}

emscripten::val counts(const MainState& state) {
    const Simulation& run = state.run();
    emscripten::val list = emscripten::val::array();
    for (int n : {run.nbA(), run.nbB(), run.nbC(), run.nbD()}) list.call<void>("push", n);
    return list;
}

// The texts under the vessel: the counts of the run and the clock.
emscripten::val panelTexts(const MainState& state) {
    const Simulation& run = state.run();
    PanelTexts texts;
    writePanelTexts(texts, {run.nbA(), run.nbB(), run.nbC(), run.nbD()}, run.elapsed(),
                    run.parameters().decimalSeparator);
    emscripten::val result = emscripten::val::object();
    emscripten::val labelinf = emscripten::val::array();
    for (const std::string& t : texts.labelinf) labelinf.call<void>("push", t);
    result.set("labelinf", labelinf);
    result.set("label1", texts.label1);
    return result;
}

// The file's bytes come as a Uint8Array.
emscripten::val load(MainState& state, const emscripten::val& bytes) {
    const std::vector<unsigned char> data = emscripten::vecFromJSArray<unsigned char>(bytes);
    const LoadReport report = state.load(std::string(data.begin(), data.end()));
    emscripten::val result = emscripten::val::object();
    result.set("loaded", report.result == ConfigurationRead::Loaded);
    result.set("title", report.title);
    result.set("text", report.text);
    result.set("noticeTitle", report.noticeTitle);
    result.set("notice", report.notice);
    return result;
}

// The bytes of a save as a Uint8Array copy, or null.
emscripten::val saveBytes(const MainState& state) {
    const auto bytes = state.saveBytes();
    if (!bytes) return emscripten::val::null();
    const emscripten::val view(
        emscripten::typed_memory_view(bytes->size(), reinterpret_cast<const unsigned char*>(bytes->data())));
    return emscripten::val::global("Uint8Array").new_(view);
}

// The table the run fills, for the copies of output.cpp.
GridModel* tableModel(MainState& state) {
    return &state.table();
}

int tableRows(const MainState& state) {
    return state.table().rows();
}
int tableCols(const MainState& state) {
    return state.table().cols();
}
std::string cellText(const MainState& state, int row, int col) {
    return state.table().text(row, col);
}
double cellColour(const MainState& state, int row, int col) {
    return state.table().foreColor(row, col);
}
int cellAlignment(const MainState& state, int row, int col) {
    return state.table().alignment(row, col);
}

std::string runSpeech(const MainState& state) {
    return runSpoken(state.run());
}
std::string graphSpeech(const MainState& state) {
    return graphSpoken(state.run());
}
std::string equationSpeech(const MainState& state) {
    std::array<Colour, 4> colours{};
    for (int s = 0; s < 4; ++s) colours[s] = state.run().parameters().colours[s];
    return equationSpoken(colours);
}
std::string duringSpeech(const MainState& state) {
    const Simulation& run = state.run();
    PanelTexts texts;
    writePanelTexts(texts, {run.nbA(), run.nbB(), run.nbC(), run.nbD()}, run.elapsed(),
                    run.parameters().decimalSeparator);
    return duringSpoken(texts.labelinf);
}
// The user's decimal separator for the clock and the table, as the desktop
// takes it from the system's settings.
void setDecimalSeparator(MainState& state, const std::string& separator) {
    if (separator.size() == 1) state.run().setDecimalSeparator(separator[0]);
}

bool recording(const MainState& state) {
    return state.run().recording();
}
// The generator seeded from the time of day, as the desktop at each activation.
void seedFromClock(MainState& state) {
    state.seed(secondsSinceMidnight());
}

bool setCheck(MainState& state, const std::string& name, bool ticked) {
    return state.setCheckBox(name, ticked);
}

}  // namespace

}  // namespace molvane::web

EMSCRIPTEN_BINDINGS(molvane_front) {
    using namespace emscripten;
    using namespace molvane;
    using namespace molvane::web;
    class_<GridModel>("GridModel");
    class_<MainState>("MainState")
        .constructor<>()
        .function("setDisplay", &setDisplay, allow_raw_pointers())
        .function("tableModel", &tableModel, allow_raw_pointers())
        .function("seed", &seed)
        .function("fixSeed", &fixSeed)
        .function("start", &MainState::start)
        .function("tick", &MainState::tick)
        .function("restart", &MainState::restart)
        .function("effacer", &MainState::effacer)
        .function("effacerVisible", &MainState::effacerVisible)
        .function("count", &MainState::count)
        .function("typeCount", &MainState::typeCount)
        .function("leaveCount", &leaveCount)
        .function("percentText", &MainState::percentText)
        .function("typePercent", &MainState::typePercent)
        .function("leavePercent", &MainState::leavePercent)
        .function("sensePosition", &MainState::sensePosition)
        .function("setSensePosition", &MainState::setSensePosition)
        .function("temperature", &MainState::temperature)
        .function("setTemperature", &MainState::setTemperature)
        .function("durationPosition", &MainState::durationPosition)
        .function("durationText", &MainState::durationText)
        .function("durationAsks", &MainState::durationAsks)
        .function("moveDuration", &MainState::moveDuration)
        .function("rowsPosition", &MainState::rowsPosition)
        .function("rowsText", &MainState::rowsText)
        .function("setRowsPosition", &MainState::setRowsPosition)
        .function("view", &MainState::view)
        .function("graphShown", &MainState::graphShown)
        .function("curvesEnabled", &MainState::curvesEnabled)
        .function("setView", &MainState::setView)
        .function("curve", &MainState::curve)
        .function("setCurve", &MainState::setCurve)
        .function("keepCurves", &MainState::keepCurves)
        .function("showQr", &MainState::showQr)
        .function("whiteBackground", &MainState::whiteBackground)
        .function("setCheck", &setCheck)
        .function("colour", &MainState::colour)
        .function("chooseColour", &MainState::chooseColour)
        .function("setColour", &MainState::setColour)
        .function("barValueText", &MainState::barValueText)
        .function("counts", &counts)
        .function("panelTexts", &panelTexts)
        .function("load", &load)
        .function("saveBytes", &saveBytes)
        .function("tableRows", &tableRows)
        .function("tableCols", &tableCols)
        .function("cellText", &cellText)
        .function("cellColour", &cellColour)
        .function("cellAlignment", &cellAlignment)
        .function("runSpeech", &runSpeech)
        .function("graphSpeech", &graphSpeech)
        .function("equationSpeech", &equationSpeech)
        .function("duringSpeech", &duringSpeech)
        .function("seedFromClock", &seedFromClock)
        .function("recording", &recording)
        .function("setDecimalSeparator", &setDecimalSeparator);
    constant("closeTitle", std::string(kCloseTitle));
    constant("closeQuestion", std::string(kCloseQuestion));
    constant("durationTitle", std::string(kDurationTitle));
    constant("durationQuestion", std::string(kDurationQuestion));
    constant("okButton", std::string(kOkButton));
    constant("cancelButton", std::string(kCancelButton));
}
