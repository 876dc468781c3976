#include "front/mainstate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/table.h"
#include "files/configmessages.h"
#include "files/runsetup.h"

using namespace molvane;

namespace {

ConfigurationValues startValues() {
    MainState state;
    state.start();
    return state.values();
}

std::vector<Sample> runFor(MainState& state, int ticks) {
    for (int k = 0; k < ticks; ++k) state.tick();
    return state.run().samples();
}

void expectSameSamples(const std::vector<Sample>& a, const std::vector<Sample>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t k = 0; k < a.size(); ++k) {
        EXPECT_EQ(a[k].tick, b[k].tick) << "sample " << k;
        EXPECT_EQ(a[k].counts, b[k].counts) << "sample " << k;
    }
}

}  // namespace

TEST(MainState, StartsAsTheWindowDoes) {
    MainState state;
    state.start();
    EXPECT_EQ(state.durationText(), "20 s");
    EXPECT_EQ(state.rowsText(), "51");
    EXPECT_EQ(state.percentText(0), "50 %");
    EXPECT_EQ(state.run().nbparticules(), 200);
    EXPECT_TRUE(state.graphShown());
    EXPECT_FALSE(state.effacerVisible());
    // What a save of the untouched window holds.
    const ConfigurationValues v = state.values();
    EXPECT_EQ(v.durationPosition, 11);
    EXPECT_EQ(v.rowsPosition, 60);
    EXPECT_EQ(v.colours[0], 0xFF0000);  // blue as 0x00BBGGRR
}

TEST(MainState, LeavingACountChecksTheTotalAndRestarts) {
    struct Case {
        std::array<std::string, 4> counts;
        int box;
        CountLimit limit;
        std::string text;
        int particles;
    };
    const std::vector<Case> cases = {
        {{"100", "100", "0", "0"}, 0, CountLimit::None, "100", 200},
        {{"007", "100", "0", "0"}, 0, CountLimit::None, "7", 107},
        {{"900", "200", "0", "0"}, 1, CountLimit::TooMany, "100", 1000},
        {{"3", "2", "0", "0"}, 1, CountLimit::TooFew, "7", 10},
        {{"", "500", "0", "0"}, 0, CountLimit::None, "0", 500},
    };
    for (const Case& c : cases) {
        MainState state;
        state.start();
        for (int s = 0; s < 4; ++s) state.typeCount(s, c.counts[s]);
        EXPECT_EQ(state.leaveCount(c.box), c.limit) << c.counts[c.box];
        EXPECT_EQ(state.count(c.box), c.text) << c.counts[c.box];
        EXPECT_EQ(state.run().nbparticules(), c.particles) << c.counts[c.box];
        EXPECT_EQ(state.run().nbtics(), 0);
    }
}

TEST(MainState, BarsReadAsThePanelsShowThem) {
    MainState state;
    state.start();
    state.typePercent(0, "52");
    state.leavePercent(0);
    EXPECT_TRUE(state.setRowsPosition(static_cast<std::int16_t>(rowsBarPosition(31))));
    EXPECT_TRUE(state.moveDuration(9, false));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"VScroll4_0", "52 %"},    {"VScroll4_1", "50 %"}, {"VScroll2", "1 min"},
        {"VScroll3", "31 lignes"}, {"HScroll1", "500"},    {"Label1", ""},
    };
    for (const auto& [name, text] : cases) EXPECT_EQ(state.barValueText(name), text) << name;
    EXPECT_EQ(state.percentText(0), "52 %");
    EXPECT_EQ(state.run().parameters().effectivePercent[0], 52);
}

TEST(MainState, TemperatureActsWithoutRestart) {
    MainState state;
    state.start();
    runFor(state, 5);
    EXPECT_TRUE(state.setTemperature(800));
    EXPECT_EQ(state.run().nbtics(), 5);
    EXPECT_EQ(state.run().parameters().temperature, 800);
    EXPECT_FALSE(state.setTemperature(900));
    EXPECT_EQ(state.temperature(), 800);
}

TEST(MainState, ANewDurationAsksOnlyWhenKeptCurvesWouldGo) {
    MainState state;
    state.start();
    EXPECT_TRUE(state.moveDuration(12, false));  // 10 s
    EXPECT_FALSE(state.durationAsks(11));
    runFor(state, 101);  // the recording ends and its curves are kept
    ASSERT_TRUE(state.run().showsKeptCurves());
    EXPECT_TRUE(state.durationAsks(11));
    EXPECT_FALSE(state.durationAsks(12));  // the same position asks nothing

    EXPECT_FALSE(state.moveDuration(11, false));  // declined: the bar goes back
    EXPECT_EQ(state.durationPosition(), 12);
    EXPECT_TRUE(state.run().showsKeptCurves());

    EXPECT_TRUE(state.moveDuration(11, true));
    EXPECT_EQ(state.durationText(), "20 s");
    EXPECT_FALSE(state.run().showsKeptCurves());
    EXPECT_FALSE(state.moveDuration(13, true));
}

