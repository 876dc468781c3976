// The clock, the graph and table recording, the time slices and kept curves.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <tuple>
#include <vector>

#include "common/numbers.h"
#include "core/presentation.h"
#include "core/simulation.h"
#include "fakes.h"
#include "probe.h"

using namespace molvane;
using molvane::test::RecordingGraph;

namespace {

struct TestRun {
    explicit TestRun(std::array<const char*, 4> counts, const char* duration = "20")
        : table(52, 6), sim(table) {
        for (int s = 0; s < 4; ++s) sim.setCount(s, counts[s]);
        sim.setDuration(leadingNumber(duration));
        sim.seed(11);
        sim.restart(&graph);
    }
    void ticks(int n) {
        for (int k = 0; k < n; ++k) sim.tick(display());
    }
    // Restarts as the window does, and says whether "Effacer" then shows.
    std::optional<bool> restart() {
        sim.restart(&graph);
        return effacerShown(sim.maxparticules(), sim.showsKeptCurves());
    }
    Display display() {
        Display d;
        d.graph = &graph;
        return d;
    }
    GridModel table;
    RecordingGraph graph;
    Simulation sim;
};

}  // namespace

TEST(Clock, Texts) {
    struct Case {
        double t;
        char separator;
        const char* text;
    } cases[] = {
        {0, '.', "00 h 00 min 00.0 s"},      {75.3, '.', "00 h 01 min 15.3 s"},
        {3725.4, '.', "01 h 02 min 05.4 s"}, {3725.4, ',', "01 h 02 min 05,4 s"},
        {7200, '.', "02 h 00 min 00.0 s"},
    };
    std::string out;
    for (const auto& c : cases) {
        writeClock(out, c.t, c.separator);
        EXPECT_EQ(out, c.text);
    }
}

TEST(Clock, EachTickAddsATenthOfASecond) {
    TestRun run({"100", "100", "0", "0"});
    run.ticks(753);
    PanelTexts texts;
    writePanelTexts(texts, {run.sim.nbA(), run.sim.nbB(), run.sim.nbC(), run.sim.nbD()}, run.sim.elapsed(),
                    run.sim.parameters().decimalSeparator);
    EXPECT_EQ(texts.label1, "00 h 01 min 15.3 s");
    EXPECT_EQ(texts.labelinf[0], std::to_string(run.sim.nbA()));
}

TEST(Qr, InitialRowTexts) {
    struct Case {
        std::array<const char*, 4> counts;
        const char* qr;
    } cases[] = {
        {{"100", "100", "0", "0"}, "0.0"},     {{"10", "10", "400", "400"}, "1.6E+03"},
        {{"0", "100", "50", "50"}, ""},        {{"100", "0", "50", "50"}, ""},
        {{"25", "25", "25", "25"}, "1.0"},     {{"2", "1", "50", "50"}, "1.25E+03"},
        {{"20", "20", "200", "200"}, "100.0"},
    };
    for (const auto& c : cases) {
        TestRun run(c.counts);
        EXPECT_EQ(run.table.text(1, 5), c.qr) << c.counts[0];
        EXPECT_EQ(run.table.text(1, 1), c.counts[0]);
        EXPECT_EQ(run.table.alignment(1, 5), kAlignCenterTop);
    }
}

TEST(Table, HeadersTimesAndQrColour) {
    TestRun run({"100", "100", "0", "0"});
    const GridModel& t = run.table;
    ASSERT_EQ(t.rows(), 52);  // 51 data rows at position 60
    EXPECT_EQ(t.text(0, 0), "Date (s)");
    EXPECT_EQ(t.text(0, 3), "Nombre de C");
    EXPECT_EQ(t.text(0, 5), "Qr");
    EXPECT_EQ(t.alignment(0, 0), kAlignCenterTop);
    EXPECT_EQ(t.text(1, 0), "0.0      ");
    EXPECT_EQ(t.text(2, 0), "0.4      ");
    EXPECT_EQ(t.text(51, 0), "20.0      ");
    EXPECT_EQ(t.alignment(2, 0), kAlignRightTop);
    for (int r = 0; r < t.rows(); ++r) EXPECT_EQ(t.foreColor(r, 5), kBlack);

    // Hidden Qr keeps the values, in white, on every row, new rows included.
    run.sim.setShowQr(false);
    run.sim.setTableRows(tableRowsAt(10));
    run.sim.restart(&run.graph);
    ASSERT_EQ(run.table.rows(), 102);
    EXPECT_EQ(run.table.text(1, 5), "0.0");
    for (int r = 0; r < run.table.rows(); ++r) EXPECT_EQ(run.table.foreColor(r, 5), kWhite) << r;
    EXPECT_EQ(run.table.text(2, 0), "0.2      ");
}

