// What the fuzz targets check beyond the sanitizers: a property that does not
// hold aborts, which libFuzzer and the corpus replay both take for a failure.
#pragma once

#include <cstdlib>

namespace molvane::fuzz {

inline void check(bool holds) {
    if (!holds) std::abort();
}

}  // namespace molvane::fuzz
