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
    float nextFloat() { return step(s_[0], s_[1], s_[2], s_[3]); }

    // The generator on four plain variables: a hot loop copies the state into
    // locals (see `Stepper`) so that it stays in registers between draws.
    static float step(std::uint32_t& s0, std::uint32_t& s1, std::uint32_t& s2, std::uint32_t& s3) {
        return toFloat(stepBits(s0, s1, s2, s3));
    }
    // One step giving the raw 32-bit output; `toFloat` turns it into the draw.
    static std::uint32_t stepBits(std::uint32_t& s0, std::uint32_t& s1, std::uint32_t& s2,
                                  std::uint32_t& s3) {
        const std::uint32_t result = s0 + s3;
        const std::uint32_t t = s1 << 9;
        s2 ^= s0;
        s3 ^= s1;
        s1 ^= s2;
        s0 ^= s3;
        s2 ^= t;
        s3 = (s3 << 11) | (s3 >> 21);
        return result;
    }
    static float toFloat(std::uint32_t bits) { return static_cast<float>(bits >> 8) * 0x1.0p-24f; }

    // The four state words, for loops that step the generator themselves.
    void saveState(std::uint32_t out[4]) const {
        for (int k = 0; k < 4; ++k) out[k] = s_[k];
    }
    void restoreState(const std::uint32_t in[4]) {
        for (int k = 0; k < 4; ++k) s_[k] = in[k];
    }

    // Draws from a copy of the state held in local variables, and gives the
    // state back when it goes out of scope.
    class Stepper {
    public:
        explicit Stepper(FastRandom& owner)
            : owner_(owner), s0_(owner.s_[0]), s1_(owner.s_[1]), s2_(owner.s_[2]), s3_(owner.s_[3]) {}
        ~Stepper() {
            owner_.s_[0] = s0_;
            owner_.s_[1] = s1_;
            owner_.s_[2] = s2_;
            owner_.s_[3] = s3_;
        }
        Stepper(const Stepper&) = delete;
        Stepper& operator=(const Stepper&) = delete;
        float operator()() { return step(s0_, s1_, s2_, s3_); }

    private:
        FastRandom& owner_;
        std::uint32_t s0_, s1_, s2_, s3_;
    };

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
