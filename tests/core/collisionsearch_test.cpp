// The batched collision search against the plain loop it replaces: same
// draws, same hits in the same order, hence the same run.
#include "core/collisionsearch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/quota.h"
#include "core/simulation.h"

using namespace molvane;

namespace {

template <typename T>
std::vector<T> copied(std::span<const T> values) {
    return {values.begin(), values.end()};
}

bool operator==(const FastRandom& a, const FastRandom& b) {
    std::uint32_t sa[4], sb[4];
    a.saveState(sa);
    b.saveState(sb);
    return std::equal(sa, sa + 4, sb);
}

// One run on plain arrays, indexed 1 to n: what a tick moves and collides.
struct World {
    std::vector<float> px, py, vx, vy;
    std::vector<std::int16_t> sp, cd;
    std::int32_t e1 = 0, i1 = 0, e2 = 0, i2 = 0;
    long hits = 0;  // in the order they came: the same count proves nothing alone
    float taux1 = 0.5f, taux2 = 0.5f;
    FastRandom rng;
    int n = 0;
    int temperature = 500;

    bool operator==(const World&) const = default;
};

World makeWorld(std::uint32_t seed, std::array<int, 4> counts, int temperature, float taux1, float taux2) {
    World w;
    w.n = counts[0] + counts[1] + counts[2] + counts[3];
    w.temperature = temperature;
    w.taux1 = taux1;
    w.taux2 = taux2;
    w.rng.seed(seed);
    const auto size = static_cast<std::size_t>(w.n) + 1;
    w.px.assign(size, 0);
    w.py.assign(size, 0);
    w.vx.assign(size, 0);
    w.vy.assign(size, 0);
    w.sp.assign(size, 0);
    w.cd.assign(size, 0);
    int i = 1;
    for (std::int16_t s = 0; s < 4; ++s)
        for (int k = 0; k < counts[s]; ++k, ++i) {
            w.px[i] = static_cast<float>(389.0 * w.rng.nextFloat() + 2.0);
            w.py[i] = static_cast<float>(153.0 * w.rng.nextFloat() + 2.0);
            w.vx[i] = w.rng.nextFloat() - 0.5f;
            w.vy[i] = w.rng.nextFloat() - 0.5f;
            w.sp[i] = static_cast<std::int16_t>(s + 1);
        }
    return w;
}

void move(World& w) {
    const double k = w.temperature / 100.0;
    for (int i = 1; i <= w.n; ++i) {
        w.px[i] = static_cast<float>(w.px[i] + w.vx[i] * k);
        w.py[i] = static_cast<float>(w.py[i] + w.vy[i] * k);
        if (w.px[i] < 2.0f) w.px[i] = 4.0f - w.px[i], w.vx[i] = -w.vx[i];
        if (w.py[i] < 2.0f) w.py[i] = 4.0f - w.py[i], w.vy[i] = -w.vy[i];
        if (w.px[i] > 392.0f) w.px[i] = static_cast<float>(784.0 - w.px[i]), w.vx[i] = -w.vx[i];
        if (w.py[i] > 156.0f) w.py[i] = static_cast<float>(312.0 - w.py[i]), w.vy[i] = -w.vy[i];
    }
}

void exchange(float* v, const float* p, int i, int j) {
    const int si = (v[i] > 0) - (v[i] < 0), sj = (v[j] > 0) - (v[j] < 0);
    const float vi = v[i];
    if (si != sj) {
        v[i] = -vi;
        v[j] = -v[j];
    } else if (si == 1 ? p[i] <= p[j] : p[i] > p[j]) {
        v[i] = -v[j];
        v[j] = vi;
    } else {
        v[i] = v[j];
        v[j] = -vi;
    }
}

// What a hit does: cool-downs, velocities, and the reaction by quota.
void applyHit(World& w, int i, int j) {
    w.cd[i] = w.cd[j] = 5;
    ++w.hits;
    exchange(w.vx.data(), w.px.data(), i, j);
    exchange(w.vy.data(), w.py.data(), i, j);
    const int a = w.sp[i], b = w.sp[j];
    if ((a == 1 && b == 2) || (a == 2 && b == 1)) {
        if (quotaDecision(w.e1, w.i1, w.taux1)) w.sp[i] = 3, w.sp[j] = 4;
    } else if ((a == 3 && b == 4) || (a == 4 && b == 3)) {
        if (quotaDecision(w.e2, w.i2, w.taux2)) w.sp[i] = 1, w.sp[j] = 2;
    }
}

int drawsFor(int n) {
    return static_cast<int>(std::floor(n / ((n / 500.0) * (n / 500.0) + 1.0)));
}

// The reference: the plain scalar loop, one draw and one test after another.
void referenceCollisions(World& w) {
    const int n = w.n, draws = drawsFor(n);
    const double threshold = w.temperature / 30.0;
    for (int i = 1; i <= n; ++i) {
        if (w.cd[i] >= 1) --w.cd[i];
        if (w.cd[i] != 0) continue;
        const double xi = std::nearbyint(static_cast<double>(w.px[i]));
        const double yi = std::nearbyint(static_cast<double>(w.py[i]));
        for (int m = 0; m < draws; ++m) {
            const int j = static_cast<int>(static_cast<double>(w.rng.nextFloat()) * n) + 1;
            if (w.cd[j] != 0 || j == i) continue;
            const double dx = xi - w.px[j], dy = yi - w.py[j];
            if (!(dx * dx + dy * dy < threshold)) continue;
            applyHit(w, i, j);
        }
    }
}

long batchedCollisions(World& w, SearchKernel kernel) {
    auto hit = [&w](int i, int j) { applyHit(w, i, j); };
    return searchCollisions(SearchArrays{w.px.data(), w.py.data(), w.cd.data(), w.n}, drawsFor(w.n),
                            w.temperature / 30.0, w.rng, hit, kernel);
}

std::vector<SearchKernel> kernels() {
    std::vector<SearchKernel> list;
    for (auto k : {SearchKernel::Portable, SearchKernel::Sse2, SearchKernel::Avx2})
        if (searchKernelAvailable(k)) list.push_back(k);
    return list;
}

const char* name(SearchKernel k) {
    return k == SearchKernel::Avx2 ? "avx2" : k == SearchKernel::Sse2 ? "sse2" : "portable";
}

}  // namespace

