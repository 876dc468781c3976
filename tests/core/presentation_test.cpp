// What the labels, the table and the graph's frame show, as values.
#include "core/presentation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/numbers.h"

using namespace molvane;

TEST(PanelTexts, ClockAtTheTimesOfTicks) {
    // Times as the run computes them, tick count x tick length: the last
    // tenth of a minute or an hour never shows as 60.
    struct Case {
        int ticks;
        char separator;
        const char* text;
    } cases[] = {
        {0, '.', "00 h 00 min 00.0 s"},        {1, ',', "00 h 00 min 00,1 s"},
        {599, '.', "00 h 00 min 59.9 s"},      {600, '.', "00 h 01 min 00.0 s"},
        {35999, ',', "00 h 59 min 59,9 s"},    {36000, '.', "01 h 00 min 00.0 s"},
        {72000, '.', "02 h 00 min 00.0 s"},    {864000, '.', "24 h 00 min 00.0 s"},
        {3600000, '.', "100 h 00 min 00.0 s"},
    };
    for (const auto& c : cases) {
        const double t = kTickMilliseconds / 1000.0 * c.ticks;
        EXPECT_EQ(clockText(t, c.separator), c.text) << c.ticks;
    }
}

TEST(PanelTexts, RewritingReusesTheTextsAndReplacesEveryOne) {
    struct Case {
        std::array<int, 4> counts;
        double t;
        char separator;
        std::array<const char*, 4> labelinf;
        const char* label1;
    } cases[] = {
        {{1000, 32767, 0, 5}, 3725.4, ',', {"1000", "32767", "0", "5"}, "01 h 02 min 05,4 s"},
        {{5, 0, 100, 20}, 0.5, '.', {"5", "0", "100", "20"}, "00 h 00 min 00.5 s"},  // shorter than before
        {{0, 0, 0, 0}, 0, '.', {"0", "0", "0", "0"}, "00 h 00 min 00.0 s"},
    };
    PanelTexts texts;
    for (const auto& c : cases) {
        writePanelTexts(texts, c.counts, c.t, c.separator);
        for (int s = 0; s < 4; ++s) EXPECT_EQ(texts.labelinf[s], c.labelinf[s]) << c.t;
        EXPECT_EQ(texts.label1, c.label1);
        EXPECT_EQ(countText(c.counts[0]), c.labelinf[0]);
    }
}

TEST(TableTexts, QrAndTimes) {
    struct Case {
        double qr;
        char separator;
        const char* text;
    } qrs[] = {
        {0, '.', "0.0"},         {1, ',', "1,0"},        {0.33333, '.', "0.3333"},  {1000, '.', "1000.0"},
        {1000.5, ',', "1,E+03"}, {1600, '.', "1.6E+03"}, {123456, '.', "1.23E+05"},
    };
    for (const auto& c : qrs) EXPECT_EQ(qrText(c.qr, c.separator), c.text) << c.qr;

    struct TimeCase {
        double t;
        char separator;
        const char* row;
    } times[] = {
        {0, '.', "0.0      "},          {0.4, ',', "0,4      "},        {12.5, '.', "12.5      "},
        {1234.5, '.', "1 234.5      "}, {86400, ',', "86 400,0      "},
    };
    for (const auto& c : times) {
        EXPECT_EQ(rowTimeText(c.t, c.separator), c.row) << c.t;
        // A tick falls on a row when their times read the same.
        EXPECT_EQ(trimmed(tickTimeText(c.t, c.separator)), trimmed(c.row)) << c.t;
    }
    EXPECT_NE(trimmed(tickTimeText(12.4, '.')), trimmed(rowTimeText(12.5, '.')));
    EXPECT_EQ(rowTimeText(1234567, '.'), "1 234 567.0      ");
}

TEST(GraphScale, MaximumReachableByAnySpecies) {
    struct Case {
        std::array<double, 4> counts;
        int maximum;
    } cases[] = {
        {{100, 100, 0, 0}, 100}, {{300, 100, 50, 0}, 300},
        {{3, 0, 0, 0}, 3},       {{10, 10, 400, 400}, 410},  // C and D gain what A and B lose
        {{20, 30, 5, 1}, 31},    {{0, 0, 0, 0}, 0},
        {{0, 0, 7, 0}, 7},       {{40000, 0, 0, 0}, 0},  // beyond sixteen bits: no scale
    };
    for (const auto& c : cases) EXPECT_EQ(graphMaximum(c.counts), c.maximum) << c.counts[0];
}

