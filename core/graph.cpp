// The graph frame of a run: scales, graduations, axes, titles, the curves'
// starting points and the kept curves, and the time column of the table.
#include <algorithm>
#include <cmath>

#include "common/numbers.h"
#include "core/simulation.h"

namespace molvane {

namespace {
// The plotting rectangle: time 0 to D over x = 50..350, counts 0 to the
// maximum over y = 210..10.
constexpr double kLeft = 50.0, kRight = 350.0, kBottom = 210.0, kTop = 10.0;
constexpr double kWidth = kRight - kLeft, kHeight = kBottom - kTop;
}  // namespace

std::optional<bool> Simulation::echgraphe(GraphSurface* graph) {
    std::array<double, 4> n0{};
    for (int s = 0; s < 4; ++s) n0[s] = leadingNumber(parameters_.counts[s]);
    const double a = n0[0], b = n0[1], c = n0[2], d = n0[3];
    // The most any species can reach if every pair of the other side reacts.
    maxparticules_ = 0;
    for (double candidate :
         {a + std::min(c, d), b + std::min(c, d), c + std::min(a, b), d + std::min(a, b)}) {
        if (auto rounded = roundToInt16(candidate); rounded && *rounded > maxparticules_)
            maxparticules_ = *rounded;
    }
    if (graph) graph->clear();

    const bool keep = showsKeptCurves();
    if (keep) {
        for (int k = 1; k <= nbcourbes_ && k < static_cast<int>(courbes_.size()); ++k) {
            if (courbes_[k][61] > maxparticules_) {
                if (auto widened = roundToInt16(courbes_[k][61])) maxparticules_ = *widened;
            }
        }
    }
    if (maxparticules_ <= 0) return std::nullopt;
    const double top = maxparticules_;
    // Graduations, and the points of curves: a curve's points are computed as
    // each tick computes them (count / maximum first), so that a count that
    // does not change stays on one line from the origin on.
    auto yOf = [top](double n) { return kBottom - kHeight * n / top; };
    auto yOfCount = [top](double n) { return kBottom - n / top * kHeight; };

    if (graph) {
        const auto duration = roundToInt32(this->duration());
        if (duration && *duration > 0) {
            const double dur = *duration;
            for (int mark = 0; mark <= 10; ++mark) {
                const double t = dur * mark / 10.0;
                const double x = kLeft + kWidth * t / dur;
                graph->line(x, kTop, x, kBottom, kLightGrey, 1);
                const std::string label = numberText(t);
                graph->text(x - graph->textWidth(label, false) / 2.0, kBottom + 1.0, label, false);
            }
        }
        const int step = std::max(1, maxparticules_ / 5);
        for (int n = 0; n <= maxparticules_; n += step) {
            const double y = yOf(n);
            graph->line(kLeft, y, kRight, y, kLightGrey, 1);
            const std::string label = numberText(n);
            graph->text(45.0 - graph->textWidth(label, false), y - 6.0, label, false);
        }
        graph->line(50, -6, 50, 210, kBlack, 1);
        graph->line(50, -6, 47, 0, kBlack, 1);
        graph->line(50, -6, 53, 0, kBlack, 1);
        graph->line(50, 210, 380, 210, kBlack, 1);
        graph->line(374, 207, 380, 210, kBlack, 1);
        graph->line(374, 213, 380, 210, kBlack, 1);
        graph->text(370, 190, "t ", true);
        graph->text(370 + graph->textWidth("t ", true), 190, "(s)", false);
        graph->text(55, -7, "Nombre de particules ", false);
    }

    xprec_ = 50;
    for (int s = 0; s < 4; ++s) {
        if (!parameters_.curves[s]) continue;
        if (auto y = roundToInt16(yOfCount(n0[s]))) {
            yprec_[s] = *y;
            if (graph) graph->point(50, yprec_[s], parameters_.colours[s], 2);
        }
    }

    layTableTimes();

    if (!keep) return false;
    if (graph) {
        for (int k = 1; k <= nbcourbes_ && k < static_cast<int>(courbes_.size()); ++k) {
            const CurveRecord& record = courbes_[k];
            const int species = static_cast<int>(record[63]);
            if (species < 0 || species > 3 || !parameters_.curves[species]) continue;
            const auto colour = static_cast<Colour>(record[62]);
            double px = kLeft, py = yOfCount(record[0]);
            graph->point(px, py, colour, 2);
            for (int i = 1; i <= 60; ++i) {
                const double x = kLeft + 5.0 * i, y = yOfCount(record[i]);
                graph->line(px, py, x, y, colour, 2);
                px = x;
                py = y;
            }
        }
    }
    return true;
}

void Simulation::layTableTimes() {
    const double d = duration();
    // Rows closer than one tick could never all be filled: fewer rows then.
    // The panel's ranges (10 s at least over 101 rows at most) never get here.
    if (const int rows = parameters_.tableRows; rows > 1 && d / (rows - 1) < 0.1) {
        if (auto intervals = roundToInt32(d / 0.1)) {
            const int fewer = std::clamp(*intervals + 1, kFewestTableRows, kMostTableRows);
            if (fewerRows_)
                fewerRows_(fewer);
            else
                parameters_.tableRows = fewer;
        }
    }
    const int before = table_.rows();
    table_.setRows(parameters_.tableRows + 1);
    // Rows added here were not coloured by the reset: hide their Qr too.
    if (table_.rows() > before) colourQrColumn(before);
    const int last = table_.rows() - 1;  // R, the last data row
    for (int i = 1; i <= last; ++i) {
        const double t = last > 1 ? d * (i - 1) / (last - 1) : 0.0;
        table_.setText(i, 0, formatPicture(t, "# ### ##0.0", parameters_.decimalSeparator) + "      ");
        table_.setRow(i);
        table_.setCol(0);
        table_.setCellAlignment(kAlignRightTop);
    }
}

}  // namespace molvane
