// Uniform random numbers in [0, 1) for placing particles and drawing partners.
#pragma once

#include <cstdint>
#include <vector>

namespace molvane {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual float next() = 0;
    virtual void seed(std::uint32_t seed) = 0;
};

// xoshiro128+ with 24-bit floats: fast, small state, good enough for the picture.
class FastRandom final : public RandomSource {
public:
    explicit FastRandom(std::uint32_t seed = 1) { FastRandom::seed(seed); }
    float next() override { return nextFloat(); }
    void seed(std::uint32_t seed) override;

    // Non-virtual for the simulation's inner loop.
    float nextFloat() {
        const std::uint32_t result = s_[0] + s_[3];
        const std::uint32_t t = s_[1] << 9;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = (s_[3] << 11) | (s_[3] >> 21);
        return static_cast<float>(result >> 8) * 0x1.0p-24f;
    }

private:
    std::uint32_t s_[4]{};
};

// Plays back given values in a loop: tests decide every draw.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<float> values) : values_(std::move(values)) {}
    float next() override;
    void seed(std::uint32_t) override { index_ = 0; }
    std::size_t drawn() const { return drawn_; }

private:
    std::vector<float> values_;
    std::size_t index_ = 0;
    std::size_t drawn_ = 0;
};

// Seconds since midnight, local time: the seed taken at every activation.
std::uint32_t secondsSinceMidnight();

}  // namespace molvane