TEST(GraphScale, MeasurementsMapOntoThePlottingRectangle) {
    struct Case {
        double t, duration, count, maximum;
        double x, y;
    } cases[] = {
        {0, 20, 0, 100, kGraphLeft, kGraphBottom},
        {20, 20, 100, 100, kGraphRight, kGraphTop},
        {10, 20, 50, 100, 200, 110},
        {0.1, 10, 3, 3, 53, 10},
        {7200, 7200, 1, 1000, kGraphRight, 209.8},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(graphX(c.t, c.duration), c.x) << c.t;
        EXPECT_DOUBLE_EQ(graphY(c.count, c.maximum), c.y) << c.count;
    }
    EXPECT_DOUBLE_EQ(sliceX(0), kGraphLeft);
    EXPECT_DOUBLE_EQ(sliceX(kSlices), kGraphRight);
    EXPECT_DOUBLE_EQ(sliceX(30), 200);
}

TEST(GraphFrame, GraduationsFollowTheDurationAndTheMaximum) {
    struct Case {
        double duration;
        int maximum;
        std::vector<std::string> timeLabels;  // none without a whole duration
        std::vector<std::string> countLabels;
    } cases[] = {
        {20,
         100,
         {"0", "2", "4", "6", "8", "10", "12", "14", "16", "18", "20"},
         {"0", "20", "40", "60", "80", "100"}},
        {30, 3, {"0", "3", "6", "9", "12", "15", "18", "21", "24", "27", "30"}, {"0", "1", "2", "3"}},
        // A duration is graduated rounded to whole seconds, halves to even.
        {7.5,
         12,
         {"0", ".8", "1.6", "2.4", "3.2", "4", "4.8", "5.6", "6.4", "7.2", "8"},
         {"0", "2", "4", "6", "8", "10", "12"}},
        {0.4, 11, {}, {"0", "2", "4", "6", "8", "10"}},  // the top of the scale left unmarked
        {0, 1000, {}, {"0", "200", "400", "600", "800", "1000"}},
        {7200,
         1,
         {"0", "720", "1440", "2160", "2880", "3600", "4320", "5040", "5760", "6480", "7200"},
         {"0", "1"}},
    };
    for (const auto& c : cases) {
        const GraphFrame frame = graphFrame(c.duration, c.maximum);
        ASSERT_EQ(frame.timeMarks.size(), c.timeLabels.size()) << c.duration;
        for (std::size_t k = 0; k < c.timeLabels.size(); ++k) {
            const Graduation& mark = frame.timeMarks[k];
            const double x = kGraphLeft + kGraphWidth * static_cast<double>(k) / 10.0;
            EXPECT_EQ(mark.label.text, c.timeLabels[k]) << c.duration;
            EXPECT_DOUBLE_EQ(mark.line.x1, x);
            EXPECT_DOUBLE_EQ(mark.line.x2, x);
            EXPECT_EQ(mark.line.y1, kGraphTop);
            EXPECT_EQ(mark.line.y2, kGraphBottom);
            // Centred under the time axis.
            EXPECT_DOUBLE_EQ(mark.label.x, x);
            EXPECT_EQ(mark.label.y, kGraphBottom + 1);
            EXPECT_EQ(mark.label.anchor, TextAnchor::Centre);
        }
        ASSERT_EQ(frame.countMarks.size(), c.countLabels.size()) << c.maximum;
        for (std::size_t k = 0; k < c.countLabels.size(); ++k) {
            const Graduation& mark = frame.countMarks[k];
            const double y = graphY(leadingNumber(c.countLabels[k]), c.maximum);
            EXPECT_EQ(mark.label.text, c.countLabels[k]) << c.maximum;
            EXPECT_NEAR(mark.line.y1, y, 1e-9) << c.countLabels[k];
            EXPECT_EQ(mark.line.y1, mark.line.y2);
            EXPECT_EQ(mark.line.x1, kGraphLeft);
            EXPECT_EQ(mark.line.x2, kGraphRight);
            // Ending left of the count axis, a little above its line.
            EXPECT_EQ(mark.label.anchor, TextAnchor::Right);
            EXPECT_LT(mark.label.x, kGraphLeft);
            EXPECT_DOUBLE_EQ(mark.label.y, mark.line.y1 - 6);
            EXPECT_FALSE(mark.label.italic);
        }
    }
}