TEST(Table, RowsFillAtTheirInstants) {
    TestRun run({"100", "100", "0", "0"});
    run.ticks(3);
    EXPECT_EQ(run.table.text(2, 1), "");
    EXPECT_EQ(run.sim.ligne(), 2);
    run.ticks(1);  // t = 0.4 s
    EXPECT_EQ(run.table.text(2, 1), std::to_string(run.sim.nbA()));
    EXPECT_EQ(run.table.text(2, 3), std::to_string(run.sim.nbC()));
    EXPECT_EQ(run.table.alignment(2, 4), kAlignCenterTop);
    EXPECT_EQ(run.sim.ligne(), 3);
    run.ticks(196);  // t = 20 s: the last row
    EXPECT_EQ(run.sim.ligne(), 52);
    EXPECT_NE(run.table.text(51, 2), "");
    run.ticks(10);  // after D nothing more is written
    EXPECT_EQ(run.sim.ligne(), 52);
}

TEST(Table, RepeatedTimeTextFillsOnlyTheFirstRow) {
    TestRun run({"100", "100", "0", "0"});
    run.table.setText(2, 0, "0.1      ");
    run.table.setText(3, 0, "0.1      ");
    run.table.setText(4, 0, "0.2      ");
    run.ticks(5);
    EXPECT_NE(run.table.text(2, 1), "");
    EXPECT_EQ(run.table.text(3, 1), "");
    EXPECT_EQ(run.table.text(4, 1), "");
    EXPECT_EQ(run.sim.ligne(), 3);
}

TEST(Graph, PointOfACountAtHalfTime) {
    // Counts 100 each give a maximum of 200; no reaction at 0 %.
    TestRun run({"100", "100", "100", "100"}, "10");
    run.sim.setEffectivePercents({0, 0});
    run.sim.setCurves({true, false, true, true});
    run.sim.restart(&run.graph);
    ASSERT_EQ(run.sim.maxparticules(), 200);
    run.ticks(50);
    ASSERT_EQ(run.sim.nbA(), 100);
    const auto& last = run.graph.lines.back();
    EXPECT_DOUBLE_EQ(last.x2, 200);
    EXPECT_DOUBLE_EQ(last.y2, 110);
    EXPECT_EQ(last.width, 2);
    EXPECT_EQ(run.sim.xprec(), 200);
    // Unticked curves are not drawn, yet their last point advances.
    EXPECT_EQ(run.sim.yprec()[1], 110);
    long curveSegments = 0;
    for (const auto& l : run.graph.lines) curveSegments += l.width == 2;
    EXPECT_EQ(curveSegments, 50 * 3);  // three ticked curves, one segment a tick
}

TEST(Graph, NoCurveTickedDrawsNothingButAdvances) {
    TestRun run({"100", "100", "0", "0"});
    run.sim.setCurves({false, false, false, false});
    run.sim.restart(&run.graph);
    const auto frame = run.graph.lines.size();
    run.ticks(10);
    EXPECT_EQ(run.graph.lines.size(), frame);
    EXPECT_EQ(run.sim.xprec(), 65);  // 50 + 300 x 1 / 20
}

