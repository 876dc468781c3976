// How molvane-bench sets a run up: as the window and molvane-run do for a
// configuration of the same settings, so that one seed gives the same run
// whichever tool runs it.
#pragma once

#include <array>
#include <cstdint>

#include "core/simulation.h"

namespace molvane::bench {

struct RunSettings {
    std::array<int, 4> counts{100, 100, 0, 0};
    std::array<int, 2> effectivePercents{50, 50};  // sense 1, sense 2
    int temperature = 500;
    std::uint32_t seed = 1;
};

// Gives the run its settings, every curve drawn, seeds it and restarts it
// at t = 0. The first tick comes next: no display pass goes before it, for
// a display pass is a collision pass too.
void startRun(Simulation& sim, const RunSettings& settings, GraphSurface* graph);

}  // namespace molvane::bench
