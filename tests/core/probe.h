// Reaches into a run where a test has to set what no setting gives.
#pragma once

#include "core/simulation.h"

namespace molvane {

struct SimulationProbe {
    static std::array<double, 61>& moyennesC(Simulation& sim) { return sim.moyennesC_; }
};

}  // namespace molvane
