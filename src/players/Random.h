// The computer players' random numbers: a small generator whose sequence is
// fixed by its seed on every platform (SplitMix64), so that a game played by
// computers can be played again exactly from the same seed.
#pragma once

#include <cmath>
#include <cstdint>

namespace capzel::players {

class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    double uniform() { return double(next() >> 11) * 0x1.0p-53; }

    // Uniform whole number in [lo, hi].
    int between(int lo, int hi) { return lo + int(next() % std::uint64_t(hi - lo + 1)); }

    // Standard normal (Box-Muller).
    double gaussian() {
        const double u = 1.0 - uniform();  // (0, 1]
        const double v = uniform();
        return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * v);
    }

private:
    std::uint64_t state_;
};

// A seed for one decision, mixed from a game's seed and the decision's place
// in the game, so that neighbouring decisions do not share their numbers.
inline std::uint64_t mixSeed(std::uint64_t a, std::uint64_t b) {
    Random r(a ^ (b * 0xD1B54A32D192ED03ull));
    return r.next();
}

}  // namespace capzel::players
