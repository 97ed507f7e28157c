// The face picked for a level when random faces are on: a 32-bit linear
// congruential generator that starts from 0 at every program start, so every
// run shows the same sequence of faces.
#pragma once

#include <cstdint>

namespace sokoban {

class FaceRandom {
  public:
    // A uniform number in [0, 1).
    double next() {
        seed_ = seed_ * 134775813u + 1u;
        return static_cast<double>(seed_) / 4294967296.0;
    }
    // A face style 1..10.
    int face() { return static_cast<int>(next() * 10) + 1; }

  private:
    std::uint32_t seed_ = 0;
};

} // namespace sokoban