TEST(Graph, CountAxisMaximumAndMarks) {
    struct Case {
        std::array<const char*, 4> counts;
        int maximum;
        std::vector<std::string> marks;
    } cases[] = {
        {{"100", "100", "0", "0"}, 100, {"0", "20", "40", "60", "80", "100"}},
        {{"300", "100", "50", "0"}, 300, {"0", "60", "120", "180", "240", "300"}},
        {{"3", "0", "0", "0"}, 3, {"0", "1", "2", "3"}},
        {{"2", "1", "1", "0"}, 2, {"0", "1", "2"}},
        {{"1000", "0", "0", "0"}, 1000, {"0", "200", "400", "600", "800", "1000"}},
    };
    for (const auto& c : cases) {
        TestRun run(c.counts);
        EXPECT_EQ(run.sim.maxparticules(), c.maximum);
        std::vector<std::string> marks;
        for (const auto& l : run.graph.labels)
            if (l.x + 6.0 * l.text.size() == 45.0) marks.push_back(l.text);  // right-aligned on x = 45
        EXPECT_EQ(marks, c.marks) << c.counts[0];
    }
}

TEST(Graph, TimeMarksAndTitles) {
    TestRun run({"100", "100", "0", "0"}, "30");
    std::vector<double> xs;
    std::vector<std::string> texts;
    for (const auto& l : run.graph.labels) {
        if (l.y == 211) {
            texts.push_back(l.text);
            xs.push_back(l.x + 3.0 * l.text.size());  // centred
        }
    }
    ASSERT_EQ(texts.size(), 11u);
    EXPECT_EQ(texts[1], "3");
    EXPECT_EQ(texts[10], "30");
    EXPECT_DOUBLE_EQ(xs[0], 50);
    EXPECT_DOUBLE_EQ(xs[1], 80);
    EXPECT_DOUBLE_EQ(xs[10], 350);
    bool italicT = false, units = false;
    for (const auto& l : run.graph.labels) {
        italicT |= l.text == "t " && l.italic && l.x == 370 && l.y == 190;
        units |= l.text == "(s)" && !l.italic && l.x == 382;
    }
    EXPECT_TRUE(italicT);
    EXPECT_TRUE(units);
    // Starting point of the C curve at count 0.
    ASSERT_EQ(run.graph.points.size(), 1u);
    EXPECT_DOUBLE_EQ(run.graph.points[0].y1, 210);
}

TEST(Graph, FrameIsDrawnAsItIsLaidOut) {
    // The fake font is six units a character: a centred text starts half its
    // width left of its x, a right-aligned one its whole width.
    struct Case {
        std::array<const char*, 4> counts;
        const char* duration;
    } cases[] = {
        {{"100", "100", "0", "0"}, "30"}, {{"3", "0", "0", "0"}, "7.5"}, {{"10", "10", "400", "400"}, "0"}};
    for (const auto& c : cases) {
        TestRun run(c.counts, c.duration);
        const GraphFrame frame = graphFrame(run.sim.duration(), run.sim.maxparticules());
        std::vector<test::Line> lines;
        std::vector<test::Label> labels;
        for (const auto* marks : {&frame.timeMarks, &frame.countMarks}) {
            for (const Graduation& m : *marks) {
                lines.push_back({m.line.x1, m.line.y1, m.line.x2, m.line.y2, kLightGrey, 1});
                const double width = 6.0 * static_cast<double>(m.label.text.size());
                const double left = m.label.anchor == TextAnchor::Centre  ? m.label.x - width / 2.0
                                    : m.label.anchor == TextAnchor::Right ? m.label.x - width
                                                                          : m.label.x;
                labels.push_back({left, m.label.y, m.label.text, m.label.italic});
            }
        }
        for (const FrameLine& a : frame.axes) lines.push_back({a.x1, a.y1, a.x2, a.y2, kBlack, 1});
        labels.push_back({370, 190, "t ", true});
        labels.push_back({382, 190, "(s)", false});
        labels.push_back({55, -7, "Nombre de particules ", false});

        ASSERT_EQ(run.graph.lines.size(), lines.size()) << c.duration;
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const auto& got = run.graph.lines[k];
            EXPECT_EQ(
                std::tie(got.x1, got.y1, got.x2, got.y2, got.colour, got.width),
                std::tie(lines[k].x1, lines[k].y1, lines[k].x2, lines[k].y2, lines[k].colour, lines[k].width))
                << c.duration << " line " << k;
        }
        ASSERT_EQ(run.graph.labels.size(), labels.size()) << c.duration;
        for (std::size_t k = 0; k < labels.size(); ++k) {
            const auto& got = run.graph.labels[k];
            EXPECT_EQ(std::tie(got.x, got.y, got.text, got.italic),
                      std::tie(labels[k].x, labels[k].y, labels[k].text, labels[k].italic))
                << c.duration << " text " << k;
        }
    }
}