TEST(CollisionSearch, BestKernelIsAvailable) {
    EXPECT_TRUE(searchKernelAvailable(bestSearchKernel()));
    EXPECT_TRUE(searchKernelAvailable(SearchKernel::Portable));
}

TEST(CollisionSearch, SameRunAsThePlainLoopTickAfterTick) {
    struct Case {
        std::uint32_t seed;
        std::array<int, 4> counts;
        int temperature;
        float taux1, taux2;
        int ticks;
    } cases[] = {
        {1, {5, 5, 0, 0}, 500, 0.5f, 0.5f, 5000},         // 10: nine draws a searcher
        {2, {4, 3, 2, 2}, 800, 1.0f, 0.0f, 5000},         // 11, odd, one sense only
        {3, {50, 49, 0, 0}, 200, 0.3f, 0.7f, 3000},       // 99, coldest
        {4, {0, 0, 64, 65}, 650, 0.2f, 0.9f, 2000},       // 129 from the products
        {5, {100, 90, 40, 27}, 777, 0.45f, 0.55f, 1000},  // 257, mixed
        {6, {250, 251, 0, 0}, 500, 0.5f, 0.5f, 1000},     // 501: the most draws a searcher
        {7, {400, 100, 300, 199}, 333, 0.1f, 0.0f, 400},  // 999, neither sense at a half
        {8, {500, 500, 0, 0}, 800, 0.5f, 0.5f, 1000},     // 1000, hottest
        {0, {500, 0, 0, 500}, 200, 0.0f, 1.0f, 300},      // seed 0, no reactive pair
    };
    for (const auto& c : cases) {
        World ref = makeWorld(c.seed, c.counts, c.temperature, c.taux1, c.taux2);
        const std::vector<SearchKernel> list = kernels();
        std::vector<World> fast(list.size(), ref);
        for (int t = 1; t <= c.ticks; ++t) {
            move(ref);
            referenceCollisions(ref);
            for (std::size_t k = 0; k < list.size(); ++k) {
                move(fast[k]);
                batchedCollisions(fast[k], list[k]);
                if (t % 100 == 0 || t == c.ticks) {
                    ASSERT_TRUE(ref == fast[k])
                        << name(list[k]) << " n=" << ref.n << " seed " << c.seed << " tick " << t;
                }
            }
        }
        EXPECT_GT(ref.hits, 10) << "n=" << ref.n;
    }
}

// Partners at a squared distance a few units in the last place either side of
// the threshold: the loose lane test must let through every pair the exact
// test takes, and the exact test then decides.
TEST(CollisionSearch, ExactThresholdDecidesAtTheBoundary) {
    struct Case {
        int temperature;  // threshold = temperature / 30
        float x, y;       // the partner's position; the searcher sits on (100, 60)
        bool stepY;       // the position stepped by units in the last place is y, not x
    } cases[] = {
        {300, 103.0f, 61.0f, false},  // 9 + 1 = 10 exactly: not closer
        {270, 103.0f, 60.0f, false},  // 9 exactly
        {301, 103.0f, static_cast<float>(60.0 + std::sqrt(301.0 / 30.0 - 9.0)), true},  // not exact in binary
        {0, 100.0f, 60.0f, false},  // no threshold: never a hit, even on top
        {-300, 100.0f, 60.0f, false},
    };
    long hits = 0, misses = 0;
    for (const auto kernel : kernels()) {
        for (const auto& c : cases) {
            for (int ulps = -3; ulps <= 3; ++ulps)
                for (std::uint32_t seed = 1; seed <= 6; ++seed) {
                    float x = c.x, y = c.y;
                    float& stepped = c.stepY ? y : x;
                    for (int u = 0; u < std::abs(ulps); ++u)
                        stepped = std::nextafter(stepped, ulps < 0 ? 0.0f : 1e3f);
                    // Half the particles on the searchers' point, half on the partners'.
                    World ref = makeWorld(seed, {8, 8, 8, 9}, c.temperature, 0.5f, 0.5f);
                    for (int i = 1; i <= ref.n; ++i) {
                        ref.px[i] = i % 2 ? x : 100.0f;
                        ref.py[i] = i % 2 ? y : 60.0f;
                    }
                    World fast = ref;
                    for (int t = 0; t < 12; ++t) {
                        referenceCollisions(ref);
                        batchedCollisions(fast, kernel);
                    }
                    (ref.e1 + ref.i1 + ref.e2 + ref.i2 > 0 ? hits : misses) += 1;
                    ASSERT_TRUE(ref == fast)
                        << name(kernel) << " temperature " << c.temperature << " ulps " << ulps;
                }
        }
    }
    // Both sides of the boundary were met.
    EXPECT_GT(hits, 0);
    EXPECT_GT(misses, 0);
}

