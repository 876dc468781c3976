#include "random.h"

#include <ctime>

namespace molvane {

void FastRandom::seed(std::uint32_t seed) {
    // splitmix32 spreads any seed, 0 included, over a non-zero state.
    std::uint32_t z = seed;
    for (auto& word : s_) {
        z += 0x9E3779B9u;
        std::uint32_t x = z;
        x = (x ^ (x >> 16)) * 0x85EBCA6Bu;
        x = (x ^ (x >> 13)) * 0xC2B2AE35u;
        word = x ^ (x >> 16);
    }
    if ((s_[0] | s_[1] | s_[2] | s_[3]) == 0) s_[0] = 1;
}

float ScriptedRandom::next() {
    ++drawn_;
    if (values_.empty()) return 0.0f;
    const float v = values_[index_];
    index_ = (index_ + 1) % values_.size();
    return v;
}

std::uint32_t secondsSinceMidnight() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return static_cast<std::uint32_t>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
}

}  // namespace molvane