TEST(Slices, FourRecordsAtTheEndOfARecording) {
    TestRun run({"100", "100", "0", "0"}, "10");
    run.ticks(100);  // t = 10 s: still recording
    EXPECT_EQ(run.sim.nbcourbes(), 0);
    EXPECT_EQ(run.sim.tranche(), 61);
    SimulationProbe::moyennesC(run.sim)[30] = 30;  // a slice whose C mean is 30
    run.ticks(1);
    ASSERT_EQ(run.sim.nbcourbes(), 4);
    EXPECT_EQ(run.sim.tranche(), -1);
    for (int s = 0; s < 4; ++s) {
        const CurveRecord& r = run.sim.courbes()[s + 1];
        EXPECT_EQ(r[63], s);
        EXPECT_EQ(r[61], 100);
        EXPECT_EQ(r[62], run.sim.parameters().colours[s]);
        EXPECT_EQ(r[0], s < 2 ? 100 : 0);
    }
    EXPECT_EQ(run.sim.courbes()[1][30], 70);
    EXPECT_EQ(run.sim.courbes()[2][30], 70);
    EXPECT_EQ(run.sim.courbes()[3][30], 30);
    EXPECT_EQ(run.sim.courbes()[4][30], 30);
    // Slices hold means: C never exceeds what A and B allow.
    for (int b = 1; b <= 60; ++b) {
        EXPECT_GE(run.sim.courbes()[3][b], 0);
        EXPECT_LE(run.sim.courbes()[3][b], 100);
    }
    run.ticks(20);
    EXPECT_EQ(run.sim.nbcourbes(), 4);  // stored once
}

TEST(Slices, SliceMeansAverageTheSamples) {
    TestRun run({"100", "100", "0", "0"}, "60");  // one slice a second: 10 samples
    run.sim.setEffectivePercents({0, 0});         // nothing reacts: C stays 0
    run.sim.setCounts({"100", "100", "7", "0"});
    run.sim.restart(&run.graph);
    run.ticks(25);
    EXPECT_EQ(run.sim.moyennesC()[0], 7);
    EXPECT_EQ(run.sim.moyennesC()[1], 7);  // closed: 10 samples of 7
    EXPECT_EQ(run.sim.moyennesC()[2], 7);
    EXPECT_EQ(run.sim.tranche(), 3);
    EXPECT_EQ(run.sim.nbmesures(), 6);  // t = 2.0 to 2.5 s
}

TEST(Slices, KeptCurvesAcrossRuns) {
    struct Case {
        bool keep;
        int runs;
        int nbcourbes;
    } cases[] = {{true, 3, 12}, {false, 3, 4}, {true, 1, 4}};
    for (const auto& c : cases) {
        TestRun run({"100", "100", "0", "0"}, "10");
        run.sim.setKeepCurves(c.keep);
        for (int k = 0; k < c.runs; ++k) {
            run.sim.restart(&run.graph);
            run.ticks(101);
        }
        EXPECT_EQ(run.sim.nbcourbes(), c.nbcourbes);
        EXPECT_EQ(run.sim.courbes()[run.sim.nbcourbes()][63], 3);
    }
}

TEST(Slices, NothingStoredWithoutACompleteRecording) {
    TestRun run({"100", "100", "0", "0"}, "10");
    run.ticks(50);
    run.sim.restart(&run.graph);  // restarted before D
    EXPECT_EQ(run.sim.nbcourbes(), 0);
    run.ticks(50);
    EXPECT_EQ(run.sim.nbcourbes(), 0);

    TestRun none({"100", "100", "0", "0"}, "0");
    none.ticks(30);
    EXPECT_EQ(none.sim.nbcourbes(), 0);
}