TEST(MainState, EffacerShowsWhileKeptCurvesAreDrawn) {
    MainState state;
    state.start();
    state.moveDuration(12, false);
    EXPECT_FALSE(state.effacerVisible());
    runFor(state, 101);
    state.restart();
    EXPECT_TRUE(state.effacerVisible());
    state.effacer();
    EXPECT_FALSE(state.effacerVisible());
    EXPECT_EQ(state.run().nbcourbes(), 0);
}

TEST(MainState, ViewsAndCurvesFollowTheirControls) {
    MainState state;
    state.start();
    EXPECT_TRUE(state.curvesEnabled());
    state.setView(1, true);
    EXPECT_FALSE(state.graphShown());
    EXPECT_FALSE(state.curvesEnabled());
    EXPECT_TRUE(state.view(1));
    state.setView(1, false);  // as a file may say: neither view chosen
    EXPECT_FALSE(state.view(0));
    EXPECT_FALSE(state.view(1));

    runFor(state, 3);
    state.setCurve(0, true);  // while recording: the run starts again
    EXPECT_EQ(state.run().nbtics(), 0);
    EXPECT_TRUE(state.run().parameters().curves[0]);
    const std::vector<std::pair<std::string, bool (MainState::*)() const>> boxes = {
        {"Check1", &MainState::whiteBackground},
        {"Check2", &MainState::keepCurves},
        {"Check3", &MainState::showQr}};
    for (const auto& [name, read] : boxes) {
        for (const bool ticked : {true, false, true}) {
            EXPECT_TRUE(state.setCheckBox(name, ticked)) << name;
            EXPECT_EQ((state.*read)(), ticked) << name;
        }
    }
    EXPECT_FALSE(state.setCheckBox("Check4", true));
    state.setCheckBox("Check3", false);
    EXPECT_FALSE(state.run().parameters().showQr);
    state.setCheckBox("Check2", false);
    EXPECT_FALSE(state.run().parameters().keepCurves);
}

TEST(MainState, AFileLoadsAsTheControlsShowItAndSavesTheSameBytes) {
    ConfigurationValues v = startValues();
    v.counts = {"  12", "300", "40", "0"};
    v.sensePositions = {20, 70};
    v.temperature = 650;
    v.colours = {0x0000FF, 0x00FF00, -2147483640, 0x123456};
    v.durationPosition = 9;
    v.rowsPosition = 80;
    v.views = {false, true};
    v.curves = {true, false, true, true};
    v.keepCurves = false;
    v.showQr = false;
    const auto bytes = configurationBytes(v);
    ASSERT_TRUE(bytes);

    MainState state;
    state.start();
    const LoadReport report = state.load(*bytes);
    EXPECT_EQ(report.result, ConfigurationRead::Loaded);
    EXPECT_TRUE(report.title.empty());
    EXPECT_EQ(state.percentText(1), "30 %");
    EXPECT_EQ(state.durationText(), "1 min");
    EXPECT_EQ(state.rowsText(), "31");
    EXPECT_FALSE(state.graphShown());
    EXPECT_EQ(state.run().nbparticules(), 352);
    EXPECT_EQ(state.saveBytes(), bytes);
}

TEST(MainState, ABadFileSaysWhyAndTheRunGoesOn) {
    ConfigurationValues v = startValues();
    const std::string good = *configurationBytes(v);
    std::string wrongSignature = good;
    wrongSignature[2] = 'm';
    std::string badBar = good;
    badBar.replace(7 * 128 + 2, 4, "9999");  // record 8: temperature beyond its bar
    struct Case {
        std::string name, bytes;
        ConfigurationRead result;
        const char* title;
    };
    const std::vector<Case> cases = {
        {"signature", wrongSignature, ConfigurationRead::NotConfiguration, kNotConfigurationTitle},
        {"truncated", good.substr(0, 5 * 128 + 3), ConfigurationRead::ReadFailure, kReadFailureTitle},
        {"empty", "", ConfigurationRead::NotConfiguration, kNotConfigurationTitle},
        {"binary", std::string(4096, '\xFF'), ConfigurationRead::NotConfiguration, kNotConfigurationTitle},
        {"refused", badBar, ConfigurationRead::ReadFailure, kReadFailureTitle},
    };
    for (const Case& c : cases) {
        MainState state;
        state.start();
        runFor(state, 4);
        const LoadReport report = state.load(c.bytes);
        EXPECT_EQ(report.result, c.result) << c.name;
        EXPECT_EQ(report.title, c.title) << c.name;
        EXPECT_FALSE(report.text.empty()) << c.name;
        EXPECT_EQ(state.run().nbtics(), 4) << c.name;  // no restart after a failure
    }
}

TEST(MainState, AFailedReadKeepsTheCountsWithinTheLimitsAndSaysSo) {
    ConfigurationValues v = startValues();
    v.counts = {"5000", "100", "0", "0"};
    std::string bytes = *configurationBytes(v);
    bytes.replace(7 * 128 + 2, 4, "9999");  // the temperature is refused after the counts
    MainState state;
    state.start();
    const LoadReport report = state.load(bytes);
    EXPECT_EQ(report.result, ConfigurationRead::ReadFailure);
    EXPECT_EQ(report.text, readFailureMessage(true));
    EXPECT_NE(report.text.find(kCountsAdjustedText), std::string::npos);
    int total = 0;
    for (int s = 0; s < 4; ++s) total += std::stoi(state.count(s));
    EXPECT_EQ(total, 1000);

    // Counts within the limits: the failure alone is told.
    v.counts = {"100", "100", "0", "0"};
    bytes = *configurationBytes(v);
    bytes.replace(7 * 128 + 2, 4, "9999");
    EXPECT_EQ(state.load(bytes).text, kReadFailureText);
}

