#include "bench/benchrun.h"

#include <string>

namespace molvane::bench {

void startRun(Simulation& sim, const RunSettings& settings, GraphSurface* graph) {
    for (int s = 0; s < 4; ++s) sim.setCount(s, std::to_string(settings.counts[s]));
    sim.setEffectivePercents(settings.effectivePercents);
    sim.setTemperature(settings.temperature);
    sim.setCurves({true, true, true, true});
    sim.seed(settings.seed);
    sim.restart(graph);
}

}  // namespace molvane::bench
