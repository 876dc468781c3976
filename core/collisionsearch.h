// The collision search of one tick over plain arrays, with the partners of a
// searcher drawn and tested in batches.
//
// Every particle i from 1 to n, in order, counts its cool-down down by one;
// when that leaves it at zero it draws `draws` partners j = floor(r x n) + 1
// from the generator, and each partner that is not cooling down, is not i
// itself and lies closer than the threshold (squared distance from i's
// rounded position) is a hit, handed to `hit(i, j)` at once. The hit sets the
// cool-downs and may change the velocities and species; later draws see it.
//
// The batches change nothing of that: the distances of a batch are first
// tested in vector lanes with a slightly generous threshold in single
// precision, and only the few lanes that pass are then tested exactly as
// above, in draw order, against the arrays as the earlier hits left them.
// The generator's stream is the one of `FastRandom::nextFloat`, draw for draw.
#pragma once

#include <cstdint>

#include "core/random.h"

namespace molvane {

// The vector code a search runs on. `Portable` is plain C++; the others
// exist on x86-64 only, AVX2 only where the processor has it.
enum class SearchKernel { Portable, Sse2, Avx2 };

// The fastest kernel this processor runs.
SearchKernel bestSearchKernel();
bool searchKernelAvailable(SearchKernel kernel);

// Arrays indexed 1 to count (element 0 unused).
struct SearchArrays {
    const float* px = nullptr;
    const float* py = nullptr;
    std::int16_t* coolDown = nullptr;
    int count = 0;
};

using HitFunction = void (*)(void* context, int i, int j);

// Returns the number of draws made.
long searchCollisions(const SearchArrays& arrays, int draws, double threshold, FastRandom& generator,
                      HitFunction hit, void* context, SearchKernel kernel);

template <typename Hit>
long searchCollisions(const SearchArrays& arrays, int draws, double threshold, FastRandom& generator,
                      Hit& hit, SearchKernel kernel = bestSearchKernel()) {
    return searchCollisions(
        arrays, draws, threshold, generator,
        [](void* context, int i, int j) { (*static_cast<Hit*>(context))(i, j); }, &hit, kernel);
}

}  // namespace molvane