TEST(MainState, AFixedSeedGivesTheBatchProgramsRun) {
    struct Case {
        std::array<std::string, 4> counts;
        std::int16_t sense1, temperature, duration;
        std::uint32_t seed;
    };
    const std::vector<Case> cases = {
        {{"100", "100", "0", "0"}, 50, 500, 12, 1},
        {{"300", "200", "50", "10"}, 20, 780, 12, 42},
        {{"5", "5", "400", "400"}, 90, 210, 11, 7},
    };
    for (const Case& c : cases) {
        ConfigurationValues v = startValues();
        v.counts = c.counts;
        v.sensePositions[0] = c.sense1;
        v.temperature = c.temperature;
        v.durationPosition = c.duration;
        const std::string bytes = *configurationBytes(v);

        // The batch program: settings straight into a bare run, seed, restart.
        GridModel table(tableRowsAt(60) + 1, kTableColumns);
        Simulation batch(table);
        RunSetup setup(batch);
        ASSERT_EQ(readConfiguration(bytes, setup).result, ConfigurationRead::Loaded);
        batch.seed(c.seed);
        batch.restart(nullptr);

        MainState state;
        state.fixSeed(c.seed);
        state.seed(c.seed + 1000);  // whatever ran before the file
        state.start();
        runFor(state, 7);
        ASSERT_EQ(state.load(bytes).result, ConfigurationRead::Loaded);
        const int ticks = static_cast<int>(batch.duration() * 10);
        for (int k = 0; k < ticks; ++k) batch.tick(Display{});
        expectSameSamples(runFor(state, ticks), batch.samples());
        // And again after "Retour à l'état initial".
        runFor(state, 3);
        state.restart();
        expectSameSamples(runFor(state, ticks), batch.samples());
    }
}

TEST(MainState, AChosenColourDrawsAtOnceAndRefusesNoColour) {
    MainState state;
    state.start();
    state.chooseColour(2, rgb(1, 2, 3));
    EXPECT_EQ(state.colour(2), rgb(1, 2, 3));
    EXPECT_EQ(state.run().parameters().colours[2], rgb(1, 2, 3));
    EXPECT_FALSE(state.setColour(1, 0x01000000));
    EXPECT_EQ(state.colour(1), rgb(255, 0, 255));
}

TEST(RunSpeech, SaysTheClockTheCountsAndQr) {
    MainState state;
    state.start();
    EXPECT_EQ(runSpoken(state.run()),
              "Temps écoulé : 00 h 00 min 00.0 s. Particules : A 100, B 100, C 0, D 0. Qr = 0.0.");
    state.typeCount(0, "0");
    state.typeCount(2, "100");
    state.leaveCount(0);
    EXPECT_EQ(runSpoken(state.run()),
              "Temps écoulé : 00 h 00 min 00.0 s. Particules : A 0, B 100, C 100, D 0. Qr non défini, sans "
              "particule A ou B.");
    runFor(state, 12);
    EXPECT_EQ(runSpoken(state.run()).rfind("Temps écoulé : 00 h 00 min 01.2 s. Particules : A ", 0), 0u);
}

TEST(RunSpeech, TheGraphSaysItsCurvesAndKeptRuns) {
    MainState state;
    state.start();
    state.moveDuration(12, false);
    EXPECT_EQ(graphSpoken(state.run())
                  .rfind("Nombre de particules de C en orange en fonction du temps, de 0 à 10 s. "
                         "Temps écoulé : ",
                         0),
              0u);
    state.setCurve(2, false);
    EXPECT_EQ(graphSpoken(state.run()).rfind("Aucune courbe tracée en fonction du temps, de 0 à 10 s. ", 0),
              0u);
    state.setCurve(0, true);
    for (int run = 1; run <= 2; ++run) {
        runFor(state, 101);
        state.restart();
        const std::string kept = run == 1 ? "Les courbes d'un essai précédent sont conservées. "
                                          : "Les courbes de 2 essais précédents sont conservées. ";
        EXPECT_NE(graphSpoken(state.run()).find(kept), std::string::npos) << graphSpoken(state.run());
    }
}

TEST(RunSpeech, ReadingStopsSayTheEquationAndTheCounts) {
    EXPECT_EQ(equationSpoken({rgb(0, 0, 255), rgb(255, 0, 255), rgb(255, 128, 0), rgb(0, 0, 0)}),
              "Équation chimique : A + B = C + D ; A en bleu, B en magenta, C en orange, D en noir");
    EXPECT_EQ(duringSpoken({" 92", "92 ", "8", ""}), "Pendant la réaction : A 92, B 92, C 8, D ");
}
