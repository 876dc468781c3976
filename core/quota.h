// The reaction quota: whether a collision between reactive partners reacts is
// not drawn at random; a running count keeps the effective share at `taux`.
#pragma once

#include <cstdint>

namespace molvane {

// Counts one collision of a sense and says whether it reacts. The first
// collision of a run is always counted effective; it reacts only when taux > 0.
inline bool quotaDecision(std::int32_t& efficaces, std::int32_t& inefficaces, float taux) {
    if (efficaces == 0) {
        efficaces = 1;
        return taux > 0.0f;
    }
    const auto f =
        static_cast<float>(static_cast<double>(efficaces) / (static_cast<double>(efficaces) + inefficaces));
    if (f >= taux) {
        ++inefficaces;
        return false;
    }
    ++efficaces;
    return true;
}

}  // namespace molvane
