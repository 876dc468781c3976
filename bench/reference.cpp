#include "reference.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "core/random.h"

namespace molvane::bench {

namespace {

void axis(float* v, const float* p, int i, int j) {
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

}  // namespace

ReferenceTiming referenceMedianTick(const int counts[4], float taux1, float taux2, int temperature, int ticks,
                                    std::uint32_t seed) {
    const int n = counts[0] + counts[1] + counts[2] + counts[3];
    const float w = 393.0f, h = 157.0f;
    FastRandom rng(seed);
    std::vector<float> x(n + 1), y(n + 1), vx(n + 1), vy(n + 1);
    std::vector<short> sp(n + 1), cd(n + 1);
    for (int i = 1; i <= n; ++i) {
        x[i] = (w - 4) * rng.nextFloat() + 2;
        y[i] = (h - 4) * rng.nextFloat() + 2;
        vx[i] = rng.nextFloat() - 0.5f;
        vy[i] = rng.nextFloat() - 0.5f;
        sp[i] = static_cast<short>(i <= counts[0]               ? 1
                                   : i <= counts[0] + counts[1] ? 2
                                   : i <= n - counts[3]         ? 3
                                                                : 4);
    }
    int e1 = 0, i1 = 0, e2 = 0, i2 = 0;
    const double k = temperature / 100.0, s = temperature / 30.0;
    const int draws = static_cast<int>(n / ((n / 500.0) * (n / 500.0) + 1.0));
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(ticks));
    int tally[5] = {};
    double drawsMade = 0.0;
    for (int t = 0; t < ticks; ++t) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 1; i <= n; ++i) {
            x[i] = static_cast<float>(x[i] + vx[i] * k);
            y[i] = static_cast<float>(y[i] + vy[i] * k);
            if (x[i] < 2) {
                x[i] = 4 - x[i];
                vx[i] = -vx[i];
            }
            if (y[i] < 2) {
                y[i] = 4 - y[i];
                vy[i] = -vy[i];
            }
            if (x[i] > w - 1) {
                x[i] = 2 * (w - 1) - x[i];
                vx[i] = -vx[i];
            }
            if (y[i] > h - 1) {
                y[i] = 2 * (h - 1) - y[i];
                vy[i] = -vy[i];
            }
        }
        for (int i = 1; i <= n; ++i) {
            if (cd[i] >= 1) --cd[i];
            if (cd[i] != 0) continue;
            const double xi = std::nearbyint(x[i]), yi = std::nearbyint(y[i]);
            drawsMade += draws;
            for (int m = 0; m < draws; ++m) {
                const int j = static_cast<int>(static_cast<double>(rng.nextFloat()) * n) + 1;
                if (cd[j] != 0 || j == i) continue;
                const double dx = xi - x[j], dy = yi - y[j];
                if (!(dx * dx + dy * dy < s)) continue;
                cd[i] = cd[j] = 5;
                axis(vx.data(), x.data(), i, j);
                axis(vy.data(), y.data(), i, j);
                const int a = sp[i], b = sp[j];
                int *e = nullptr, *ne = nullptr;
                float taux = 0;
                short pi = 0, pj = 0;
                if (a * b == 2) {
                    e = &e1;
                    ne = &i1;
                    taux = taux1;
                    pi = 3;
                    pj = 4;
                } else if (a * b == 12) {
                    e = &e2;
                    ne = &i2;
                    taux = taux2;
                    pi = 1;
                    pj = 2;
                }
                if (!e) continue;
                if (*e == 0) {
                    *e = 1;
                    if (taux > 0) {
                        sp[i] = pi;
                        sp[j] = pj;
                    }
                } else if (static_cast<float>(*e / double(*e + *ne)) >= taux) {
                    ++*ne;
                } else {
                    ++*e;
                    sp[i] = pi;
                    sp[j] = pj;
                }
            }
        }
        std::fill(std::begin(tally), std::end(tally), 0);
        for (int i = 1; i <= n; ++i) ++tally[sp[i]];
        times.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    // Keeps the counts alive so that the compiler cannot drop the work.
    volatile int sink = tally[1] + tally[2] + tally[3] + tally[4];
    (void)sink;
    if (times.empty()) return {};
    std::nth_element(times.begin(), times.begin() + static_cast<long>(times.size() / 2), times.end());
    return {times[times.size() / 2], drawsMade / static_cast<double>(times.size())};
}

}  // namespace molvane::bench
