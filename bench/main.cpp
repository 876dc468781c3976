// molvane-bench: runs the simulation without a window and prints one JSON line.
//   molvane-bench --counts A B C D [--sense1 P1] [--sense2 P2] [--temperature T]
//                 [--ticks N] [--seed S] [--rows N] [--draw] [--compare] [--scaling]
// With --rows N, the line also holds the counts every N ticks ("rows"), as
// the table of values would show them, so that a whole series takes one run.
// With --compare the independent kernel of bench/reference.cpp runs the same
// settings in the same process, and "ratio" is the simulation's median tick
// over the kernel's. Both report the partners drawn in a tick and the time of
// a tick per draw. --scaling runs 10, 100, 500 and 1 000 particles (half A,
// half B) one after the other, a line each.
// The line ends with the resident memory before the first tick and after the
// last (and its peak), to show that a long run stays flat.
#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "bench/benchrun.h"
#include "bench/procstatus.h"
#include "bench/reference.h"
#include "common/numbers.h"
#include "core/collisionsearch.h"
#include "core/simulation.h"
#include "core/table.h"
#include "windowkit/surfaces.h"

namespace {

struct Options {
    int counts[4] = {100, 100, 0, 0};
    int sense1 = 50, sense2 = 50, temperature = 500, ticks = 3000, rows = 0;
    std::uint32_t seed = 1;
    bool draw = false, compare = false, scaling = false;
};

int usage(const char* why) {
    std::fprintf(stderr,
                 "molvane-bench : %s\n"
                 "usage : molvane-bench --counts A B C D [--sense1 P1] [--sense2 P2] [--temperature T]\n"
                 "                      [--ticks N] [--seed S] [--rows N] [--draw] [--compare] [--scaling]\n",
                 why);
    return 2;
}

std::optional<long> integer(const char* text, long low, long high) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < low || v > high) return std::nullopt;
    return v;
}

double percentile(std::vector<double> values, double q) {
    if (values.empty()) return 0.0;
    const auto k = static_cast<std::size_t>(q * static_cast<double>(values.size() - 1) + 0.5);
    std::nth_element(values.begin(), values.begin() + static_cast<long>(k), values.end());
    return values[k];
}

const char* kernelName(molvane::SearchKernel k) {
    switch (k) {
        case molvane::SearchKernel::Avx2:
            return "avx2";
        case molvane::SearchKernel::Sse2:
            return "sse2";
        default:
            return "portable";
    }
}

// Partners a searcher draws among n particles.
int drawsPerSearcher(int n) {
    return static_cast<int>(std::floor(n / ((n / 500.0) * (n / 500.0) + 1.0)));
}

// Particles that searched in the tick just made, read from the cool-downs
// it left: a searcher ends at 0 (no hit) or at the full 5 (a hit); one that
// did not search was counted down from at least 1 or hit before its turn,
// and so ends between 1 and 4, since a cooling particle cannot be hit.
long searchers(const molvane::Simulation& sim) {
    long count = 0;
    for (int i = 1; i <= sim.nbparticules(); ++i) count += sim.coolDown(i) == 0 || sim.coolDown(i) == 5;
    return count;
}

int runOnce(const Options& o);

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int a = 1; a < argc; ++a) {
        const std::string arg = argv[a];
        auto value = [&](long low, long high) -> std::optional<long> {
            if (a + 1 >= argc) return std::nullopt;
            return integer(argv[++a], low, high);
        };
        if (arg == "--counts") {
            for (int s = 0; s < 4; ++s) {
                auto v = value(0, 32767);
                if (!v) return usage("--counts attend quatre nombres entiers positifs");
                o.counts[s] = static_cast<int>(*v);
            }
        } else if (arg == "--sense1" || arg == "--sense2") {
            auto v = value(0, 100);
            if (!v) return usage("pourcentage attendu entre 0 et 100");
            (arg == "--sense1" ? o.sense1 : o.sense2) = static_cast<int>(*v);
        } else if (arg == "--temperature") {
            auto v = value(200, 800);
            if (!v) return usage("--temperature attend une position entre 200 et 800");
            o.temperature = static_cast<int>(*v);
        } else if (arg == "--ticks") {
            auto v = value(1, 100000000);
            if (!v) return usage("--ticks attend un nombre de pas positif");
            o.ticks = static_cast<int>(*v);
        } else if (arg == "--seed") {
            auto v = value(0, 4294967295L);
            if (!v) return usage("--seed attend un entier positif");
            o.seed = static_cast<std::uint32_t>(*v);
        } else if (arg == "--rows") {
            auto v = value(1, 100000000);
            if (!v) return usage("--rows attend un nombre de pas positif");
            o.rows = static_cast<int>(*v);
        } else if (arg == "--draw") {
            o.draw = true;
        } else if (arg == "--compare") {
            o.compare = true;
        } else if (arg == "--scaling") {
            o.scaling = true;
        } else {
            return usage(("option inconnue " + arg).c_str());
        }
    }
    // QGuiApplication keeps a reference to argc: it lives here, for every run.
    std::optional<QGuiApplication> app;
    if (o.draw) {
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
        app.emplace(argc, argv);
    }
    if (!o.scaling) return runOnce(o);
    for (int n : {10, 100, 500, 1000}) {
        Options each = o;
        each.counts[0] = n / 2;
        each.counts[1] = n - n / 2;
        each.counts[2] = each.counts[3] = 0;
        if (const int rc = runOnce(each); rc != 0) return rc;
    }
    return 0;
}

