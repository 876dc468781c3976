// Motion, collisions and the reaction quota.
#include "core/simulation.h"

#include <gtest/gtest.h>

#include "core/quota.h"
#include "fakes.h"

using namespace molvane;

namespace {

// A run of given counts, built with a fixed seed.
struct TestRun {
    explicit TestRun(std::array<const char*, 4> counts, int temperature = 500) : table(52, 6), sim(table) {
        for (int s = 0; s < 4; ++s) sim.setCount(s, counts[s]);
        sim.setTemperature(temperature);
        sim.seed(7);
        sim.initialise();
    }
    GridModel table;
    Simulation sim;
};

}  // namespace

TEST(Walls, ReflectionMirrorsPositionAndReversesVelocity) {
    struct Case {
        float x, vx, y, vy;
        int temperature;
        float x2, vx2, y2, vy2;
    } cases[] = {
        {2.5f, -0.2f, 50, 0, 500, 2.5f, 0.2f, 50, 0},        // left wall
        {391.5f, 0.4f, 50, 0, 500, 390.5f, -0.4f, 50, 0},    // right wall at W - 1 = 392
        {100, 0, 2.5f, -0.2f, 500, 100, 0, 2.5f, 0.2f},      // top wall
        {100, 0, 155.5f, 0.4f, 500, 100, 0, 154.5f, -0.4f},  // bottom wall at H - 1 = 156
        {2.0f, 0, 2.0f, 0, 800, 2.0f, 0, 2.0f, 0},           // on the low walls: not moved
        {392.0f, 0, 156.0f, 0, 200, 392.0f, 0, 156.0f, 0},   // on the high walls: not moved
        {100, 0.5f, 100, -0.5f, 800, 104, 0.5f, 96, -0.5f},  // hottest: 8 units a tick
        {100, 0.5f, 100, -0.5f, 200, 101, 0.5f, 99, -0.5f},  // coldest: 2 units a tick
    };
    for (const auto& c : cases) {
        TestRun run({"1", "0", "0", "0"}, c.temperature);
        Simulation& s = run.sim;
        s.placeParticle(1, c.x, c.y, c.vx, c.vy);
        s.tick({});
        EXPECT_NEAR(s.x(1), c.x2, 1e-4) << c.x;
        EXPECT_FLOAT_EQ(s.vx(1), c.vx2) << c.x;
        EXPECT_NEAR(s.y(1), c.y2, 1e-4) << c.y;
        EXPECT_FLOAT_EQ(s.vy(1), c.vy2) << c.y;
        EXPECT_EQ(s.nbtics(), 1);
    }
}

TEST(Collisions, AxisRuleExchangesSpeeds) {
    struct Case {
        float xi, xj, vi, vj, vi2, vj2;
    } cases[] = {
        {100, 101, 0.3f, -0.2f, -0.3f, 0.2f},   // head-on: both turn back
        {100, 101, 0.3f, 0.0f, -0.3f, 0.0f},    // a still partner counts as another sign
        {100, 101, 0.3f, 0.1f, -0.1f, 0.3f},    // both positive, i behind
        {102, 101, 0.3f, 0.1f, 0.1f, -0.3f},    // both positive, i ahead
        {100, 100, 0.3f, 0.1f, -0.1f, 0.3f},    // both positive, tie: i behind
        {102, 101, -0.3f, -0.1f, 0.1f, -0.3f},  // both negative, i behind
        {100, 101, -0.3f, -0.1f, -0.1f, 0.3f},  // both negative, i ahead
        {100, 100, -0.3f, -0.1f, -0.1f, 0.3f},  // both negative, tie: i ahead
    };
    for (const auto& c : cases) {
        TestRun run({"1", "0", "1", "0"});  // A and C: collide without reacting
        Simulation& s = run.sim;
        ScriptedRandom partner({0.75f});  // j = floor(0.75 x 2) + 1 = 2
        s.setRandomSource(&partner);
        s.placeParticle(1, c.xi, 50, c.vi, 0.25f);
        s.placeParticle(2, c.xj, 50, c.vj, -0.5f);
        s.tickInPlace({});
        EXPECT_FLOAT_EQ(s.vx(1), c.vi2) << c.xi << " " << c.vi << " " << c.vj;
        EXPECT_FLOAT_EQ(s.vx(2), c.vj2) << c.xi << " " << c.vi << " " << c.vj;
        EXPECT_FLOAT_EQ(s.vy(1), -0.25f);
        EXPECT_FLOAT_EQ(s.vy(2), 0.5f);
        // Both cooled down; the partner's own turn came later in the tick.
        EXPECT_EQ(s.coolDown(1), 5);
        EXPECT_EQ(s.coolDown(2), 4);
        // Not reactive: nothing changes species or counters.
        EXPECT_EQ(s.species(1), 1);
        EXPECT_EQ(s.species(2), 3);
        EXPECT_EQ(s.efficaces1() + s.inefficaces1() + s.efficaces2() + s.inefficaces2(), 0);
    }
}

