// The exercises for the page: the menu's items, the exercise window's texts
// and messages, the exercise files' reader and the introduction as RTF.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <vector>

#include "exercises/exercisefile.h"
#include "exercises/exercisetexts.h"
#include "exercises/intro/introductiontext.h"
#include "exercises/rtf/rtfemitter.h"

namespace molvane::web {

namespace {

std::string bytesOf(const emscripten::val& bytes) {
    const std::vector<unsigned char> data = emscripten::vecFromJSArray<unsigned char>(bytes);
    return std::string(data.begin(), data.end());
}

emscripten::val uint8Array(const std::string& bytes) {
    const emscripten::val view(
        emscripten::typed_memory_view(bytes.size(), reinterpret_cast<const unsigned char*>(bytes.data())));
    return emscripten::val::global("Uint8Array").new_(view);
}

emscripten::val message(const exercisetexts::Message& m) {
    emscripten::val result = emscripten::val::object();
    result.set("title", m.title);
    result.set("text", m.text);
    return result;
}

emscripten::val document(const std::optional<ExerciseDocument>& d) {
    if (!d) return emscripten::val::null();
    emscripten::val result = emscripten::val::object();
    result.set("document", d->document);
    result.set("configuration", d->configuration);
    result.set("documentBlank", isBlank(d->document));
    result.set("configurationBlank", isBlank(d->configuration));
    return result;
}

}  // namespace

emscripten::val exerciseMenu() {
    emscripten::val items = emscripten::val::array();
    for (const auto& item : exercisetexts::menuItems()) {
        if (!item.inPage) continue;
        emscripten::val entry = emscripten::val::object();
        entry.set("name", std::string(item.name));
        entry.set("caption", std::string(item.caption ? item.caption : ""));
        items.call<void>("push", entry);
    }
    return items;
}

emscripten::val exercisePreview(const emscripten::val& bytes) {
    const std::string data = bytesOf(bytes);
    const auto preview = previewExercise(data);
    if (!preview) return emscripten::val::null();
    emscripten::val result = emscripten::val::object();
    result.set("corrected", preview->corrected);
    emscripten::val lit = emscripten::val::array();
    for (bool on : preview->lit) lit.call<void>("push", on);
    result.set("lit", lit);
    result.set("topics", preview->topics);
    result.set("title", preview->title);
    result.set("hourglasses", preview->hourglasses);
    return result;
}

emscripten::val exerciseStatement(const emscripten::val& bytes) {
    return document(statementOf(bytesOf(bytes)));
}

emscripten::val exerciseCorrection(const emscripten::val& bytes) {
    return document(correctionOf(bytesOf(bytes)));
}

int exerciseFileMatch(const std::string& stored, const emscripten::val& names) {
    return storedNameMatch(stored, emscripten::vecFromJSArray<std::string>(names));
}

emscripten::val introductionRtf() {
    return uint8Array(rtf::writeRtf(introductionDocument()));
}

emscripten::val exerciseReadFailure() {
    return message(exercisetexts::readFailure());
}

emscripten::val exerciseMissingDocument(const std::string& folder, const std::string& name) {
    return message(exercisetexts::missingDocument(folder, name));
}

emscripten::val gettingStartedFailure() {
    return message(exercisetexts::gettingStartedFailure());
}

}  // namespace molvane::web

EMSCRIPTEN_BINDINGS(molvane_exercises) {
    using namespace emscripten;
    using namespace molvane;
    namespace t = molvane::exercisetexts;
    function("exerciseMenu", &web::exerciseMenu);
    function("exercisePreview", &web::exercisePreview);
    function("exerciseStatement", &web::exerciseStatement);
    function("exerciseCorrection", &web::exerciseCorrection);
    function("exerciseFileMatch", &web::exerciseFileMatch);
    function("isExerciseFileName",
             optional_override([](const std::string& name) { return isExerciseFileName(name); }));
    function("introductionRtf", &web::introductionRtf);
    function("exerciseReadFailure", &web::exerciseReadFailure);
    function("exerciseMissingDocument", &web::exerciseMissingDocument);
    function("gettingStartedFailure", &web::gettingStartedFailure);
    function("exerciseDifficultySymbolName", &t::difficultySymbolName);
    function("exerciseHourglassesName", &t::hourglassesName);
    function("exerciseOpenedNotice", &t::openedNotice);
    function("exerciseCorrectionNotice", &t::correctionNotice);
    constant("exerciseWindowTitle", std::string(t::kWindowTitle));
    constant("exerciseListHeading", std::string(t::kListHeading));
    constant("exerciseSelectFile", std::string(t::kSelectFile));
    constant("exerciseFileBoxName", std::string(t::kFileBoxName));
    constant("exerciseOpenCaption", std::string(t::kOpenCaption));
    constant("exerciseOpenTip", std::string(t::kOpenTip));
    constant("exerciseCloseCaption", std::string(t::kCloseCaption));
    constant("exerciseCloseTip", std::string(t::kCloseTip));
    constant("exerciseWaitFirstLine", std::string(t::kWaitFirstLine));
    constant("exerciseWaitSecondLine", std::string(t::kWaitSecondLine));
    constant("exerciseTopicsHeading", std::string(t::kTopicsHeading));
    constant("exerciseDifficultyHeading", std::string(t::kDifficultyHeading));
    constant("exerciseCorrected", std::string(t::kCorrected));
    constant("exerciseNotCorrected", std::string(t::kNotCorrected));
    constant("exerciseOtherExercises", std::string(t::kOtherExercises));
    constant("exerciseDropHint", std::string(t::kDropHint));
    constant("gettingStartedNotice", std::string(t::kGettingStartedNotice));
    constant("introductionNotice", std::string(t::kIntroductionNotice));
    constant("gettingStartedFile", std::string(t::kGettingStartedFile));
}