TEST(CollisionSearch, DrawsAreCountedAndTheStreamMatches) {
    struct Case {
        std::array<int, 4> counts;
        int draws;
    } cases[] = {
        {{0, 0, 0, 0}, 0}, {{1, 0, 0, 0}, 0}, {{1, 1, 0, 0}, 1}, {{5, 5, 0, 0}, 9}, {{250, 250, 0, 0}, 250}};
    for (const auto kernel : kernels()) {
        for (const auto& c : cases) {
            // Without a threshold nothing cools down: every particle searches.
            World cold = makeWorld(9, c.counts, 0, 0.5f, 0.5f);
            ASSERT_EQ(drawsFor(cold.n), c.draws);
            EXPECT_EQ(batchedCollisions(cold, kernel), static_cast<long>(cold.n) * c.draws);
            World ref = makeWorld(9, c.counts, 500, 0.5f, 0.5f);
            World fast = ref;
            referenceCollisions(ref);
            const long made = batchedCollisions(fast, kernel);
            EXPECT_EQ(made % std::max(c.draws, 1), 0);
            EXPECT_LE(made, static_cast<long>(ref.n) * c.draws);
            EXPECT_TRUE(ref == fast) << name(kernel) << " n=" << ref.n;
            EXPECT_EQ(ref.rng.nextFloat(), fast.rng.nextFloat());
        }
    }
}

namespace {

// The default generator, seen from outside: the simulation then runs its
// plain loop over the very same stream.
class Forwarding final : public RandomSource {
public:
    float next() override { return inner_.nextFloat(); }
    void seed(std::uint32_t seed) override { inner_.seed(seed); }

private:
    FastRandom inner_;
};

}  // namespace

TEST(CollisionSearch, SimulationRunsAsWithTheScalarLoop) {
    struct Case {
        std::uint32_t seed;
        std::array<const char*, 4> counts;
        int temperature;
        std::array<int, 2> sensePositions;
        int ticks;
    } cases[] = {
        {11, {"5", "6", "0", "0"}, 800, {50, 50}, 3000},
        {12, {"150", "150", "75", "26"}, 200, {70, 20}, 1000},
        {13, {"500", "500", "0", "0"}, 500, {50, 50}, 500},
        {14, {"300", "0", "399", "300"}, 640, {0, 100}, 300},
    };
    for (const auto& c : cases) {
        GridModel tableA(52, 6), tableB(52, 6);
        Simulation plain(tableA), batched(tableB);
        Forwarding forwarding;
        plain.setRandomSource(&forwarding);
        for (Simulation* s : {&plain, &batched}) {
            for (int k = 0; k < 4; ++k) s->setCount(k, c.counts[k]);
            s->setTemperature(c.temperature);
            s->setEffectivePercents({100 - c.sensePositions[0], 100 - c.sensePositions[1]});
            s->seed(c.seed);
            s->initialise();
        }
        for (int t = 0; t < c.ticks; ++t) {
            plain.tick({});
            batched.tick({});
        }
        const std::string what = "seed " + std::to_string(c.seed);
        EXPECT_EQ(copied(plain.xs()), copied(batched.xs())) << what;
        EXPECT_EQ(copied(plain.ys()), copied(batched.ys())) << what;
        EXPECT_EQ(copied(plain.vxs()), copied(batched.vxs())) << what;
        EXPECT_EQ(copied(plain.vys()), copied(batched.vys())) << what;
        EXPECT_EQ(copied(plain.speciesAll()), copied(batched.speciesAll())) << what;
        EXPECT_EQ(copied(plain.coolDowns()), copied(batched.coolDowns())) << what;
        EXPECT_EQ(
            (std::array{plain.efficaces1(), plain.inefficaces1(), plain.efficaces2(), plain.inefficaces2()}),
            (std::array{batched.efficaces1(), batched.inefficaces1(), batched.efficaces2(),
                        batched.inefficaces2()}))
            << what;
        EXPECT_EQ((std::array{plain.nbA(), plain.nbB(), plain.nbC(), plain.nbD()}),
                  (std::array{batched.nbA(), batched.nbB(), batched.nbC(), batched.nbD()}))
            << what;
    }
}
