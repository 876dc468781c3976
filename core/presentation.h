// What the window shows of a run, as plain values: the count labels, the
// clock, the texts of the table of values, the graph's frame and scales, and
// whether "Effacer" shows. It draws nothing and knows no window toolkit, so
// that every front-end reads the same texts and the same geometry.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace molvane {

// One tick: the timer's interval, and the simulated time a tick adds.
inline constexpr int kTickMilliseconds = 100;

// The vessel `animpic`, in drawing units: the walls the particles bounce off.
inline constexpr int kVesselWidth = 393;
inline constexpr int kVesselHeight = 157;

// --- The count labels `Labelinf(0..3)` and the clock `Label1`.

// A count as its label shows it ("100").
std::string countText(int count);
// The clock text for t seconds ("00 h 01 min 15.3 s"), written into out,
// reusing its storage.
void writeClock(std::string& out, double t, char decimalSeparator);
std::string clockText(double t, char decimalSeparator);

// The texts under the vessel after a tick.
struct PanelTexts {
    std::array<std::string, 4> labelinf;  // the counts of A to D
    std::string label1;                   // the clock
};
// Rewrites every text for the counts of A to D at t seconds, reusing storage.
void writePanelTexts(PanelTexts& texts, const std::array<int, 4>& counts, double t, char decimalSeparator);

// --- The table of values.

// A Qr value: scientific above 1 000 ("1.6E+03"), else up to four decimals.
std::string qrText(double qr, char decimalSeparator);
// Time column of a row: t to a tenth, in groups of three digits, followed
// by blanks that keep it off the right edge ("   12.5      ").
std::string rowTimeText(double t, char decimalSeparator);
// The time of a tick as compared with the rows' times (both trimmed).
std::string tickTimeText(double t, char decimalSeparator);

// --- The graph.

// The plotting rectangle: time 0 to D over x = 50..350, counts 0 to the
// maximum over y = 210..10 (the graph's y grows downwards).
inline constexpr double kGraphLeft = 50.0;
inline constexpr double kGraphRight = 350.0;
inline constexpr double kGraphBottom = 210.0;
inline constexpr double kGraphTop = 10.0;
inline constexpr double kGraphWidth = kGraphRight - kGraphLeft;
inline constexpr double kGraphHeight = kGraphBottom - kGraphTop;
// The kept curves: one point per time slice, 60 slices over the width.
inline constexpr int kSlices = 60;

// Where a measurement lies: time t of a recording of `duration` seconds,
// and a count on a scale going up to `maximum`.
double graphX(double t, double duration);
double graphY(double count, double maximum);
// The x of slice point i (0 to kSlices) of a kept curve.
double sliceX(int slice);

// The scale's maximum for the initial counts of A to D: the most any species
// can reach if every pair of the other side reacts (0 when none is above 0).
int graphMaximum(const std::array<double, 4>& initialCounts);

enum class TextAnchor { Left, Centre, Right };

// A text of the frame, drawn in the graph's font: its top at y, and x its
// left edge, centre or right edge as the anchor says. A text that follows
// starts where the previous one ends (its x is then unused).
struct FrameText {
    double x = 0.0, y = 0.0;
    TextAnchor anchor = TextAnchor::Left;
    std::string text;
    bool italic = false;
    bool follows = false;
};

struct FrameLine {
    double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
};

// One graduation: a light grey line across the plotting rectangle and its
// value as text.
struct Graduation {
    FrameLine line;
    FrameText label;
};

// The graph's frame, each part in the order it is drawn: the time
// graduations, the count graduations, the two black axes with their arrows,
// then the titles.
struct GraphFrame {
    std::vector<Graduation> timeMarks;   // none without a whole duration
    std::vector<Graduation> countMarks;  // from 0 up, one fifth of the maximum apart
    std::array<FrameLine, 6> axes{};
    std::array<FrameText, 3> titles{};
};
// The frame of a recording of `duration` seconds on a scale up to `maximum`
// (above 0).
GraphFrame graphFrame(double duration, int maximum);

// --- The vessel's shaded background (`fondi`, unless "Fond blanc").

// One outline of the shading: a one-pixel rectangle from (x, y) to
// (x + width, y + height), both corners included.
struct ShadingRing {
    int x = 0, y = 0, width = 0, height = 0;
    int red = 0, green = 0, blue = 0;
};
// The outlines of a vessel `width` x `height` pixels, drawn in this order
// over white: from the edges, brown, inwards to white at the centre.
std::vector<ShadingRing> vesselShadingRings(int width, int height);

// --- What a screen reader is told of colours.

// A colour 0x00BBGGRR in French words, as a pupil who cannot see it needs
// them: "bleu", "vert clair", "gris foncé".
std::string colourName(std::uint32_t colour);

// --- The "Effacer" button (`Command6`).

// Whether it shows after the graph is redrawn: exactly while kept curves are
// drawn; nothing (it is left as it was) when the graph has no scale.
std::optional<bool> effacerShown(int maximum, bool keptCurvesShown);

}  // namespace molvane
