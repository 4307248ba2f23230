#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace norvik::stress {

// The one source of chance in a run: the same seed gives the same run.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : m_engine(seed) {}

    // 0 .. n-1 (0 when n <= 0).
    int below(int n) { return n <= 0 ? 0 : static_cast<int>(m_engine() % static_cast<std::uint64_t>(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine) < p; }
    std::uint8_t byte() { return static_cast<std::uint8_t>(m_engine()); }
    template <class T> const T& pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))];
    }
    // An index into weights, each chosen in proportion to its weight.
    int weighted(const std::vector<int>& weights) {
        int total = 0;
        for (int w : weights)
            total += w;
        int r = below(total);
        for (std::size_t i = 0; i < weights.size(); ++i) {
            if (r < weights[i])
                return static_cast<int>(i);
            r -= weights[i];
        }
        return 0;
    }

private:
    std::mt19937_64 m_engine;
};

} // namespace norvik::stress
