// The graph frame of a run: scales, graduations, axes, titles, the curves'
// starting points and the kept curves, and the time column of the table.
#include <algorithm>
#include <cmath>

#include "common/numbers.h"
#include "core/presentation.h"
#include "core/simulation.h"

namespace molvane {

namespace {

double anchoredLeft(GraphSurface& graph, const FrameText& text) {
    switch (text.anchor) {
        case TextAnchor::Centre:
            return text.x - graph.textWidth(text.text, text.italic) / 2.0;
        case TextAnchor::Right:
            return text.x - graph.textWidth(text.text, text.italic);
        default:
            return text.x;
    }
}

void drawFrame(GraphSurface& graph, const GraphFrame& frame) {
    for (const auto* marks : {&frame.timeMarks, &frame.countMarks}) {
        for (const Graduation& mark : *marks) {
            graph.line(mark.line.x1, mark.line.y1, mark.line.x2, mark.line.y2, kLightGrey, 1);
            graph.text(anchoredLeft(graph, mark.label), mark.label.y, mark.label.text, mark.label.italic);
        }
    }
    for (const FrameLine& axis : frame.axes) graph.line(axis.x1, axis.y1, axis.x2, axis.y2, kBlack, 1);
    const FrameText* previous = nullptr;
    double previousLeft = 0.0;
    for (const FrameText& title : frame.titles) {
        const double left = title.follows && previous
                                ? previousLeft + graph.textWidth(previous->text, previous->italic)
                                : anchoredLeft(graph, title);
        graph.text(left, title.y, title.text, title.italic);
        previous = &title;
        previousLeft = left;
    }
}

}  // namespace

void Simulation::echgraphe(GraphSurface* graph) {
    std::array<double, 4> n0{};
    for (int s = 0; s < 4; ++s) n0[s] = leadingNumber(parameters_.counts[s]);
    maxparticules_ = static_cast<std::int16_t>(graphMaximum(n0));
    if (graph) graph->clear();

    // Kept curves drawn over a larger scale widen it.
    const bool keep = showsKeptCurves();
    if (keep) {
        for (int k = 1; k <= nbcourbes_ && k < static_cast<int>(courbes_.size()); ++k) {
            if (courbes_[k][61] > maxparticules_) {
                if (auto widened = roundToInt16(courbes_[k][61])) maxparticules_ = *widened;
            }
        }
    }
    if (maxparticules_ <= 0) return;
    const double top = maxparticules_;

    if (graph) drawFrame(*graph, graphFrame(duration(), maxparticules_));

    // A curve's points are computed as each tick computes them, so that a
    // count that does not change stays on one line from the origin on.
    xprec_ = static_cast<std::int16_t>(kGraphLeft);
    for (int s = 0; s < 4; ++s) {
        if (!parameters_.curves[s]) continue;
        if (auto y = roundToInt16(graphY(n0[s], top))) {
            yprec_[s] = *y;
            if (graph) graph->point(kGraphLeft, yprec_[s], parameters_.colours[s], 2);
        }
    }

    layTableTimes();

    if (!keep || !graph) return;
    for (int k = 1; k <= nbcourbes_ && k < static_cast<int>(courbes_.size()); ++k) {
        const CurveRecord& record = courbes_[k];
        const int species = static_cast<int>(record[63]);
        if (species < 0 || species > 3 || !parameters_.curves[species]) continue;
        const auto colour = static_cast<Colour>(record[62]);
        double px = sliceX(0), py = graphY(record[0], top);
        graph->point(px, py, colour, 2);
        for (int i = 1; i <= kSlices; ++i) {
            const double x = sliceX(i), y = graphY(record[i], top);
            graph->line(px, py, x, y, colour, 2);
            px = x;
            py = y;
        }
    }
}

void Simulation::layTableTimes() {
    const double d = duration();
    const double tick = parameters_.interval / 1000.0;
    // Rows closer than one tick could never all be filled: fewer rows then.
    // The panel's ranges (10 s at least over 101 rows at most) never get here.
    if (const int rows = parameters_.tableRows; rows > 1 && d / (rows - 1) < tick) {
        if (auto intervals = roundToInt32(d / tick)) {
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
        table_.setText(i, 0, rowTimeText(t, parameters_.decimalSeparator));
        table_.setRow(i);
        table_.setCol(0);
        table_.setCellAlignment(kAlignRightTop);
    }
}

}  // namespace molvane
