// A minimal hand-written loop of the same motion, collision and quota rules,
// with plain arrays and nothing else: the yardstick of the simulation's speed.
#pragma once

#include <cstdint>

namespace molvane::bench {

struct ReferenceTiming {
    double medianTickMicroseconds = 0.0;
    double drawsPerTick = 0.0;  // mean number of partners drawn in a tick
};

// Runs `ticks` ticks of n particles (n0 of each species, counts A..D) and
// returns the median time of a tick and the draws a tick makes.
ReferenceTiming referenceMedianTick(const int counts[4], float taux1, float taux2, int temperature, int ticks,
                                    std::uint32_t seed);

}  // namespace molvane::bench
