// The main window's controls as values, and what a change of each one does
// to the run: the same handling as the desktop window's event procedures,
// for a front-end that draws its controls itself (the browser page). It
// holds the run, the table of values, the values shown by every control of
// the panels, and reads and writes configuration files through them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/grid.h"
#include "core/settings.h"
#include "core/simulation.h"
#include "files/configuration.h"

namespace molvane {

// The questions the window asks before closing and before a new duration
// drops the kept curves.
inline constexpr const char* kCloseTitle = "Fermer";
inline constexpr const char* kCloseQuestion = "Quitter vraiment Molvane chimique ?";
inline constexpr const char* kDurationTitle = "Durée de l'enregistrement";
inline constexpr const char* kDurationQuestion =
    "La modification de ce paramètre entraîne la perte des courbes existantes.\r\n"
    "Confirmez-vous la commande ?";

// The buttons of the message boxes.
inline constexpr const char* kOkButton = "OK";
inline constexpr const char* kCancelButton = "Annuler";

// The row-count bar's value as a reader says it: "51 lignes".
std::string rowsSpoken(int rows);

// What a screen reader says of the run on demand: over the vessel, the
// clock, the counts and Qr; over the graph, its curves and kept runs first.
std::string runSpoken(const Simulation& run);
std::string graphSpoken(const Simulation& run);
// The reading stops over the equation (the species' colours in words) and
// over the counts under it (as their labels show them).
std::string equationSpoken(const std::array<Colour, 4>& colours);
std::string duringSpoken(const std::array<std::string, 4>& counts);

// What a front-end tells the user after reading a configuration file.
struct LoadReport {
    ConfigurationRead result = ConfigurationRead::ReadFailure;
    std::string title, text;          // the error box, empty when the file loaded
    std::string noticeTitle, notice;  // the adjusted counts' notice, empty when none
};

class MainState final : public ConfigurationTarget {
public:
    MainState();
    MainState(const MainState&) = delete;
    MainState& operator=(const MainState&) = delete;

    Simulation& run() { return run_; }
    const Simulation& run() const { return run_; }
    const GridModel& table() const { return table_; }
    // The clipboard's copy of the table selects it whole first, as the desktop's does.
    GridModel& table() { return table_; }
    // Where the ticks draw; null surfaces are not drawn.
    void setDisplay(const Display& display) { display_ = display; }

    // The generator: seeded once (the time of day), or seeded again with the
    // same number at every restart, so that a run can be given again.
    void seed(std::uint32_t seed) { run_.seed(seed); }
    void fixSeed(std::optional<std::uint32_t> seed) { fixedSeed_ = seed; }
    std::optional<std::uint32_t> fixedSeed() const { return fixedSeed_; }

    // The window's start: a first run shown, then the duration and row-count
    // bars take their start positions, each a change that restarts the run.
    void start();
    // One tick of the timer.
    void tick();
    // "Retour à l'état initial".
    void restart();
    // "Effacer": the kept curves go, and the run starts again.
    void effacer();
    // Whether "Effacer" shows.
    bool effacerVisible() const { return effacerVisible_; }

    // --- The initial counts `Text1(0..3)`.
    const std::string& count(int species) const { return values_.counts[species]; }
    // Typing: the run reads the text at its next restart.
    void typeCount(int species, const std::string& text);
    // Leaving the box after a change: the check of the counts, the box
    // rewritten, the run restarted. Returns the limit whose message to show.
    CountLimit leaveCount(int species);

    // --- The percentages `Label5(0..1)` and their bars `VScroll4(0..1)`.
    const std::string& percentText(int sense) const { return percentTexts_[sense]; }
    void typePercent(int sense, const std::string& text) { percentTexts_[sense] = text; }
    // Leaving the box: the bar takes the typed percentage.
    void leavePercent(int sense);
    int sensePosition(int sense) const { return values_.sensePositions[sense]; }

    // --- The temperature `HScroll1`: read at every tick, no restart.
    int temperature() const { return values_.temperature; }

    // --- The recording duration `VScroll2` and its label `Label2`.
    int durationPosition() const { return values_.durationPosition; }
    const std::string& durationText() const { return durationText_; }
    // Whether moving the bar there must first ask kDurationQuestion: the
    // kept curves on the graph would be lost.
    bool durationAsks(int position) const;
    // The user's move of the bar, after the question when it was asked.
    // Refused (false, the bar goes back) when the user declined or the
    // position lies outside the bar.
    bool moveDuration(int position, bool confirmed);

    // --- The table rows `VScroll3` and its label `Label3`.
    int rowsPosition() const { return values_.rowsPosition; }
    const std::string& rowsText() const { return rowsText_; }

    // --- The views `Option1(0..1)`, the curves `option2(0..3)`, the check
    // boxes `Check1..3`, the colours `Label4(1..4)`.
    bool graphShown() const { return values_.views[0]; }
    // The curve boxes act on the graph only: greyed while the table shows.
    bool curvesEnabled() const { return graphShown(); }
    bool view(int option) const { return values_.views[option]; }
    bool curve(int species) const { return values_.curves[species]; }
    bool keepCurves() const { return values_.keepCurves; }
    bool showQr() const { return values_.showQr; }
    bool whiteBackground() const { return whiteBackground_; }
    // "Fond blanc": the vessel's background, not stored in files.
    void setWhiteBackground(bool white) { whiteBackground_ = white; }
    // A check box of the display panel by its design name: "Check1" (Fond
    // blanc), "Check2" (kept curves), "Check3" (Qr); false for another name.
    bool setCheckBox(std::string_view name, bool ticked);
    std::uint32_t colour(int species) const { return static_cast<std::uint32_t>(values_.colours[species]); }
    // A colour chosen by the user: the particles are drawn again at once.
    void chooseColour(int species, Colour colour);

    // What a reader hears as a bar's value, as the panel shows it ("52 %",
    // "20 s", "51 lignes"); the position for the temperature; "" for a name
    // that is no bar.
    std::string barValueText(const std::string& name) const;

    // --- Configuration files.
    ConfigurationValues values() const { return values_; }
    // The bytes of a save, or nothing when a value cannot be stored.
    std::optional<std::string> saveBytes() const { return configurationBytes(values_); }
    // `chargeconfig` over a file's bytes: records applied as the user's
    // changes, then the kept curves dropped and the run restarted.
    LoadReport load(const std::string& bytes);

    // ConfigurationTarget: each record as a user's change of its control.
    bool setCount(int species, const std::string& utf8) override;
    bool setSensePosition(int sense, std::int16_t position) override;
    bool setTemperature(std::int16_t position) override;
    bool setColour(int species, std::int32_t colour) override;
    bool setDurationPosition(std::int16_t position) override;
    bool setRowsPosition(std::int16_t position) override;
    bool setView(int option, bool selected) override;
    bool setCurve(int species, bool ticked) override;
    bool setKeepCurves(bool ticked) override;
    bool setShowQr(bool ticked) override;

private:
    void applyDuration(int position);
    void showGraph();
    void echgraphe();

    GridModel table_;
    Simulation run_;
    Display display_;
    ConfigurationValues values_;
    std::array<std::string, 2> percentTexts_;
    std::string durationText_, rowsText_;
    int ancienneduree_ = 0;  // the duration bar's last accepted position
    bool whiteBackground_ = false;
    bool effacerVisible_ = false;
    std::optional<std::uint32_t> fixedSeed_;
};

}  // namespace molvane
