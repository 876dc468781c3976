#include "front/mainstate.h"

#include "common/numbers.h"
#include "core/presentation.h"
#include "core/table.h"
#include "files/configmessages.h"

namespace molvane {

std::string rowsSpoken(int rows) {
    return numberText(rows) + " lignes";
}

namespace {
constexpr std::array<const char*, 4> kSpecies{"A", "B", "C", "D"};
}  // namespace

std::string runSpoken(const Simulation& run) {
    const std::array<int, 4> counts{run.nbA(), run.nbB(), run.nbC(), run.nbD()};
    const char separator = run.parameters().decimalSeparator;
    std::string text = "Temps écoulé : " + clockText(run.elapsed(), separator) + ". ";
    text += "Particules : A " + std::to_string(counts[0]) + ", B " + std::to_string(counts[1]) + ", C " +
            std::to_string(counts[2]) + ", D " + std::to_string(counts[3]) + ". ";
    if (counts[0] == 0 || counts[1] == 0) return text + "Qr non défini, sans particule A ou B.";
    const double qr =
        (static_cast<double>(counts[2]) / counts[0]) * (static_cast<double>(counts[3]) / counts[1]);
    std::string shown = qrText(qr, separator);
    const auto first = shown.find_first_not_of(' '), last = shown.find_last_not_of(' ');
    shown = first == std::string::npos ? std::string() : shown.substr(first, last - first + 1);
    return text + "Qr = " + shown + ".";
}

std::string graphSpoken(const Simulation& run) {
    std::string drawn;
    for (int s = 0; s < 4; ++s) {
        if (!run.parameters().curves[s]) continue;
        if (!drawn.empty()) drawn += ", ";
        drawn += std::string(kSpecies[s]) + " en " + colourName(run.parameters().colours[s]);
    }
    std::string text = drawn.empty() ? "Aucune courbe tracée" : "Nombre de particules de " + drawn;
    text += " en fonction du temps, de 0 à " + durationLabel(run.duration()) + ". ";
    // Each run ends by keeping the curves of its four species.
    if (run.showsKeptCurves()) {
        const int runs = (run.nbcourbes() + 3) / 4;
        text += runs == 1 ? std::string("Les courbes d'un essai précédent sont conservées. ")
                          : "Les courbes de " + std::to_string(runs) + " essais précédents sont conservées. ";
    }
    return text + runSpoken(run);
}

std::string equationSpoken(const std::array<Colour, 4>& colours) {
    std::string text = "Équation chimique : A + B = C + D ; ";
    for (int s = 0; s < 4; ++s)
        text += std::string(kSpecies[s]) + " en " + colourName(colours[s]) + (s < 3 ? ", " : "");
    return text;
}

std::string duringSpoken(const std::array<std::string, 4>& counts) {
    std::string text = "Pendant la réaction : ";
    for (int s = 0; s < 4; ++s) {
        const auto first = counts[s].find_first_not_of(' '), last = counts[s].find_last_not_of(' ');
        const std::string shown =
            first == std::string::npos ? std::string() : counts[s].substr(first, last - first + 1);
        text += std::string(kSpecies[s]) + " " + shown + (s < 3 ? ", " : "");
    }
    return text;
}

MainState::MainState() : table_(Parameters{}.tableRows + 1, kTableColumns), run_(table_) {
    const Parameters start;
    values_.counts = start.counts;
    for (int s = 0; s < 4; ++s) values_.colours[s] = static_cast<std::int32_t>(start.colours[s]);
    values_.curves = start.curves;
    values_.keepCurves = start.keepCurves;
    values_.showQr = start.showQr;
    for (int i = 0; i < 2; ++i) {
        values_.sensePositions[i] = static_cast<std::int16_t>(percentBarPosition(start.effectivePercent[i]));
        percentTexts_[i] = percentLabel(start.effectivePercent[i]);
    }
    values_.temperature = static_cast<std::int16_t>(start.temperature);
    // The bars rest at their lowest positions until the start moves them.
    values_.durationPosition = static_cast<std::int16_t>(kDurationBar.lowest);
    values_.rowsPosition = static_cast<std::int16_t>(kRowsBar.lowest);
    run_.setCounts(values_.counts);
    // The fewest-rows rule moves the row-count bar, whose change handling follows.
    run_.onFewerRows([this](int rows) {
        if (const int position = rowsBarPosition(rows); values_.rowsPosition != position)
            setRowsPosition(static_cast<std::int16_t>(position));
        else
            run_.setTableRows(rows);
    });
}

void MainState::start() {
    run_.dropKeptCurves();
    run_.initialise();
    run_.tickInPlace(display_);
    setDurationPosition(static_cast<std::int16_t>(startDurationPosition()));
    setRowsPosition(static_cast<std::int16_t>(rowsBarPosition(Parameters{}.tableRows)));
}

void MainState::tick() {
    run_.tick(display_);
}

void MainState::showGraph() {
    if (const auto shown = effacerShown(run_.maxparticules(), run_.showsKeptCurves()))
        effacerVisible_ = *shown;
}

void MainState::echgraphe() {
    run_.echgraphe(display_.graph);
    showGraph();
}

void MainState::restart() {
    if (fixedSeed_) run_.seed(*fixedSeed_);
    run_.restart(display_.graph);
    showGraph();
}

void MainState::effacer() {
    run_.dropKeptCurves();
    restart();
}

void MainState::typeCount(int species, const std::string& text) {
    values_.counts[species] = text;
    run_.setCount(species, text);
}

CountLimit MainState::leaveCount(int species) {
    const CountCheck check = checkCount(values_.counts, species);
    typeCount(species, check.text);
    restart();
    return check.limit;
}

void MainState::leavePercent(int sense) {
    // An unchanged position leaves the text as typed; a change rewrites it.
    setSensePosition(sense,
                     static_cast<std::int16_t>(percentBarPosition(typedPercentage(percentTexts_[sense]))));
}

bool MainState::durationAsks(int position) const {
    return position != ancienneduree_ && kDurationBar.holds(position) && run_.showsKeptCurves();
}

bool MainState::moveDuration(int position, bool confirmed) {
    if (!kDurationBar.holds(position)) return false;
    if (durationAsks(position) && !confirmed) return false;
    applyDuration(position);
    return true;
}

void MainState::applyDuration(int position) {
    values_.durationPosition = static_cast<std::int16_t>(position);
    if (position == ancienneduree_) return;
    ancienneduree_ = position;
    const auto seconds = durationSeconds(position);
    run_.setDuration(seconds.value_or(0));
    if (seconds) durationText_ = durationLabel(*seconds);
    restart();
}

bool MainState::setCheckBox(std::string_view name, bool ticked) {
    if (name == "Check1") {
        setWhiteBackground(ticked);
        return true;
    }
    if (name == "Check2") return setKeepCurves(ticked);
    if (name == "Check3") return setShowQr(ticked);
    return false;
}

void MainState::chooseColour(int species, Colour colour) {
    if (!setColour(species, static_cast<std::int32_t>(colour))) return;
    run_.tickInPlace(display_);
}

std::string MainState::barValueText(const std::string& name) const {
    for (int i = 0; i < 2; ++i)
        if (name == "VScroll4_" + std::to_string(i))
            return percentLabel(percentAt(values_.sensePositions[i]));
    if (name == "VScroll2") return durationText_;
    if (name == "VScroll3") return rowsSpoken(tableRowsAt(values_.rowsPosition));
    if (name == "HScroll1") return numberText(values_.temperature);
    return "";
}

LoadReport MainState::load(const std::string& bytes) {
    LoadReport report;
    const ConfigurationLoad load = readConfiguration(bytes, *this);
    report.result = load.result;
    switch (load.result) {
        case ConfigurationRead::NotConfiguration:
            report.title = kNotConfigurationTitle;
            report.text = kNotConfigurationText;
            return report;
        case ConfigurationRead::ReadFailure: {
            // The boxes may hold counts from the file beside the ones from
            // before: the whole set is brought within the limits before
            // anything can run with it.
            const auto counts = countsWithinLimits(values_.counts);
            if (counts)
                for (int s = 0; s < 4; ++s) typeCount(s, (*counts)[s]);
            report.title = kReadFailureTitle;
            report.text = readFailureMessage(counts.has_value() || load.countsAdjusted);
            return report;
        }
        case ConfigurationRead::Loaded:
            break;
    }
    if (load.countsAdjusted) {
        report.noticeTitle = kCountsAdjustedTitle;
        report.notice = kCountsAdjustedText;
    }
    run_.dropKeptCurves();
    restart();
    return report;
}

bool MainState::setCount(int species, const std::string& utf8) {
    typeCount(species, utf8);
    return true;
}

bool MainState::setSensePosition(int sense, std::int16_t position) {
    if (!kPercentBar.holds(position)) return false;
    if (position == values_.sensePositions[sense]) return true;
    values_.sensePositions[sense] = position;
    const int percent = percentAt(position);
    run_.setEffectivePercent(sense, percent);
    percentTexts_[sense] = percentLabel(percent);
    restart();
    return true;
}

bool MainState::setTemperature(std::int16_t position) {
    if (!kTemperatureBar.holds(position)) return false;
    values_.temperature = position;
    run_.setTemperature(position);
    return true;
}

bool MainState::setColour(int species, std::int32_t colour) {
    if (!isSwatchColour(colour)) return false;
    values_.colours[species] = colour;
    // A system colour draws as black: the page has no desktop palette.
    run_.setColour(species, colour >= 0 ? static_cast<Colour>(colour) : kBlack);
    return true;
}

bool MainState::setDurationPosition(std::int16_t position) {
    if (!kDurationBar.holds(position)) return false;
    // A file's duration drops the kept curves without asking: the load drops
    // them anyway.
    if (position != ancienneduree_) run_.dropKeptCurves();
    applyDuration(position);
    return true;
}

bool MainState::setRowsPosition(std::int16_t position) {
    if (!kRowsBar.holds(position)) return false;
    if (position == values_.rowsPosition) return true;
    values_.rowsPosition = position;
    const int rows = tableRowsAt(position);
    run_.setTableRows(rows);
    rowsText_ = numberText(rows);
    restart();
    return true;
}

bool MainState::setView(int option, bool selected) {
    // Deselecting leaves both options empty, as the file says; a selection
    // deselects the other.
    values_.views[option] = selected;
    if (selected) values_.views[1 - option] = false;
    return true;
}

bool MainState::setCurve(int species, bool ticked) {
    if (values_.curves[species] == ticked) return true;
    values_.curves[species] = ticked;
    run_.setCurve(species, ticked);
    // While the recording runs the run starts again; once complete only the
    // graph is redrawn.
    if (run_.recording()) restart();
    echgraphe();
    return true;
}

bool MainState::setKeepCurves(bool ticked) {
    if (values_.keepCurves == ticked) return true;
    values_.keepCurves = ticked;
    run_.setKeepCurves(ticked);
    if (!ticked) restart();
    return true;
}

bool MainState::setShowQr(bool ticked) {
    if (values_.showQr == ticked) return true;
    values_.showQr = ticked;
    run_.setShowQr(ticked);
    return true;
}

}  // namespace molvane
