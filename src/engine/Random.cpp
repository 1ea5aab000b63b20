#include "engine/Random.h"

#include <cmath>

namespace finplan {

namespace {
constexpr std::uint32_t kMultiplier = 22695477;
}

int RandomGenerator::rand15() {
    m_low = m_low * kMultiplier + 1;
    return static_cast<int>((m_low >> 16) & 0x7FFF);
}

int RandomGenerator::rand31() {
    std::uint64_t state = (static_cast<std::uint64_t>(m_high) << 32) | m_low;
    state = state * kMultiplier + 1;
    m_low = static_cast<std::uint32_t>(state);
    m_high = static_cast<std::uint32_t>(state >> 32);
    return static_cast<int>(m_high & 0x7FFFFFFF);
}

float RandomGenerator::drawUniform(float minRate, float maxRate) {
    const float span = maxRate * 100 - minRate * 100;
    // Truncated toward zero; a span too wide for the draw is treated as no span.
    const long steps = std::isfinite(span) && std::abs(span) < 2e9f ? static_cast<long>(span) : 0;
    if (steps == 0)
        return minRate;
    return minRate + static_cast<float>(rand31() % steps) * 0.01f;
}

float RandomGenerator::normal(Deviates& pair) {
    if (pair.haveSaved) {
        pair.haveSaved = false;
        return pair.saved;
    }
    float u, v, s;
    do {
        u = static_cast<float>(rand15()) / 32767.0f * 2 - 1;
        v = static_cast<float>(rand15()) / 32767.0f * 2 - 1;
        s = u * u + v * v;
    } while (s >= 1 || s == 0);
    const float scale = std::sqrt(-2 * std::log(s) / s);
    pair.saved = v * scale;
    pair.haveSaved = true;
    return u * scale;
}

float RandomGenerator::drawGaussianRange(float minRate, float maxRate, int widening) {
    float sd = std::abs((maxRate - minRate) * 0.5f * 0.997f / 3);
    sd = sd + sd * static_cast<float>(widening) * 0.1f;
    if (minRate == maxRate)
        sd = 0;
    return (minRate + maxRate) * 0.5f + sd * normal(m_range);
}

float RandomGenerator::drawGaussianStandard(float mean, float deviation) {
    return mean + deviation * normal(m_standard);
}

} // namespace finplan
