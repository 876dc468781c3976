#include "core/collisionsearch.h"

#include <algorithm>
#include <cmath>
#include <limits>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define MOLVANE_X86_KERNELS 1
#include <immintrin.h>
#endif

namespace molvane {

namespace {

// Draws are made this many at a time; a searcher makes at most a few hundred.
constexpr int kBatch = 256;

// The vector kernels compute partners in 32-bit lanes: (u x n) must stay
// below 2^32 for the 12-bit halves of u, which holds far beyond this.
constexpr int kLaneCountLimit = 1 << 19;

struct Search {
    const float* px;
    const float* py;
    std::int16_t* cd;
    int n;
    double threshold;
    float looseThreshold;  // never below the exact test's: see looseFloatThreshold
    HitFunction hit;
    void* context;
};

// The partner of one raw output: floor(r x n) + 1 where r = (bits >> 8) / 2^24.
// In double, r x n is (bits >> 8) x n / 2^24 exactly for any count below
// 2^29, so the integer form below is the same number.
inline int partner(std::uint32_t bits, int n) {
    return static_cast<int>((static_cast<std::uint64_t>(bits >> 8) * static_cast<std::uint32_t>(n)) >> 24) +
           1;
}

// The single-precision squared distance has a relative error below 5 x 2^-24
// against the exact one, the double one below 2^-51: any pair the exact test
// accepts passes a threshold 10^-5 wider. Non-positive thresholds accept
// nothing either way.
float looseFloatThreshold(double threshold) {
    if (!(threshold > 0.0)) return 0.0f;
    const auto loose = static_cast<float>(threshold * (1.0 + 1e-5));
    return std::nextafter(loose, std::numeric_limits<float>::infinity());
}

// The exact test of the plain loop, made against the arrays as they are now.
inline void confirm(const Search& s, int i, double xi, double yi, int j) {
    if (s.cd[j] != 0 || j == i) return;
    const double dx = xi - s.px[j], dy = yi - s.py[j];
    if (!(dx * dx + dy * dy < s.threshold)) return;
    s.hit(s.context, i, j);
}

// Each batch filter takes `count` raw outputs and confirms, in draw order,
// every partner whose loose distance test passes.
void filterPortable(const Search& s, int i, double xi, double yi, const std::uint32_t* bits, int count) {
    const auto xf = static_cast<float>(xi), yf = static_cast<float>(yi);
    for (int k = 0; k < count; ++k) {
        const int j = partner(bits[k], s.n);
        const float dx = xf - s.px[j], dy = yf - s.py[j];
        if (dx * dx + dy * dy < s.looseThreshold) confirm(s, i, xi, yi, j);
    }
}

#ifdef MOLVANE_X86_KERNELS

inline unsigned laneMask(int remaining, int lanes) {
    return remaining >= lanes ? (1u << lanes) - 1u : (1u << remaining) - 1u;
}

void filterSse2(const Search& s, int i, double xi, double yi, const std::uint32_t* bits, int count) {
    const __m128 xv = _mm_set1_ps(static_cast<float>(xi)), yv = _mm_set1_ps(static_cast<float>(yi));
    const __m128 tv = _mm_set1_ps(s.looseThreshold);
    for (int k = 0; k < count; k += 4) {
        int j[4];
        for (int l = 0; l < 4; ++l) j[l] = partner(bits[k + l], s.n);
        const __m128 gx = _mm_set_ps(s.px[j[3]], s.px[j[2]], s.px[j[1]], s.px[j[0]]);
        const __m128 gy = _mm_set_ps(s.py[j[3]], s.py[j[2]], s.py[j[1]], s.py[j[0]]);
        const __m128 dx = _mm_sub_ps(xv, gx), dy = _mm_sub_ps(yv, gy);
        const __m128 d = _mm_add_ps(_mm_mul_ps(dx, dx), _mm_mul_ps(dy, dy));
        unsigned mask = static_cast<unsigned>(_mm_movemask_ps(_mm_cmplt_ps(d, tv))) & laneMask(count - k, 4);
        while (mask != 0) {
            const int lane = __builtin_ctz(mask);
            confirm(s, i, xi, yi, j[lane]);
            mask &= mask - 1;
        }
    }
}

__attribute__((target("avx2"))) void filterAvx2(const Search& s, int i, double xi, double yi,
                                                const std::uint32_t* bits, int count) {
    const __m256 xv = _mm256_set1_ps(static_cast<float>(xi)), yv = _mm256_set1_ps(static_cast<float>(yi));
    const __m256 tv = _mm256_set1_ps(s.looseThreshold);
    const __m256i nv = _mm256_set1_epi32(s.n), low12 = _mm256_set1_epi32(0xFFF), one = _mm256_set1_epi32(1);
    for (int k = 0; k < count; k += 8) {
        // u = bits >> 8 split into 12-bit halves a and b:
        // (u x n) >> 24 = (a x n + ((b x n) >> 12)) >> 12.
        const __m256i u = _mm256_srli_epi32(_mm256_load_si256(reinterpret_cast<const __m256i*>(bits + k)), 8);
        const __m256i a = _mm256_srli_epi32(u, 12), b = _mm256_and_si256(u, low12);
        const __m256i t =
            _mm256_add_epi32(_mm256_mullo_epi32(a, nv), _mm256_srli_epi32(_mm256_mullo_epi32(b, nv), 12));
        const __m256i j = _mm256_add_epi32(_mm256_srli_epi32(t, 12), one);
        const __m256 gx = _mm256_i32gather_ps(s.px, j, 4), gy = _mm256_i32gather_ps(s.py, j, 4);
        const __m256 dx = _mm256_sub_ps(xv, gx), dy = _mm256_sub_ps(yv, gy);
        const __m256 d = _mm256_add_ps(_mm256_mul_ps(dx, dx), _mm256_mul_ps(dy, dy));
        unsigned mask = static_cast<unsigned>(_mm256_movemask_ps(_mm256_cmp_ps(d, tv, _CMP_LT_OQ)));
        if (mask == 0) continue;
        mask &= laneMask(count - k, 8);
        while (mask != 0) {
            const int lane = __builtin_ctz(mask);
            confirm(s, i, xi, yi, partner(bits[k + lane], s.n));
            mask &= mask - 1;
        }
    }
}

#endif

// The plain loop, with each searcher's draws made a batch at a time and
// handed to the filter.
template <typename F>
long run(const Search& s, int draws, FastRandom& generator, F filter) {
    std::uint32_t state[4];
    generator.saveState(state);
    std::uint32_t s0 = state[0], s1 = state[1], s2 = state[2], s3 = state[3];
    // Lanes past the last draw of a batch are read but never confirmed.
    alignas(32) std::uint32_t bits[kBatch] = {};
    long made = 0;
    for (int i = 1; i <= s.n; ++i) {
        if (s.cd[i] >= 1) --s.cd[i];
        if (s.cd[i] != 0) continue;
        const double xi = std::nearbyint(static_cast<double>(s.px[i]));
        const double yi = std::nearbyint(static_cast<double>(s.py[i]));
        for (int done = 0; done < draws; done += kBatch) {
            const int count = std::min(kBatch, draws - done);
            for (int k = 0; k < count; ++k) bits[k] = FastRandom::stepBits(s0, s1, s2, s3);
            filter(s, i, xi, yi, bits, count);
        }
        made += std::max(draws, 0);
    }
    state[0] = s0;
    state[1] = s1;
    state[2] = s2;
    state[3] = s3;
    generator.restoreState(state);
    return made;
}

}  // namespace

bool searchKernelAvailable(SearchKernel kernel) {
    switch (kernel) {
        case SearchKernel::Portable:
            return true;
#ifdef MOLVANE_X86_KERNELS
        case SearchKernel::Sse2:
            return true;
        case SearchKernel::Avx2: {
            static const bool hasAvx2 = __builtin_cpu_supports("avx2");
            return hasAvx2;
        }
#endif
        default:
            return false;
    }
}

SearchKernel bestSearchKernel() {
    if (searchKernelAvailable(SearchKernel::Avx2)) return SearchKernel::Avx2;
    if (searchKernelAvailable(SearchKernel::Sse2)) return SearchKernel::Sse2;
    return SearchKernel::Portable;
}

long searchCollisions(const SearchArrays& arrays, int draws, double threshold, FastRandom& generator,
                      HitFunction hit, void* context, SearchKernel kernel) {
    const Search s{arrays.px,    arrays.py, arrays.coolDown,
                   arrays.count, threshold, looseFloatThreshold(threshold),
                   hit,          context};
    if (!searchKernelAvailable(kernel) || arrays.count >= kLaneCountLimit) kernel = SearchKernel::Portable;
    // Dispatched once per tick, so that the inner loops call a known function.
    switch (kernel) {
#ifdef MOLVANE_X86_KERNELS
        case SearchKernel::Avx2:
            return run(s, draws, generator, filterAvx2);
        case SearchKernel::Sse2:
            return run(s, draws, generator, filterSse2);
#endif
        default:
            return run(s, draws, generator, filterPortable);
    }
}

}  // namespace molvane
