// One simulated run of A + B = C + D: the particles, the collision quota, the
// clock, the recording into the graph and the table, and the kept curves.
// The names are the program's own: `initialise` builds a run, `majaff`
// ("mise à jour de l'affichage") counts, draws and records a tick,
// `echgraphe` ("échelles du graphe") redraws the graph frame. A front-end
// drives it with `restart` and `tick`; what its labels show is computed by
// core/presentation.h from what the run holds.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/grid.h"
#include "core/presentation.h"
#include "core/random.h"
#include "core/surface.h"
#include "core/table.h"

namespace molvane {

// The run's settings, as the panels set them.
struct Parameters {
    std::array<std::string, 4> counts{"100", "100", "0", "0"};  // Text1(0..3), initial counts of A..D
    std::array<int, 2> effectivePercent{50, 50};            // share of effective collisions of senses 1 and 2
    int temperature = 500;                                  // HScroll1 position, 200 to 800
    std::string durationTag = "20";                         // VScroll2's tag: recording duration D in seconds
    int tableRows = 51;                                     // data rows of the table of values
    bool showQr = true;                                     // Check3 "Afficher Qr dans le tableau"
    bool keepCurves = true;                                 // Check2 "Conserver les courbes sur le graphe"
    std::array<bool, 4> curves{false, false, true, false};  // option2(0..3): curves drawn
    std::array<Colour, 4> colours{rgb(0, 0, 255), rgb(255, 0, 255), rgb(255, 128, 0), rgb(0, 192, 0)};
    int interval = kTickMilliseconds;  // the simulated length of a tick, in ms
    char decimalSeparator = '.';       // the user's, for the clock and the table
};

// Where one tick draws. A null surface is not drawn (the magnifier while hidden).
struct Display {
    AnimationSurface* animpic = nullptr;
    AnimationSurface* louloupe = nullptr;
    GraphSurface* graph = nullptr;
};

// One measurement of the recording: the counts of A to D after a tick.
struct Sample {
    std::int32_t tick = 0;  // ticks since the restart: t = tick x interval
    std::array<std::int16_t, 4> counts{};
};

// A kept curve: 61 slice means, then the axis maximum, colour and species.
using CurveRecord = std::array<double, 64>;

class Simulation {
public:
    // The table of values is filled by the run; the window shows it.
    explicit Simulation(GridModel& table);

    // --- Settings. None restarts the run by itself: the panels restart it
    // (`restart`) after every accepted change but the temperature's.
    const Parameters& parameters() const { return parameters_; }
    void setCount(int species, std::string text) { parameters_.counts[species] = std::move(text); }
    void setCounts(std::array<std::string, 4> counts) { parameters_.counts = std::move(counts); }
    void setEffectivePercent(int sense, int percent) { parameters_.effectivePercent[sense] = percent; }
    void setEffectivePercents(std::array<int, 2> percents) { parameters_.effectivePercent = percents; }
    // Read at every tick: the run goes on at the new speed.
    void setTemperature(int position) { parameters_.temperature = position; }
    // The recording duration; 0 when the duration bar gives none. The kept
    // curves, drawn over the old duration, are dropped.
    void setDuration(double seconds);
    void setTableRows(int rows) { parameters_.tableRows = rows; }
    // The Qr column is hidden by white text, so that a copy of the table still holds it.
    void setShowQr(bool shown);
    // Curves are kept only while asked for: unticking drops those kept.
    void setKeepCurves(bool keep);
    void setCurve(int species, bool drawn) { parameters_.curves[species] = drawn; }
    void setCurves(std::array<bool, 4> drawn) { parameters_.curves = drawn; }
    void setColour(int species, Colour colour) { parameters_.colours[species] = colour; }
    void setInterval(int milliseconds) { parameters_.interval = milliseconds; }
    void setDecimalSeparator(char separator) { parameters_.decimalSeparator = separator; }
    // The vessel's inner size in drawing units, read at every wall test.
    void setVesselSize(float width, float height);
    // Forgets every kept curve.
    void dropKeptCurves() { nbcourbes_ = 0; }

    // When too many rows would lie closer than one tick, the table takes
    // fewer: a window moves its row-count bar to that number, and the bar's
    // own change handling (label, restart) runs. Without it the number of
    // rows is changed here.
    void onFewerRows(std::function<void(int rows)> fewerRows) { fewerRows_ = std::move(fewerRows); }

    // Tests and the benchmark may replace the default generator.
    void setRandomSource(RandomSource* source) { script_ = source; }
    void seed(std::uint32_t seed);

    // --- The program's procedures.
    // A new run from the settings: particles, counts, the table's first row.
    void initialise();
    // "Retour à l'état initial": ends the time slices (the curves of an
    // unfinished recording are not kept), drops the kept curves unless they
    // are to be kept, then initialise and echgraphe.
    void restart(GraphSurface* graph);
    // Graph frame, scales, starting points, kept curves and table times.
    // Whether "Effacer" then shows is effacerShown(maxparticules(),
    // showsKeptCurves()).
    void echgraphe(GraphSurface* graph);

