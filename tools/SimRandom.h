#pragma once

#include <cstdint>
#include <random>

// Seeded random source of the simulator. std::mt19937 is fully specified by the standard,
// but the std distributions are not, so every distribution here is built from its raw
// 32-bit output by hand: the same seed gives the same rescue with every library.
class SimRandom
{
public:
    explicit SimRandom(uint32_t seed) : m_engine(seed) {}

    // Uniform in [0, 1).
    double uniform() { return double(m_engine()) / 4294967296.0; }
    // Uniform in [lo, hi).
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    // Uniform integer in [lo, hi] (hi >= lo; the tiny modulo bias does not matter here).
    int32_t range(int32_t lo, int32_t hi)
    {
        return lo + int32_t(m_engine() % uint32_t(int64_t(hi) - lo + 1));
    }
    bool chance(double p) { return uniform() < p; }
    // Roughly normal with mean 0 and deviation 1: the sum of four uniforms (Irwin-Hall),
    // bounded to about ±3.5, which keeps noise from producing rare huge spikes.
    double gauss()
    {
        return (uniform() + uniform() + uniform() + uniform() - 2.0) * 1.7320508;
    }

private:
    std::mt19937 m_engine;
};