TEST(Collisions, DistanceFromTheSearchersRoundedPosition) {
    // S = 500 / 30 = 16.67: a distance of 4 collides, 4.1 does not.
    struct Case {
        float xi, xj;
        bool collide;
    } cases[] = {{100.0f, 104.0f, true},
                 {100.0f, 104.1f, false},
                 {100.6f, 96.9f, false},   // rounded to 101: 4.1 away
                 {99.5f, 104.05f, true}};  // rounded to 100 (halves to even): 4.05 away
    for (const auto& c : cases) {
        TestRun run({"1", "0", "1", "0"});
        ScriptedRandom partner({0.75f});
        run.sim.setRandomSource(&partner);
        run.sim.placeParticle(1, c.xi, 50, run.sim.vx(1), run.sim.vy(1));
        run.sim.placeParticle(2, c.xj, 50, run.sim.vx(2), run.sim.vy(2));
        run.sim.tickInPlace({});
        EXPECT_EQ(run.sim.coolDown(1) == 5, c.collide) << c.xi << " " << c.xj;
    }
}

TEST(Collisions, DrawsPerSearchingParticle) {
    struct Case {
        int n, m;
    } cases[] = {{1, 0}, {2, 1}, {10, 9}, {100, 96}, {500, 250}, {1000, 200}};
    for (const auto& c : cases) {
        const std::string count = std::to_string(c.n);
        TestRun run({count.c_str(), "0", "0", "0"});
        Simulation& s = run.sim;
        // Every draw names particle 1, far from all the others: no collision.
        for (int i = 1; i <= c.n; ++i)
            s.placeParticle(i, i == 1 ? 380 : 5, i == 1 ? 150 : 5, s.vx(i), s.vy(i));
        ScriptedRandom first({0.0f});
        s.setRandomSource(&first);
        s.tickInPlace({});
        EXPECT_EQ(first.drawn(), static_cast<std::size_t>(c.n) * c.m) << c.n;
    }
}

TEST(Quota, SequencesHoldTheEffectiveShare) {
    struct Case {
        float taux;
        const char* decisions;  // R reacts, - does not
    } cases[] = {
        {0.0f, "--------"},
        {1.0f, "R-RRRRRR"},
        {0.5f, "R--R-R-R-R"},
        {0.25f, "R----R---R---R"},
    };
    for (const auto& c : cases) {
        std::int32_t e = 0, ne = 0;
        std::string got;
        for (std::size_t k = 0; k < std::string(c.decisions).size(); ++k)
            got += quotaDecision(e, ne, c.taux) ? 'R' : '-';
        EXPECT_EQ(got, c.decisions) << c.taux;
    }
    std::int32_t e = 0, ne = 0;
    quotaDecision(e, ne, 0.0f);
    EXPECT_EQ(e, 1);  // the first collision counts as effective even at 0 %
    EXPECT_EQ(ne, 0);
}

TEST(Quota, ReactionTurnsTheSearcherIntoTheFirstProduct) {
    struct Case {
        std::int16_t si, sj, si2, sj2;
    } cases[] = {{2, 1, 3, 4}, {1, 2, 3, 4}, {4, 3, 1, 2}, {3, 4, 1, 2}};
    for (const auto& c : cases) {
        TestRun run({"1", "1", "0", "0"});
        Simulation& s = run.sim;
        s.setEffectivePercents({100, 100});  // 100 % both ways
        s.initialise();
        ScriptedRandom partner({0.75f});
        s.setRandomSource(&partner);
        s.placeParticle(1, 100, 50, s.vx(1), s.vy(1));
        s.placeParticle(2, 101, 50, s.vx(2), s.vy(2));
        s.setSpecies(1, c.si);
        s.setSpecies(2, c.sj);
        s.tickInPlace({});
        EXPECT_EQ(s.species(1), c.si2);
        EXPECT_EQ(s.species(2), c.sj2);
        EXPECT_EQ(s.nbC() + s.nbA(), 1);
    }
}

TEST(Initialise, SpeciesInBlocksAndPositionsInTheVessel) {
    TestRun run({"100", "100", "3", "7"});
    const Simulation& s = run.sim;
    ASSERT_EQ(s.nbparticules(), 210);
    EXPECT_EQ(s.species(1), 1);
    EXPECT_EQ(s.species(100), 1);
    EXPECT_EQ(s.species(101), 2);
    EXPECT_EQ(s.species(200), 2);
    EXPECT_EQ(s.species(203), 3);
    EXPECT_EQ(s.species(204), 4);
    EXPECT_EQ(s.species(210), 4);
    for (int i = 1; i <= s.nbparticules(); ++i) {
        EXPECT_GE(s.x(i), 2.0f);
        EXPECT_LT(s.x(i), 391.0f);
        EXPECT_GE(s.y(i), 2.0f);
        EXPECT_LT(s.y(i), 155.0f);
        EXPECT_GE(s.vx(i), -0.5f);
        EXPECT_LT(s.vx(i), 0.5f);
    }
    EXPECT_FLOAT_EQ(s.taux1(), 0.5f);
}

TEST(Initialise, TotalBeyondSixteenBitsKeepsThePreviousRun) {
    TestRun run({"100", "100", "0", "0"});
    run.sim.setCounts({"30000", "30000", "0", "0"});
    run.sim.initialise();
    EXPECT_EQ(run.sim.nbparticules(), 200);
    EXPECT_EQ(run.sim.xs().size(), 201u);
    run.sim.tick({});  // and the run still ticks safely
}

TEST(Physics, CountsKeepTheConservationOfTheReaction) {
    TestRun run({"300", "200", "50", "0"});
    Simulation& s = run.sim;
    for (int t = 0; t < 500; ++t) {
        s.tick({});
        ASSERT_EQ(s.nbA() + s.nbC(), 350);
        ASSERT_EQ(s.nbB() + s.nbD(), 200);
        ASSERT_EQ(s.nbA() - s.nbB(), 100);
    }
    EXPECT_GT(s.efficaces1(), 10);
}