TEST(GraphFrame, AxesAndTitlesDoNotDependOnTheScale) {
    for (const auto& [duration, maximum] : {std::pair{20.0, 100}, {3600.0, 7}}) {
        const GraphFrame frame = graphFrame(duration, maximum);
        // The count axis from the time axis up past the rectangle, to an arrow.
        const FrameLine& countAxis = frame.axes[0];
        EXPECT_EQ(countAxis.x1, kGraphLeft);
        EXPECT_EQ(countAxis.x2, kGraphLeft);
        EXPECT_EQ(countAxis.y2, kGraphBottom);
        EXPECT_LT(countAxis.y1, kGraphTop);
        for (int k : {1, 2}) {
            EXPECT_EQ(frame.axes[k].x1, countAxis.x1);
            EXPECT_EQ(frame.axes[k].y1, countAxis.y1);
        }
        EXPECT_EQ(frame.axes[1].x2 + frame.axes[2].x2, 2 * kGraphLeft);  // the arrow's two sides
        // The time axis on the rectangle's bottom, past its right side, to an arrow.
        const FrameLine& timeAxis = frame.axes[3];
        EXPECT_EQ(timeAxis.y1, kGraphBottom);
        EXPECT_EQ(timeAxis.y2, kGraphBottom);
        EXPECT_EQ(timeAxis.x1, kGraphLeft);
        EXPECT_GT(timeAxis.x2, kGraphRight);
        for (int k : {4, 5}) {
            EXPECT_EQ(frame.axes[k].x2, timeAxis.x2);
            EXPECT_EQ(frame.axes[k].y2, timeAxis.y2);
        }
        EXPECT_EQ(frame.axes[4].y1 + frame.axes[5].y1, 2 * kGraphBottom);

        // "t (s)" with the t in italics, right of the rectangle above the
        // time axis; "Nombre de particules" by the count axis's arrow.
        const auto& titles = frame.titles;
        EXPECT_EQ(titles[0].text, "t ");
        EXPECT_TRUE(titles[0].italic);
        EXPECT_GT(titles[0].x, kGraphRight);
        EXPECT_LT(titles[0].y, kGraphBottom);
        EXPECT_EQ(titles[1].text, "(s)");
        EXPECT_FALSE(titles[1].italic);
        EXPECT_TRUE(titles[1].follows);
        EXPECT_EQ(titles[1].y, titles[0].y);
        EXPECT_EQ(titles[2].text, "Nombre de particules ");
        EXPECT_FALSE(titles[2].follows);
        EXPECT_GT(titles[2].x, kGraphLeft);
        EXPECT_LT(titles[2].y, countAxis.y1);
    }
}

TEST(EffacerButton, ShownExactlyWhileKeptCurvesAreDrawn) {
    struct Case {
        int maximum;
        bool kept;
        std::optional<bool> shown;
    } cases[] = {
        {100, true, true},        {100, false, false},
        {1, true, true},          {0, true, std::nullopt},  // no scale: the button stays as it was
        {0, false, std::nullopt}, {-1, true, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(effacerShown(c.maximum, c.kept), c.shown) << c.maximum << c.kept;
}

TEST(VesselShading, OutlinesFromTheBrownEdgeToTheWhiteCentre) {
    struct Case {
        int width, height;
        std::size_t rings;
        ShadingRing first, last;
    };
    const std::vector<Case> cases = {
        {393, 157, 197, {0, 0, 393, 157, 205, 150, 100}, {196, 78, 1, 1, 255, 255, 255}},
        {786, 314, 394, {0, 0, 786, 314, 205, 150, 100}, {393, 157, 0, 0, 255, 255, 255}},
        // So narrow that the last outline's colour would pass 255.
        {3, 10, 3, {0, 0, 3, 10, 205, 150, 100}, {2, 7, -1, -4, 255, 255, 255}},
    };
    for (const Case& c : cases) {
        const std::vector<ShadingRing> rings = vesselShadingRings(c.width, c.height);
        ASSERT_EQ(rings.size(), c.rings) << c.width;
        for (const auto& [got, want] : {std::pair{rings.front(), c.first}, std::pair{rings.back(), c.last}}) {
            EXPECT_EQ(got.x, want.x) << c.width;
            EXPECT_EQ(got.y, want.y) << c.width;
            EXPECT_EQ(got.width, want.width) << c.width;
            EXPECT_EQ(got.height, want.height) << c.width;
            EXPECT_EQ(got.red, want.red) << c.width;
            EXPECT_EQ(got.green, want.green) << c.width;
            EXPECT_EQ(got.blue, want.blue) << c.width;
        }
        for (const ShadingRing& ring : rings) EXPECT_LE(std::max({ring.red, ring.green, ring.blue}), 255);
    }
    EXPECT_TRUE(vesselShadingRings(0, 157).empty());
}

TEST(ColourNames, SayInWordsWhatAPupilCannotSee) {
    const std::vector<std::pair<std::uint32_t, std::string>> cases = {
        // The four species' colours at start.
        {0xFF0000, "bleu"},       {0xFF00FF, "magenta"}, {0x0080FF, "orange"}, {0x00C000, "vert"},
        {0x000000, "noir"},       {0xFFFFFF, "blanc"},   {0x808080, "gris"},   {0xC0C0C0, "gris clair"},
        {0x404040, "gris foncé"}, {0x0000FF, "rouge"},   {0x00FFFF, "jaune"},  {0x640000, "bleu foncé"},
        {0xA0FFA0, "vert clair"}, {0xFF0080, "violet"},  {0xFFFF00, "cyan"},   {0x8000FF, "magenta"},
        {0x2800FF, "rouge"},  // a hue just under 360 degrees turns back to red
    };
    for (const auto& [colour, name] : cases) EXPECT_EQ(colourName(colour), name) << std::hex << colour;
}
