#pragma once

#include <cstdint>

namespace finplan {

// The planner's own pseudo-random source: a 64-bit linear congruential state shared by a
// 15-bit and a 31-bit draw, and the three rate distributions, in percent.
class RandomGenerator {
  public:
    // The application seeds it once, from the clock in seconds; runs never reseed it.
    explicit RandomGenerator(std::uint32_t seed = 0) : m_low(seed) {}

    int rand15();
    int rand31();

    // min + steps of 0.01 below max; min itself when the range is narrower than a step.
    float drawUniform(float minRate, float maxRate);
    // The range spans about six standard deviations before widening by `widening` tenths.
    float drawGaussianRange(float minRate, float maxRate, int widening);
    float drawGaussianStandard(float mean, float deviation);

  private:
    // A normal deviate by the polar method; each distribution keeps its own saved second deviate.
    struct Deviates {
        bool haveSaved = false;
        float saved = 0;
    };
    float normal(Deviates& pair);

    std::uint32_t m_low;
    std::uint32_t m_high = 0;
    Deviates m_range;
    Deviates m_standard;
};

} // namespace finplan
