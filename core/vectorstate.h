// Graphics libraries may leave the upper halves of the wide vector registers
// in use when they return. On x86 the plain SSE arithmetic of the collision
// search then runs up to half again slower, until something clears them.
// The tick clears them first; elsewhere this does nothing.
#pragma once

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>

namespace molvane {

__attribute__((target("avx"))) inline void clearWideRegisterState() {
    _mm256_zeroupper();
}

inline void releaseWideRegisters() {
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx) clearWideRegisterState();
}

}  // namespace molvane

#else

namespace molvane {
inline void releaseWideRegisters() {}
}  // namespace molvane

#endif