    // One tick is these four steps, in this order; `tick` runs them all.
    // 1. The clock advances by one tick and every particle moves, bouncing
    //    off the vessel's walls.
    void advance();
    // 2. The collision search: velocities exchanged, and reactions as the
    //    quota of effective collisions allows.
    void collisions();
    // 3. The count of each species, the particles drawn, and while the
    //    recording runs the graph's segment, the table's row if one falls
    //    due and the measurement.
    void majaff(const Display& display);
    // 4. The time slices of C; the tick after the recording ends stores the
    //    run's curves as kept curves.
    void timeSlices();
    void tick(const Display& display);
    // Steps 2 to 4 without motion: the redrawing after a change of colour.
    void tickInPlace(const Display& display);

    // --- The run as it stands.
    // Simulated time of the current tick, in seconds.
    double elapsed() const;
    // Recording duration D as the duration tag reads.
    double duration() const;
    // Whether the recording still runs (or ends at this very tick).
    bool recording() const { return duration() >= elapsed(); }
    // Whether kept curves are on the graph, which a new duration would lose.
    bool showsKeptCurves() const { return parameters_.keepCurves && nbcourbes_ > 0; }

    std::int16_t nbparticules() const { return nbparticules_; }
    std::int16_t nbA() const { return nbA_; }
    std::int16_t nbB() const { return nbB_; }
    std::int16_t nbC() const { return nbC_; }
    std::int16_t nbD() const { return nbD_; }
    std::int32_t nbtics() const { return nbtics_; }
    std::int32_t efficaces1() const { return efficaces1_; }
    std::int32_t inefficaces1() const { return inefficaces1_; }
    std::int32_t efficaces2() const { return efficaces2_; }
    std::int32_t inefficaces2() const { return inefficaces2_; }
    std::int16_t ligne() const { return ligne_; }
    double qr() const { return qr_; }
    float taux1() const { return taux1_; }
    float taux2() const { return taux2_; }
    std::int16_t maxparticules() const { return maxparticules_; }
    std::int16_t xprec() const { return xprec_; }
    const std::array<std::int16_t, 4>& yprec() const { return yprec_; }
    const std::array<double, 61>& moyennesC() const { return moyennesC_; }
    std::int16_t tranche() const { return tranche_; }
    std::int16_t nbmesures() const { return nbmesures_; }
    const std::vector<CurveRecord>& courbes() const { return courbes_; }
    // Every measurement of the current recording, from t = 0 to D, one a tick.
    const std::vector<Sample>& samples() const { return samples_; }
    std::int16_t nbcourbes() const { return nbcourbes_; }

    // The particles, numbered 1 to particleCount() as the program numbers
    // them. Species 1 to 4 are A to D; the cool-down counts the ticks left
    // before a particle may collide again.
    int particleCount() const { return nbparticules_; }
    float x(int i) const { return posx_[i]; }
    float y(int i) const { return posy_[i]; }
    float vx(int i) const { return vitx_[i]; }
    float vy(int i) const { return vity_[i]; }
    std::int16_t species(int i) const { return espece_[i]; }
    std::int16_t coolDown(int i) const { return choc_[i]; }
    // Every particle at once, element 0 unused.
    std::span<const float> xs() const { return posx_; }
    std::span<const float> ys() const { return posy_; }
    std::span<const float> vxs() const { return vitx_; }
    std::span<const float> vys() const { return vity_; }
    std::span<const std::int16_t> speciesAll() const { return espece_; }
    std::span<const std::int16_t> coolDowns() const { return choc_; }
    // Tests and the benchmark place particles between ticks.
    void placeParticle(int i, float x, float y, float vx, float vy);
    void setSpecies(int i, std::int16_t species) { espece_[i] = species; }

private:
    friend struct SimulationProbe;  // tests set a slice mean

    float draw() { return script_ ? script_->next() : random_.nextFloat(); }
    template <typename Draw>
    void collisionsWith(Draw draw);
    void react(int i, int j, std::int32_t& efficaces, std::int32_t& inefficaces, float taux,
               std::int16_t productI, std::int16_t productJ);
    void recordRow(double t);
    void closeRow();
    void storeCurves();
    void layTableTimes();
    void colourQrColumn(int fromRow);
    void recordSample();

    Parameters parameters_;
    float vesselWidth_ = kVesselWidth;
    float vesselHeight_ = kVesselHeight;
    std::function<void(int rows)> fewerRows_;

    std::int16_t nbparticules_ = 0;
    std::int16_t nbA_ = 0, nbB_ = 0, nbC_ = 0, nbD_ = 0;
    std::int32_t nbtics_ = 0;
    std::int32_t efficaces1_ = 0, inefficaces1_ = 0, efficaces2_ = 0, inefficaces2_ = 0;
    float taux1_ = 0.0f, taux2_ = 0.0f;
    std::int16_t ligne_ = 0;
    double qr_ = 0.0;

    // Graph scales shared with the per-tick plotting.
    std::int16_t maxparticules_ = 0;
    std::int16_t xprec_ = 50;
    std::array<std::int16_t, 4> yprec_{};

    // Time-slice averages of C ("tranche": slice), and the kept curves.
    std::array<double, 61> moyennesC_{};
    std::int16_t tranche_ = -1;
    std::int16_t nbmesures_ = 0;
    std::vector<CurveRecord> courbes_;  // record 0 is never filled
    std::int16_t nbcourbes_ = 0;
    std::vector<Sample> samples_;

    // Particle arrays, indexed 1 to nbparticules_ (element 0 unused).
    std::vector<float> posx_, posy_, vitx_, vity_;
    std::vector<std::int16_t> espece_, choc_;

    GridModel& table_;
    FastRandom random_;
    RandomSource* script_ = nullptr;
};

}  // namespace molvane