TEST(Restart, KeptCurvesAndTheEraseButton) {
    TestRun run({"100", "100", "0", "0"}, "10");
    run.ticks(101);
    ASSERT_EQ(run.sim.nbcourbes(), 4);
    // Kept: redrawn on the new frame, and "Effacer" is shown.
    EXPECT_EQ(run.restart(), true);
    EXPECT_EQ(run.sim.nbcourbes(), 4);
    EXPECT_GE(run.graph.lines.size(), 60u);
    // A kept curve of a species whose box is unticked is not drawn but stays.
    run.sim.setCurves({false, false, false, false});
    run.sim.echgraphe(&run.graph);
    EXPECT_TRUE(run.graph.points.empty());
    EXPECT_EQ(run.sim.nbcourbes(), 4);
    // Without Check2 a restart drops them; "Effacer" always does.
    run.sim.setKeepCurves(false);
    EXPECT_EQ(run.restart(), false);
    EXPECT_EQ(run.sim.nbcourbes(), 0);
    run.sim.setKeepCurves(true);
    run.ticks(101);
    ASSERT_EQ(run.sim.nbcourbes(), 4);
    run.sim.dropKeptCurves();  // "Effacer"
    EXPECT_EQ(run.restart(), false);
    EXPECT_EQ(run.sim.nbcourbes(), 0);
}

TEST(Restart, KeptCurveWidensTheAxis) {
    TestRun run({"400", "400", "0", "0"}, "10");
    run.ticks(101);
    run.sim.setCounts({"200", "200", "0", "0"});
    run.sim.restart(&run.graph);
    EXPECT_EQ(run.sim.maxparticules(), 400);
}

TEST(Settings, TheRunKeepsTheRulesOfItsSettings) {
    // Qr's column goes white and back at once, without a restart.
    TestRun run({"100", "100", "0", "0"}, "10");
    run.ticks(12);
    run.sim.setShowQr(false);
    for (int r = 0; r < run.table.rows(); ++r) ASSERT_EQ(run.table.foreColor(r, kQrColumn), kWhite) << r;
    EXPECT_EQ(run.sim.nbtics(), 12);
    run.sim.setShowQr(true);
    for (int r = 0; r < run.table.rows(); ++r) ASSERT_EQ(run.table.foreColor(r, kQrColumn), kBlack) << r;

    // Kept curves go with a new duration and when they are no longer kept.
    struct Case {
        const char* what;
        std::function<void(Simulation&)> change;
        int curvesAfter;
    };
    const Case cases[] = {
        {"new duration", [](Simulation& s) { s.setDuration(20); }, 0},
        {"unticked", [](Simulation& s) { s.setKeepCurves(false); }, 0},
        {"ticked again", [](Simulation& s) { s.setKeepCurves(true); }, 4},
        {"dropped", [](Simulation& s) { s.dropKeptCurves(); }, 0},
        {"temperature", [](Simulation& s) { s.setTemperature(800); }, 4},
    };
    for (const Case& c : cases) {
        TestRun kept({"100", "100", "0", "0"}, "10");
        kept.ticks(101);
        ASSERT_EQ(kept.sim.nbcourbes(), 4);
        ASSERT_TRUE(kept.sim.showsKeptCurves());
        c.change(kept.sim);
        EXPECT_EQ(kept.sim.nbcourbes(), c.curvesAfter) << c.what;
        EXPECT_EQ(kept.sim.showsKeptCurves(), c.curvesAfter > 0) << c.what;
    }
}

TEST(Settings, RowsCloserThanATickAreFewerThroughTheirHandler) {
    // 5 s over 101 rows is 0.05 s a row: 51 rows, 0.1 s apart, are asked for.
    struct Case {
        double seconds;
        int rows, asked;
    };
    const Case cases[] = {{5, 101, 51}, {1, 101, 11}, {10, 101, 101}, {20, 51, 51}};
    for (const Case& c : cases) {
        TestRun run({"100", "100", "0", "0"});
        int asked = 0;
        run.sim.onFewerRows([&asked](int rows) { asked = rows; });
        run.sim.setDuration(c.seconds);
        run.sim.setTableRows(c.rows);
        run.sim.restart(&run.graph);
        EXPECT_EQ(asked, c.rows == c.asked ? 0 : c.asked) << c.seconds;
        // Without a handler the run takes the fewer rows itself.
        run.sim.onFewerRows({});
        run.sim.restart(&run.graph);
        EXPECT_EQ(run.sim.parameters().tableRows, c.asked) << c.seconds;
        EXPECT_EQ(run.table.rows(), c.asked + 1) << c.seconds;
    }
}