namespace {

int runOnce(const Options& o) {
    const long total = static_cast<long>(o.counts[0]) + o.counts[1] + o.counts[2] + o.counts[3];
    if (total > 32767) return usage("au plus 32 767 particules en tout");

    std::optional<molvane::ImageAnimationSurface> animpic;
    std::optional<molvane::ImageGraphSurface> graph;
    if (o.draw) {
        animpic.emplace(QSize(molvane::kVesselWidth, molvane::kVesselHeight));
        graph.emplace(QSize(413, 235));
    }

    molvane::GridModel table(molvane::tableRowsAt(60) + 1, molvane::kTableColumns);
    molvane::Simulation sim(table);
    molvane::bench::startRun(
        sim,
        {{o.counts[0], o.counts[1], o.counts[2], o.counts[3]}, {o.sense1, o.sense2}, o.temperature, o.seed},
        graph ? &*graph : nullptr);
    molvane::Display display;
    if (animpic) display.animpic = &*animpic;
    if (graph) display.graph = &*graph;

    // The timings are stored in memory touched now, so that the resident size
    // at the start already holds them and any growth is the run's own.
    std::vector<double> times(static_cast<std::size_t>(o.ticks), 0.0);
    const long rssStart = molvane::bench::statusKilobytes("VmRSS");
    double qrSum = 0.0;
    long qrCount = 0;
    std::string rows;
    if (o.rows > 0) rows.reserve(static_cast<std::size_t>(o.ticks / o.rows + 1) * 24);
    double drawsMade = 0.0;
    for (int t = 1; t <= o.ticks; ++t) {
        const auto start = std::chrono::steady_clock::now();
        sim.tick(display);
        times[static_cast<std::size_t>(t - 1)] =
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
        drawsMade += static_cast<double>(searchers(sim)) * drawsPerSearcher(sim.nbparticules());
        if (t > o.ticks / 2 && sim.nbA() != 0 && sim.nbB() != 0) {
            qrSum +=
                (static_cast<double>(sim.nbC()) / sim.nbA()) * (static_cast<double>(sim.nbD()) / sim.nbB());
            ++qrCount;
        }
        if (o.rows > 0 && t % o.rows == 0) {
            char row[64];
            std::snprintf(row, sizeof row, "%s[%d,%d,%d,%d]", rows.empty() ? "" : ",", sim.nbA(), sim.nbB(),
                          sim.nbC(), sim.nbD());
            rows += row;
        }
    }

    const long rssEnd = molvane::bench::statusKilobytes("VmRSS");
    std::printf(
        "{\"particles\":%d,\"ticks\":%d,\"draw\":%s,\"us_per_tick_median\":%.2f,\"us_per_tick_p95\":%.2f,"
        "\"final\":[%d,%d,%d,%d],\"mean_qr_second_half\":%s,\"effective\":[%d,%d,%d,%d]",
        sim.nbparticules(), o.ticks, o.draw ? "true" : "false", percentile(times, 0.5),
        percentile(times, 0.95), sim.nbA(), sim.nbB(), sim.nbC(), sim.nbD(),
        qrCount ? std::to_string(qrSum / qrCount).c_str() : "null", sim.efficaces1(), sim.inefficaces1(),
        sim.efficaces2(), sim.inefficaces2());
    const double median = percentile(times, 0.5), drawsPerTick = drawsMade / o.ticks;
    std::printf(",\"search_kernel\":\"%s\",\"draws_per_tick\":%.0f,\"ns_per_draw\":%.2f",
                kernelName(molvane::bestSearchKernel()), drawsPerTick,
                drawsPerTick > 0 ? median * 1000.0 / drawsPerTick : 0.0);
    std::printf(",\"rss_kb_start\":%ld,\"rss_kb_end\":%ld,\"rss_kb_peak\":%ld", rssStart, rssEnd,
                molvane::bench::statusKilobytes("VmHWM"));
    if (o.rows > 0) std::printf(",\"rows\":[%s]", rows.c_str());
    if (o.compare) {
        const float taux1 = static_cast<float>(o.sense1 / 100.0),
                    taux2 = static_cast<float>(o.sense2 / 100.0);
        const auto reference =
            molvane::bench::referenceMedianTick(o.counts, taux1, taux2, o.temperature, o.ticks, o.seed);
        const double r = reference.medianTickMicroseconds;
        std::printf(
            ",\"reference_us_per_tick_median\":%.2f,\"reference_draws_per_tick\":%.0f,"
            "\"reference_ns_per_draw\":%.2f,\"ratio\":%.3f",
            r, reference.drawsPerTick, reference.drawsPerTick > 0 ? r * 1000.0 / reference.drawsPerTick : 0.0,
            r > 0 ? median / r : 0.0);
    }
    std::printf("}\n");
    return 0;
}

}  // namespace
