#pragma once

#include <cstdint>

namespace sounds {

// A small seeded generator (xorshift64*) so that every build writes the same bytes;
// the standard distributions differ between library implementations.
class Rng {
  public:
    explicit Rng(std::uint64_t seed) : state_(seed ? seed : 0x9E3779B97F4A7C15ull) {}

    std::uint64_t next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 0x2545F4914F6CDD1Dull;
    }
    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    // Uniform in [-1, 1).
    double bipolar() { return uniform() * 2.0 - 1.0; }
    // Uniform integer in [lo, hi].
    int between(int lo, int hi) {
        return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1));
    }
    bool chance(double p) { return uniform() < p; }

  private:
    std::uint64_t state_;
};

} // namespace sounds
