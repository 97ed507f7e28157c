// The worker's walk to a clicked cell: the path the core's paths found, and
// how far along it the walking timer has gone. The steps themselves are the
// game model's moves.
#pragma once

#include "storage/records.h"

#include <array>
#include <cstdint>
#include <vector>

namespace sokoban {

class MouseWalk {
  public:
    struct PathStep {
        int index = 0;
        int cell = 0;
        const char* dir = "up";
    };
    using Path = std::array<PathStep, kCells>;

    // The path of the walk.
    Path walkPath{};
    int walkCount = 0;
    int walkIndex = 0;
    // The last search reached its goal.
    bool connected = false;
    int walkInterval = 70; // Timer2
    bool walking = false;  // Timer2 is on

    // A path of move codes from `start` as the walk; false when it is longer
    // than a walk holds.
    bool setPath(int start, const std::vector<std::uint8_t>& codes);
    // The walk starts at its first step.
    void begin(int interval);
};

} // namespace sokoban
