// One simulated run of A + B = C + D: the particles, the collision quota, the
// clock, the recording into the graph and the table, and the kept curves.
// The names are the program's own: `initialise` builds a run, `Timer1_Timer`
// is one tick, `majaff` ("mise à jour de l'affichage") draws and records it,
// `echgraphe` ("échelles du graphe") redraws the graph frame.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/grid.h"
#include "core/random.h"
#include "core/surface.h"

namespace molvane {

// The values of the window's controls that the run reads.
struct Parameters {
    std::array<std::string, 4> counts{"100", "100", "0", "0"};  // Text1(0..3), initial counts of A..D
    std::array<int, 2> sensePositions{50, 50};  // VScroll4(0..1): percentage = 100 - position
    int temperature = 500;                      // HScroll1 position, 200 to 800
    std::string durationTag = "20";             // VScroll2's tag: recording duration D in seconds
    int rowsPosition = 60;                      // VScroll3 position: 111 - position data rows
    bool showQr = true;                         // Check3 "Afficher Qr dans le tableau"
    bool keepCurves = true;                     // Check2 "Conserver les courbes sur le graphe"
    std::array<bool, 4> curves{false, false, true, false};  // option2(0..3): curves drawn
    std::array<Colour, 4> colours{rgb(0, 0, 255), rgb(255, 0, 255), rgb(255, 128, 0), rgb(0, 192, 0)};
    int interval = 100;          // Timer1's interval in ms: the simulated length of a tick
    char decimalSeparator = '.';  // the user's, for the clock and the table
};

// Where one tick draws. A null surface is not drawn (the magnifier while hidden).
struct Display {
    AnimationSurface* animpic = nullptr;
    AnimationSurface* louloupe = nullptr;
    GraphSurface* graph = nullptr;
};

// A kept curve: 61 slice means, then the axis maximum, colour and species.
using CurveRecord = std::array<double, 64>;

// Column headers of the table of values.
extern const std::array<const char*, 6> kTableHeaders;

class Simulation {
public:
    // The table of values is filled by the run; the window shows it.
    explicit Simulation(GridModel& table);

    Parameters parameters;

    // The vessel's inner size in drawing units, read at every wall test.
    float vesselWidth = 393.0f;
    float vesselHeight = 157.0f;

    // The row-count bar of a window: when too many rows would lie closer
    // than one tick, the bar is moved and its own change handling (label,
    // restart) runs. Without a bar the position is changed here.
    std::function<void(int position)> moveRowsBar;

    // Tests and the benchmark may replace the default generator.
    void setRandomSource(RandomSource* source) { script_ = source; }
    void seed(std::uint32_t seed);

    void initialise();
    void Timer1_Timer(const Display& display);
    void majaff(const Display& display);
    // Graph frame, scales, starting points, kept curves and table times.
    // Returns whether `Command6` ("Effacer") is to be shown, or nothing when
    // there is no scale to draw on (the button is then left as it was).
    std::optional<bool> echgraphe(GraphSurface* graph);
    // "Retour à l'état initial"; returns echgraphe's answer.
    std::optional<bool> Command5_Click(GraphSurface* graph);
    // "Effacer": drop the kept curves, then restart.
    std::optional<bool> Command6_Click(GraphSurface* graph);

    // Simulated time of the current tick, in seconds.
    double elapsed() const;
    // Recording duration D as the duration tag reads.
    double duration() const;

    // Particle arrays, indexed 1 to nbparticules (element 0 unused).
    std::vector<float> posx, posy, vitx, vity;
    std::vector<std::int16_t> espece, choc;

    std::int16_t nbparticules = 0;
    std::int16_t nbA = 0, nbB = 0, nbC = 0, nbD = 0;
    std::int32_t nbtics = 0;
    std::int32_t efficaces1 = 0, inefficaces1 = 0, efficaces2 = 0, inefficaces2 = 0;
    float taux1 = 0.0f, taux2 = 0.0f;
    std::int16_t ligne = 0;
    double qr = 0.0;

    // Graph scales shared with the per-tick plotting.
    std::int16_t maxparticules = 0;
    std::int16_t xprec = 50;
    std::array<std::int16_t, 4> yprec{};

    // Time-slice averages of C ("tranche": slice), and the kept curves.
    std::array<double, 61> moyennesC{};
    std::int16_t tranche = -1;
    std::int16_t nbmesures = 0;
    std::vector<CurveRecord> courbes;  // record 0 is never filled
    std::int16_t nbcourbes = 0;

    // Texts of the count labels Labelinf(0..3) and of the clock Label1,
    // rewritten by every majaff.
    std::array<std::string, 4> labelinf;
    std::string label1;

private:
    float draw() { return script_ ? script_->next() : random_.nextFloat(); }
    void collisions();
    template <typename Draw>
    void collisionsWith(Draw draw);
    void react(int i, int j, std::int32_t& efficaces, std::int32_t& inefficaces, float taux,
               std::int16_t productI, std::int16_t productJ);
    void recordRow(double t);
    void closeRow();
    void storeCurves();
    void timeSlices(double t);
    void layTableTimes();
    void colourQrColumn(int fromRow);

    GridModel& table_;
    FastRandom random_;
    RandomSource* script_ = nullptr;
};

// Writes the clock text for t seconds ("00 h 01 min 15.3 s") into out,
// reusing its storage.
void writeClock(std::string& out, double t, char decimalSeparator);
// The text of a Qr value: scientific above 1 000.
std::string qrText(double qr, char decimalSeparator);

}  // namespace molvane
